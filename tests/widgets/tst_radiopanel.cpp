// The radio panel on the recording fake engine: the engine calls of start-up,
// playback, volume, turn-off and recording, the panel's controls, and the
// faults a recording must not hide.
#include "app/skinbutton.h"
#include "app/tform1.h"
#include "radio/radiopanel.h"
#include "radio/tradiosaveform.h"
#include "testprogram.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <optional>

using namespace vidmo;
using namespace Qt::StringLiterals;
using vidmo::test::TestProgram;

namespace {

const QString Station1 = u"http://one.example/live.mp3"_s;
const QString Station2 = u"http://two.example:8000/radio"_s;

QString created(const QString &url)
{
    return u"StreamCreateURL "_s + url + u" 0 0x800000 noproc 0"_s;
}

struct Radio
{
    Radio()
    {
        p.installShippedLanguageFiles();
        p.start();
        f = p.form1();
        f->show();
        p.audio.calls.clear();
    }

    QToolButton *button(int n) const { return f->sSpeedButton(n); }
    bool shown(QWidget *w) const { return w->isVisibleTo(f); }
    // Which of record (10) and stop (11) the panel offers: "record", "stop", "both", "none".
    QString recordButtons() const
    {
        const bool rec = !button(10)->isHidden();
        const bool stop = !button(11)->isHidden();
        return rec && stop ? u"both"_s : rec ? u"record"_s : stop ? u"stop"_s : u"none"_s;
    }
    void radioPage() { f->sBitBtn(2)->click(); }
    void play(const QString &url) { f->StartRadioStream(url.toLatin1()); }

    // Presses the record button and answers the name dialog: types `name`
    // unless it is nullopt, then OK or Cancel. Returns whether the dialog came up.
    bool record(std::optional<QString> name = std::nullopt, bool ok = true)
    {
        bool seen = false;
        TRadioSaveForm *dialog = p.ctx().windows.RadioSaveForm;
        QTimer::singleShot(0, dialog, [&] {
            if (QApplication::activeModalWidget() != dialog)
                return;
            seen = true;
            if (name)
                dialog->sEdit1->setText(*name);
            (ok ? dialog->sBitBtn1 : dialog->sBitBtn2)->click();
        });
        button(10)->click();
        // A dialog that did not come up must not answer a later one.
        QCoreApplication::processEvents();
        return seen;
    }

    TestProgram p;
    TForm1 *f = nullptr;
};

} // namespace

class tst_radiopanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void engineStartsAndEndsWithMainWindow_data();
    void engineStartsAndEndsWithMainWindow();
    void panelControls_data();
    void panelControls();
    void radioPageShowsPanelAndOthersHideIt();
    void newStationReplacesTheOld();
    void button1PlaysOwnStation_data();
    void button1PlaysOwnStation();
    void volumeBar_data();
    void volumeBar();
    void newStreamAtFullVolume();
    void turnOffFreesAndKeepsHandle();
    void silentWithoutStation_data();
    void silentWithoutStation();
    void recording_data();
    void recording();
    void dialogKeepsWhatWasTyped();
    void recordingKeepsStopButtonOnRadioPage();
    void recordingEndsWithItsStream_data();
    void recordingEndsWithItsStream();
};

void tst_radiopanel::engineStartsAndEndsWithMainWindow_data()
{
    QTest::addColumn<quint32>("plugin");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("WMA plug-in loads") << 7u << QStringList{};
    QTest::newRow("WMA plug-in missing") << 0u << QStringList{u"Ошибка загрузки библиотеки basswma.dll"_s};
}

