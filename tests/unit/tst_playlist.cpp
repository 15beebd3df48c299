#include "radio/playlist.h"

#include <QFile>
#include <QTest>

using vidmo::PlaylistFormat;

Q_DECLARE_METATYPE(PlaylistFormat)

class tst_playlist : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sniff_data();
    void sniff();
    void parse_data();
    void parse();
    void fixtures_data();
    void fixtures();
    void streamType_data();
    void streamType();
};

namespace {
const QUrl kBase(QStringLiteral("http://radio.example/lists/station.m3u"));

QByteArray fixture(const char *name)
{
    QFile f(QStringLiteral(VIDMO_TEST_DATA "/audio/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return f.readAll();
}
} // namespace

void tst_playlist::sniff_data()
{
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<PlaylistFormat>("expected");

    const QByteArray mp3("ID3\x04\x00\x00\x00\x00\x00\x0f\xff\xfb\x90\x64", 14);
    const QByteArray asf("\x30\x26\xb2\x75\x8e\x66\xcf\x11\xa6\xd9\x00\xaa\x00\x62\xce\x6c", 16);
    const QString plain = QStringLiteral("http://radio.example/live");
    QTest::newRow("extended m3u by body") << QByteArray("audio/mpeg") << plain
                                          << QByteArray("#EXTM3U\nhttp://a.example/") << PlaylistFormat::M3U;
    QTest::newRow("m3u by type") << QByteArray("audio/x-mpegurl; charset=utf-8") << plain
                                 << QByteArray("stream.mp3\n") << PlaylistFormat::M3U;
    QTest::newRow("m3u by name, vague type") << QByteArray("application/octet-stream")
                                             << QStringLiteral("http://h.example/a.M3U")
                                             << QByteArray("live.mp3\n") << PlaylistFormat::M3U;
    QTest::newRow("bare address list as text") << QByteArray("text/plain") << plain
                                               << QByteArray("# hi\r\nhttp://a.example:8000/\r\n")
                                               << PlaylistFormat::M3U;
    QTest::newRow("plain text, no address") << QByteArray("text/plain") << plain
                                            << QByteArray("Server is full\n") << PlaylistFormat::None;
    QTest::newRow("pls header beats html type") << QByteArray("text/html") << plain
                                                << QByteArray("\r\n[Playlist]\r\nFile1=x") << PlaylistFormat::PLS;
    QTest::newRow("pls by type") << QByteArray("audio/x-scpls") << plain
                                 << QByteArray("File1=http://a.example/") << PlaylistFormat::PLS;
    QTest::newRow("asx text under the asf type") << QByteArray("video/x-ms-asf") << plain
                                                 << QByteArray("  <asx version=\"3.0\">") << PlaylistFormat::ASX;
    QTest::newRow("asf stream under the asf type") << QByteArray("video/x-ms-asf") << plain
                                                   << asf << PlaylistFormat::None;
    QTest::newRow("mp3 stream named .m3u") << QByteArray() << QStringLiteral("http://h.example/x.m3u")
                                           << mp3 << PlaylistFormat::None;
    QTest::newRow("mp3 stream") << QByteArray("audio/mpeg") << plain << mp3 << PlaylistFormat::None;
    QTest::newRow("html page") << QByteArray("text/html") << plain
                               << QByteArray("<!DOCTYPE html><html>") << PlaylistFormat::None;
    QTest::newRow("xspf") << QByteArray("application/xml") << plain
                          << QByteArray("<?xml version=\"1.0\"?>\n<playlist xmlns=\"http://xspf.org/ns/0/\">")
                          << PlaylistFormat::XSPF;
    QTest::newRow("other xml") << QByteArray("text/xml") << plain
                               << QByteArray("<?xml version=\"1.0\"?><rss>") << PlaylistFormat::None;
    QTest::newRow("hls is not a station list") << QByteArray("application/vnd.apple.mpegurl") << plain
                                               << QByteArray("#EXTM3U\n#EXT-X-TARGETDURATION:10\nseg1.ts\n")
                                               << PlaylistFormat::None;
    QTest::newRow("empty body") << QByteArray("audio/x-mpegurl") << plain << QByteArray()
                                << PlaylistFormat::None;
}

void tst_playlist::sniff()
{
    QFETCH(QByteArray, contentType);
    QFETCH(QString, address);
    QFETCH(QByteArray, head);
    QFETCH(PlaylistFormat, expected);
    QCOMPARE(vidmo::sniffPlaylist(contentType, QUrl(address), head), expected);
}

void tst_playlist::parse_data()
{
    QTest::addColumn<PlaylistFormat>("format");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("plain m3u") << PlaylistFormat::M3U
                               << QByteArray("http://a.example/1\nhttps://b.example:8443/2\n")
                               << QStringList{"http://a.example/1", "https://b.example:8443/2"};
    QTest::newRow("extended m3u with comments") << PlaylistFormat::M3U
        << QByteArray("#EXTM3U\n\n#EXTINF:-1,Radio One\nhttp://a.example/live\n# note\n  mms://b.example/x  \n")
        << QStringList{"http://a.example/live", "mms://b.example/x"};
    QTest::newRow("crlf and bom") << PlaylistFormat::M3U
        << QByteArray("\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:-1,x\r\nhttp://a.example/s\r\n")
        << QStringList{"http://a.example/s"};
    QTest::newRow("old mac line ends") << PlaylistFormat::M3U
        << QByteArray("http://a.example/1\rhttp://a.example/2")
        << QStringList{"http://a.example/1", "http://a.example/2"};
    QTest::newRow("utf-16 with bom") << PlaylistFormat::M3U
        << QByteArray("\xFF\xFEh\0t\0t\0p\0:\0/\0/\0u\0.\0e\0x\0/\0\n\0", 28)
        << QStringList{"http://u.ex/"};
    QTest::newRow("relative entries") << PlaylistFormat::M3U
        << QByteArray("live.mp3\n/root/x.aac\n../up.ogg\nMy Song.mp3\n")
        << QStringList{"http://radio.example/lists/live.mp3", "http://radio.example/root/x.aac",
                       "http://radio.example/up.ogg", "http://radio.example/lists/My%20Song.mp3"};
    QTest::newRow("local and foreign entries dropped") << PlaylistFormat::M3U
        << QByteArray("C:\\Music\\a.mp3\nfile:///etc/passwd\njavascript:alert(1)\nhttp://ok.example/\n")
        << QStringList{"http://ok.example/"};
    QTest::newRow("html taken for m3u") << PlaylistFormat::M3U
        << QByteArray("<html>\n<body>Not found</body>\n</html>\n") << QStringList{};
    QTest::newRow("only comments") << PlaylistFormat::M3U << QByteArray("#EXTM3U\n#EXTINF:-1,x\n")
                                   << QStringList{};
    QTest::newRow("empty") << PlaylistFormat::M3U << QByteArray() << QStringList{};
    QTest::newRow("pls ordered by number") << PlaylistFormat::PLS
        << QByteArray("[playlist]\nNumberOfEntries=2\nFile2=http://b.example/\nFile1=http://a.example/\nTitle1=A\n")
        << QStringList{"http://a.example/", "http://b.example/"};
    QTest::newRow("pls without entries") << PlaylistFormat::PLS
        << QByteArray("[playlist]\nNumberOfEntries=0\n") << QStringList{};
    QTest::newRow("asx well formed") << PlaylistFormat::ASX
        << QByteArray("<asx version=\"3.0\"><entry><ref href=\"http://a.example/x\"/></entry></asx>")
        << QStringList{"http://a.example/x"};
    QTest::newRow("xspf relative") << PlaylistFormat::XSPF
        << QByteArray("<playlist xmlns=\"http://xspf.org/ns/0/\"><trackList><track>"
                      "<location>a.ogg</location></track></trackList></playlist>")
        << QStringList{"http://radio.example/lists/a.ogg"};
    QTest::newRow("broken xspf") << PlaylistFormat::XSPF << QByteArray("<playlist><track><locat")
                                 << QStringList{};
    QTest::newRow("binary garbage") << PlaylistFormat::M3U << QByteArray("\x00\x01\x02\xff\xfe\n\x7f", 7)
                                    << QStringList{};
    QByteArray huge("http://a.example/\n");
    huge += QByteArray(vidmo::kPlaylistSizeCap, '#');
    QTest::newRow("over the cap") << PlaylistFormat::M3U << huge << QStringList{};
    QTest::newRow("none") << PlaylistFormat::None << QByteArray("http://a.example/\n") << QStringList{};
}

void tst_playlist::parse()
{
    QFETCH(PlaylistFormat, format);
    QFETCH(QByteArray, body);
    QFETCH(QStringList, expected);
    QStringList got;
    for (const QUrl &u : vidmo::parsePlaylist(format, body, kBase))
        got << u.toString(QUrl::FullyEncoded);
    QCOMPARE(got, expected);
}

// Files in the shape real servers send them.
void tst_playlist::fixtures_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<PlaylistFormat>("format");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("pls with bom, crlf, loose keys") << QByteArray("bom-crlf.pls") << QByteArray("audio/x-scpls")
        << PlaylistFormat::PLS
        << QStringList{"http://first.example:8000/stream", "http://radio.example/lists/relative/two.mp3",
                       "http://third.example/"};
    QTest::newRow("asx, not well formed") << QByteArray("messy.asx") << QByteArray("video/x-ms-asf")
        << PlaylistFormat::ASX
        << QStringList{"http://radio.example/live?fmt=wma&q=hi", "mms://radio.example/backup",
                       "http://radio.example/lists/more.asx"};
    QTest::newRow("xspf") << QByteArray("list.xspf") << QByteArray("application/xspf+xml")
        << PlaylistFormat::XSPF
        << QStringList{"http://one.example/a.ogg", "http://radio.example/lists/two.ogg"};
}

void tst_playlist::fixtures()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, contentType);
    QFETCH(PlaylistFormat, format);
    QFETCH(QStringList, expected);
    const QByteArray body = fixture(file.constData());
    QCOMPARE(vidmo::sniffPlaylist(contentType, kBase, body), format);
    QStringList got;
    for (const QUrl &u : vidmo::parsePlaylist(format, body, kBase))
        got << u.toString(QUrl::FullyEncoded);
    QCOMPARE(got, expected);
}

void tst_playlist::streamType_data()
{
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<bool>("stream");
    QTest::newRow("mp3") << QByteArray("audio/mpeg") << true;
    QTest::newRow("aac+ with params") << QByteArray("Audio/AACP; charset=x") << true;
    QTest::newRow("ogg") << QByteArray("application/ogg") << true;
    QTest::newRow("m3u type") << QByteArray("audio/x-mpegurl") << false;
    QTest::newRow("pls type") << QByteArray("audio/x-scpls") << false;
    QTest::newRow("asf may be asx") << QByteArray("video/x-ms-asf") << false;
    QTest::newRow("wax is asx") << QByteArray("audio/x-ms-wax") << false;
    QTest::newRow("html") << QByteArray("text/html") << false;
    QTest::newRow("none") << QByteArray() << false;
}

void tst_playlist::streamType()
{
    QFETCH(QByteArray, contentType);
    QFETCH(bool, stream);
    QCOMPARE(vidmo::contentTypeIsStream(contentType), stream);
}

QTEST_GUILESS_MAIN(tst_playlist)
#include "tst_playlist.moc"
