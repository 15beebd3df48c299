// The mini radio strip: it stands in for the main window, drives the main
// window's radio panel, and hands buttons and volume over both ways.
#include "app/skinbutton.h"
#include "app/tform1.h"
#include "radio/radiopanel.h"
#include "radio/tradioform.h"
#include "radio/tradiosaveform.h"
#include "testprogram.h"

#include <QApplication>
#include <QFrame>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace vidmo;
using namespace Qt::StringLiterals;
using vidmo::test::TestProgram;

namespace {

struct Mini
{
    Mini()
    {
        p.installShippedLanguageFiles();
        p.start();
        f = p.form1();
        m = p.ctx().windows.RadioForm;
        f->show();
        f->sBitBtn(2)->click();
    }

    void play() { f->StartRadioStream("http://station.example/live"); }
    void open() { f->sSpeedButton(13)->click(); }
    void back() { m->sSpeedButton(4)->click(); }
    // "record", "stop", "both" or "none": what a pair of record/stop buttons offers.
    static QString offered(const QToolButton *rec, const QToolButton *stop)
    {
        const bool r = !rec->isHidden();
        const bool s = !stop->isHidden();
        return r && s ? u"both"_s : r ? u"record"_s : s ? u"stop"_s : u"none"_s;
    }
    QString strip() const { return offered(m->sSpeedButton(1), m->sSpeedButton(2)); }
    QString main() const { return offered(f->sSpeedButton(10), f->sSpeedButton(11)); }
    // Answers the name dialog with OK once it is up.
    void confirmNameDialog()
    {
        TRadioSaveForm *dialog = p.ctx().windows.RadioSaveForm;
        QTimer::singleShot(0, dialog, [dialog] {
            if (QApplication::activeModalWidget() == dialog)
                dialog->sBitBtn1->click();
        });
    }

    TestProgram p;
    TForm1 *f = nullptr;
    TRadioForm *m = nullptr;
};

} // namespace

class tst_miniradio : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout_data();
    void layout();
    void takesMainWindowsPlace_data();
    void takesMainWindowsPlace();
    void volumeInStripIsHeardAndStays();
    void recordAndStopFromStrip();
    void recordRefusedLeavesStripAsItWas();
    void turnOffFromStrip();
    void returnShowsFirstPageAndStationPlaysOn();
};

void tst_miniradio::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("shown");
    QTest::newRow("record") << u"sSpeedButton1"_s << QRect(5, 3, 32, 32) << u"Записать радио"_s << true;
    QTest::newRow("stop") << u"sSpeedButton2"_s << QRect(5, 3, 32, 32) << u"Остановить запись"_s << false;
    QTest::newRow("turn off") << u"sSpeedButton3"_s << QRect(40, 3, 32, 32) << u"Выключить радио"_s << true;
    QTest::newRow("back") << u"sSpeedButton4"_s << QRect(235, 3, 32, 32) << u"Вернуться к Vidmo Player"_s << true;
    QTest::newRow("volume") << u"sScrollBar1"_s << QRect(75, 10, 155, 17) << QString() << true;
}

void tst_miniradio::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, hint);
    QFETCH(bool, shown);
    TestProgram p;
    p.start();
    TRadioForm *m = p.ctx().windows.RadioForm;
    QCOMPARE(m->size(), QSize(274, 37));
    QVERIFY(m->windowTitle().isEmpty());
    QVERIFY(!m->windowFlags().testFlag(Qt::WindowSystemMenuHint));
    auto *w = m->findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->geometry(), geometry);
    QCOMPARE(w->toolTip(), hint);
    QCOMPARE(!w->isHidden(), shown);
    if (auto *b = qobject_cast<QToolButton *>(w)) {
        QVERIFY(b->text().isEmpty());
        QVERIFY(!b->icon().pixmap(24, 24).isNull());
    } else {
        auto *bar = qobject_cast<QScrollBar *>(w);
        QVERIFY(bar);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100);
        QCOMPARE(bar->value(), 100);
    }
}

