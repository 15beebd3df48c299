#include "streamserver.h"

#include <QDateTime>
#include <QHostAddress>
#include <QTcpSocket>

namespace vidmo::test {

StreamServer::StreamServer()
{
    m_started = QDateTime::currentMSecsSinceEpoch();
    QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] { accept(); });
}

StreamServer::~StreamServer()
{
    m_server.close();
}

bool StreamServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QByteArray StreamServer::url(const QByteArray &path) const
{
    return "http://127.0.0.1:" + QByteArray::number(m_server.serverPort()) + path;
}

void StreamServer::route(const QByteArray &path, Route r)
{
    m_routes.insert(path, std::move(r));
}

int StreamServer::requests(const QByteArray &path) const
{
    return int(m_seen.value(path).size());
}

QList<qint64> StreamServer::requestTimes(const QByteArray &path) const
{
    return m_seen.value(path);
}

void StreamServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        QObject::connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_partial.remove(socket);
            socket->deleteLater();
        });
    }
}

void StreamServer::read(QTcpSocket *socket)
{
    QByteArray &buf = m_partial[socket];
    if (buf.isNull())
        buf = QByteArray("");
    buf += socket->readAll();
    const qsizetype end = buf.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    const QList<QByteArray> requestLine = buf.left(buf.indexOf("\r\n")).split(' ');
    buf = QByteArray(); // one request per connection
    QObject::disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
    const QByteArray path = requestLine.value(1);
    m_seen[path].append(QDateTime::currentMSecsSinceEpoch() - m_started);

    auto it = m_routes.find(path);
    Route r;
    if (it == m_routes.end()) {
        r.status = 404;
        r.contentType = "text/html";
        r.body = "<html><body>Not found</body></html>";
    } else if (it->times == 0) {
        r.status = 503;
        r.contentType = "text/plain";
        r.body = "busy";
    } else {
        r = *it;
        if (it->times > 0)
            --it->times;
    }

    switch (r.kind) {
    case Route::Kind::Stall:
        return;
    case Route::Kind::Icy:
        socket->write("ICY 200 OK\r\nicy-name: Vidmo test\r\ncontent-type: " + r.contentType
                      + "\r\nicy-pub: 0\r\n\r\n" + r.body);
        return;
    case Route::Kind::Redirect: {
        const QByteArray target = r.body.startsWith('/') ? url(r.body) : r.body;
        socket->write("HTTP/1.1 302 Found\r\nLocation: " + target
                      + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    case Route::Kind::Drop:
        socket->write("HTTP/1.0 200 OK\r\nContent-Type: " + r.contentType + "\r\n\r\n" + r.body);
        socket->disconnectFromHost();
        return;
    case Route::Kind::Body:
        break;
    }
    socket->write("HTTP/1.1 " + QByteArray::number(r.status) + " X\r\nContent-Type: " + r.contentType
                  + "\r\nContent-Length: " + QByteArray::number(r.body.size())
                  + "\r\nConnection: close\r\n\r\n" + r.body);
    socket->disconnectFromHost();
}

} // namespace vidmo::test
