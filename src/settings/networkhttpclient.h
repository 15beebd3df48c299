#pragma once

#include "settings/httpclient.h"

#include <QObject>
#include <QString>
#include <chrono>
#include <memory>

class QNetworkAccessManager;

namespace vidmo {

// The HTTP client over Qt Network. get() blocks in a local event loop, so
// windows repaint, timers fire and input is answered while a transfer runs.
//
// Progress: workBegin once, when the first bytes of the body arrive (or when
// the request ends without any), with the Content-Length, or 0 when the
// length is unknown; work with the body bytes received so far; workEnd once,
// on success and on failure. A get() refused because another one runs sends
// no events. After the client is destroyed mid-transfer no event is sent:
// the listener may be going away with it.
//
// The body is returned as the server sent it: no content coding is asked
// for, so its size can be checked against Content-Length.
class NetworkHttpClient final : public QObject, public IHttpClient
{
    Q_OBJECT

public:
    explicit NetworkHttpClient(QObject *parent = nullptr);
    ~NetworkHttpClient() override;

    void setProxyHost(const QString &host) override;
    void setProxyPort(int port) override;
    void setProgress(IHttpProgress *listener) override;
    HttpReply get(const QString &url) override;
    bool busy() const override;
    void disconnect() override;

    // A transfer that receives nothing for this long fails (default 30 s).
    void setStallTimeout(std::chrono::milliseconds timeout);

private:
    struct Transfer;

    void beginWork(Transfer &transfer);
    void reportWork(Transfer &transfer);
    HttpReply result(Transfer &transfer);

    std::unique_ptr<QNetworkAccessManager> m_manager;
    QString m_proxyHost;
    int m_proxyPort = 0;
    IHttpProgress *m_progress = nullptr;
    std::chrono::milliseconds m_stallTimeout{30000};
    Transfer *m_transfer = nullptr; // lives on the stack of the running get()
};

} // namespace vidmo
