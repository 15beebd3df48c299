// The audio engine against the real GStreamer, PulseAudio (null sink),
// Icecast and lame. Needs VIDMO_TEST_PULSE_SINK and VIDMO_TEST_ICECAST_URL
// (scripts/services.sh).

#include "audiocapture.h"
#include "streamserver.h"

#include "radio/commandline.h"
#include "radio/gstaudioengine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cstdio>
#include <unistd.h>

using vidmo::GstAudioEngine;
using vidmo::HSTREAM;
using vidmo::test::AudioCapture;
using vidmo::test::StreamServer;
using State = GstAudioEngine::StreamState;
using Route = StreamServer::Route;

namespace {

// The test tones have amplitude 1/8: RMS about 2900 at full volume.
constexpr double kLoud = 800;
constexpr double kSilent = 30;
constexpr int kSoundTimeoutMs = 15000;

QByteArray fixture(const char *name)
{
    QFile f(QStringLiteral(VIDMO_TEST_DATA "/audio/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return f.readAll();
}

Route stallRoute()
{
    Route r;
    r.kind = Route::Kind::Stall;
    return r;
}

QByteArray icecastUrl()
{
    return qgetenv("VIDMO_TEST_ICECAST_URL");
}

// As the program passes it: NUL-terminated.
QByteArray cString(const QByteArray &s)
{
    QByteArray z = s;
    z.append('\0');
    return z;
}

HSTREAM startStation(GstAudioEngine &engine, const QByteArray &url)
{
    engine.BASS_SetConfig(vidmo::bass::CONFIG_NET_PLAYLIST, 1);
    const HSTREAM h = engine.BASS_StreamCreateURL(cString(url), 0, vidmo::bass::STREAM_STATUS,
                                                  nullptr, nullptr);
    engine.BASS_ChannelPlay(h, false);
    return h;
}

struct Wav
{
    QByteArray header;
    QByteArray pcm;
};

Wav splitWav(const QByteArray &file)
{
    return {file.left(44), file.mid(44)};
}

// Resident set size of this process.
qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : -1;
}

quint32 le32(const QByteArray &b, int at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint16 le16(const QByteArray &b, int at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
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

// Sound at the given level, from the capture made after this point: what
// was heard before (the previous test's station) does not count.
#define WAIT_FOR_SOUND(level)                                                                  \
    do {                                                                                       \
        m_capture.clear();                                                                     \
        QTRY_VERIFY_WITH_TIMEOUT(m_capture.rms(500) > (level), kSoundTimeoutMs);               \
    } while (false)

// Nothing reaches the sink for `ms` milliseconds, once what was playing
// before has drained from the sound server.
#define EXPECT_SILENCE(ms)                                                                     \
    do {                                                                                       \
        QTRY_VERIFY_WITH_TIMEOUT(m_capture.rms(200) >= 0 && m_capture.rms(200) < kSilent, 5000); \
        m_capture.clear();                                                                     \
        QTRY_VERIFY_WITH_TIMEOUT(m_capture.capturedMs() >= (ms), (ms) + 5000);                 \
        QVERIFY2(m_capture.rms(ms) < kSilent, qPrintable(QString::number(m_capture.rms(ms)))); \
    } while (false)

class tst_audioengine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void pluginLoad();
    void pluginLoadNeedsAsfAndWma_data();
    void pluginLoadNeedsAsfAndWma();
    void refusedAddresses_data();
    void refusedAddresses();
    void staleHandles();
    void creationDoesNotBlock_data();
    void creationDoesNotBlock();
    void playsAndVolume_data();
    void playsAndVolume();
    void playlists_data();
    void playlists();
    void reconnectsAfterDrop();
    void reconnectBacksOff();
    void longFileOverHttp();
    void joinedMidwayStartsWithSound();
    void encoderGetsWav();
    void recordsMp3_data();
    void recordsMp3();
    void encoderStartFails_data();
    void encoderStartFails();
    void manySwitchesLeaveNothing();

private:
    void serveStandardRoutes();

    AudioCapture m_capture;
    bool m_captureStarted = false;
    std::unique_ptr<GstAudioEngine> m_engine;
    std::unique_ptr<StreamServer> m_server;
    QTemporaryDir m_workDir;
};

void tst_audioengine::initTestCase()
{
    QVERIFY(m_workDir.isValid());
    if (!qEnvironmentVariableIsEmpty("VIDMO_TEST_PULSE_SINK"))
        m_captureStarted = m_capture.start(qEnvironmentVariable("VIDMO_TEST_PULSE_SINK"));
}

void tst_audioengine::init()
{
    m_engine = std::make_unique<GstAudioEngine>();
    QVERIFY(m_engine->BASS_Init(-1, 44100, vidmo::bass::DEVICE_SPEAKERS, 0, nullptr));
    m_server = std::make_unique<StreamServer>();
    QVERIFY(m_server->listen());
}

void tst_audioengine::cleanup()
{
    m_engine.reset();
    m_server.reset();
    QCOMPARE(GstAudioEngine::pipelineCount(), 0);
}

void tst_audioengine::pluginLoad()
{
    // The file does not exist here: it is not opened, GStreamer decides.
    const auto wma = m_engine->BASS_PluginLoad(QStringLiteral(".\\basswma.dll"), vidmo::bass::UNICODE_FLAG);
    QVERIFY(wma != 0);
    QCOMPARE(m_engine->BASS_PluginLoad(QStringLiteral("basswma.dll"), 0), wma);
    QCOMPARE(m_engine->BASS_PluginLoad(QStringLiteral(".\\bassflac.dll"), 0), 0u);
}

// In a child with a registry of only some plug-ins.
void tst_audioengine::pluginLoadNeedsAsfAndWma_data()
{
    QTest::addColumn<QStringList>("plugins");
    QTest::addColumn<bool>("loads");
    QTest::newRow("asf demuxer and libav") << QStringList{"libgstasf.so", "libgstlibav.so"} << true;
    QTest::newRow("asf demuxer only") << QStringList{"libgstasf.so"} << false;
    QTest::newRow("libav only") << QStringList{"libgstlibav.so"} << false;
    QTest::newRow("neither") << QStringList{"libgstcoreelements.so"} << false;
}

void tst_audioengine::pluginLoadNeedsAsfAndWma()
{
    QFETCH(QStringList, plugins);
    QFETCH(bool, loads);
    QProcess pkg;
    pkg.start(QStringLiteral("pkg-config"), {"--variable=pluginsdir", "gstreamer-1.0"});
    QVERIFY(pkg.waitForFinished(10000));
    const QString pluginsDir = QString::fromLocal8Bit(pkg.readAllStandardOutput()).trimmed();
    QVERIFY2(QFileInfo::exists(pluginsDir), qPrintable(pluginsDir));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString &p : plugins)
        QVERIFY2(QFile::link(pluginsDir + '/' + p, dir.filePath(p)), qPrintable(p));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VIDMO_PLUGIN_PROBE"), QStringLiteral("1"));
    env.insert(QStringLiteral("GST_PLUGIN_SYSTEM_PATH_1_0"), dir.path());
    env.insert(QStringLiteral("GST_PLUGIN_PATH_1_0"), dir.path());
    env.insert(QStringLiteral("GST_REGISTRY_1_0"), dir.filePath(QStringLiteral("registry.bin")));
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitCode(), 0);
    const QByteArray out = child.readAllStandardOutput().trimmed();
    QVERIFY2(out.startsWith("plugin="), out.constData());
    QCOMPARE(out.mid(7).toUInt() != 0, loads);
}

void tst_audioengine::refusedAddresses_data()
{
    QTest::addColumn<QByteArray>("url");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("no scheme") << QByteArray("radio.example/stream");
    QTest::newRow("http without host") << QByteArray("http:///stream");
    QTest::newRow("unknown scheme") << QByteArray("vidmo-nope://radio.example/");
    QTest::newRow("blanks") << QByteArray("   ");
}

void tst_audioengine::refusedAddresses()
{
    QFETCH(QByteArray, url);
    QCOMPARE(m_engine->BASS_StreamCreateURL(cString(url), 0, 0, nullptr, nullptr), 0u);
    QCOMPARE(m_engine->streamCount(), 0);
}

void tst_audioengine::staleHandles()
{
    m_server->route("/stall", stallRoute());
    const HSTREAM first = startStation(*m_engine, m_server->url("/stall"));
    QVERIFY(first != 0);
    QVERIFY(m_engine->BASS_StreamFree(first));
    const HSTREAM second = startStation(*m_engine, m_server->url("/stall"));
    QVERIFY2(second > first, "a handle is never reused");

    const QString copy = QStringLiteral("tee ") + vidmo::quoteCommandArgument(m_workDir.filePath("x"));
    for (const std::uint32_t h : {0u, first, second + 1000u}) {
        QVERIFY(!m_engine->BASS_ChannelPlay(h, false));
        QVERIFY(!m_engine->BASS_ChannelSetAttribute(h, vidmo::bass::ATTRIB_VOL, 0.5f));
        QCOMPARE(m_engine->BASS_Encode_Start(h, copy, 0x80040000u, nullptr, nullptr), 0u);
        QVERIFY(!m_engine->BASS_Encode_Stop(h));
        QVERIFY(!m_engine->BASS_StreamFree(h));
    }
    QVERIFY(!m_engine->BASS_ChannelSetAttribute(second, 99, 0.5f));
    QVERIFY(m_engine->BASS_ChannelSetAttribute(second, vidmo::bass::ATTRIB_VOL, 0.5f));
    QCOMPARE(m_engine->streamCount(), 1);

    // After the engine is released nothing opens until it is initialised again.
    QVERIFY(m_engine->BASS_Free());
    QVERIFY(!m_engine->BASS_ChannelPlay(second, false));
    QCOMPARE(m_engine->BASS_StreamCreateURL(cString(m_server->url("/stall")), 0, 0, nullptr, nullptr), 0u);
    QVERIFY(!m_engine->BASS_Free());
    QVERIFY(m_engine->BASS_Init(-1, 44100, 0, 0, nullptr));
    QVERIFY(!m_engine->BASS_Init(-1, 44100, 0, 0, nullptr));
    QVERIFY(startStation(*m_engine, m_server->url("/stall")) > second);
}

void tst_audioengine::creationDoesNotBlock_data()
{
    QTest::addColumn<QByteArray>("url");
    QTest::addColumn<bool>("stalls");
    // A port nobody listens on.
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const QByteArray refused = "http://127.0.0.1:" + QByteArray::number(closed.serverPort()) + "/";
    closed.close();
    QTest::newRow("server that never answers") << QByteArray("/stall") << true;
    QTest::newRow("connection refused") << refused << false;
    QTest::newRow("unknown host") << QByteArray("http://vidmo-no-such-host.invalid/live") << false;
    QTest::newRow("non-routable address") << QByteArray("http://10.255.255.1:8000/live") << false;
}

// Creation returns before any network work is done; so does freeing a stream
// that is still connecting. The bounds are loose: blocking would cost seconds.
void tst_audioengine::creationDoesNotBlock()
{
    QFETCH(QByteArray, url);
    QFETCH(bool, stalls);
    m_server->route("/stall", stallRoute());
    if (url.startsWith('/'))
        url = m_server->url(url);

    QElapsedTimer clock;
    clock.start();
    const HSTREAM h = startStation(*m_engine, url);
    const qint64 createMs = clock.elapsed();
    QVERIFY(h != 0);
    QVERIFY2(createMs < 250, qPrintable(QString::number(createMs)));
    if (stalls) {
        // The request is made afterwards, from the event loop.
        QCOMPARE(m_server->requests("/stall"), 0);
        QTRY_COMPARE(m_server->requests("/stall"), 1);
        QTest::qWait(100);
        QCOMPARE(m_engine->streamState(h), State::Resolving);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(m_engine->streamState(h), State::Failed, 20000);
    }
    clock.restart();
    QVERIFY(m_engine->BASS_StreamFree(h));
    QVERIFY2(clock.elapsed() < 250, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(m_engine->streamState(h), State::None);
}

void tst_audioengine::playsAndVolume_data()
{
    QTest::addColumn<float>("volume");
    QTest::addColumn<double>("low");  // expected level against full volume
    QTest::addColumn<double>("high");
    QTest::newRow("full") << 1.0f << 0.85 << 1.15;
    QTest::newRow("quarter") << 0.25f << 0.18 << 0.32;
    QTest::newRow("muted") << 0.0f << 0.0 << 0.0;
}

void tst_audioengine::playsAndVolume()
{
    REQUIRE_SERVICES();
    QFETCH(float, volume);
    QFETCH(double, low);
    QFETCH(double, high);

    const HSTREAM h = startStation(*m_engine, icecastUrl());
    QVERIFY(h != 0);
    WAIT_FOR_SOUND(kLoud);
    QTRY_COMPARE(m_engine->streamState(h), State::Playing);
    m_capture.clear(); // measure only sound that came after the start
    QTRY_VERIFY(m_capture.capturedMs() >= 500);
    const double full = m_capture.rms(500);
    qInfo("full volume: RMS %.0f", full);

    QVERIFY(m_engine->BASS_ChannelSetAttribute(h, vidmo::bass::ATTRIB_VOL, volume));
    if (volume == 0.0f) {
        EXPECT_SILENCE(500);
    } else {
        // Heard once the sound already queued has played out.
        auto level = [&] { return m_capture.rms(300) / full; };
        QTRY_VERIFY2_WITH_TIMEOUT(level() >= low && level() <= high,
                                  qPrintable(QStringLiteral("level %1").arg(level())), 5000);
        qInfo("volume %.2f: level %.3f of full", double(volume), level());
    }

    QVERIFY(m_engine->BASS_StreamFree(h));
    QCOMPARE(m_engine->pipelineCount(), 0);
    EXPECT_SILENCE(500);
}

void tst_audioengine::serveStandardRoutes()
{
    const QByteArray ice = icecastUrl();
    const QByteArray self = m_server->url("/self.m3u");
    StreamServer &s = *m_server;
    s.route("/list.m3u", {Route::Kind::Body, 200, "audio/x-mpegurl", "#EXTM3U\n#EXTINF:-1,Tone\n" + ice + "\n"});
    s.route("/list.pls", {Route::Kind::Body, 200, "text/plain", "[playlist]\r\nNumberOfEntries=1\r\nFile1=" + ice + "\r\n"});
    s.route("/list.asx", {Route::Kind::Body, 200, "video/x-ms-asf",
                          "<ASX version=\"3.0\"><Entry><Ref href=\"" + ice + "\"/></Entry></ASX>"});
    s.route("/go", {Route::Kind::Redirect, 302, {}, "/list.m3u"});
    s.route("/nested.m3u", {Route::Kind::Body, 200, "audio/x-mpegurl", "sub/inner.pls\n"});
    s.route("/sub/inner.pls", {Route::Kind::Body, 200, "audio/x-scpls", "[playlist]\nFile1=" + ice + "\n"});
    s.route("/broken-first.m3u", {Route::Kind::Body, 200, "audio/x-mpegurl",
                                  m_server->url("/missing.mp3") + "\n" + m_server->url("/page.html") + "\n" + ice + "\n"});
    s.route("/icy", {Route::Kind::Icy, 200, "audio/mpeg", fixture("tone-3s.mp3")});
    s.route("/tone.mp3", {Route::Kind::Body, 200, "audio/mpeg", fixture("tone-3s.mp3")});
    s.route("/empty.m3u", {Route::Kind::Body, 200, "audio/x-mpegurl", ""});
    s.route("/self.m3u", {Route::Kind::Body, 200, "audio/x-mpegurl", self + "\n"});
    s.route("/big.m3u", {Route::Kind::Body, 200, "audio/x-mpegurl",
                         "#EXTM3U\n" + ice + "\n" + QByteArray(70 * 1024, '#') + "\n"});
    s.route("/page.html", {Route::Kind::Body, 200, "text/html", "<!DOCTYPE html><html><body>Radio</body></html>"});
    // deep1 -> deep2 -> ... -> deep5 -> the stream
    for (int i = 1; i <= 5; ++i) {
        const QByteArray target = i == 5 ? ice : m_server->url("/deep" + QByteArray::number(i + 1) + ".m3u");
        s.route("/deep" + QByteArray::number(i) + ".m3u", {Route::Kind::Body, 200, "audio/x-mpegurl", target + "\n"});
    }
}

void tst_audioengine::playlists_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<bool>("sound");
    QTest::newRow("m3u") << QByteArray("/list.m3u") << true;
    QTest::newRow("pls served as text") << QByteArray("/list.pls") << true;
    QTest::newRow("asx under the asf type") << QByteArray("/list.asx") << true;
    QTest::newRow("redirect to a playlist") << QByteArray("/go") << true;
    QTest::newRow("nested, relative entry") << QByteArray("/nested.m3u") << true;
    QTest::newRow("first entries do not open") << QByteArray("/broken-first.m3u") << true;
    QTest::newRow("shoutcast ICY answer") << QByteArray("/icy") << true;
    QTest::newRow("plain mp3 file") << QByteArray("/tone.mp3") << true;
    QTest::newRow("four playlists deep") << QByteArray("/deep2.m3u") << true;
    QTest::newRow("five playlists deep") << QByteArray("/deep1.m3u") << false;
    QTest::newRow("empty playlist") << QByteArray("/empty.m3u") << false;
    QTest::newRow("playlist names itself") << QByteArray("/self.m3u") << false;
    QTest::newRow("playlist over the cap") << QByteArray("/big.m3u") << false;
    QTest::newRow("html page") << QByteArray("/page.html") << false;
    QTest::newRow("404") << QByteArray("/missing.mp3") << false;
}

void tst_audioengine::playlists()
{
    REQUIRE_SERVICES();
    QFETCH(QByteArray, path);
    QFETCH(bool, sound);
    serveStandardRoutes();

    const HSTREAM h = startStation(*m_engine, m_server->url(path));
    QVERIFY(h != 0);
    if (sound) {
        WAIT_FOR_SOUND(kLoud);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(m_engine->streamState(h), State::Failed, kSoundTimeoutMs);
        QCOMPARE(m_engine->pipelineCount(), 0);
        EXPECT_SILENCE(300);
    }
    QVERIFY(m_engine->BASS_StreamFree(h));
}

// The source closes after three seconds of sound: the engine asks again and
// plays on.
void tst_audioengine::reconnectsAfterDrop()
{
    REQUIRE_SERVICES();
    m_server->route("/drop.mp3", {Route::Kind::Drop, 200, "audio/mpeg", fixture("tone-3s.mp3")});
    const HSTREAM h = startStation(*m_engine, m_server->url("/drop.mp3"));
    WAIT_FOR_SOUND(kLoud);
    const int before = m_server->requests("/drop.mp3");

    QTRY_COMPARE_WITH_TIMEOUT(m_engine->streamState(h), State::Waiting, 10000);
    QCOMPARE(m_server->requests("/drop.mp3"), before);
    QTRY_VERIFY_WITH_TIMEOUT(m_server->requests("/drop.mp3") > before, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->streamState(h), State::Playing, 10000);
    WAIT_FOR_SOUND(kLoud);
    // and once more
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->streamState(h), State::Waiting, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->streamState(h), State::Playing, 10000);
    QVERIFY(m_engine->BASS_StreamFree(h));
    QCOMPARE(m_engine->pipelineCount(), 0);
}