void tst_radiopanel::engineStartsAndEndsWithMainWindow()
{
    QFETCH(quint32, plugin);
    QFETCH(QStringList, messages);
    TestProgram p;
    p.installShippedLanguageFiles();
    p.audio.pluginResult = plugin;
    bool mainShownAtMessage = true;
    p.messageBox.onShow = [&](const QString &) {
        mainShownAtMessage = p.ctx().windows.Form1->isVisible();
    };
    p.start();
    QCOMPARE(p.audio.take(), (QStringList{u"Init -1 44100 0x800 window noclsid"_s,
                                          u"PluginLoad .\\basswma.dll 0x80000000"_s}));
    QCOMPARE(p.messageBox.shown, messages);
    if (!messages.isEmpty())
        QVERIFY(!mainShownAtMessage);
    // The window still opens.
    p.form1()->show();
    QVERIFY(p.form1()->isVisible());
    p.stop();
    QCOMPARE(p.audio.take(), QStringList{u"Free"_s});
}

void tst_radiopanel::panelControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("shownAtStart"); // on the panel, before any page shows it

    QTest::newRow("record") << u"sSpeedButton10"_s << QRect(15, 5, 32, 32) << u"Записать радио"_s << false;
    QTest::newRow("stop recording") << u"sSpeedButton11"_s << QRect(15, 5, 32, 32) << u"Остановить запись"_s << false;
    QTest::newRow("own stations") << u"sSpeedButton14"_s << QRect(80, 5, 32, 32) << u"Мое радио"_s << true;
    QTest::newRow("mini radio") << u"sSpeedButton13"_s << QRect(115, 5, 32, 32) << u"Запуск минирадио"_s << true;
    QTest::newRow("turn off") << u"sSpeedButton12"_s << QRect(150, 5, 32, 32) << u"Выключить радио"_s << false;
    QTest::newRow("volume") << u"sScrollBar1"_s << QRect(15, 40, 160, 17) << QString() << false;
}

void tst_radiopanel::panelControls()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, hint);
    QFETCH(bool, shownAtStart);
    TestProgram p;
    p.start();
    TForm1 *f = p.form1();
    QCOMPARE(f->sPanel2->geometry(), QRect(602, 365, 190, 77));
    QVERIFY(f->sPanel2->isHidden());
    auto *w = f->sPanel2->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->geometry(), geometry);
    QCOMPARE(w->toolTip(), hint);
    QCOMPARE(!w->isHidden(), shownAtStart);
    if (auto *b = qobject_cast<QToolButton *>(w)) {
        QVERIFY(b->text().isEmpty());
        QCOMPARE(b->iconSize(), QSize(24, 24));
        QVERIFY(!b->icon().pixmap(24, 24).isNull());
    } else {
        auto *bar = qobject_cast<QScrollBar *>(w);
        QVERIFY(bar);
        QCOMPARE(bar->orientation(), Qt::Horizontal);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100);
        QCOMPARE(bar->value(), 100);
    }
    QCOMPARE(f->sLabel5->text(), u"Громкость"_s);
    QCOMPARE(f->sLabel5->pos(), QPoint(68, 60));
    QCOMPARE(f->sEdit1->text(), u"MyRecord"_s);
    QVERIFY(f->sEdit1->isHidden());
    QVERIFY(f->Button1->isHidden());
}

void tst_radiopanel::radioPageShowsPanelAndOthersHideIt()
{
    Radio r;
    r.radioPage();
    QVERIFY(r.shown(r.f->sPanel2));
    QVERIFY(r.shown(r.f->sScrollBar1));
    QVERIFY(r.shown(r.button(12)));
    QCOMPARE(r.recordButtons(), u"record"_s);
    r.play(Station1);
    r.p.audio.calls.clear();
    r.f->sBitBtn(3)->click();
    QVERIFY(r.f->sPanel2->isHidden());
    QVERIFY(r.f->sScrollBar1->isHidden());
    QVERIFY(r.button(12)->isHidden());
    QCOMPARE(r.recordButtons(), u"none"_s);
    // Hiding the panel never stops the stream.
    QCOMPARE(r.p.audio.calls, QStringList{});
    QCOMPARE(r.p.audio.streams.size(), 1);
}

