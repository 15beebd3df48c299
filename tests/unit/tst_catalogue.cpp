#include "catalogue/catalogue.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QUrl>

using namespace vidmo;
using namespace Qt::StringLiterals;

namespace {

const QString kNoProgramme = QStringLiteral("channel/tv-program/noprogramm.html");
const QStringList kSites = {QStringLiteral("korbina"), QStringLiteral("narkomtv"),
                            QStringLiteral("ovego"), QStringLiteral("seetv"),
                            QStringLiteral("tvlisting")};

// "channel/records/space/1.htm" -> "records/space"
QString directoryOf(const QString &path)
{
    QStringList parts = path.split(QLatin1Char('/'));
    parts.removeFirst();
    parts.removeLast();
    return parts.join(QLatin1Char('/'));
}

QString siteOf(const QString &host)
{
    for (const QString &site : kSites) {
        if (catalogueHost(site) == host)
            return site;
    }
    return QStringLiteral("unknown host ") + host;
}

// What a row does, in words short enough for a table of cases.
QString describe(const TChannelEntry &row)
{
    const QUrl address(row.Address);
    const QString where = siteOf(address.host()) + QLatin1Char(' ')
        + address.path(QUrl::FullyEncoded);
    switch (row.Kind) {
    case ChannelKind::ChannelPage:
        return QStringLiteral("page ") + row.Page;
    case ChannelKind::OutsideWindow:
        return channelWindowName(row.Window) + QLatin1Char(' ') + where;
    case ChannelKind::SystemBrowser:
        return QStringLiteral("browser ") + where;
    case ChannelKind::RadioStation:
        return QStringLiteral("radio ") + row.Page;
    case ChannelKind::ClosedSubPage:
        return QStringLiteral("closed ") + row.CategoryKey;
    }
    return {};
}

QVector<TChannelEntry> rowsOf(const QVector<TChannelEntry> &table, const QString &caption)
{
    QVector<TChannelEntry> rows;
    for (const TChannelEntry &row : table) {
        if (row.Kind != ChannelKind::ClosedSubPage && row.Caption == caption)
            rows << row;
    }
    return rows;
}

QSet<QString> captionsOf(const QVector<TChannelEntry> &table)
{
    QSet<QString> captions;
    for (const TChannelEntry &row : table) {
        if (row.Kind != ChannelKind::ClosedSubPage)
            captions << row.Caption;
    }
    return captions;
}

// The favourites rows that are given one by one rather than copied from the
// channel catalogue: the captions that act differently there, then the SeeTV
// captions of their own.
struct ExplicitRows
{
    QString caption;
    QStringList rows;
    bool alsoInChannelCatalogue;
};

const QVector<ExplicitRows> &explicitFavorites()
{
    static const QVector<ExplicitRows> table = {
        {u"A-one"_s, {u"page channel/music/a-one.htm"_s, u"TKorbinaForm korbina /tv/aone"_s}, true},
        {u"1+1"_s, {u"TBrowser2Form seetv /see/1plus1"_s}, true},
        {u"Music Box"_s, {u"page channel/music/music-box.htm"_s, u"TKorbinaForm korbina /tv/musicbox"_s}, true},
        {u"2+2"_s, {u"TBrowser2Form seetv /see/2plus2"_s}, true},
        {u"Россия 24"_s, {u"TKorbinaForm korbina /tv/russia24"_s, u"page channel/public/russia-24.htm"_s}, true},
        {u"РБК"_s, {u"TKorbinaForm korbina /tv/rbc"_s, u"page channel/public/rbc.htm"_s}, true},
        {u"\u041c\u0422V UA"_s, {u"TBrowser2Form seetv /see/MTV"_s}, true},
        {u"Style TV"_s, {u"page channel/entertainment/style.htm"_s, u"TKorbinaForm korbina /tv/style"_s}, true},
        {u"Шансон ТВ"_s, {u"page channel/music/shanson.htm"_s, u"TKorbinaForm korbina /tv/chanson"_s}, true},
        {u"  1-авто     UA"_s, {u"TBrowser2Form seetv /see/1auto"_s}, true},
        {u"National Gegraphic"_s, {u"page channel/sciences/national-geopgraphic.htm"_s}, true},
        {u"Хоккей"_s, {u"page channel/sport/hockey.htm"_s}, true},
        {u"Наука 2.0"_s, {u"page channel/sciences/nauka-2-0.htm"_s}, true},
        {u"Star TV"_s, {u"page channel/Ukraine/star-tv.htm"_s}, true},
        {u"Мир ТВ"_s, {u"TKorbinaForm korbina /tv/mir"_s, u"page channel/public/mir.htm"_s}, true},
        {u"1-HD"_s, {u"page channel/music/1hd.htm"_s}, true},
        {u"ICTV"_s, {u"TBrowser2Form seetv /see/ictv"_s}, true},
        {u"Дождь ТВ"_s, {u"TKorbinaForm korbina /tv/dojd"_s, u"page channel/public/dogd-tv.htm"_s}, true},
        {u"НТВ Мир"_s, {u"TBrowser2Form seetv /see/ntvmir"_s}, true},
        {u"СТБ"_s, {u"TBrowser2Form seetv /see/stb"_s}, true},
        {u"ТРК Украина"_s, {u"TBrowser2Form seetv /see/TRKUkraine"_s}, true},
        {u"Союз"_s, {u"TKorbinaForm korbina /tv/soyuz"_s, u"page channel/public/souz.htm"_s}, true},
        {u"Москва 400"_s, {u"page channel/radio-program/moskva400.html"_s}, true},
        {u"Мультик ТВ"_s, {u"page channel/mults/multiki.htm"_s}, true},
        {u"Футбол"_s, {u"TBrowser2Form seetv /see/futbol"_s}, true},
        {u"ТЕТ"_s, {u"TBrowser2Form seetv /see/TET"_s}, true},
        {u"   КХЛ     Тест"_s, {u"page channel/sport/khl.htm"_s}, true},
        {u"ОРТ 2"_s, {u"TBrowser2Form seetv /see/1tv"_s}, false},
        {u"ТВ1000 action 2"_s, {u"TBrowser2Form seetv /see/tv1000"_s}, false},
        {u"TV1000 EAST"_s, {u"TBrowser2Form seetv /see/TV1000EAST"_s}, false},
        {u"НТВ Киноклуб 2"_s, {u"TBrowser2Form seetv /see/kinoclub"_s}, false},
        {u"TV XXI"_s, {u"TBrowser2Form seetv /see/TVXXI"_s}, false},
        {u"Mega"_s, {u"TBrowser2Form seetv /see/mega"_s}, false},
        {u"Комедия ТВ"_s, {u"TBrowser2Form seetv /see/KomediaTV"_s}, false},
        {u"Футбол плюс"_s, {u"TBrowser2Form seetv /see/futbolpljus"_s}, false},
    };
    return table;
}

QSet<QString> differingCaptions()
{
    QSet<QString> captions;
    for (const ExplicitRows &e : explicitFavorites()) {
        if (e.alsoInChannelCatalogue)
            captions << e.caption;
    }
    return captions;
}

// As the web view layer opens a local page: trailing blanks and dots of each
// component are dropped.
QString shippedName(const QString &relative)
{
    QStringList parts = relative.split(QLatin1Char('/'));
    for (QString &part : parts) {
        while (part.endsWith(QLatin1Char(' ')) || part.endsWith(QLatin1Char('.')))
            part.chop(1);
    }
    return parts.join(QLatin1Char('/'));
}

// Exact case, component by component, whatever the file system folds.
class ExactTree
{
public:
    explicit ExactTree(QString root) : m_root(std::move(root)) {}

