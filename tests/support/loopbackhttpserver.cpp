#include "loopbackhttpserver.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace vidmo::test {

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 303: return "See Other";
    case 307: return "Temporary Redirect";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

QByteArray head(int status, const HttpHeaders &headers, qint64 length)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n";
    for (const auto &h : headers)
        out += h.first + ": " + h.second + "\r\n";
    out += "Content-Length: " + QByteArray::number(length) + "\r\n\r\n";
    return out;
}

} // namespace

bool RecordedRequest::hasHeader(const QByteArray &name) const
{
    for (const auto &h : headers) {
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QByteArray RecordedRequest::header(const QByteArray &name) const
{
    for (const auto &h : headers) {
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return h.second;
    }
    return {};
}

struct LoopbackHttpServer::Route
{
    enum class Kind { Body, Dropped, Slow };
    Kind kind = Kind::Body;
    int status = 200;
    QByteArray body;
    HttpHeaders headers;
    int chunks = 1;
    std::chrono::milliseconds interval{0};
};

struct LoopbackHttpServer::Connection
{
    QTcpSocket *socket = nullptr;
    int serial = 0;
    QByteArray buffer;
    // The slow body being sent; requests that come meanwhile wait in buffer.
    std::shared_ptr<Route> slow;
    QByteArray slowPath;
    qint64 slowSent = 0;
    QTimer *timer = nullptr; // a child of the socket
};

LoopbackHttpServer::LoopbackHttpServer(QObject *parent)
    : QObject(parent), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &LoopbackHttpServer::accept);
    m_server->listen(QHostAddress::LocalHost, 0);
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    m_server->close();
    for (auto &entry : m_connections) {
        QObject::disconnect(entry.first, nullptr, this, nullptr);
        entry.second->timer->stop();
        entry.first->abort();
        delete entry.first;
    }
    m_connections.clear();
}

bool LoopbackHttpServer::isListening() const { return m_server->isListening(); }

quint16 LoopbackHttpServer::port() const { return m_server->serverPort(); }

QString LoopbackHttpServer::url(const QByteArray &path) const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port()) + QString::fromLatin1(path);
}

void LoopbackHttpServer::serve(const QByteArray &path, const QByteArray &body, int status,
                               const HttpHeaders &headers)
{
    auto route = std::make_shared<Route>();
    route->status = status;
    route->body = body;
    route->headers = headers;
    m_routes.insert(path, route);
}

void LoopbackHttpServer::serveDropped(const QByteArray &path, const QByteArray &body)
{
    auto route = std::make_shared<Route>();
    route->kind = Route::Kind::Dropped;
    route->body = body;
    m_routes.insert(path, route);
}

void LoopbackHttpServer::serveSlowly(const QByteArray &path, const QByteArray &body, int chunks,
                                     std::chrono::milliseconds interval)
{
    auto route = std::make_shared<Route>();
    route->kind = Route::Kind::Slow;
    route->body = body;
    route->chunks = qMax(1, chunks);
    route->interval = interval;
    m_routes.insert(path, route);
}

void LoopbackHttpServer::redirect(const QByteArray &path, const QByteArray &location, int status)
{
    serve(path, "Moved to " + location + '\n', status,
          {{"Location", location}, {"Content-Type", "text/plain"}});
}

void LoopbackHttpServer::accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        auto connection = std::make_unique<Connection>();
        connection->socket = socket;
        connection->serial = ++m_serial;
        connection->timer = new QTimer(socket);
        Connection &c = *connection;
        m_connections.emplace(socket, std::move(connection));
        connect(c.timer, &QTimer::timeout, this, [this, &c] { sendNextChunk(c); });
        connect(socket, &QTcpSocket::readyRead, this, [this, &c] {
            c.buffer += c.socket->readAll();
            process(c);
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { drop(socket); });
    }
}

void LoopbackHttpServer::drop(QTcpSocket *socket)
{
    auto it = m_connections.find(socket);
    if (it == m_connections.end())
        return;
    it->second->timer->stop();
    QObject::disconnect(socket, nullptr, this, nullptr);
    QObject::disconnect(it->second->timer, nullptr, this, nullptr);
    m_connections.erase(it);
    socket->deleteLater();
}

void LoopbackHttpServer::process(Connection &connection)
{
    while (!connection.slow) {
        const qsizetype end = connection.buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QList<QByteArray> lines = connection.buffer.left(end).split('\n');
        RecordedRequest request;
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        request.method = requestLine.value(0);
        request.target = requestLine.value(1);
        qint64 length = 0;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines[i].trimmed();
            const qsizetype colon = line.indexOf(':');
            if (colon <= 0)
                continue;
            request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
        }
        if (request.hasHeader("Content-Length"))
            length = request.header("Content-Length").toLongLong();
        if (connection.buffer.size() < end + 4 + length)
            return;
        request.body = connection.buffer.mid(end + 4, length);
        connection.buffer.remove(0, end + 4 + length);

        QByteArray path = request.target;
        if (path.startsWith("http://")) {
            const qsizetype slash = path.indexOf('/', 7);
            path = slash < 0 ? QByteArray("/") : path.mid(slash);
        }
        const qsizetype query = path.indexOf('?');
        request.path = query < 0 ? path : path.left(query);
        request.connection = connection.serial;

        m_requests.append(request);
        Q_EMIT requestReceived(request);
        respond(connection, request);
        if (connection.socket->state() != QAbstractSocket::ConnectedState)
            return;
    }
}

void LoopbackHttpServer::respond(Connection &connection, const RecordedRequest &request)
{
    QTcpSocket *socket = connection.socket;
    const std::shared_ptr<Route> route = m_routes.value(request.path);
    if (!route) {
        const QByteArray body = "not found\n";
        socket->write(head(404, {{"Content-Type", "text/plain"}}, body.size()) + body);
        return;
    }
    switch (route->kind) {
    case Route::Kind::Body:
        socket->write(head(route->status, route->headers, route->body.size()) + route->body);
        return;
    case Route::Kind::Dropped:
        socket->write(head(route->status, route->headers, route->body.size())
                      + route->body.left(route->body.size() / 2));
        socket->disconnectFromHost(); // after the pending bytes are written
        return;
    case Route::Kind::Slow:
        socket->write(head(route->status, route->headers, route->body.size()));
        connection.slow = route;
        connection.slowPath = request.path;
        connection.slowSent = 0;
        connection.timer->setInterval(route->interval);
        sendNextChunk(connection);
        if (connection.slow)
            connection.timer->start();
        return;
    }
}

void LoopbackHttpServer::sendNextChunk(Connection &connection)
{
    const Route &route = *connection.slow;
    const qint64 size = route.body.size();
    const qint64 piece = (size + route.chunks - 1) / route.chunks;
    const QByteArray chunk = route.body.mid(connection.slowSent, piece);
    connection.socket->write(chunk);
    connection.slowSent += chunk.size();
    const QByteArray path = connection.slowPath;
    const qint64 sent = connection.slowSent;
    const bool done = sent >= size;
    if (done) {
        connection.slow.reset();
        connection.timer->stop();
    }
    QTcpSocket *socket = connection.socket;
    Q_EMIT chunkSent(path, sent);
    // A listener may have closed the client, and with it this connection.
    if (done && m_connections.count(socket))
        process(connection);
}

} // namespace vidmo::test
