// The "Таймер" tab: confirming minutes, counting down each tick, closing the
// main window at exactly 0, and "Сброс". Ticks are driven by hand.

#include "app/tform1.h"
#include "settings/tsettingform.h"
#include "testprogram.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace vidmo;
using vidmo::test::TestProgram;

namespace {

void confirm(TSettingForm *s, const QString &minutes)
{
    s->sEdit4->setText(minutes);
    s->sBitBtn2->click();
}

void ticks(TSettingForm *s, int n)
{
    for (int i = 0; i < n; ++i)
        s->Timer1Timer();
}

} // namespace

class TestSleepTimer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void oneMinuteClosesAfterSixtyTicks();
    void confirmWhileRunningCountsOnFromTheNewValue();
    void resetStops();
    void entries_data();
    void entries();
    void runsOnWhileTheWindowIsClosed();

private:
    std::unique_ptr<TestProgram> m_program;
    TSettingForm *s = nullptr;
    std::unique_ptr<QSignalSpy> m_mainClosed;
};

void TestSleepTimer::init()
{
    m_program = std::make_unique<TestProgram>();
    m_program->installShippedLanguageFiles();
    m_program->start();
    s = m_program->settings();
    m_mainClosed = std::make_unique<QSignalSpy>(m_program->form1(), &TForm1::closed);
}

void TestSleepTimer::cleanup()
{
    m_mainClosed.reset();
    m_program.reset();
}

void TestSleepTimer::oneMinuteClosesAfterSixtyTicks()
{
    confirm(s, "1");
    QVERIFY(s->Timer1->isActive());
    QCOMPARE(s->sLabel12->text(), QStringLiteral("0000000")); // until the first tick
    ticks(s, 1);
    QCOMPARE(s->sLabel12->text(), QStringLiteral("59"));
    ticks(s, 58);
    QCOMPARE(s->sLabel12->text(), QStringLiteral("1"));
    QCOMPARE(m_mainClosed->count(), 0);
    ticks(s, 1);
    QCOMPARE(s->sLabel12->text(), QStringLiteral("0"));
    QVERIFY(!s->Timer1->isActive());
    QCOMPARE(m_mainClosed->count(), 1);
    QVERIFY(m_program->messageBox.shown.isEmpty());
}

void TestSleepTimer::confirmWhileRunningCountsOnFromTheNewValue()
{
    confirm(s, "5");
    ticks(s, 3);
    QCOMPARE(s->sLabel12->text(), QStringLiteral("297"));
    confirm(s, "10");
    QVERIFY(s->Timer1->isActive());
    QCOMPARE(s->sLabel12->text(), QStringLiteral("297"));
    ticks(s, 1);
    QCOMPARE(s->sLabel12->text(), QStringLiteral("599"));
}

void TestSleepTimer::resetStops()
{
    confirm(s, "1");
    ticks(s, 5);
    s->sButton2->click();
    QVERIFY(!s->Timer1->isActive());
    QCOMPARE(s->sLabel12->text(), QStringLiteral("0000000"));
    QCOMPARE(m_mainClosed->count(), 0);

    confirm(s, "2");
    QVERIFY(s->Timer1->isActive());
    ticks(s, 1);
    QCOMPARE(s->sLabel12->text(), QStringLiteral("119"));
}

void TestSleepTimer::entries_data()
{
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<int>("seconds"); // -1: refused

    QTest::newRow("7") << "7" << 420;
    QTest::newRow("blanks around") << " \t7 " << 420;
    QTest::newRow("plus sign") << "+2" << 120;
    QTest::newRow("leading zeros") << "007" << 420;
    QTest::newRow("largest that fits") << "35791394" << 2147483640;

    QTest::newRow("empty") << "" << -1;
    QTest::newRow("blanks only") << "  " << -1;
    QTest::newRow("letters") << "abc" << -1;
    QTest::newRow("fraction") << "1.5" << -1;
    QTest::newRow("blank inside") << "1 0" << -1;
    QTest::newRow("sign only") << "-" << -1;
    QTest::newRow("hexadecimal") << "0x10" << -1;
    QTest::newRow("non-ASCII digit") << QString(QChar(0x0663)) << -1;
    QTest::newRow("zero") << "0" << -1;
    QTest::newRow("minus zero") << "-0" << -1;
    QTest::newRow("negative") << "-3" << -1;
    QTest::newRow("seconds overflow 32 bits") << "35791395" << -1;
    QTest::newRow("minutes overflow 64 bits") << "99999999999999999999" << -1;
}

void TestSleepTimer::entries()
{
    QFETCH(QString, minutes);
    QFETCH(int, seconds);

    // A countdown already runs: a refused entry must leave it alone.
    confirm(s, "1");
    ticks(s, 1);
    confirm(s, minutes);
    QVERIFY(s->Timer1->isActive());
    ticks(s, 1);
    if (seconds < 0) {
        QCOMPARE(m_program->messageBox.shown,
                 QStringList{m_program->ctx().lang("Message", "Donotenteravalueoftrue")});
        QCOMPARE(s->sLabel12->text(), QStringLiteral("58"));
    } else {
        QVERIFY(m_program->messageBox.shown.isEmpty());
        QCOMPARE(s->sLabel12->text(), QString::number(seconds - 1));
    }
    QCOMPARE(m_mainClosed->count(), 0);
}

void TestSleepTimer::runsOnWhileTheWindowIsClosed()
{
    s->show();
    confirm(s, "1");
    s->sBitBtn15->click();
    QVERIFY(s->isHidden());
    // The window's own timer ticks on, once a second.
    QTRY_COMPARE_WITH_TIMEOUT(s->sLabel12->text(), QStringLiteral("59"), 3000);
    s->Timer1->stop(); // from here on by hand
    ticks(s, 58);
    QCOMPARE(m_mainClosed->count(), 0);
    ticks(s, 1);
    QCOMPARE(m_mainClosed->count(), 1);
}

QTEST_MAIN(TestSleepTimer)
#include "tst_sleeptimer.moc"