    bool holdsFile(const QString &relative)
    {
        const QStringList parts = relative.split(QLatin1Char('/'));
        QString dir = m_root;
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (!entries(dir).contains(parts.at(i)))
                return false;
            dir += QLatin1Char('/') + parts.at(i);
        }
        return QFileInfo(dir).isFile();
    }

private:
    const QStringList &entries(const QString &dir)
    {
        auto it = m_listings.find(dir);
        if (it == m_listings.end())
            it = m_listings.insert(dir, QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot
                                                            | QDir::Hidden | QDir::System));
        return *it;
    }

    QString m_root;
    QHash<QString, QStringList> m_listings;
};

const QRegularExpression kHttp(QStringLiteral("^http://([^/:]+)(:[0-9]+)?(/.*)$"));

} // namespace

class tst_Catalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void kindCounts_data();
    void kindCounts();
    void pageDirectories_data();
    void pageDirectories();
    void programmeDirectories_data();
    void programmeDirectories();
    void keysAreUnique();
    void rowsHoldTheFieldsOfTheirKind();
    void trickyKeys_data();
    void trickyKeys();
    void endpoints_data();
    void endpoints();
    void hosts();
    void serverPage_data();
    void serverPage();

    void favoritesHoldOnlyPlayableKinds();
    void favoritesCopyMarkedRows_data();
    void favoritesCopyMarkedRows();
    void favoritesGivenRowByRow_data();
    void favoritesGivenRowByRow();
    void favoritesOfTheirOwn();

    void pageTreeHoldsEveryPath();
    void generatedPages_data();
    void generatedPages();
};

