#include "loopbackhttpserver.h"
#include "settings/networkhttpclient.h"

#include <QPointer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTimer>
#include <QtTest>

using namespace std::chrono_literals;
using vidmo::HttpReply;
using vidmo::NetworkHttpClient;
using vidmo::test::LoopbackHttpServer;

namespace {

// Records the progress events in order.
class ProgressLog final : public vidmo::IHttpProgress
{
public:
    enum class Kind { Begin, Work, End };
    struct Event
    {
        Kind kind;
        qint64 value;
    };

    void workBegin(qint64 expectedTotal) override { add(Kind::Begin, expectedTotal); }
    void work(qint64 countSoFar) override { add(Kind::Work, countSoFar); }
    void workEnd() override { add(Kind::End, 0); }

    int count(Kind kind) const
    {
        return int(std::count_if(events.begin(), events.end(),
                                 [kind](const Event &e) { return e.kind == kind; }));
    }

    // Empty when the events are one begin, works that never go back, one end;
    // else what is wrong.
    QString fault(qint64 expectedTotal, qint64 finalCount) const
    {
        if (events.size() < 2 || events.first().kind != Kind::Begin
            || events.last().kind != Kind::End || count(Kind::Begin) != 1
            || count(Kind::End) != 1)
            return QStringLiteral("not begin, work..., end: ") + describe();
        if (events.first().value != expectedTotal)
            return QStringLiteral("begin with %1, expected %2")
                .arg(events.first().value)
                .arg(expectedTotal);
        qint64 last = 0;
        for (const Event &e : events) {
            if (e.kind != Kind::Work)
                continue;
            if (e.value < last)
                return QStringLiteral("count went back: ") + describe();
            last = e.value;
        }
        if (last != finalCount)
            return QStringLiteral("last count %1, expected %2").arg(last).arg(finalCount);
        return {};
    }

    QString describe() const
    {
        QStringList parts;
        for (const Event &e : events) {
            const char *name = e.kind == Kind::Begin ? "begin" : e.kind == Kind::Work ? "work" : "end";
            parts << QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(e.value);
        }
        return parts.join(QLatin1Char(' '));
    }

    QVector<Event> events;
    std::function<void(Kind)> onEvent;

private:
    void add(Kind kind, qint64 value)
    {
        events.append({kind, value});
        if (onEvent)
            onEvent(kind);
    }
};

// A port on 127.0.0.1 where nothing listens.
quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

QByteArray binaryBody(qsizetype size)
{
    QByteArray body(size, Qt::Uninitialized);
    QRandomGenerator generator(20240611);
    for (qsizetype i = 0; i < size; ++i)
        body[i] = char(generator.bounded(256));
    return body;
}

int proxyPort()
{
    bool ok = false;
    const int port = qEnvironmentVariableIntValue("VIDMO_TEST_PROXY_PORT", &ok);
    return ok ? port : 0;
}

enum class Failure { NotFound, ServerError, Dropped, Refused, ProxyRefused, Stalled, BadProxyPort };

} // namespace

Q_DECLARE_METATYPE(Failure)

class tst_HttpClient final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void getsBodyIntact_data();
    void getsBodyIntact();
    void sendsFixedHeaders();
    void keepsCookies();
    void failures_data();
    void failures();
    void eventLoopRunsAndSecondRequestIsRefused();
    void disconnectAbortsSlowBody();
    void disconnectClosesIdleConnection();
    void destroyedDuringRequest_data();
    void destroyedDuringRequest();
    void throughTinyproxy();
};

void tst_HttpClient::getsBodyIntact_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("redirected");
    QTest::addColumn<bool>("slow");

    QTest::newRow("text with trailing line break") << QByteArray("2.5\r\n") << false << false;
    QTest::newRow("empty") << QByteArray() << false << false;
    QTest::newRow("binary, 3 MiB") << binaryBody(3 * 1024 * 1024) << false << false;
    QTest::newRow("after a redirect") << QByteArray("moved here\n") << true << false;
    QTest::newRow("slow, in pieces") << binaryBody(64 * 1024) << false << true;
}