// After the drop the server only answers 503: the pauses between attempts
// double (1 s, 2 s, 4 s ...) and the engine keeps trying until freed.
void tst_audioengine::reconnectBacksOff()
{
    REQUIRE_SERVICES();
    Route once{Route::Kind::Drop, 200, "audio/mpeg", fixture("tone-3s.mp3")};
    once.times = 1;
    m_server->route("/flaky.mp3", once);
    const HSTREAM h = startStation(*m_engine, m_server->url("/flaky.mp3"));
    WAIT_FOR_SOUND(kLoud);
    // The answer that showed the address is a stream is the one that plays:
    // no second connection.
    QCOMPARE(m_server->requests("/flaky.mp3"), 1);

    QTRY_VERIFY_WITH_TIMEOUT(m_server->requests("/flaky.mp3") >= 4, 25000);
    const QList<qint64> t = m_server->requestTimes("/flaky.mp3");
    const qint64 second = t[2] - t[1];
    const qint64 third = t[3] - t[2];
    // Qt's coarse timers may fire up to 5 % early.
    QVERIFY2(second >= 1900 && third >= 3800 && third > second,
             qPrintable(QStringLiteral("%1 ms, %2 ms").arg(second).arg(third)));
    // the fourth answer (503) is a failure too: back to waiting, not given up
    QTRY_COMPARE(m_engine->streamState(h), State::Waiting);

    QVERIFY(m_engine->BASS_StreamFree(h));
    QCOMPARE(m_engine->streamCount(), 0);
    QCOMPARE(m_engine->pipelineCount(), 0);
}