void tst_Catalogue::kindCounts_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("rows");

    QTest::newRow("all") << QString() << QString() << 367;
    QTest::newRow("ChannelPage") << u"ChannelPage"_s << QString() << 307;
    QTest::newRow("RadioStation") << u"RadioStation"_s << QString() << 24;
    QTest::newRow("OutsideWindow") << u"OutsideWindow"_s << QString() << 33;
    QTest::newRow("TKorbinaForm") << u"OutsideWindow"_s << u"TKorbinaForm"_s << 26;
    QTest::newRow("TNarkomTVForm") << u"OutsideWindow"_s << u"TNarkomTVForm"_s << 4;
    QTest::newRow("TOvegoPlayerForm") << u"OutsideWindow"_s << u"TOvegoPlayerForm"_s << 1;
    QTest::newRow("TBrowser2Form") << u"OutsideWindow"_s << u"TBrowser2Form"_s << 2;
    QTest::newRow("SystemBrowser") << u"SystemBrowser"_s << QString() << 1;
    QTest::newRow("ClosedSubPage") << u"ClosedSubPage"_s << QString() << 2;
}

void tst_Catalogue::kindCounts()
{
    QFETCH(QString, kind);
    QFETCH(QString, window);
    QFETCH(int, rows);

    int n = 0;
    for (const TChannelEntry &row : channelCatalogue()) {
        if ((kind.isEmpty() || channelKindName(row.Kind) == kind)
            && (window.isEmpty() || channelWindowName(row.Window) == window))
            ++n;
    }
    QCOMPARE(n, rows);
}

void tst_Catalogue::pageDirectories_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<int>("rows");

    const QList<QPair<const char *, int>> counts = {
        {"public", 33}, {"radio-program", 26}, {"music", 33}, {"entertainment", 29},
        {"sciences", 25}, {"sport", 20}, {"Films", 26}, {"mults", 26}, {"records", 27},
        {"records/Megabuilders", 1}, {"records/space", 1}, {"records/nauka.2.0", 1},
        {"records/animal", 1}, {"records/history", 1}, {"Ukraine", 24}, {"Georgia", 3},
        {"Kazakhstan", 6}, {"Armenia", 6}, {"Belarus", 3}, {"Azerbaycan", 3}, {"18", 35},
        // the spellings of the programme tree are not page directories
        {"films", 0}, {"entertainments", 0}, {"tv-program", 0},
    };
    for (const auto &[dir, n] : counts)
        QTest::newRow(dir) << QString::fromUtf8(dir) << n;
}

void tst_Catalogue::pageDirectories()
{
    QFETCH(QString, directory);
    QFETCH(int, rows);

    int n = 0;
    for (const TChannelEntry &row : channelCatalogue()) {
        if (row.Page.startsWith(u"channel/"_s) && directoryOf(row.Page) == directory)
            ++n;
    }
    QCOMPARE(n, rows);
}

void tst_Catalogue::programmeDirectories_data()
{
    QTest::addColumn<QString>("programme");
    QTest::addColumn<int>("rows");

    QTest::newRow("noprogramm.html") << kNoProgramme << 278;
    const QList<QPair<const char *, int>> counts = {
        {"public", 30}, {"films", 15}, {"sciences", 13}, {"sport", 13},
        {"music", 6}, {"entertainments", 6}, {"mults", 4},
        {"Films", 0}, {"entertainment", 0},
    };
    for (const auto &[dir, n] : counts)
        QTest::newRow(dir) << u"channel/tv-program/"_s + QString::fromUtf8(dir) + u'/' << n;
}