void tst_HttpClient::getsBodyIntact()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, redirected);
    QFETCH(bool, slow);

    LoopbackHttpServer server;
    QVERIFY(server.isListening());
    if (slow)
        server.serveSlowly("/file", body, 4, 150ms);
    else
        server.serve("/file", body, 200, {{"Content-Type", "application/octet-stream"}});
    server.redirect("/old", "/file");

    NetworkHttpClient client;
    ProgressLog log;
    client.setProgress(&log);
    const HttpReply reply = client.get(server.url(redirected ? "/old" : "/file"));

    QVERIFY2(reply.ok, qPrintable(reply.error));
    QCOMPARE(reply.status, 200);
    QVERIFY(reply.error.isEmpty());
    QCOMPARE(reply.body.size(), body.size());
    QVERIFY(reply.body == body);
    const QString fault = log.fault(body.size(), body.size());
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    if (slow) // reported while the pieces came, not only at the end
        QVERIFY2(log.count(ProgressLog::Kind::Work) >= 2, qPrintable(log.describe()));
    const auto asked = [&server](const QByteArray &path) {
        return std::count_if(server.requests().begin(), server.requests().end(),
                             [&path](const auto &r) { return r.path == path; });
    };
    QCOMPARE(asked("/file"), 1);
    QCOMPARE(server.requests().last().path, QByteArray("/file"));
    // Qt 6.4 now and then sends the first request of a redirect twice on its
    // kept-alive connection; what matters here is that it was asked.
    QCOMPARE(asked("/old") > 0, redirected);
}

void tst_HttpClient::sendsFixedHeaders()
{
    LoopbackHttpServer server;
    server.serve("/actual/version.txt", "1\n");
    NetworkHttpClient client;
    QVERIFY(client.get(server.url("/actual/version.txt")).ok);

    QCOMPARE(server.requests().size(), 1);
    const auto &request = server.requests().first();
    QCOMPARE(request.method, QByteArray("GET"));
    QCOMPARE(request.target, QByteArray("/actual/version.txt"));
    QCOMPARE(request.header("Accept"), QByteArray("text/html, */*"));
    QCOMPARE(request.header("User-Agent"), QByteArray("Mozilla/3.0 (compatible; Indy Library)"));
}

void tst_HttpClient::keepsCookies()
{
    LoopbackHttpServer server;
    server.serve("/login", "hello\n", 200, {{"Set-Cookie", "session=abc123; Path=/"}});
    server.serve("/page", "again\n");
    NetworkHttpClient client;

    QVERIFY(client.get(server.url("/login")).ok);
    QVERIFY(client.get(server.url("/page")).ok);

    QCOMPARE(server.requests().size(), 2);
    QVERIFY(!server.requests()[0].hasHeader("Cookie"));
    QCOMPARE(server.requests()[1].header("Cookie"), QByteArray("session=abc123"));
}

void tst_HttpClient::failures_data()
{
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("errorPart");

    QTest::newRow("404") << Failure::NotFound << 404 << "404";
    QTest::newRow("500 with a body") << Failure::ServerError << 500 << "500";
    QTest::newRow("dropped mid-body") << Failure::Dropped << 200 << "Incomplete";
    QTest::newRow("connection refused") << Failure::Refused << 0 << "refused";
    QTest::newRow("proxy refused") << Failure::ProxyRefused << 0 << "refused";
    QTest::newRow("stalled") << Failure::Stalled << 200 << "No data";
    QTest::newRow("proxy port out of range") << Failure::BadProxyPort << 0 << "proxy port";
}