void tst_radiopanel::newStationReplacesTheOld()
{
    Radio r;
    r.play(Station1);
    const quint32 first = r.f->RadioStream;
    QVERIFY(first != 0);
    r.p.audio.onStreamCreate = [&](const QByteArray &) {
        // Two stations never play at once: the first is gone before the second opens.
        QVERIFY(r.p.audio.streams.isEmpty());
    };
    r.play(Station2);
    const quint32 second = r.f->RadioStream;
    QVERIFY(second != 0 && second != first);
    QCOMPARE(r.p.audio.calls, (QStringList{
        u"StreamFree 0"_s, u"SetConfig 21 1"_s, created(Station1), u"ChannelPlay %1 0"_s.arg(first),
        u"StreamFree %1"_s.arg(first), u"SetConfig 21 1"_s, created(Station2),
        u"ChannelPlay %1 0"_s.arg(second)}));
    QCOMPARE(r.p.audio.streams.size(), 1);
}

void tst_radiopanel::button1PlaysOwnStation_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("plays");
    QTest::newRow("an address") << u"http://my.example/stream?id=5"_s << true;
    QTest::newRow("non-ASCII address") << u"http://радио.example/поток"_s << true;
    QTest::newRow("empty slot") << QString() << false;
}

void tst_radiopanel::button1PlaysOwnStation()
{
    QFETCH(QString, url);
    QFETCH(bool, plays);
    Radio r;
    r.play(Station1);
    const quint32 before = r.f->RadioStream;
    r.p.audio.calls.clear();
    r.f->MyRadioUrl = url;
    r.f->Button1->click();
    QCOMPARE(r.p.audio.calls.value(0), u"StreamFree %1"_s.arg(before));
    QCOMPARE(r.p.audio.calls.value(2), created(url));
    QVERIFY(!r.p.audio.streams.contains(before));
    QCOMPARE(r.f->RadioStream != 0, plays);
    if (plays)
        QCOMPARE(r.p.audio.urls.value(r.f->RadioStream), url.toLocal8Bit());
    QCOMPARE(r.f->radio().streamHeld(), plays);
}

void tst_radiopanel::volumeBar_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<float>("volume");
    QTest::newRow("lowest") << 0 << 0.0f;
    QTest::newRow("one step") << 1 << 0.01f;
    QTest::newRow("a quarter") << 25 << 0.25f;
    QTest::newRow("almost full") << 99 << 0.99f;
}

void tst_radiopanel::volumeBar()
{
    QFETCH(int, position);
    QFETCH(float, volume);
    Radio r;
    r.play(Station1);
    r.p.audio.calls.clear();
    r.f->sScrollBar1->setValue(position);
    QCOMPARE(r.p.audio.calls.size(), 1);
    QVERIFY(r.p.audio.calls[0].startsWith(u"ChannelSetAttribute %1 2 "_s.arg(r.f->RadioStream)));
    QCOMPARE(r.p.audio.volume.value(r.f->RadioStream), volume);
    // Back to the top is full volume again.
    r.f->sScrollBar1->setValue(100);
    QCOMPARE(r.p.audio.volume.value(r.f->RadioStream), 1.0f);
}

void tst_radiopanel::newStreamAtFullVolume()
{
    Radio r;
    r.play(Station1);
    r.f->sScrollBar1->setValue(30);
    r.play(Station2);
    // The bar is not applied to a new stream: it plays at the engine's full volume.
    QVERIFY(!r.p.audio.volume.contains(r.f->RadioStream));
    QCOMPARE(r.f->sScrollBar1->value(), 30);
    r.f->sScrollBar1->setValue(31);
    QCOMPARE(r.p.audio.volume.value(r.f->RadioStream), 0.31f);
}