void tst_Catalogue::programmeDirectories()
{
    QFETCH(QString, programme);
    QFETCH(int, rows);

    int n = 0;
    for (const TChannelEntry &row : channelCatalogue()) {
        const bool inDirectory = programme.endsWith(u'/')
            && row.Programme.startsWith(programme)
            && !row.Programme.mid(programme.size()).contains(u'/');
        if (inDirectory || row.Programme == programme)
            ++n;
    }
    QCOMPARE(n, rows);
}

void tst_Catalogue::keysAreUnique()
{
    QHash<QString, int> seen;
    QStringList repeated;
    for (const TChannelEntry &row : channelCatalogue()) {
        const QString key = row.Kind == ChannelKind::ClosedSubPage
            ? u"[Category] "_s + row.CategoryKey : row.Caption;
        if (++seen[key] == 2)
            repeated << key;
    }
    QVERIFY2(repeated.isEmpty(), qPrintable(repeated.join(u" | "_s)));
}

void tst_Catalogue::rowsHoldTheFieldsOfTheirKind()
{
    const QStringList closedKeys = {u"erotica"_s, u"Porn"_s};
    QStringList categoryKeys;
    for (const TChannelEntry &row : channelCatalogue()) {
        const QByteArray what = (u'"' + row.Caption + u"\" "_s + channelKindName(row.Kind)).toUtf8();
        const bool usesPage = row.Kind == ChannelKind::ChannelPage
            || row.Kind == ChannelKind::RadioStation;
        const bool usesAddress = row.Kind == ChannelKind::OutsideWindow
            || row.Kind == ChannelKind::SystemBrowser;

        if (row.Kind == ChannelKind::ClosedSubPage) {
            QVERIFY2(row.Caption.isEmpty() && row.Programme.isEmpty(), what);
            categoryKeys << row.CategoryKey;
        } else {
            QVERIFY2(!row.Caption.isEmpty() && row.CategoryKey.isEmpty(), what);
            QVERIFY2(row.Programme.startsWith(u"channel/tv-program/"_s), what);
            QVERIFY2(!row.Programme.contains(u'\\'), what);
        }
        QCOMPARE_NE(usesPage, row.Page.isEmpty());
        if (usesPage && row.Page != u"{server}/start8"_s)
            QVERIFY2(row.Page.startsWith(u"channel/"_s) && !row.Page.contains(u'\\'), what);
        QCOMPARE_NE(row.Kind == ChannelKind::RadioStation, row.StreamUrl.isEmpty());
        QCOMPARE_NE(row.Kind == ChannelKind::OutsideWindow, row.Window == ChannelWindow::None);
        QCOMPARE_NE(usesAddress, row.Address.isEmpty());

        for (const QString &url : {QString::fromLatin1(row.StreamUrl), row.Address}) {
            if (url.isEmpty())
                continue;
            const QRegularExpressionMatch m = kHttp.match(url);
            QVERIFY2(m.hasMatch(), qPrintable(url));
            QVERIFY2(m.captured(1).endsWith(u".example"_s), qPrintable(url));
        }
    }
    categoryKeys.sort();
    QCOMPARE(categoryKeys, (QStringList{u"Porn"_s, u"erotica"_s}));
}