void tst_HttpClient::failures()
{
    QFETCH(Failure, failure);
    QFETCH(int, status);
    QFETCH(QString, errorPart);

    const QByteArray whole = binaryBody(200000);
    LoopbackHttpServer server;
    server.serve("/broken", "oops\n", 500);
    server.serveDropped("/half", whole);
    server.serveSlowly("/stall", whole, 2, 60s);
    NetworkHttpClient client;
    ProgressLog log;
    client.setProgress(&log);

    QString url = server.url("/missing");
    switch (failure) {
    case Failure::NotFound: break;
    case Failure::ServerError: url = server.url("/broken"); break;
    case Failure::Dropped: url = server.url("/half"); break;
    case Failure::Refused: url = QStringLiteral("http://127.0.0.1:%1/").arg(closedPort()); break;
    case Failure::ProxyRefused:
        client.setProxyHost(QStringLiteral("127.0.0.1"));
        client.setProxyPort(closedPort());
        break;
    case Failure::Stalled:
        client.setStallTimeout(300ms);
        url = server.url("/stall");
        break;
    case Failure::BadProxyPort:
        client.setProxyHost(QStringLiteral("127.0.0.1"));
        client.setProxyPort(70000);
        break;
    }

    const HttpReply reply = client.get(url);

    QVERIFY(!reply.ok);
    QCOMPARE(reply.status, status);
    QVERIFY2(reply.error.contains(errorPart, Qt::CaseInsensitive), qPrintable(reply.error));
    if (failure == Failure::Dropped || failure == Failure::Stalled) {
        QVERIFY(reply.body.size() < whole.size());
        QVERIFY(whole.startsWith(reply.body));
    }
    if (failure == Failure::ServerError)
        QCOMPARE(reply.body, QByteArray("oops\n"));
    // begin and end also when it fails
    QCOMPARE(log.count(ProgressLog::Kind::Begin), 1);
    QCOMPARE(log.events.first().kind, ProgressLog::Kind::Begin);
    QCOMPARE(log.count(ProgressLog::Kind::End), 1);
    QCOMPARE(log.events.last().kind, ProgressLog::Kind::End);
    QVERIFY(!client.busy());
}