// The encoder's input, caught by `tee`: a WAV header for unknown length,
// then 16-bit stereo sound at 44100 Hz, as long as the recording ran.
void tst_audioengine::encoderGetsWav()
{
    REQUIRE_SERVICES();
    const QString out = m_workDir.filePath(QStringLiteral("input.wav"));
    const HSTREAM h = startStation(*m_engine, icecastUrl());
    WAIT_FOR_SOUND(kLoud);

    const auto enc = m_engine->BASS_Encode_Start(h, QStringLiteral("tee ") + vidmo::quoteCommandArgument(out),
                                                 0x80040000u, nullptr, nullptr);
    QVERIFY(enc != 0);
    QElapsedTimer clock; // the recording runs from here, once the process has started
    clock.start();
    QTest::qWait(3000); // the length of the recording
    QVERIFY(m_engine->BASS_Encode_Stop(enc));
    const qint64 recordedMs = clock.elapsed();
    QVERIFY(!m_engine->BASS_Encode_Stop(enc));
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->finishingEncoderCount(), 0, 10000);

    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const Wav wav = splitWav(f.readAll());
    const QByteArray &hd = wav.header;
    QCOMPARE(hd.size(), 44);
    QCOMPARE(hd.left(4), QByteArray("RIFF"));
    QCOMPARE(hd.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(le32(hd, 16), 16u);
    QCOMPARE(le16(hd, 20), quint16(1));      // PCM
    QCOMPARE(le16(hd, 22), quint16(2));      // channels
    QCOMPARE(le32(hd, 24), 44100u);
    QCOMPARE(le32(hd, 28), 44100u * 4);
    QCOMPARE(le16(hd, 32), quint16(4));
    QCOMPARE(le16(hd, 34), quint16(16));
    QCOMPARE(hd.mid(36, 4), QByteArray("data"));
    QCOMPARE(le32(hd, 4), 0xFFFFFFFFu);
    QCOMPARE(le32(hd, 40), 0xFFFFFFFFu);

    const double seconds = double(wav.pcm.size()) / (44100 * 4);
    qInfo("%.3f s of sound in %lld ms", seconds, recordedMs);
    QVERIFY2(std::abs(seconds * 1000 - recordedMs) < 0.05 * recordedMs,
             qPrintable(QStringLiteral("%1 s of sound in %2 ms").arg(seconds).arg(recordedMs)));
    QVERIFY2(vidmo::test::pcmRms(wav.pcm) > kLoud, qPrintable(QString::number(vidmo::test::pcmRms(wav.pcm))));
    QVERIFY(m_engine->BASS_StreamFree(h));
}