void tst_Catalogue::trickyKeys_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("does");

    // Escaped, so that no editor can fold a look-alike letter or a blank.
    QTest::newRow("O2 TV, Latin O") << u"O2 \u0422\u0412"_s << u"page channel/music/o2-tv.htm"_s;
    QTest::newRow("O2 TV, Cyrillic O") << u"\u041e2 \u0422\u0412"_s << u"TKorbinaForm korbina /tv/o2"_s;
    QTest::newRow("MTV UA, mixed") << u"\u041c\u0422V UA"_s << u"page channel/music/mtv-ua.htm"_s;
    QTest::newRow("TVi, Ukrainian i") << u"\u0422\u0412\u0456"_s << u"page channel/Ukraine/TBi.htm"_s;
    QTest::newRow("2x2, Latin x") << u"2x2"_s << u"page channel/mults/2x2.htm"_s;
    QTest::newRow("NTV,2x2, Cyrillic x")
        << u"\u041d\u0422\u0412,2\u04452 \u0438 \u0434\u0440."_s << u"page channel/public/vse-tv.htm"_s;
    QTest::newRow("2x2, TNT, STS, Latin x")
        << u"2x2, \u0422\u041d\u0422, \u0421\u0422\u0421 \u0438 \u0434\u0440."_s
        << u"browser tvlisting /tv"_s;
    QTest::newRow("TPO, Latin") << u"TPO"_s << u"page channel/Belarus/tro.htm"_s;
    QTest::newRow("K1, Latin") << u"K1"_s << u"page channel/Ukraine/k1.htm"_s;
    QTest::newRow("1M1, Latin") << u"1M1"_s << u"page channel/music/1m1.htm"_s;
    QTest::newRow("ORT, Cyrillic") << u"\u041e\u0420\u0422"_s << u"page channel/public/ort.htm"_s;
    QTest::newRow("A-one") << u"A-one"_s << u"page channel/music/a-one.htm"_s;
    QTest::newRow(" A-one ") << u" A-one "_s << u"TKorbinaForm korbina /tv/aone"_s;
    QTest::newRow("Retro") << u"Retro"_s << u"page channel/music/retro.htm"_s;
    QTest::newRow("Retro ") << u"Retro "_s << u"radio channel/radio-program/retro.htm"_s;
    QTest::newRow("Music  Box") << u"Music  Box"_s << u"page channel/music/music-box.htm"_s;
    QTest::newRow("Music Box") << u"Music Box"_s << u"TKorbinaForm korbina /tv/musicbox"_s;
    QTest::newRow("Moskva 24") << u"\u041c\u043e\u0441\u043a\u0432\u0430 24"_s
                               << u"page channel/public/podmoskov.htm"_s;
    QTest::newRow("Moskva 24.") << u"\u041c\u043e\u0441\u043a\u0432\u0430 24."_s
                                << u"TKorbinaForm korbina /tv/m24"_s;
    QTest::newRow("Nauka 2.0") << u"\u041d\u0430\u0443\u043a\u0430 2.0"_s
                               << u"page channel/records/nauka.2.0/1.htm"_s;
    QTest::newRow("Nauka 2.0.") << u"\u041d\u0430\u0443\u043a\u0430 2.0."_s
                                << u"page channel/sciences/nauka-2-0.htm"_s;
    QTest::newRow("Europa plus TV, trailing blank in path")
        << u"\u0415\u0432\u0440\u043e\u043f\u0430 \u043f\u043b\u044e\u0441 \u0422\u0412"_s
        << u"page channel/music/europa+.htm "_s;
    QTest::newRow("KHL Test, blank runs") << u"   \u041a\u0425\u041b     \u0422\u0435\u0441\u0442"_s
                                          << u"TBrowser2Form seetv /see/KHL_TV"_s;
    QTest::newRow("1-avto UA, blank runs") << u"  1-\u0430\u0432\u0442\u043e     UA"_s
                                           << u"page channel/sport/1-auto-ua.htm"_s;
    QTest::newRow("Animal  Planet") << u"Animal  Planet"_s << u"page channel/sciences/animal.htm"_s;
    QTest::newRow(" Rossiya 24 ") << u" \u0420\u043e\u0441\u0441\u0438\u044f 24 "_s
                                  << u"TKorbinaForm korbina /tv/russia24"_s;
    QTest::newRow("DFM, radio page without stream") << u"DFM"_s << u"page channel/radio-program/dfm.htm"_s;
    QTest::newRow("Zaycev FM, server page") << u"\u0417\u0430\u0439\u0446\u0435\u0432 \u0424\u041c"_s
                                            << u"radio {server}/start8"_s;
    QTest::newRow("National Gegraphic") << u"National Gegraphic"_s
        << u"TOvegoPlayerForm ovego /publ/live_tv/poznavatelnye/national_geographic_channel/8-1-0-37"_s;
    QTest::newRow("RusFilm") << u"\u0420\u0443\u0441\u0424\u0438\u043b\u044c\u043c"_s
                             << u"TNarkomTVForm narkomtv /rusfilm.html"_s;
}

void tst_Catalogue::trickyKeys()
{
    QFETCH(QString, caption);
    QFETCH(QString, does);

    const QVector<TChannelEntry> rows = rowsOf(channelCatalogue(), caption);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(describe(rows.first()), does);
}

