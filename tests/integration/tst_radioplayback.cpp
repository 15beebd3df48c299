// The radio panel, own stations, mini radio and recording of the whole program
// on the real audio engine: a loopback Icecast stream into the PulseAudio null
// sink, recorded by the real lame. Needs VIDMO_TEST_PULSE_SINK and
// VIDMO_TEST_ICECAST_URL (scripts/services.sh).
#include "audiocapture.h"
#include "testprogram.h"

#include "app/skinbutton.h"
#include "app/tform1.h"
#include "radio/gstaudioengine.h"
#include "radio/radiopanel.h"
#include "radio/tmyradioform.h"
#include "radio/tradioform.h"
#include "radio/tradiosaveform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <memory>

using namespace vidmo;
using namespace Qt::StringLiterals;
using vidmo::test::AudioCapture;
using vidmo::test::TestProgram;

namespace {

// The test tone has amplitude 1/8: RMS about 2900 at full volume.
constexpr double kLoud = 800;
constexpr double kSilent = 30;
constexpr int kSoundTimeoutMs = 15000;
constexpr int kRecordMs = 3000;

QString icecastUrl()
{
    return qEnvironmentVariable("VIDMO_TEST_ICECAST_URL");
}

// The whole program on the real engine; the engine outlives the windows.
struct Program
{
    Program()
    {
        p.realAudio = &engine;
        p.installShippedLanguageFiles();
        p.start();
        f = p.form1();
        f->show();
        f->sBitBtn(2)->click();
    }

    // Presses the record button and confirms the name dialog with `name`.
    void record(const QString &name)
    {
        TRadioSaveForm *dialog = p.ctx().windows.RadioSaveForm;
        QTimer::singleShot(0, dialog, [dialog, name] {
            if (QApplication::activeModalWidget() != dialog)
                return;
            dialog->sEdit1->setText(name);
            dialog->sBitBtn1->click();
        });
        f->sSpeedButton(10)->click();
    }

    GstAudioEngine engine;
    TestProgram p;
    TForm1 *f = nullptr;
};

// Seconds of sound in an MP3, as ffprobe reads it; -1 if it cannot.
double mp3Seconds(const QString &file)
{
    QProcess probe;
    probe.setStandardErrorFile(QProcess::nullDevice());
    probe.start(u"ffprobe"_s, {u"-v"_s, u"error"_s, u"-show_entries"_s, u"format=duration"_s,
                               u"-of"_s, u"default=nw=1:nk=1"_s, file});
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
        return -1;
    bool ok = false;
    const double s = probe.readAllStandardOutput().trimmed().toDouble(&ok);
    return ok ? s : -1;
}

} // namespace

#define REQUIRE_SERVICES()                                                                     \
    do {                                                                                       \
        if (qEnvironmentVariableIsEmpty("VIDMO_TEST_PULSE_SINK")                               \
            || qEnvironmentVariableIsEmpty("VIDMO_TEST_ICECAST_URL"))                          \
            QFAIL("VIDMO_TEST_PULSE_SINK and VIDMO_TEST_ICECAST_URL must be set "              \
                  "(scripts/services.sh: start_pulse, start_icecast)");                        \
        QVERIFY2(m_captureStarted, "parec did not start");                                     \
    } while (false)

// Sound above `level` in what is captured from now on.
#define WAIT_FOR_SOUND(level)                                                                  \
    do {                                                                                       \
        m_capture.clear();                                                                     \
        QTRY_VERIFY_WITH_TIMEOUT(m_capture.rms(500) > (level), kSoundTimeoutMs);               \
    } while (false)

// The level after a change, once what was queued before it has played out:
// the last 500 ms of 2500 ms captured from now on, as a share of `full`.
#define EXPECT_LEVEL(full, share)                                                              \
    do {                                                                                       \
        m_capture.clear();                                                                     \
        QTRY_VERIFY_WITH_TIMEOUT(m_capture.capturedMs() >= 2500, 10000);                       \
        const double got = m_capture.rms(500) / (full);                                        \
        qInfo("volume %.2f: RMS %.0f (%.2f of full)", double(share), m_capture.rms(500), got); \
        QVERIFY2(std::abs(got - (share)) < 0.1 * (share) + 0.01, qPrintable(QString::number(got))); \
    } while (false)

#define WAIT_FOR_SILENCE()                                                                     \
    do {                                                                                       \
        m_capture.clear();                                                                     \
        QTRY_VERIFY_WITH_TIMEOUT(m_capture.rms(500) >= 0 && m_capture.rms(500) < kSilent, 5000); \
    } while (false)

class tst_radioplayback : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void ownStationPlaysLowersAndTurnsOff();
    void recordsThroughPanel_data();
    void recordsThroughPanel();
    void missingEncoderIsReported();

private:
    AudioCapture m_capture;
    bool m_captureStarted = false;
    QTemporaryDir m_workDir;
    QString m_previousDir;
};

void tst_radioplayback::initTestCase()
{
    QVERIFY(m_workDir.isValid());
    if (!qEnvironmentVariableIsEmpty("VIDMO_TEST_PULSE_SINK"))
        m_captureStarted = m_capture.start(qEnvironmentVariable("VIDMO_TEST_PULSE_SINK"));
}

void tst_radioplayback::init()
{
    // Recordings land in the current directory.
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_workDir.path()));
}

void tst_radioplayback::cleanup()
{
    QDir::setCurrent(m_previousDir);
    QCOMPARE(GstAudioEngine::pipelineCount(), 0);
}