void tst_audioengine::recordsMp3_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("endByFree");
    QTest::addColumn<float>("volume");
    QTest::newRow("MyRecord, stopped") << QStringLiteral("MyRecord") << false << 1.0f;
    QTest::newRow("name with a blank, muted") << QStringLiteral("My Song") << false << 0.0f;
    QTest::newRow("dash name, ended by free") << QStringLiteral("./-loud night") << true << 1.0f;
    QTest::newRow("cyrillic name") << QStringLiteral("Моя запись") << false << 1.0f;
}

// lame writes a valid MP3 of the recorded length; the volume bar does not
// reach the recording.
void tst_audioengine::recordsMp3()
{
    REQUIRE_SERVICES();
    QFETCH(QString, name);
    QFETCH(bool, endByFree);
    QFETCH(float, volume);
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_workDir.path()));
    auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
    const QString file = name + QStringLiteral(".mp3");
    QFile::remove(file);

    const HSTREAM h = startStation(*m_engine, icecastUrl());
    WAIT_FOR_SOUND(kLoud);
    QVERIFY(m_engine->BASS_ChannelSetAttribute(h, vidmo::bass::ATTRIB_VOL, volume));

    const QString cmd = QStringLiteral("lame --alt-preset standard - ") + vidmo::quoteCommandArgument(file);
    QVERIFY(m_engine->BASS_Encode_Start(h, cmd, 0x80040000u, nullptr, nullptr) != 0);
    // From the moment the call returns: starting the encoder's process takes
    // its time first, longer in a sanitizer build, and nothing is recorded yet.
    QElapsedTimer clock;
    clock.start();
    QTest::qWait(3000); // the length of the recording
    if (endByFree)
        QVERIFY(m_engine->BASS_StreamFree(h));
    else
        QVERIFY(m_engine->BASS_Encode_Stop(h));
    const qint64 recordedMs = clock.elapsed();
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->finishingEncoderCount(), 0, 15000);

    QFile mp3(file);
    QVERIFY2(mp3.open(QIODevice::ReadOnly), qPrintable(file));
    const QByteArray head = mp3.read(4);
    QVERIFY2(mp3.size() > 10000, qPrintable(QString::number(mp3.size())));
    const bool sync = head.size() >= 2 && quint8(head[0]) == 0xFF && (quint8(head[1]) & 0xE0) == 0xE0;
    QVERIFY2(head.startsWith("ID3") || sync, head.toHex().constData());

    // Decode it back and look at what it holds.
    QProcess decode;
    decode.setStandardErrorFile(QProcess::nullDevice());
    decode.start(QStringLiteral("lame"), {QStringLiteral("--decode"), file, QStringLiteral("back.wav")});
    QVERIFY(decode.waitForFinished(30000));
    QCOMPARE(decode.exitCode(), 0);
    QFile back(QStringLiteral("back.wav"));
    QVERIFY(back.open(QIODevice::ReadOnly));
    const QByteArray all = back.readAll();
    const qsizetype data = all.indexOf("data");
    QVERIFY(data > 0);
    const QByteArray pcm = all.mid(data + 8);
    const double seconds = double(pcm.size()) / (44100 * 4);
    QVERIFY2(std::abs(seconds * 1000 - recordedMs) < 0.05 * recordedMs,
             qPrintable(QStringLiteral("%1 s of sound in %2 ms").arg(seconds).arg(recordedMs)));
    QVERIFY2(vidmo::test::pcmRms(pcm) > kLoud, qPrintable(QString::number(vidmo::test::pcmRms(pcm))));
    if (!endByFree)
        QVERIFY(m_engine->BASS_StreamFree(h));
}