void tst_Catalogue::endpoints_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("programme");

    QTest::newRow("M3U playlist") << u"Европа+"_s << QString() << u"/store/public/europaplus64.m3u"_s << kNoProgramme;
    QTest::newRow("stream with port") << u"Maximum"_s << u":8000"_s << u"/rmaximum"_s << kNoProgramme;
    QTest::newRow("stream of the server page") << u"Зайцев ФМ"_s << u":9001"_s << u"/ZaycevFM(128)"_s << kNoProgramme;
    QTest::newRow("query") << u"Русское Радио"_s << QString() << u"/broadcast/default.aspx?media=rusradio"_s << kNoProgramme;
    QTest::newRow("playlist with query") << u"NRJ"_s << QString() << u"/playlist/radio.m3u?station=nrj&stream=192"_s << kNoProgramme;
    QTest::newRow("semicolon path") << u"Megapolis"_s << u":8000"_s << u"/;srream.nsv"_s << kNoProgramme;
    QTest::newRow("explicit port 80") << u"Di FM Vocal trance"_s << u":80"_s << u"/stream/1065"_s << kNoProgramme;
    QTest::newRow("MP3 with port") << u"Милицейская волна"_s << u":8114"_s << u"/radiomv192.mp3"_s << kNoProgramme;
    QTest::newRow("playlist with port") << u"Retro "_s << u":8000"_s << u"/retro.m3u"_s << kNoProgramme;
    QTest::newRow("Korbina with programme") << u"Eurosport News"_s << QString() << u"/tv/eurosport"_s
                                            << u"channel/tv-program/sport/eurosport.htm"_s;
    QTest::newRow("same address, own programme") << u"Дамский клуб"_s << QString() << u"/tv/tdk"_s
                                                 << u"channel/tv-program/entertainments/tdk.htm"_s;
    QTest::newRow("same address, no programme") << u"Дамский"_s << QString() << u"/tv/tdk"_s << kNoProgramme;
    QTest::newRow("system browser") << u"2x2, ТНТ, СТС и др."_s << QString() << u"/tv"_s << kNoProgramme;
}

void tst_Catalogue::endpoints()
{
    QFETCH(QString, caption);
    QFETCH(QString, port);
    QFETCH(QString, path);
    QFETCH(QString, programme);

    const QVector<TChannelEntry> rows = rowsOf(channelCatalogue(), caption);
    QCOMPARE(rows.size(), 1);
    const TChannelEntry &row = rows.first();
    const QString url = row.Kind == ChannelKind::RadioStation ? QString::fromLatin1(row.StreamUrl)
                                                              : row.Address;
    const QRegularExpressionMatch m = kHttp.match(url);
    QVERIFY2(m.hasMatch(), qPrintable(url));
    QCOMPARE(m.captured(2), port);
    QCOMPARE(m.captured(3), path);
    QCOMPARE(row.Programme, programme);
}

void tst_Catalogue::hosts()
{
    QSet<QString> seen;
    for (const QString &key : kSites + QStringList{u"player"_s}) {
        const QString host = catalogueHost(key);
        QVERIFY2(host.endsWith(u".example"_s), qPrintable(key));
        QVERIFY2(!seen.contains(host), qPrintable(host));
        seen << host;
    }
    QVERIFY(catalogueHost(u"no such site"_s).isEmpty());
    QVERIFY(catalogueHost(u"server"_s).isEmpty());

    // one host per station, so each can point at its own server
    QSet<QString> stationHosts;
    for (const TChannelEntry &row : channelCatalogue()) {
        if (row.Kind == ChannelKind::RadioStation)
            stationHosts << kHttp.match(QString::fromLatin1(row.StreamUrl)).captured(1);
    }
    QCOMPARE(stationHosts.size(), 24);
    QVERIFY(!stationHosts.intersects(seen));
}

void tst_Catalogue::serverPage_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("address");

    QTest::newRow("server page") << u"{server}/start8"_s << u"http://h.example"_s << u"http://h.example/start8"_s;
    QTest::newRow("local page kept") << u"channel/music/europa+.htm "_s << u"http://h.example"_s
                                     << u"channel/music/europa+.htm "_s;
    QTest::newRow("token only at the start") << u"channel/{server}.htm"_s << u"http://h.example"_s
                                             << u"channel/{server}.htm"_s;
}