// An own station played from its slot, the panel's bar and the strip's bar
// lowering it, and turn-off silencing it.
void tst_radioplayback::ownStationPlaysLowersAndTurnsOff()
{
    REQUIRE_SERVICES();
    Program g;
    g.f->sSpeedButton(14)->click();
    TMyRadioForm *own = g.p.ctx().windows.MyRadioForm;
    own->sEdit1->setText(u"Test tone"_s);
    own->sEdit2->setText(icecastUrl());
    own->sBitBtn(10)->click();
    own->sBitBtn(1)->click();
    own->close();

    WAIT_FOR_SOUND(kLoud);
    // Full volume as it sounds once the stream has settled.
    m_capture.clear();
    QTRY_VERIFY_WITH_TIMEOUT(m_capture.capturedMs() >= 1000, 10000);
    const double full = m_capture.rms(1000);
    QVERIFY2(full > kLoud, qPrintable(QString::number(full)));
    qInfo("full volume: RMS %.0f", full);

    g.f->sScrollBar1->setValue(25);
    EXPECT_LEVEL(full, 0.25);

    g.f->sSpeedButton(13)->click();
    TRadioForm *strip = g.p.ctx().windows.RadioForm;
    QCOMPARE(strip->sScrollBar1->value(), 25);
    strip->sScrollBar1->setValue(60);
    EXPECT_LEVEL(full, 0.6);
    strip->sSpeedButton(4)->click();
    QCOMPARE(g.f->sScrollBar1->value(), 60);

    g.f->sBitBtn(2)->click();
    g.f->sSpeedButton(12)->click();
    WAIT_FOR_SILENCE();
    QCOMPARE(g.engine.streamCount(), 0);
    QCOMPARE(g.p.messageBox.shown, QStringList{});
}

void tst_radioplayback::recordsThroughPanel_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("lameBeside"); // a lame beside the executable, which must be the one run
    QTest::newRow("blank in the name") << u"My Song"_s << u"My Song.mp3"_s << false;
    QTest::newRow("leading dash, lame beside") << u"-loud"_s << u"-loud.mp3"_s << true;
}

// The file is named as typed, holds the recorded time and plays back.
void tst_radioplayback::recordsThroughPanel()
{
    REQUIRE_SERVICES();
    QFETCH(QString, name);
    QFETCH(QString, file);
    QFETCH(bool, lameBeside);
    QFile::remove(file);
    Program g;
    const QString argsSeen = g.p.programDir() + u"lame-args"_s;
    if (lameBeside) {
        // Passes everything on to the real lame, after writing down what it got.
        QFile wrapper(g.p.programDir() + u"lame"_s);
        QVERIFY(wrapper.open(QIODevice::WriteOnly));
        wrapper.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + argsSeen.toUtf8() + "'\nexec lame \"$@\"\n");
        wrapper.close();
        QVERIFY(wrapper.setPermissions(wrapper.permissions() | QFile::ExeOwner));
    }

    g.f->StartRadioStream(icecastUrl().toLatin1());
    WAIT_FOR_SOUND(kLoud);
    QElapsedTimer clock;
    clock.start();
    g.record(name);
    QVERIFY(g.f->radio().recording());
    QCOMPARE(g.p.messageBox.shown, QStringList{});
    // The recording lasts as long as the sink needs to play this much.
    m_capture.clear();
    QTRY_VERIFY_WITH_TIMEOUT(m_capture.capturedMs() >= kRecordMs, kRecordMs + 10000);
    g.f->sSpeedButton(11)->click();
    const qint64 recordedMs = clock.elapsed();
    QTRY_COMPARE_WITH_TIMEOUT(g.engine.finishingEncoderCount(), 0, 15000);

    QVERIFY2(QFile::exists(file), qPrintable(QDir(QDir::currentPath()).entryList().join(u", "_s)));
    const double seconds = mp3Seconds(QFileInfo(file).absoluteFilePath());
    qInfo("%s: %lld bytes, %.2f s for %lld ms recorded", qPrintable(file), QFileInfo(file).size(),
          seconds, recordedMs);
    QVERIFY2(std::abs(seconds * 1000 - recordedMs) < 0.05 * recordedMs,
             qPrintable(u"%1 s in %2 ms"_s.arg(seconds).arg(recordedMs)));
    if (lameBeside) {
        QFile seen(argsSeen);
        QVERIFY(seen.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(seen.readAll()).split(u'\n', Qt::SkipEmptyParts),
                 (QStringList{u"--alt-preset"_s, u"standard"_s, u"-"_s, u"./"_s + file}));
    }

    // The recording plays back as a station of its own.
    g.f->MyRadioUrl = QUrl::fromLocalFile(QDir::current().absoluteFilePath(file)).toString();
    g.f->Button1->click();
    WAIT_FOR_SOUND(kLoud);
    g.f->sSpeedButton(12)->click();
}

// Without lame anywhere the buttons stay and the user is told.
void tst_radioplayback::missingEncoderIsReported()
{
    REQUIRE_SERVICES();
    const QByteArray path = qgetenv("PATH");
    auto restore = qScopeGuard([&] { qputenv("PATH", path); });
    QTemporaryDir empty;
    qputenv("PATH", empty.path().toLocal8Bit());
    Program g;
    g.f->StartRadioStream(icecastUrl().toLatin1());
    WAIT_FOR_SOUND(kLoud);
    g.record(u"Nothing"_s);
    QCOMPARE(g.p.messageBox.shown, QStringList{RadioPanel::encoderFailedText()});
    QVERIFY(!g.f->sSpeedButton(10)->isHidden());
    QVERIFY(g.f->sSpeedButton(11)->isHidden());
    QVERIFY(!QFile::exists(u"Nothing.mp3"_s));
    // The station plays on.
    WAIT_FOR_SOUND(kLoud);
}

QTEST_MAIN(tst_radioplayback)
#include "tst_radioplayback.moc"
