#include "radio/mpegaudio.h"

#include <QFile>
#include <QTest>

class tst_mpegaudio : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recognises_data();
    void recognises();
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

QTEST_GUILESS_MAIN(tst_mpegaudio)
#include "tst_mpegaudio.moc"