void tst_Catalogue::serverPage()
{
    QFETCH(QString, page);
    QFETCH(QString, base);
    QFETCH(QString, address);
    QCOMPARE(withServerBase(page, base), address);
}

void tst_Catalogue::favoritesHoldOnlyPlayableKinds()
{
    for (const TChannelEntry &row : favoriteCatalogue()) {
        const QByteArray what = row.Caption.toUtf8();
        QVERIFY2(row.Kind == ChannelKind::ChannelPage || row.Kind == ChannelKind::OutsideWindow
                     || row.Kind == ChannelKind::SystemBrowser, what);
        QVERIFY2(!row.Caption.isEmpty() && row.Programme.isEmpty() && row.StreamUrl.isEmpty(), what);
        if (row.Kind == ChannelKind::ChannelPage)
            QVERIFY2(row.Page.startsWith(u"channel/"_s) && row.Address.isEmpty(), what);
        else
            QVERIFY2(row.Page.isEmpty() && kHttp.match(row.Address).hasMatch(), what);
    }
}

void tst_Catalogue::favoritesCopyMarkedRows_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("rows");

    // rows marked as favourites in each directory of the channel tables, and
    // among the outside-site rows
    const QList<QPair<const char *, int>> counts = {
        {"public", 25}, {"music", 19}, {"entertainment", 25}, {"sciences", 23}, {"sport", 15},
        {"Films", 14}, {"mults", 20}, {"records", 30}, {"Ukraine", 11}, {"Georgia", 3},
        {"Kazakhstan", 5}, {"Armenia", 5}, {"Belarus", 2}, {"Azerbaycan", 2}, {"18", 25},
        {"radio-program", 0}, {"outside", 19},
    };
    int total = 0;
    for (const auto &[group, n] : counts) {
        QTest::newRow(group) << QString::fromUtf8(group) << n;
        total += n;
    }
    QTest::newRow("all") << QString() << total;
}

void tst_Catalogue::favoritesCopyMarkedRows()
{
    QFETCH(QString, group);
    QFETCH(int, rows);

    const QSet<QString> differing = differingCaptions();
    const QSet<QString> channels = captionsOf(channelCatalogue());
    int n = 0;
    for (const TChannelEntry &fav : favoriteCatalogue()) {
        if (!channels.contains(fav.Caption) || differing.contains(fav.Caption))
            continue;
        // a copy: the same caption with the same page, or the same window and address
        const QVector<TChannelEntry> original = rowsOf(channelCatalogue(), fav.Caption);
        QCOMPARE(original.size(), 1);
        QCOMPARE(describe(fav), describe(original.first()));
        QCOMPARE(rowsOf(favoriteCatalogue(), fav.Caption).size(), 1);

        QString where = u"outside"_s;
        if (fav.Kind == ChannelKind::ChannelPage)
            where = directoryOf(fav.Page).section(u'/', 0, 0);
        if (group.isEmpty() || where == group)
            ++n;
    }
    QCOMPARE(n, rows);
}

void tst_Catalogue::favoritesGivenRowByRow_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("alsoInChannelCatalogue");

    for (const ExplicitRows &e : explicitFavorites())
        QTest::newRow(e.caption.toUtf8()) << e.caption << e.rows << e.alsoInChannelCatalogue;
}

void tst_Catalogue::favoritesGivenRowByRow()
{
    QFETCH(QString, caption);
    QFETCH(QStringList, rows);
    QFETCH(bool, alsoInChannelCatalogue);

    QStringList found;
    for (const TChannelEntry &row : rowsOf(favoriteCatalogue(), caption))
        found << describe(row);
    QCOMPARE(found, rows);
    QCOMPARE(captionsOf(channelCatalogue()).contains(caption), alsoInChannelCatalogue);
}