void tst_HttpClient::eventLoopRunsAndSecondRequestIsRefused()
{
    const QByteArray body = binaryBody(40000);
    LoopbackHttpServer server;
    server.serveSlowly("/slow", body, 4, 100ms);
    server.serve("/other", "other\n");
    NetworkHttpClient client;
    ProgressLog log;
    client.setProgress(&log);

    int ticksWhileBusy = 0;
    bool secondTried = false;
    HttpReply second;
    second.ok = true;
    QTimer ticker;
    ticker.setInterval(20ms);
    connect(&ticker, &QTimer::timeout, this, [&] {
        if (!client.busy())
            return;
        ++ticksWhileBusy;
        if (!secondTried) {
            secondTried = true;
            second = client.get(server.url("/other"));
        }
    });
    ticker.start();
    const HttpReply first = client.get(server.url("/slow"));
    ticker.stop();

    QVERIFY(ticksWhileBusy >= 2);
    QVERIFY(secondTried);
    QVERIFY(!second.ok);
    QVERIFY(!second.error.isEmpty());
    QVERIFY2(first.ok, qPrintable(first.error));
    QVERIFY(first.body == body);
    QVERIFY(!client.busy());
    QCOMPARE(server.requests().size(), 1);
    // the refused call sent no events into the running transfer's progress
    const QString fault = log.fault(body.size(), body.size());
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

void tst_HttpClient::disconnectAbortsSlowBody()
{
    const QByteArray body = binaryBody(80000);
    LoopbackHttpServer server;
    server.serveSlowly("/slow", body, 8, 100ms);
    server.serve("/next", "next\n");
    NetworkHttpClient client;
    ProgressLog log;
    client.setProgress(&log);
    connect(&server, &LoopbackHttpServer::chunkSent, this, [&](const QByteArray &, qint64 sent) {
        if (sent == 2 * body.size() / 8)
            client.disconnect();
    });

    const HttpReply reply = client.get(server.url("/slow"));

    QVERIFY(!reply.ok);
    QCOMPARE(reply.status, 200);
    QVERIFY(!reply.error.isEmpty());
    QVERIFY(reply.body.size() < body.size());
    QCOMPARE(log.count(ProgressLog::Kind::End), 1);
    QCOMPARE(log.events.last().kind, ProgressLog::Kind::End);
    QVERIFY(!client.busy());
    QTRY_COMPARE(server.openConnections(), 0);

    const HttpReply next = client.get(server.url("/next"));
    QVERIFY2(next.ok, qPrintable(next.error));
    QCOMPARE(next.body, QByteArray("next\n"));
}

void tst_HttpClient::disconnectClosesIdleConnection()
{
    LoopbackHttpServer server;
    server.serve("/a", "a\n");
    NetworkHttpClient client;

    QVERIFY(client.get(server.url("/a")).ok);
    QVERIFY(client.get(server.url("/a")).ok);
    client.disconnect();
    QTRY_COMPARE(server.openConnections(), 0);
    QVERIFY(client.get(server.url("/a")).ok);

    const auto &requests = server.requests();
    QCOMPARE(requests.size(), 3);
    QCOMPARE(requests[1].connection, requests[0].connection); // kept alive until then
    QVERIFY(requests[2].connection != requests[1].connection);
}

void tst_HttpClient::destroyedDuringRequest_data()
{
    QTest::addColumn<bool>("fromListener");
    QTest::newRow("from the event loop") << false;
    QTest::newRow("from the progress listener") << true;
}

void tst_HttpClient::destroyedDuringRequest()
{
    QFETCH(bool, fromListener);

    const QByteArray body = binaryBody(80000);
    LoopbackHttpServer server;
    server.serveSlowly("/slow", body, 8, 100ms);
    auto *client = new NetworkHttpClient;
    QPointer<NetworkHttpClient> alive(client);
    ProgressLog log;
    client->setProgress(&log);
    qsizetype eventsAtDeath = -1;
    auto destroy = [&] {
        if (!alive)
            return;
        eventsAtDeath = log.events.size();
        delete client;
    };
    if (fromListener) {
        log.onEvent = [&](ProgressLog::Kind kind) {
            if (kind == ProgressLog::Kind::Work)
                destroy();
        };
    } else {
        connect(&server, &LoopbackHttpServer::chunkSent, this, [&](const QByteArray &, qint64 sent) {
            if (sent > body.size() / 4)
                destroy();
        });
    }

    vidmo::IHttpClient *http = client;
    const HttpReply reply = http->get(server.url("/slow"));

    QVERIFY(!alive);
    QVERIFY(!reply.ok);
    QVERIFY(!reply.error.isEmpty());
    QCOMPARE(log.events.size(), eventsAtDeath); // nothing reached the listener afterwards
    QTRY_COMPARE(server.openConnections(), 0);
}

void tst_HttpClient::throughTinyproxy()
{
    const int port = proxyPort();
    if (port <= 0)
        QFAIL("VIDMO_TEST_PROXY_PORT is not set: start tinyproxy (scripts/services.sh)");

    LoopbackHttpServer server;
    server.serve("/actual/version.txt", "2.5\n");
    NetworkHttpClient client;
    client.setProxyHost(QStringLiteral("127.0.0.1"));
    client.setProxyPort(port);

    const HttpReply proxied = client.get(server.url("/actual/version.txt"));
    QVERIFY2(proxied.ok, qPrintable(proxied.error));
    QCOMPARE(proxied.body, QByteArray("2.5\n"));
    QCOMPARE(server.requests().size(), 1);
    QVERIFY2(server.requests()[0].header("Via").contains("tinyproxy"),
             server.requests()[0].header("Via").constData());
    QCOMPARE(server.requests()[0].header("User-Agent"),
             QByteArray("Mozilla/3.0 (compatible; Indy Library)"));

    // The proxy answers for a server it cannot reach.
    const HttpReply unreachable =
        client.get(QStringLiteral("http://127.0.0.1:%1/actual/version.txt").arg(closedPort()));
    QVERIFY(!unreachable.ok);
    QVERIFY2(unreachable.status >= 400, qPrintable(unreachable.error));

    // An empty host means no proxy, whatever the port; it applies to the next request.
    client.setProxyHost(QString());
    const HttpReply direct = client.get(server.url("/actual/version.txt"));
    QVERIFY2(direct.ok, qPrintable(direct.error));
    QCOMPARE(server.requests().size(), 2);
    QVERIFY(!server.requests()[1].hasHeader("Via"));
}

QTEST_MAIN(tst_HttpClient)
#include "tst_httpclient.moc"
