// The "Обновления" tab against a loopback server through the real HTTP client:
// the version check, the installer download and what follows it, the busy
// buttons, quitting during a transfer, and the proxy fixed at start.

#include "app/tform1.h"
#include "loopbackhttpserver.h"
#include "settings/networkhttpclient.h"
#include "settings/tsettingform.h"
#include "testprogram.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace vidmo;
using vidmo::test::LoopbackHttpServer;
using vidmo::test::TestProgram;

namespace {

const QByteArray VersionPath = "/actual/2.3.txt";
const QByteArray InstallerPath = "/data/Vidmo_player.exe";

QByteArray installerBytes()
{
    QByteArray bytes(3 * 1024 * 1024 + 17, Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xff);
    return bytes;
}

// An address where nothing listens.
QString closedServer()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}

// Root writes anywhere. Drops the override on this thread only, which is the
// one that saves the installer, and gives it back at the end.
class WithoutDacOverride
{
public:
    WithoutDacOverride()
    {
        m_header.version = _LINUX_CAPABILITY_VERSION_3;
        m_header.pid = 0;
        if (::syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        m_active = ::syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~WithoutDacOverride()
    {
        if (m_active)
            ::syscall(SYS_capset, &m_header, m_saved);
    }
    bool active() const { return m_active; }

private:
    __user_cap_header_struct m_header{};
    __user_cap_data_struct m_saved[2]{};
    bool m_active = false;
};

// The program on the real client, with the shipped language files.
struct Program
{
    explicit Program(const QString &serverBase, const QByteArray &settings = {})
    {
        client.setStallTimeout(std::chrono::seconds(10));
        program.installShippedLanguageFiles();
        if (!settings.isEmpty())
            program.writeSettings(settings);
        program.realHttp = &client;
        program.realServerBase = serverBase;
        program.start();
        s = program.settings();
        mainClosed = std::make_unique<QSignalSpy>(program.form1(), &TForm1::closed);
    }
    ~Program()
    {
        mainClosed.reset();
        program.stop(); // before the client it uses
    }

    QString installer() const { return program.programDir() + "InstalVidmoPlayer.exe"; }
    QString message(const char *key) { return program.ctx().lang("Message", key); }
    QStringList installerFiles() const
    {
        return QDir(program.programDir()).entryList({"Instal*"}, QDir::AllEntries | QDir::Hidden);
    }

    NetworkHttpClient client;
    TestProgram program;
    TSettingForm *s = nullptr;
    std::unique_ptr<QSignalSpy> mainClosed;
};

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

} // namespace

class TestUpdate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void check_data();
    void check();
    void download_data();
    void download();
    void cannotCreateInstaller_data();
    void cannotCreateInstaller();
    void buttonsBusyAndWindowOnlyHides();
    void quittingDuringDownloadAborts();
    void proxyFixedAtStart_data();
    void proxyFixedAtStart();
};

void TestUpdate::check_data()
{
    QTest::addColumn<QString>("route"); // "ok", "404", "none"
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("failed");
    QTest::newRow("announced, line break kept") << "ok" << "2.5\r\n" << false;
    QTest::newRow("server error") << "404" << "0" << true;
    QTest::newRow("no server") << "none" << "0" << true;
}

void TestUpdate::check()
{
    QFETCH(QString, route);
    QFETCH(QString, label);
    QFETCH(bool, failed);

    LoopbackHttpServer server;
    QVERIFY(server.isListening());
    if (route == "ok")
        server.serve(VersionPath, "2.5\r\n");
    Program p(route == "none" ? closedServer() : server.url(""));

    p.s->sButton4->click();

    QCOMPARE(p.s->sLabel18->text(), label);
    QCOMPARE(p.program.messageBox.shown,
             failed ? QStringList{p.message("ErrorUpgrade")} : QStringList());
    QCOMPARE(p.s->sLabel17->text(), QStringLiteral("2.4"));
    QCOMPARE(p.s->sProgressBar1->value(), 0);
    QVERIFY(p.s->sButton4->isEnabled());
    QVERIFY(p.s->sBitBtn13->isEnabled());
    QCOMPARE(p.mainClosed->count(), 0);
    if (route != "none") {
        QCOMPARE(server.requests().size(), 1);
        QCOMPARE(server.requests()[0].path, VersionPath);
    }
}

void TestUpdate::download_data()
{
    QTest::addColumn<QString>("route"); // "ok", "404", "dropped", "none"
    QTest::newRow("complete") << "ok";
    QTest::newRow("server error") << "404";
    QTest::newRow("dropped mid-body") << "dropped";
    QTest::newRow("no server") << "none";
}