void tst_audioengine::encoderStartFails_data()
{
    QTest::addColumn<QString>("cmdline");
    QTest::newRow("program not on PATH") << QStringLiteral("vidmo-no-such-encoder - x.mp3");
    QTest::newRow("missing path") << QStringLiteral("/nonexistent/lame --alt-preset standard - x.mp3");
    QTest::newRow("not executable") << QStringLiteral("/etc/hostname -");
    QTest::newRow("empty") << QString();
}

void tst_audioengine::encoderStartFails()
{
    QFETCH(QString, cmdline);
    m_server->route("/stall", stallRoute());
    const HSTREAM h = startStation(*m_engine, m_server->url("/stall"));
    QCOMPARE(m_engine->BASS_Encode_Start(h, cmdline, 0x80040000u, nullptr, nullptr), 0u);
    QCOMPARE(m_engine->finishingEncoderCount(), 0);
}

// Station after station, as fast as clicks come: afterwards no pipeline,
// stream or file descriptor is left over.
void tst_audioengine::manySwitchesLeaveNothing()
{
    REQUIRE_SERVICES();
    serveStandardRoutes();
    m_server->route("/stall", stallRoute());
    const auto entries = [](const char *dir) {
        return QDir(QLatin1String(dir)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size();
    };
    const auto openFds = [&] { return entries("/proc/self/fd"); };
    const auto threads = [&] { return entries("/proc/self/task"); };
    // one round first, so that lazily made things (the network manager,
    // the sound server connection, GStreamer's thread pools) are counted in
    // the baseline
    HSTREAM h = startStation(*m_engine, icecastUrl());
    WAIT_FOR_SOUND(kLoud);
    m_engine->BASS_StreamFree(h);
    QTRY_COMPARE(m_engine->pipelineCount(), 0);
    QTest::qWait(200);
    m_capture.clear();
    const qsizetype fdsBefore = openFds();
    const qsizetype threadsBefore = threads();
    const qint64 rssBefore = residentBytes();

    const QList<QByteArray> stations = {icecastUrl(), m_server->url("/list.m3u"), m_server->url("/stall"),
                                        m_server->url("/missing.mp3")};
    constexpr int kSwitches = 500;
    for (int i = 0; i < kSwitches; ++i) {
        m_engine->BASS_StreamFree(h);
        h = startStation(*m_engine, stations[i % stations.size()]);
        m_engine->BASS_ChannelSetAttribute(h, vidmo::bass::ATTRIB_VOL, 0.5f);
        if (i % 4 == 0) {
            // The Icecast station: on to a pipeline of its own, now and then
            // to sound, before it is replaced.
            const bool toSound = i % 100 == 0;
            QTRY_VERIFY_WITH_TIMEOUT(m_engine->streamState(h) == State::Playing
                                         || (!toSound && m_engine->streamState(h) == State::Opening),
                                     5000);
        } else {
            QTest::qWait(5);
        }
        QVERIFY(m_engine->pipelineCount() <= 1);
        m_capture.clear(); // what the sink played is not kept: only the engine's memory counts
    }
    m_engine->BASS_StreamFree(h);
    h = startStation(*m_engine, icecastUrl());
    WAIT_FOR_SOUND(kLoud / 2);
    m_engine->BASS_StreamFree(h);
    QCOMPARE(m_engine->streamCount(), 0);
    QCOMPARE(m_engine->pipelineCount(), 0);
    QTRY_VERIFY2_WITH_TIMEOUT(openFds() <= fdsBefore + 2,
                              qPrintable(QStringLiteral("%1 open, %2 before").arg(openFds()).arg(fdsBefore)), 10000);
    // Idle pool threads may linger a while before they end.
    QTRY_VERIFY2_WITH_TIMEOUT(threads() <= threadsBefore + 2,
                              qPrintable(QStringLiteral("%1 threads, %2 before").arg(threads()).arg(threadsBefore)),
                              30000);
    m_capture.clear();
    const qint64 grown = residentBytes() - rssBefore;
    qInfo("after %d switches: %lld fds (%lld before), %lld threads (%lld before), RSS %+.1f MiB",
          kSwitches, qlonglong(openFds()), qlonglong(fdsBefore), qlonglong(threads()), qlonglong(threadsBefore),
          double(grown) / (1 << 20));
#if !defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer holds freed memory back on purpose, so only a plain
    // build can tell a leak from its quarantine.
    QVERIFY2(grown < 10 << 20, qPrintable(QStringLiteral("RSS grew by %1 bytes").arg(grown)));
#endif
}

// A file served over HTTP arrives much faster than it plays. The engine stops
// reading while it holds some seconds of it, resumes as they play, and loses
// nothing: the whole 30 s file plays, over the one request.
void tst_audioengine::longFileOverHttp()
{
    REQUIRE_SERVICES();
    const QByteArray tone = fixture("tone-3s.mp3"); // 64 kbit/s
    m_server->route("/long.mp3", {Route::Kind::Body, 200, "audio/mpeg", tone.repeated(10)});
    const HSTREAM h = startStation(*m_engine, m_server->url("/long.mp3"));
    WAIT_FOR_SOUND(kLoud);
    QElapsedTimer played;
    played.start();
    while (played.elapsed() < 26000) {
        QTest::qWait(1000);
        const QString at = QStringLiteral("after %1 ms of 30 s").arg(played.elapsed());
        QVERIFY2(m_engine->streamState(h) == State::Playing, qPrintable(QStringLiteral("ended ") + at));
        QVERIFY2(m_capture.rms(500) > kLoud, qPrintable(QStringLiteral("silent ") + at));
    }
    QCOMPARE(m_server->requests("/long.mp3"), 1);
    QVERIFY(m_engine->BASS_StreamFree(h));
}

void tst_audioengine::joinedMidwayStartsWithSound()
{
    REQUIRE_SERVICES();
    // From frame 40 (byte 8359) on, every frame of this file takes its data
    // from 495 to 511 bytes back, across the three frames before it; joined
    // there, those three frames cannot be rebuilt and decode to zeros.
    const QByteArray tone = fixture("tone-3s.mp3");
    constexpr int kFramesAfterJoin = 116 - 40;
    constexpr int kFrameSamples = 1152;
    m_server->route("/joined.mp3", {Route::Kind::Body, 200, "audio/mpeg", tone.mid(8359)});
    const QString out = m_workDir.filePath(QStringLiteral("joined.wav"));
    const HSTREAM h = startStation(*m_engine, m_server->url("/joined.mp3"));
    // Recording from before the first byte: it gets all that is played.
    QVERIFY(m_engine->BASS_Encode_Start(h, QStringLiteral("tee ") + vidmo::quoteCommandArgument(out),
                                        0x80040000u, nullptr, nullptr)
            != 0);
    WAIT_FOR_SOUND(kLoud);
    // Played to its end: the engine waits to connect again.
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->streamState(h), State::Waiting, 10000);
    QVERIFY(m_engine->BASS_Encode_Stop(h));
    QTRY_COMPARE_WITH_TIMEOUT(m_engine->finishingEncoderCount(), 0, 10000);
    QVERIFY(m_engine->BASS_StreamFree(h));

    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray pcm = splitWav(f.readAll()).pcm;
    const auto *samples = reinterpret_cast<const qint16 *>(pcm.constData());
    const qsizetype count = pcm.size() / 2;
    qsizetype firstLoud = 0;
    while (firstLoud < count && std::abs(samples[firstLoud]) < 300)
        ++firstLoud;
    const qsizetype frames = pcm.size() / 4;
    qInfo("%lld sample frames, first sound at %lld", qlonglong(frames), qlonglong(firstLoud / 2));
    // Sound within the first decoded frame (the decoder fades into it over
    // a few hundred samples), where the empty frames would have put it
    // after 3 × 1152.
    QVERIFY2(firstLoud / 2 < kFrameSamples, qPrintable(QString::number(firstLoud / 2)));
    // And nothing else is missing.
    QCOMPARE(frames, qsizetype((kFramesAfterJoin - 3) * kFrameSamples));
}

int main(int argc, char **argv)
{
    // Child of pluginLoadNeedsAsfAndWma: report what the plug-in load gives
    // under the registry the parent set up.
    if (qEnvironmentVariableIsSet("VIDMO_PLUGIN_PROBE")) {
        vidmo::GstAudioEngine engine;
        std::printf("plugin=%u\n", engine.BASS_PluginLoad(QStringLiteral(".\\basswma.dll"),
                                                          vidmo::bass::UNICODE_FLAG));
        return 0;
    }
    QCoreApplication app(argc, argv);
    tst_audioengine tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_audioengine.moc"