void tst_miniradio::takesMainWindowsPlace_data()
{
    QTest::addColumn<bool>("recording");
    QTest::addColumn<int>("volume");
    QTest::addColumn<QString>("strip");
    QTest::newRow("idle, full volume") << false << 100 << u"record"_s;
    QTest::newRow("recording, lowered") << true << 35 << u"stop"_s;
}

void tst_miniradio::takesMainWindowsPlace()
{
    QFETCH(bool, recording);
    QFETCH(int, volume);
    QFETCH(QString, strip);
    Mini x;
    x.play();
    x.f->sScrollBar1->setValue(volume);
    if (recording) {
        x.confirmNameDialog();
        x.f->sSpeedButton(10)->click();
        QVERIFY(x.f->radio().recording());
    }
    x.open();
    QVERIFY(!x.m->isHidden());
    QVERIFY(x.f->isHidden());
    QCOMPARE(x.strip(), strip);
    QCOMPARE(x.m->sScrollBar1->value(), volume);
}

void tst_miniradio::volumeInStripIsHeardAndStays()
{
    Mini x;
    x.play();
    x.open();
    x.m->sScrollBar1->setValue(40);
    QCOMPARE(x.f->sScrollBar1->value(), 40);
    QCOMPARE(x.p.audio.volume.value(x.f->RadioStream), 0.4f);
    x.back();
    QCOMPARE(x.f->sScrollBar1->value(), 40);
    x.f->sBitBtn(2)->click();
    QCOMPARE(x.f->sScrollBar1->value(), 40);
    QCOMPARE(x.p.audio.volume.value(x.f->RadioStream), 0.4f);
}

void tst_miniradio::recordAndStopFromStrip()
{
    Mini x;
    x.play();
    x.open();
    x.p.audio.calls.clear();
    x.confirmNameDialog();
    x.m->sSpeedButton(1)->click();
    QCOMPARE(x.strip(), u"stop"_s);
    QCOMPARE(x.main(), u"stop"_s);
    QCOMPARE(x.p.audio.encoders.size(), 1);
    x.m->sSpeedButton(2)->click();
    QCOMPARE(x.strip(), u"record"_s);
    QCOMPARE(x.main(), u"record"_s);
    QVERIFY(x.p.audio.encoders.isEmpty());
    QCOMPARE(x.p.audio.calls.last(), u"Encode_Stop %1"_s.arg(x.f->RadioStream));
}

void tst_miniradio::recordRefusedLeavesStripAsItWas()
{
    Mini x; // nothing plays
    x.open();
    x.m->sSpeedButton(1)->click();
    QCOMPARE(x.p.messageBox.shown, QStringList{RadioPanel::nothingPlaysText()});
    QCOMPARE(x.strip(), u"record"_s);
    QCOMPARE(x.main(), u"record"_s);
}

void tst_miniradio::turnOffFromStrip()
{
    Mini x;
    x.play();
    const quint32 h = x.f->RadioStream;
    x.open();
    x.p.audio.calls.clear();
    x.m->sSpeedButton(3)->click();
    QCOMPARE(x.p.audio.calls, QStringList{u"StreamFree %1"_s.arg(h)});
    QVERIFY(x.p.audio.streams.isEmpty());
}

void tst_miniradio::returnShowsFirstPageAndStationPlaysOn()
{
    Mini x;
    x.play();
    x.confirmNameDialog();
    x.f->sSpeedButton(10)->click();
    x.open();
    const QString firstCaption = x.f->sBitBtn(10)->text();
    x.p.audio.calls.clear();
    x.back();
    QVERIFY(x.m->isHidden());
    QVERIFY(!x.f->isHidden());
    // FormShow ran again: the public page, the radio panel hidden.
    QVERIFY(x.f->sPanel2->isHidden());
    QCOMPARE(x.main(), u"none"_s);
    QVERIFY(x.f->sBitBtn(10)->text() != firstCaption);
    // The station and its recording go on.
    QCOMPARE(x.p.audio.calls, QStringList{});
    QCOMPARE(x.p.audio.streams.size(), 1);
    QCOMPARE(x.p.audio.encoders.size(), 1);
    x.f->sBitBtn(2)->click();
    QCOMPARE(x.main(), u"stop"_s);
}

QTEST_MAIN(tst_miniradio)
#include "tst_miniradio.moc"