void TestUpdate::download()
{
    QFETCH(QString, route);
    const QByteArray bytes = installerBytes();

    LoopbackHttpServer server;
    QVERIFY(server.isListening());
    if (route == "ok")
        server.serve(InstallerPath, bytes);
    else if (route == "dropped")
        server.serveDropped(InstallerPath, bytes);
    Program p(route == "none" ? closedServer() : server.url(""));
    // An installer of an earlier run: replaced only by a complete one.
    writeFile(p.installer(), "earlier installer");

    p.s->sBitBtn13->click();

    QCOMPARE(p.s->sProgressBar1->value(), 0);
    QVERIFY(p.s->sButton4->isEnabled());
    QVERIFY(p.s->sBitBtn13->isEnabled());
    QCOMPARE(p.installerFiles(), QStringList{"InstalVidmoPlayer.exe"});
    if (route == "ok") {
        QVERIFY(readFile(p.installer()) == bytes);
        QCOMPARE(p.program.shell.opened, QStringList{p.installer()});
        QCOMPARE(p.mainClosed->count(), 1);
        QVERIFY(p.program.messageBox.shown.isEmpty());
        QCOMPARE(p.s->sProgressBar1->maximum(), bytes.size());
    } else {
        QCOMPARE(readFile(p.installer()), QByteArray("earlier installer"));
        QVERIFY(p.program.shell.opened.isEmpty());
        QCOMPARE(p.mainClosed->count(), 0);
        QCOMPARE(p.program.messageBox.shown, QStringList{p.message("ErrorUpgrade")});
    }
}

void TestUpdate::cannotCreateInstaller_data()
{
    QTest::addColumn<bool>("readOnlyDirectory"); // else a directory holds the name
    QTest::newRow("read-only program directory") << true;
    QTest::newRow("a directory of that name") << false;
}

void TestUpdate::cannotCreateInstaller()
{
    QFETCH(bool, readOnlyDirectory);
    LoopbackHttpServer server;
    QVERIFY(server.isListening());
    server.serve(InstallerPath, installerBytes());
    Program p(server.url(""));
    const QByteArray dir = QFile::encodeName(p.program.programDir());

    std::optional<WithoutDacOverride> unprivileged;
    if (readOnlyDirectory) {
        if (::geteuid() == 0) {
            unprivileged.emplace();
            QVERIFY2(unprivileged->active(), "cannot drop CAP_DAC_OVERRIDE");
        }
        QCOMPARE(::chmod(dir.constData(), 0555), 0);
    } else {
        QVERIFY(QDir().mkpath(p.installer()));
    }

    p.s->sBitBtn13->click();

    if (readOnlyDirectory)
        ::chmod(dir.constData(), 0755);
    unprivileged.reset();

    const QStringList shown = p.program.messageBox.shown;
    QCOMPARE(shown.size(), 1);
    const QString prefix = "Cannot create file \"" + p.installer() + "\". ";
    QVERIFY2(shown[0].startsWith(prefix) && shown[0].size() > prefix.size(), qPrintable(shown[0]));
    if (readOnlyDirectory)
        QVERIFY2(shown[0].endsWith("Permission denied"), qPrintable(shown[0]));
    QVERIFY(p.program.shell.opened.isEmpty());
    QCOMPARE(p.mainClosed->count(), 0);
    QVERIFY(p.s->sBitBtn13->isEnabled());
    QCOMPARE(p.installerFiles(), readOnlyDirectory ? QStringList() : QStringList{"InstalVidmoPlayer.exe"});
}

void TestUpdate::buttonsBusyAndWindowOnlyHides()
{
    const QByteArray bytes = installerBytes().left(256 * 1024);
    LoopbackHttpServer server;
    QVERIFY(server.isListening());
    server.serve(VersionPath, "2.5\n");
    server.serveSlowly(InstallerPath, bytes, 8, std::chrono::milliseconds(40));
    Program p(server.url(""));
    p.s->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.s));

    int chunks = 0;
    bool checkEnabled = true, downloadEnabled = true;
    connect(&server, &LoopbackHttpServer::chunkSent, p.s, [&] {
        if (++chunks != 2)
            return;
        checkEnabled = p.s->sButton4->isEnabled();
        downloadEnabled = p.s->sBitBtn13->isEnabled();
        // Neither starts a second request; closing only hides the window.
        p.s->sButton4->click();
        p.s->sBitBtn13->click();
        p.s->sButton4Click();
        p.s->sBitBtn13Click();
        p.s->close();
    });

    p.s->sBitBtn13->click();

    QVERIFY(chunks >= 2);
    QVERIFY(!checkEnabled);
    QVERIFY(!downloadEnabled);
    QVERIFY(p.s->isHidden());
    QCOMPARE(server.requests().size(), 1);
    QCOMPARE(server.requests()[0].path, InstallerPath);
    // The transfer went on and its end acted.
    QVERIFY(readFile(p.installer()) == bytes);
    QCOMPARE(p.program.shell.opened, QStringList{p.installer()});
    QCOMPARE(p.mainClosed->count(), 1);
    QVERIFY(p.program.messageBox.shown.isEmpty());
}

