#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

namespace vidmo::test {

// A loopback HTTP server for the audio engine's tests: playlists, redirects,
// streams that drop, stall or answer like Shoutcast. Listens on 127.0.0.1 on
// a port of its own choosing and stops with the object.
class StreamServer final : public QObject
{
public:
    struct Route
    {
        enum class Kind {
            Body,     // status, content type and body, then close
            Redirect, // 302 to `body` (an address or a path)
            Icy,      // "ICY 200 OK", then the body, then hold the line
            Stall,    // accept, read, never answer
            Drop,     // 200 without a length, the body, then close
        };
        Kind kind = Kind::Body;
        int status = 200;
        QByteArray contentType;
        QByteArray body;
        // Answer this many requests as above, then with 503.
        int times = -1;
    };

    StreamServer();
    ~StreamServer() override;

    bool listen();
    QByteArray url(const QByteArray &path) const;
    void route(const QByteArray &path, Route r);

    // Requests seen for a path, and when (ms since the server started).
    int requests(const QByteArray &path) const;
    QList<qint64> requestTimes(const QByteArray &path) const;

private:
    void accept();
    void read(QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QByteArray, Route> m_routes;
    QHash<QByteArray, QList<qint64>> m_seen;
    QHash<QTcpSocket *, QByteArray> m_partial;
    qint64 m_started = 0;
};

} // namespace vidmo::test