void tst_radiopanel::turnOffFreesAndKeepsHandle()
{
    Radio r;
    r.radioPage();
    r.play(Station1);
    const quint32 h = r.f->RadioStream;
    r.p.audio.calls.clear();
    r.button(12)->click();
    QCOMPARE(r.p.audio.take(), QStringList{u"StreamFree %1"_s.arg(h)});
    QVERIFY(r.p.audio.streams.isEmpty());
    QCOMPARE(r.f->RadioStream, h);
    QVERIFY(!r.f->radio().streamHeld());
    // No button changes.
    QVERIFY(r.shown(r.button(12)));
    QCOMPARE(r.recordButtons(), u"record"_s);
    // Twice: the engine refuses the freed handle, nobody is told.
    r.button(12)->click();
    r.f->sScrollBar1->setValue(50);
    QCOMPARE(r.p.audio.take(), (QStringList{u"StreamFree %1"_s.arg(h),
                                            u"ChannelSetAttribute %1 2 0.5"_s.arg(h)}));
    QVERIFY(r.p.audio.volume.isEmpty());
    QCOMPARE(r.p.messageBox.shown, QStringList{});
}

void tst_radiopanel::silentWithoutStation_data()
{
    QTest::addColumn<QString>("before"); // what happened to the radio first
    QTest::newRow("nothing played yet") << u""_s;
    QTest::newRow("after turn-off") << u"off"_s;
    QTest::newRow("station did not open") << u"refused"_s;
}

void tst_radiopanel::silentWithoutStation()
{
    QFETCH(QString, before);
    Radio r;
    r.radioPage();
    if (before == u"off"_s) {
        r.play(Station1);
        r.button(12)->click();
    } else if (before == u"refused"_s) {
        r.p.audio.streamsOpen = false;
        r.play(Station1);
        QCOMPARE(r.f->RadioStream, 0u);
    }
    // Volume, turn-off and stop do nothing audible and report nothing.
    r.f->sScrollBar1->setValue(40);
    r.button(12)->click();
    QCOMPARE(r.p.messageBox.shown, QStringList{});
    // Recording says why it cannot start, and the buttons stay.
    QVERIFY(!r.record());
    QCOMPARE(r.p.messageBox.shown, QStringList{RadioPanel::nothingPlaysText()});
    QCOMPARE(r.recordButtons(), u"record"_s);
    for (const QString &call : r.p.audio.calls)
        QVERIFY2(!call.startsWith(u"Encode_Start"_s), qPrintable(call));
}

void tst_radiopanel::recording_data()
{
    QTest::addColumn<std::optional<QString>>("name");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("encoderStarts");
    QTest::addColumn<QString>("command"); // empty: no encoder is asked for
    QTest::addColumn<QString>("buttons");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("recordName"); // the main window's sEdit1 afterwards

    const std::optional<QString> untouched;
    const QString lame = u"lame --alt-preset standard - "_s;
    QTest::newRow("first recording, name untouched")
        << untouched << true << true << lame + u"MyRecord.mp3"_s << u"stop"_s << QString() << u"MyRecord"_s;
    QTest::newRow("name with a blank is one argument")
        << std::optional(u"My Song"_s) << true << true << lame + u"\"My Song.mp3\""_s << u"stop"_s
        << QString() << u"My Song"_s;
    QTest::newRow("leading dash is no option")
        << std::optional(u"-x"_s) << true << true << lame + u"./-x.mp3"_s << u"stop"_s << QString() << u"-x"_s;
    QTest::newRow("empty name")
        << std::optional(QString()) << true << true << lame + u".mp3"_s << u"stop"_s << QString() << QString();
    QTest::newRow("cancel abandons")
        << std::optional(u"Other"_s) << false << true << QString() << u"record"_s << QString() << u"MyRecord"_s;
    QTest::newRow("encoder does not start")
        << untouched << true << false << lame + u"MyRecord.mp3"_s << u"record"_s
        << RadioPanel::encoderFailedText() << u"MyRecord"_s;
}