void TestUpdate::quittingDuringDownloadAborts()
{
    const QByteArray bytes = installerBytes();
    LoopbackHttpServer server;
    QVERIFY(server.isListening());
    server.serveSlowly(InstallerPath, bytes, 50, std::chrono::milliseconds(40));
    auto p = std::make_unique<Program>(server.url(""));

    qint64 sent = 0;
    connect(&server, &LoopbackHttpServer::chunkSent, p->s, [&](const QByteArray &, qint64 soFar) {
        sent = soFar;
        if (p->mainClosed->isEmpty())
            p->program.form1()->close(); // as the sleep timer or the user does
    });

    p->s->sBitBtn13->click();

    QCOMPARE(p->mainClosed->count(), 1);
    QVERIFY(sent < bytes.size());
    QVERIFY(p->installerFiles().isEmpty());
    QVERIFY(p->program.shell.opened.isEmpty());
    QVERIFY(p->program.messageBox.shown.isEmpty());
    QVERIFY(p->s->sBitBtn13->isEnabled());
    p.reset(); // the windows go, as at the end of the program
    QTRY_COMPARE(server.openConnections(), 0);
}

void TestUpdate::proxyFixedAtStart_data()
{
    QTest::addColumn<bool>("onAtStart");
    QTest::addColumn<bool>("onInThisRun"); // saved on the proxy tab after start
    QTest::newRow("on at start") << true << true;
    QTest::newRow("on at start, switched off in this run") << true << false;
    QTest::newRow("off at start, switched on in this run") << false << true;
}

void TestUpdate::proxyFixedAtStart()
{
    QFETCH(bool, onAtStart);
    QFETCH(bool, onInThisRun);
    bool ok = false;
    const int proxyPort = qEnvironmentVariableIntValue("VIDMO_TEST_PROXY_PORT", &ok);
    const QString log = qEnvironmentVariable("VIDMO_TEST_PROXY_LOG");
    if (!ok || log.isEmpty())
        QFAIL("VIDMO_TEST_PROXY_PORT/VIDMO_TEST_PROXY_LOG not set: start tinyproxy (scripts/services.sh)");

    const QByteArray bytes = installerBytes();
    LoopbackHttpServer server;
    QVERIFY(server.isListening());
    server.serve(VersionPath, "2.5\n");
    server.serve(InstallerPath, bytes);
    const QByteArray ini = QStringLiteral("[Proxy]\nuseIP=127.0.0.1\nusePort=%1\nuseProxy=%2\n")
                               .arg(proxyPort)
                               .arg(onAtStart ? 1 : 0)
                               .toUtf8();
    Program p(server.url(""), ini);
    p.s->sCheckBox1->setChecked(onInThisRun);
    p.s->sBitBtn1->click();
    p.program.messageBox.shown.clear();

    p.s->sButton4->click();
    QCOMPARE(p.s->sLabel18->text(), QStringLiteral("2.5\n"));
    p.s->sBitBtn13->click();
    QVERIFY(readFile(p.installer()) == bytes);
    QCOMPARE(p.mainClosed->count(), 1);
    QVERIFY(p.program.messageBox.shown.isEmpty());

    QCOMPARE(server.requests().size(), 2);
    for (const auto &request : server.requests())
        QCOMPARE(request.header("Via").contains("tinyproxy"), onAtStart);
    for (const QByteArray &path : {VersionPath, InstallerPath}) {
        const QByteArray line = "GET " + server.url(path).toUtf8() + " HTTP/1.1";
        if (onAtStart)
            QTRY_VERIFY2(readFile(log).contains(line), line.constData());
        else
            QVERIFY2(!readFile(log).contains(line), line.constData());
    }
}

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
