// Minimise to the tray under a real X server and tray host (trayer), and
// pinning the real window on top.

#include "app/skinbutton.h"
#include "app/tform1.h"
#include "app/windowutil.h"
#include "testprogram.h"

#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTest>
#include <QToolButton>
#include <QWindow>

using namespace vidmo;
using vidmo::test::TestProgram;

namespace {

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(10000))
        return QString();
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// The X windows on the screen, top-most first, as "0x..." ids.
QStringList stackingOrder()
{
    QStringList ids;
    const QStringList lines =
        run(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-children")})
            .split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1String("0x")))
            ids << t.section(QLatin1Char(' '), 0, 0);
    }
    return ids;
}

QString xid(const QWidget *w)
{
    return QStringLiteral("0x") + QString::number(quint64(w->winId()), 16);
}

bool mappedOnScreen(const QWidget *w)
{
    return run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), xid(w)})
        .contains(QLatin1String("Map State: IsViewable"));
}

QStringList gridCaptions(TForm1 *m)
{
    QStringList captions;
    for (SkinButton *b : m->gridButtons())
        captions << b->text();
    return captions;
}

} // namespace

class TestTray : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void minimise_data();
    void minimise();
    void pinAndUnpin();

private:
    QProcess m_trayer;
};

void TestTray::initTestCase()
{
    for (const char *tool : {"trayer", "xdotool", "xwininfo"}) {
        QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty(), tool);
    }
    m_trayer.start(QStringLiteral("trayer"),
                   {"--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120",
                    "--height", "32"});
    QVERIFY(m_trayer.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QSystemTrayIcon::isSystemTrayAvailable(), 15000);
}

void TestTray::cleanupTestCase()
{
    if (m_trayer.state() != QProcess::NotRunning) {
        m_trayer.kill();
        m_trayer.waitForFinished();
    }
}

void TestTray::minimise_data()
{
    QTest::addColumn<QByteArray>("value");

    QTest::newRow("1: to the tray") << QByteArray("1");
    QTest::newRow("0: stays on the taskbar") << QByteArray("0");
    QTest::newRow("other: the plain minimise") << QByteArray("yes");
}

void TestTray::minimise()
{
    QFETCH(QByteArray, value);
    const bool toTray = value == "1";

    TestProgram p;
    p.installShippedLanguageFiles();
    p.writeSettings("[InTray]\nuseInTray=" + value + "\n");
    ProgramBlock &block = p.start();
    TForm1 *m = p.form1();
    block.showMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(m));
    QCOMPARE(m->TrayIcon1->isVisible(), toTray);
    if (toTray)
        QTRY_VERIFY(!m->TrayIcon1->geometry().isEmpty()); // embedded in the tray host

    // Another program's window over ours.
    QWidget cover;
    cover.setWindowTitle(QStringLiteral("cover"));
    cover.setGeometry(m->geometry());
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    QTRY_VERIFY(stackingOrder().indexOf(xid(&cover)) < stackingOrder().indexOf(xid(m)));

    // A page other than the first, which a new show of the window would reset.
    m->sBitBtn(3)->click();
    const QStringList page = gridCaptions(m);
    QVERIFY(page != QStringList(page.size(), QString()));

    m->showMinimized();
    if (!toTray) {
        // No window manager here does the iconify: the window stays mapped,
        // so nothing took it off the screen or the taskbar.
        QVERIFY(m->isMinimized());
        QVERIFY(!m->isHidden());
        QVERIFY(mappedOnScreen(m));
        QVERIFY(!m->TrayIcon1->isVisible());
        return;
    }

    QTRY_VERIFY(m->isHidden());
    QTRY_VERIFY(!mappedOnScreen(m));
    QVERIFY(m->TrayIcon1->isVisible());

    const QPoint centre = m->TrayIcon1->geometry().center();
    QProcess::execute(QStringLiteral("xdotool"),
                      {"mousemove", QString::number(centre.x()), QString::number(centre.y()),
                       "click", "--repeat", "2", "--delay", "80", "1"});
    QTRY_VERIFY(!m->isHidden());
    QVERIFY(!m->isMinimized());
    QTRY_VERIFY(mappedOnScreen(m));
    QTRY_VERIFY(stackingOrder().indexOf(xid(m)) < stackingOrder().indexOf(xid(&cover)));
    QTRY_VERIFY(m->isActiveWindow());
    QVERIFY(m->TrayIcon1->isVisible());
    // Back from the tray is no new show: the page stays.
    QCOMPARE(gridCaptions(m), page);
}

void TestTray::pinAndUnpin()
{
    TestProgram p;
    p.installShippedLanguageFiles();
    ProgramBlock &block = p.start();
    TForm1 *m = p.form1();
    block.showMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(m));
    m->sBitBtn(3)->click();
    const QStringList page = gridCaptions(m);
    const WId id = m->winId();
    QToolButton *pin = m->sSpeedButton(8);
    QToolButton *unpin = m->sSpeedButton(9);
    QVERIFY(!pin->isHidden() && unpin->isHidden());

    pin->click();
    QVERIFY(m->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(isStayOnTop(m));
    QVERIFY(pin->isHidden() && !unpin->isHidden());

    unpin->click();
    QVERIFY(!m->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!isStayOnTop(m));
    QVERIFY(!pin->isHidden() && unpin->isHidden());

    // The same window stayed on the screen throughout, not shown anew.
    QCOMPARE(m->winId(), id);
    QVERIFY(mappedOnScreen(m));
    QCOMPARE(gridCaptions(m), page);
}

QTEST_MAIN(TestTray)
#include "tst_tray_x11.moc"
