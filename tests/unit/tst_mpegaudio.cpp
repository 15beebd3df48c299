#include "radio/mpegaudio.h"

#include <QFile>
#include <QTest>

class tst_mpegaudio : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recognises_data();
    void recognises();
    void silentLead_data();
    void silentLead();
};

namespace {

QByteArray fixture(const char *name)
{
    QFile f(QStringLiteral(VIDMO_TEST_DATA "/audio/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return f.readAll();
}

// `count` frames of `spacing` bytes, each starting with the four header bytes.
QByteArray frames(const QByteArray &header, int spacing, int count)
{
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        QByteArray frame(spacing, '\x55');
        frame.replace(0, header.size(), header);
        out += frame;
    }
    return out;
}

// Layer III frames of `spacing` bytes whose main_data_begin fields are
// `backs`, one frame each. `sideAt` is where the side information starts
// (4, or 6 behind a check word); MPEG-1 has a 9-bit field, MPEG-2 an 8-bit one.
QByteArray layer3(const QByteArray &header, int spacing, int sideAt, bool mpeg1, QList<int> backs)
{
    QByteArray out;
    for (int back : backs) {
        QByteArray frame(spacing, '\0');
        frame.replace(0, header.size(), header);
        if (mpeg1) {
            frame[sideAt] = char(back >> 1);
            frame[sideAt + 1] = char((back & 1) << 7);
        } else {
            frame[sideAt] = char(back);
        }
        out += frame;
    }
    return out;
}

// The length of `frames` frames of `samples` samples each.
qint64 ns(int frames, int samples, int rate)
{
    return qint64(frames) * samples * 1000000000 / rate;
}

} // namespace

void tst_mpegaudio::recognises_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<bool>("mpeg");
    const QByteArray tone = fixture("tone-3s.mp3"); // MPEG-1 Layer III, 64 kbit/s, 44.1 kHz

    QTest::newRow("file from its start") << tone << true;
    QTest::newRow("joined mid-way") << tone.mid(1001) << true;
    QTest::newRow("fewer than three frames") << tone.left(400) << false;
    // MPEG-2 Layer III, 32 kbit/s, 22.05 kHz: 72 * 32000 / 22050 = 104 bytes a frame
    const QByteArray mpeg2("\xFF\xF3\x40\xC4", 4);
    QTest::newRow("MPEG-2 frames") << frames(mpeg2, 104, 4) << true;
    QTest::newRow("MPEG-2 headers at the wrong spacing") << frames(mpeg2, 105, 4) << false;
    QTest::newRow("padding bit adds a byte") << frames("\xFF\xF3\x42\xC4", 105, 4) << true;
    // AAC in ADTS: the same 12-bit sync, layer bits 00
    QTest::newRow("AAC ADTS frames") << frames(QByteArray("\xFF\xF1\x50\x80", 4), 371, 6) << false;
    QTest::newRow("free-format bit rate") << frames(QByteArray("\xFF\xFB\x04\x64", 4), 417, 4) << false;
    QTest::newRow("html page") << QByteArray("<!DOCTYPE html><html><body>Radio</body></html>") << false;
    QTest::newRow("silence of zeros") << QByteArray(8192, '\0') << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("first frame beyond 4 KiB") << QByteArray(5000, '\0') + tone << false;
}

void tst_mpegaudio::recognises()
{
    QFETCH(QByteArray, head);
    QFETCH(bool, mpeg);
    QCOMPARE(vidmo::looksLikeMpegAudio(head), mpeg);
}

void tst_mpegaudio::silentLead_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<qint64>("ns");
    // 64 kbit/s, 209-byte frames carrying 173 bytes of main data each. From
    // frame 40 (byte 8359) on, frames reach back 495 to 511 bytes: three
    // frames are needed before one decodes in full.
    const QByteArray tone = fixture("tone-3s.mp3");
    const auto mpeg1 = [](int frames) { return ns(frames, 1152, 44100); };

    QTest::newRow("file from its start") << tone << qint64(0);
    QTest::newRow("joined at a frame") << tone.mid(8359) << mpeg1(3);
    QTest::newRow("joined inside a frame") << tone.mid(8359 + 100) << mpeg1(3);
    // the third frame's header has come, its side information not yet
    QTest::newRow("only the first frames arrived") << tone.mid(8359, 209 * 2 + 5) << mpeg1(2);
    QTest::newRow("no mpeg audio") << QByteArray(8192, '\0') << qint64(0);

    // 128 kbit/s joint stereo, 417 bytes a frame: 381 of main data, 379 with a check word
    const QByteArray plain("\xFF\xFB\x90\x64", 4);
    const QByteArray checked("\xFF\xFA\x90\x64", 4);
    QTest::newRow("reservoir complete at once") << layer3(plain, 417, 4, true, {0, 300, 300}) << qint64(0);
    QTest::newRow("first frame reaches back") << layer3(plain, 417, 4, true, {1, 381, 300}) << mpeg1(1);
    QTest::newRow("one byte beyond the first frame") << layer3(plain, 417, 4, true, {1, 382, 0}) << mpeg1(2);
    QTest::newRow("nine-bit field, largest value") << layer3(plain, 417, 4, true, {511, 511, 511, 0})
                                                   << mpeg1(2);
    QTest::newRow("check word shifts the field") << layer3(checked, 417, 6, true, {400, 379, 0})
                                                  << mpeg1(1);
    QTest::newRow("check word takes two bytes of data")
        << layer3(checked, 417, 6, true, {400, 380, 0}) << mpeg1(2);
    // MPEG-2, 32 kbit/s, 22.05 kHz, mono: 104 bytes a frame, 91 of main data, 576 samples
    const QByteArray mpeg2("\xFF\xF3\x40\xC4", 4);
    QTest::newRow("MPEG-2 frames") << layer3(mpeg2, 104, 4, false, {200, 150, 100, 0})
                                   << ns(2, 576, 22050);
    // Layer II has no reservoir: the same bytes mean nothing there
    const QByteArray layer2("\xFF\xFD\x90\x64", 4);
    QTest::newRow("Layer II") << layer3(layer2, 417, 4, true, {511, 511, 511}) << qint64(0);
}

void tst_mpegaudio::silentLead()
{
    QFETCH(QByteArray, head);
    QFETCH(qint64, ns);
    QCOMPARE(vidmo::silentLeadNs(head), ns);
}

QTEST_GUILESS_MAIN(tst_mpegaudio)
#include "tst_mpegaudio.moc"
