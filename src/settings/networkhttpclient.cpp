#include "settings/networkhttpclient.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>

namespace vidmo {

namespace {

enum class Abort { None, Disconnected, Stalled };

HttpReply failure(const QString &error)
{
    HttpReply reply;
    reply.error = error;
    return reply;
}

// After an abort Qt closes the reply, and what it still held is gone.
void drain(QNetworkReply *reply, QByteArray &body)
{
    if (reply->isOpen())
        body += reply->readAll();
}

// Read from the raw header: after a followed redirect Qt 6.4 now and then
// merges the redirect's headers into the final answer's ("15, 11"), and the
// last value is the final answer's own.
qint64 contentLength(const QNetworkReply *reply)
{
    if (!reply || !reply->hasRawHeader("Content-Length"))
        return -1;
    bool ok = false;
    const qint64 length =
        reply->rawHeader("Content-Length").split(',').last().trimmed().toLongLong(&ok);
    return ok && length >= 0 ? length : -1;
}

// The answer at hand is a redirect that Qt follows; its body is not ours.
bool atRedirect(const QNetworkReply *reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status >= 300 && status < 400;
}

} // namespace

// One running get(). It lives on get()'s stack, so it outlives the client
// when the client is destroyed from inside the nested event loop.
struct NetworkHttpClient::Transfer
{
    QEventLoop loop;
    QTimer stallTimer;
    QPointer<QNetworkReply> reply;
    QByteArray body;
    bool begun = false;
    qint64 reported = -1;
    Abort abort = Abort::None;
};

NetworkHttpClient::NetworkHttpClient(QObject *parent)
    : QObject(parent), m_manager(std::make_unique<QNetworkAccessManager>())
{
    m_manager->setCookieJar(new QNetworkCookieJar(m_manager.get()));
    m_manager->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

NetworkHttpClient::~NetworkHttpClient()
{
    if (!m_transfer)
        return;
    // get() is still on the stack below us: end its loop, and let the manager
    // (which owns the reply) go only once that stack has unwound.
    Transfer &transfer = *m_transfer;
    transfer.stallTimer.stop();
    if (transfer.reply) {
        QObject::disconnect(transfer.reply, nullptr, &transfer.loop, nullptr);
        transfer.reply->abort();
    }
    transfer.loop.quit();
    m_manager.release()->deleteLater();
}

void NetworkHttpClient::setProxyHost(const QString &host) { m_proxyHost = host; }

void NetworkHttpClient::setProxyPort(int port) { m_proxyPort = port; }

void NetworkHttpClient::setProgress(IHttpProgress *listener) { m_progress = listener; }

void NetworkHttpClient::setStallTimeout(std::chrono::milliseconds timeout)
{
    m_stallTimeout = timeout;
}

bool NetworkHttpClient::busy() const { return m_transfer != nullptr; }

void NetworkHttpClient::disconnect()
{
    if (m_transfer) {
        if (m_transfer->abort == Abort::None)
            m_transfer->abort = Abort::Disconnected;
        if (m_transfer->reply)
            m_transfer->reply->abort();
    }
    m_manager->clearConnectionCache();
}

HttpReply NetworkHttpClient::get(const QString &url)
{
    // Reached from the event loop of a running get(), e.g. a second click.
    if (m_transfer)
        return failure(QStringLiteral("Another request is still running"));

    if (!m_proxyHost.isEmpty() && (m_proxyPort < 0 || m_proxyPort > 0xffff)) {
        const QPointer<NetworkHttpClient> self(this);
        if (m_progress)
            m_progress->workBegin(0);
        if (self && m_progress)
            m_progress->workEnd();
        return failure(QStringLiteral("Invalid proxy port %1").arg(m_proxyPort));
    }

    // A proxy with an empty host is not "no proxy" to Qt: every request fails.
    m_manager->setProxy(m_proxyHost.isEmpty()
                            ? QNetworkProxy(QNetworkProxy::NoProxy)
                            : QNetworkProxy(QNetworkProxy::HttpProxy, m_proxyHost,
                                            quint16(m_proxyPort)));

    QNetworkRequest request{QUrl(url)};
    request.setRawHeader("Accept", "text/html, */*");
    request.setRawHeader("User-Agent", "Mozilla/3.0 (compatible; Indy Library)");
    // Raw bytes: Qt would inflate a compressed body, and then its size could
    // no longer be checked against Content-Length.
    request.setRawHeader("Accept-Encoding", "identity");

    Transfer transfer;
    m_transfer = &transfer;
    const QPointer<NetworkHttpClient> self(this);

    transfer.reply = m_manager->get(request);
    QNetworkReply *reply = transfer.reply;

    transfer.stallTimer.setSingleShot(true);
    transfer.stallTimer.setInterval(m_stallTimeout);
    connect(&transfer.stallTimer, &QTimer::timeout, &transfer.loop, [&transfer] {
        if (transfer.abort == Abort::None)
            transfer.abort = Abort::Stalled;
        if (transfer.reply)
            transfer.reply->abort();
    });
    connect(reply, &QNetworkReply::metaDataChanged, &transfer.loop,
            [&transfer] { transfer.stallTimer.start(); });
    connect(reply, &QNetworkReply::readyRead, &transfer.loop, [this, reply, &transfer] {
        transfer.stallTimer.start();
        if (atRedirect(reply))
            return;
        drain(reply, transfer.body);
        beginWork(transfer);
    });
    connect(reply, &QNetworkReply::downloadProgress, &transfer.loop,
            [this, self, reply, &transfer] {
                transfer.stallTimer.start();
                if (atRedirect(reply))
                    return;
                drain(reply, transfer.body);
                beginWork(transfer);
                if (self)
                    reportWork(transfer);
            });
    connect(reply, &QNetworkReply::finished, &transfer.loop, [&transfer] {
        transfer.stallTimer.stop();
        transfer.loop.quit();
    });

    transfer.stallTimer.start();
    if (!reply->isFinished())
        transfer.loop.exec();

    if (!self) // destroyed meanwhile; its destructor has aborted the request
        return failure(QStringLiteral("The HTTP client was closed during the request"));
    // The loop also ends when the application quits. What came so far is not
    // the answer, even without a Content-Length to tell.
    if (!reply->isFinished()) {
        if (transfer.abort == Abort::None)
            transfer.abort = Abort::Disconnected;
        reply->abort();
    }

    HttpReply out = result(transfer);
    const qint64 expected = contentLength(reply);
    delete reply;
    m_transfer = nullptr;

    if (!transfer.begun) {
        transfer.begun = true;
        if (m_progress)
            m_progress->workBegin(qMax<qint64>(expected, 0));
        if (!self)
            return out;
    }
    // The last count reported is what get() returns.
    if (m_progress && transfer.reported != transfer.body.size() && !transfer.body.isEmpty()) {
        m_progress->work(transfer.body.size());
        if (!self)
            return out;
    }
    if (m_progress)
        m_progress->workEnd();
    return out;
}

void NetworkHttpClient::beginWork(Transfer &transfer)
{
    if (transfer.begun)
        return;
    transfer.begun = true;
    if (m_progress)
        m_progress->workBegin(qMax<qint64>(contentLength(transfer.reply), 0));
}

void NetworkHttpClient::reportWork(Transfer &transfer)
{
    if (transfer.reported == transfer.body.size())
        return;
    transfer.reported = transfer.body.size();
    if (m_progress)
        m_progress->work(transfer.reported);
}

HttpReply NetworkHttpClient::result(Transfer &transfer)
{
    QNetworkReply *reply = transfer.reply;
    drain(reply, transfer.body);

    HttpReply out;
    out.body = transfer.body;
    out.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();

    if (transfer.abort == Abort::Disconnected) {
        out.error = QStringLiteral("The connection was closed before the transfer ended");
        return out;
    }
    if (transfer.abort == Abort::Stalled) {
        out.error = QStringLiteral("No data arrived for %1 ms").arg(m_stallTimeout.count());
        return out;
    }
    if (out.status >= 400) {
        const QString reason =
            reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        out.error = QStringLiteral("HTTP %1 %2").arg(out.status).arg(reason).trimmed();
        return out;
    }
    // Qt may take a connection closed early for the end of the body.
    const qint64 expected = contentLength(reply);
    if (out.status != 0 && expected >= 0 && out.body.size() < expected) {
        out.error = QStringLiteral("Incomplete transfer: %1 of %2 bytes")
                        .arg(out.body.size())
                        .arg(expected);
        return out;
    }
    if (reply->error() != QNetworkReply::NoError) {
        out.error = reply->errorString();
        return out;
    }
    if (out.status < 200 || out.status > 299) {
        out.error = QStringLiteral("Unexpected HTTP status %1").arg(out.status);
        return out;
    }
    out.ok = true;
    return out;
}

} // namespace vidmo
