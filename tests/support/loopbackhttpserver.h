#pragma once

// A small HTTP/1.1 server for tests, on 127.0.0.1 at a port the system picks.
// It answers by path from routes set beforehand (any other path gets 404),
// keeps connections alive, and records every request it receives.
// It stops when it is destroyed.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <chrono>
#include <map>
#include <memory>

class QTcpServer;
class QTcpSocket;

namespace vidmo::test {

using HttpHeaders = QList<QPair<QByteArray, QByteArray>>;

struct RecordedRequest
{
    QByteArray method;
    QByteArray target;  // as on the request line
    QByteArray path;    // origin form without query, also when a proxy sent the absolute form
    HttpHeaders headers; // in the order received
    QByteArray body;
    int connection = 0; // serial number of the connection it came on, from 1

    bool hasHeader(const QByteArray &name) const;
    // The first value of a header, the name compared without case; empty if absent.
    QByteArray header(const QByteArray &name) const;
};

class LoopbackHttpServer final : public QObject
{
    Q_OBJECT

public:
    explicit LoopbackHttpServer(QObject *parent = nullptr);
    ~LoopbackHttpServer() override;

    bool isListening() const;
    quint16 port() const;
    // "http://127.0.0.1:<port>" + path
    QString url(const QByteArray &path) const;

    // The body with the given status and extra headers; Content-Length is added.
    void serve(const QByteArray &path, const QByteArray &body, int status = 200,
               const HttpHeaders &headers = {});
    // Announces the whole body's Content-Length, sends its first half, then closes.
    void serveDropped(const QByteArray &path, const QByteArray &body);
    // Sends the headers and the first of `chunks` pieces at once, then one
    // piece per interval.
    void serveSlowly(const QByteArray &path, const QByteArray &body, int chunks,
                     std::chrono::milliseconds interval);
    void redirect(const QByteArray &path, const QByteArray &location, int status = 302);

    const QList<RecordedRequest> &requests() const { return m_requests; }
    int openConnections() const { return int(m_connections.size()); }

Q_SIGNALS:
    void requestReceived(const vidmo::test::RecordedRequest &request);
    // A piece of a slow body was written; bytesSoFar counts the body only.
    void chunkSent(const QByteArray &path, qint64 bytesSoFar);

private:
    struct Route;
    struct Connection;

    void accept();
    void process(Connection &connection);
    void respond(Connection &connection, const RecordedRequest &request);
    void sendNextChunk(Connection &connection);
    void drop(QTcpSocket *socket);

    QTcpServer *m_server;
    QHash<QByteArray, std::shared_ptr<Route>> m_routes;
    std::map<QTcpSocket *, std::unique_ptr<Connection>> m_connections;
    QList<RecordedRequest> m_requests;
    int m_serial = 0;
};

} // namespace vidmo::test
