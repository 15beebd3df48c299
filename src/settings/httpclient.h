#pragma once

#include <QByteArray>
#include <QString>

namespace vidmo {

struct HttpReply
{
    bool ok = false;      // a complete 2xx answer arrived
    int status = 0;       // HTTP status, 0 when no answer came
    QByteArray body;      // the body as received (also on failure, as far as it came)
    QString error;        // why it failed, for the user
};

// Receives the three progress events of a transfer, on the user-interface
// thread: begin once, work repeatedly, end once. Counts are bytes.
class IHttpProgress
{
public:
    virtual ~IHttpProgress() = default;
    virtual void workBegin(qint64 expectedTotal) = 0;
    virtual void work(qint64 countSoFar) = 0;
    virtual void workEnd() = 0;
};

// A blocking HTTP client. A request returns when it has ended; meanwhile the
// event loop handles pending events, so windows repaint and answer input.
class IHttpClient
{
public:
    virtual ~IHttpClient() = default;

    // An empty host means no proxy. The settings apply to later requests.
    virtual void setProxyHost(const QString &host) = 0;
    virtual void setProxyPort(int port) = 0;

    virtual void setProgress(IHttpProgress *listener) = 0;

    // GET an absolute address. Fails on a connection or proxy failure, on an
    // HTTP error status and on a body shorter than its Content-Length.
    virtual HttpReply get(const QString &url) = 0;

    // True while get() runs (it may be re-entered from the event loop).
    virtual bool busy() const = 0;

    // Closes the connection; an unfinished request is aborted and fails.
    virtual void disconnect() = 0;
};

} // namespace vidmo