void tst_Catalogue::favoritesOfTheirOwn()
{
    QCOMPARE(differingCaptions().size(), 27);

    const QSet<QString> channels = captionsOf(channelCatalogue());
    QHash<QString, int> rowsPerCaption;
    int pages = 0;
    int seeTv = 0;
    for (const TChannelEntry &row : favoriteCatalogue()) {
        if (channels.contains(row.Caption))
            continue;
        ++rowsPerCaption[row.Caption];
        if (row.Kind == ChannelKind::ChannelPage)
            ++pages;
        else if (row.Window == ChannelWindow::TBrowser2Form && describe(row).contains(u" seetv /see/"_s))
            ++seeTv;
    }
    QCOMPARE(rowsPerCaption.size(), 81);
    QCOMPARE(pages, 73);
    QCOMPARE(seeTv, 8);
    for (auto it = rowsPerCaption.cbegin(); it != rowsPerCaption.cend(); ++it)
        QVERIFY2(it.value() == 1, qPrintable(it.key()));

    // copies of marked rows, the rows of the captions that act differently,
    // and the captions of their own: nothing else
    int differingRows = 0;
    for (const ExplicitRows &e : explicitFavorites()) {
        if (e.alsoInChannelCatalogue)
            differingRows += e.rows.size();
    }
    QCOMPARE(favoriteCatalogue().size(), 243 + differingRows + 81);
}

void tst_Catalogue::pageTreeHoldsEveryPath()
{
    ExactTree tree(QStringLiteral(VIDMO_PROGRAM_DIR));
    QSet<QString> paths;
    for (const auto *table : {&channelCatalogue(), &favoriteCatalogue()}) {
        for (const TChannelEntry &row : *table) {
            if (!row.Page.isEmpty() && !row.Page.startsWith(kServerToken))
                paths << row.Page;
            if (!row.Programme.isEmpty())
                paths << row.Programme;
        }
    }
    QVERIFY(paths.contains(kNoProgramme));
    QVERIFY(paths.contains(u"channel/music/europa+.htm "_s));

    QStringList missing;
    for (const QString &path : std::as_const(paths)) {
        if (!tree.holdsFile(shippedName(path)))
            missing << path;
    }
    missing.sort();
    QVERIFY2(missing.isEmpty(), qPrintable(u"missing: "_s + missing.join(u" | "_s)));

    // only the stripped name is shipped
    QVERIFY(tree.holdsFile(u"channel/music/europa+.htm"_s));
    QVERIFY(!QFileInfo::exists(QStringLiteral(VIDMO_PROGRAM_DIR) + u"channel/music/europa+.htm "_s));
    // case is part of the name: both spellings are directories of their own
    QVERIFY(tree.holdsFile(u"channel/Films/tv1000.htm"_s));
    QVERIFY(tree.holdsFile(u"channel/tv-program/films/tv1000rus.htm"_s));
    QVERIFY(!tree.holdsFile(u"channel/films/tv1000.htm"_s));
}

void tst_Catalogue::generatedPages_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("texts");

    const QString player = u"http://"_s + catalogueHost(u"player"_s) + u'/';
    QTest::newRow("player page") << u"channel/public/ort.htm"_s
                                 << QStringList{u"<h1>ОРТ</h1>"_s, u"<iframe"_s, player + u"public/ort.htm"_s};
    QTest::newRow("trailing blank") << u"channel/music/europa+.htm"_s
                                    << QStringList{u"Европа плюс ТВ"_s, player + u"music/europa+.htm\""_s};
    QTest::newRow("shared page names both") << u"channel/music/star-tv.htm"_s
                                            << QStringList{u"Star  TV"_s, u"Star TV"_s};
    QTest::newRow("favourites page") << u"channel/radio-program/moskva400.html"_s
                                     << QStringList{u"Москва 400"_s};
    QTest::newRow("blank in file name") << u"channel/tv-program/mults/The childern world.htm"_s
                                        << QStringList{u"Детский   мир"_s, u"программа передач"_s};
    QTest::newRow("programme page") << u"channel/tv-program/public/tnv.htm"_s
                                    << QStringList{u"ТНВ"_s, u"24 техно"_s, u"программа передач"_s};
    QTest::newRow("no programme") << kNoProgramme << QStringList{u"программа передач недоступна"_s};
}

void tst_Catalogue::generatedPages()
{
    QFETCH(QString, path);
    QFETCH(QStringList, texts);

    QFile file(QStringLiteral(VIDMO_PROGRAM_DIR) + path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QString html = QString::fromUtf8(file.readAll());
    QVERIFY(html.startsWith(u"<!DOCTYPE html>"_s));
    QVERIFY(html.contains(u"<meta charset=\"utf-8\">"_s));
    for (const QString &text : texts)
        QVERIFY2(html.contains(text), qPrintable(text));
}

QTEST_GUILESS_MAIN(tst_Catalogue)
#include "tst_catalogue.moc"