void tst_radiopanel::recording()
{
    QFETCH(std::optional<QString>, name);
    QFETCH(bool, ok);
    QFETCH(bool, encoderStarts);
    QFETCH(QString, command);
    QFETCH(QString, buttons);
    QFETCH(QString, message);
    QFETCH(QString, recordName);
    Radio r;
    r.radioPage();
    r.play(Station1);
    r.p.audio.encodersStart = encoderStarts;
    r.p.audio.calls.clear();

    QString buttonsInDialog;
    QTimer::singleShot(0, [&] { buttonsInDialog = r.recordButtons(); });
    QVERIFY(r.record(name, ok));
    // The swap comes before the dialog.
    QCOMPARE(buttonsInDialog, u"stop"_s);
    QCOMPARE(r.recordButtons(), buttons);
    QCOMPARE(r.f->sEdit1->text(), recordName);
    const QStringList expected = command.isEmpty()
        ? QStringList{}
        : QStringList{u"Encode_Start %1 [%2] 0x80040000 noproc 0"_s.arg(r.f->RadioStream).arg(command)};
    QCOMPARE(r.p.audio.calls, expected);
    QCOMPARE(r.p.messageBox.shown, message.isEmpty() ? QStringList{} : QStringList{message});
    QCOMPARE(r.f->radio().recording(), buttons == u"stop"_s);
}

void tst_radiopanel::dialogKeepsWhatWasTyped()
{
    Radio r;
    r.play(Station1);
    QVERIFY(r.record(u"Night"_s, true));
    r.button(11)->click();
    QVERIFY(r.record(u"Draft"_s, false));
    // Cancel does not change the name, but the dialog shows what was typed last.
    QCOMPARE(r.f->sEdit1->text(), u"Night"_s);
    QCOMPARE(r.p.ctx().windows.RadioSaveForm->sEdit1->text(), u"Draft"_s);
    r.p.audio.calls.clear();
    QVERIFY(r.record());
    QVERIFY(r.p.audio.calls.value(0).contains(u"[lame --alt-preset standard - Draft.mp3]"_s));
}

void tst_radiopanel::recordingKeepsStopButtonOnRadioPage()
{
    Radio r;
    r.radioPage();
    r.play(Station1);
    QVERIFY(r.record());
    r.f->sBitBtn(1)->click();
    QCOMPARE(r.recordButtons(), u"none"_s);
    r.radioPage();
    // No record button, so no second encoder on the same stream.
    QCOMPARE(r.recordButtons(), u"stop"_s);
    QCOMPARE(r.p.audio.encoders.size(), 1);
    r.p.audio.calls.clear();
    r.button(11)->click();
    QCOMPARE(r.p.audio.calls, QStringList{u"Encode_Stop %1"_s.arg(r.f->RadioStream)});
    QVERIFY(r.p.audio.encoders.isEmpty());
    QCOMPARE(r.recordButtons(), u"record"_s);
    r.f->sBitBtn(1)->click();
    r.radioPage();
    QCOMPARE(r.recordButtons(), u"record"_s);
}

void tst_radiopanel::recordingEndsWithItsStream_data()
{
    QTest::addColumn<bool>("turnOff"); // else another station starts
    QTest::newRow("turn-off") << true;
    QTest::newRow("another station") << false;
}

void tst_radiopanel::recordingEndsWithItsStream()
{
    QFETCH(bool, turnOff);
    Radio r;
    r.radioPage();
    r.play(Station1);
    QVERIFY(r.record());
    if (turnOff)
        r.button(12)->click();
    else
        r.play(Station2);
    QVERIFY(r.p.audio.encoders.isEmpty());
    QVERIFY(!r.f->radio().recording());
    // The buttons stay as they were until the page is shown again.
    QCOMPARE(r.recordButtons(), u"stop"_s);
    r.button(11)->click();
    QCOMPARE(r.p.messageBox.shown, QStringList{});
    r.f->sBitBtn(1)->click();
    r.radioPage();
    QCOMPARE(r.recordButtons(), u"record"_s);
}

QTEST_MAIN(tst_radiopanel)
#include "tst_radiopanel.moc"
