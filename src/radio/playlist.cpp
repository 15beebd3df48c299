#include "radio/playlist.h"

#include <QMap>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>
#include <QXmlStreamReader>

namespace vidmo {

namespace {

QString decodeText(const QByteArray &body)
{
    if (body.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(body.mid(2));
    if (body.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE).decode(body.mid(2));
    const QByteArray text = body.startsWith("\xEF\xBB\xBF") ? body.mid(3) : body;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString s = utf8.decode(text);
    if (utf8.hasError())
        return QString::fromLatin1(text);
    return s;
}

bool isBinary(const QString &text)
{
    for (const QChar c : text.left(512)) {
        const char16_t u = c.unicode();
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f')
            return true;
    }
    return false;
}

QByteArray mediaType(const QByteArray &contentType)
{
    const qsizetype semi = contentType.indexOf(';');
    return (semi < 0 ? contentType : contentType.left(semi)).trimmed().toLower();
}

PlaylistFormat formatOfType(const QByteArray &type)
{
    static const QMap<QByteArray, PlaylistFormat> types = {
        {"audio/x-mpegurl", PlaylistFormat::M3U},     {"audio/mpegurl", PlaylistFormat::M3U},
        {"application/x-mpegurl", PlaylistFormat::M3U}, {"audio/m3u", PlaylistFormat::M3U},
        {"audio/x-m3u", PlaylistFormat::M3U},         {"audio/x-scpls", PlaylistFormat::PLS},
        {"audio/scpls", PlaylistFormat::PLS},         {"application/pls+xml", PlaylistFormat::PLS},
        {"video/x-ms-asx", PlaylistFormat::ASX},      {"audio/x-ms-wax", PlaylistFormat::ASX},
        {"video/x-ms-wvx", PlaylistFormat::ASX},      {"application/xspf+xml", PlaylistFormat::XSPF},
    };
    return types.value(type, PlaylistFormat::None);
}

PlaylistFormat formatOfName(const QUrl &address)
{
    const QString path = address.path().toLower();
    if (path.endsWith(QLatin1String(".m3u")) || path.endsWith(QLatin1String(".m3u8")))
        return PlaylistFormat::M3U;
    if (path.endsWith(QLatin1String(".pls")))
        return PlaylistFormat::PLS;
    if (path.endsWith(QLatin1String(".asx")) || path.endsWith(QLatin1String(".wax"))
        || path.endsWith(QLatin1String(".wvx")))
        return PlaylistFormat::ASX;
    if (path.endsWith(QLatin1String(".xspf")))
        return PlaylistFormat::XSPF;
    return PlaylistFormat::None;
}

bool isRemoteScheme(const QString &scheme)
{
    static const QStringList schemes = {
        QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mms"),
        QStringLiteral("mmsh"), QStringLiteral("mmst"),  QStringLiteral("rtsp"),
        QStringLiteral("rtmp"),
    };
    return schemes.contains(scheme);
}

// A line of a headerless text that reads as an absolute stream address.
bool looksLikeAddress(const QString &line)
{
    const QUrl url(line, QUrl::StrictMode);
    return url.isValid() && isRemoteScheme(url.scheme()) && !url.host().isEmpty();
}

QStringList lines(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    QStringList out;
    for (const QString &l : text.split(breaks)) {
        const QString t = l.trimmed();
        if (!t.isEmpty())
            out << t;
    }
    return out;
}

void addEntry(QList<QUrl> &out, const QString &entry, const QUrl &base)
{
    const QString text = entry.trimmed();
    if (text.isEmpty())
        return;
    // A Windows path from someone's disk means nothing here, and markup or
    // control bytes (a page or binary data taken for a list) name no address.
    static const QRegularExpression junk(QStringLiteral("[\\\\<>\"{}\\x00-\\x1f\\x7f]"));
    if (text.contains(junk))
        return;
    const QUrl url = base.resolved(QUrl(text, QUrl::TolerantMode));
    if (!url.isValid())
        return;
    const bool allowed = isRemoteScheme(url.scheme())
        || (url.isLocalFile() && base.isLocalFile());
    if (allowed && (url.isLocalFile() || !url.host().isEmpty()))
        out << url;
}

QList<QUrl> parseM3U(const QString &text, const QUrl &base)
{
    QList<QUrl> out;
    for (const QString &l : lines(text))
        if (!l.startsWith(QLatin1Char('#')))
            addEntry(out, l, base);
    return out;
}

QList<QUrl> parsePLS(const QString &text, const QUrl &base)
{
    static const QRegularExpression file(QStringLiteral("^file(\\d+)\\s*=(.*)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    QMap<qlonglong, QString> entries;
    for (const QString &l : lines(text)) {
        const auto m = file.match(l);
        if (m.hasMatch() && !entries.contains(m.captured(1).toLongLong()))
            entries.insert(m.captured(1).toLongLong(), m.captured(2));
    }
    QList<QUrl> out;
    for (const QString &e : entries)
        addEntry(out, e, base);
    return out;
}

QString unescapeXml(QString s)
{
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    s.replace(QLatin1String("&quot;"), QLatin1String("\""));
    s.replace(QLatin1String("&apos;"), QLatin1String("'"));
    s.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return s;
}

// ASX in the wild is rarely well-formed XML (bare ampersands, unquoted
// attributes, any case), so the references are picked out by pattern.
QList<QUrl> parseASX(const QString &text, const QUrl &base)
{
    static const QRegularExpression ref(
        QStringLiteral("<\\s*(?:ref|entryref)\\b[^>]*?\\bhref\\s*=\\s*"
                       "(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
        QRegularExpression::CaseInsensitiveOption);
    QList<QUrl> out;
    for (auto it = ref.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        QString href = m.captured(1);
        if (href.isEmpty())
            href = m.captured(2);
        if (href.isEmpty())
            href = m.captured(3);
        addEntry(out, unescapeXml(href), base);
    }
    return out;
}

QList<QUrl> parseXSPF(const QString &text, const QUrl &base)
{
    QList<QUrl> out;
    QXmlStreamReader xml(text);
    bool inTrack = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("track"))
                inTrack = true;
            else if (inTrack && xml.name() == QLatin1String("location"))
                addEntry(out, xml.readElementText(), base);
        } else if (xml.isEndElement() && xml.name() == QLatin1String("track")) {
            inTrack = false;
        }
    }
    return out;
}

} // namespace

PlaylistFormat sniffPlaylist(const QByteArray &contentType, const QUrl &address,
                             const QByteArray &head)
{
    const QString text = decodeText(head.left(4096)).trimmed();
    const QString lower = text.left(1024).toLower();

    if (lower.startsWith(QLatin1String("#extm3u")))
        return text.contains(QLatin1String("#EXT-X-")) ? PlaylistFormat::None
                                                       : PlaylistFormat::M3U;
    if (lower.startsWith(QLatin1String("[playlist]")))
        return PlaylistFormat::PLS;
    if (lower.startsWith(QLatin1String("<asx")))
        return PlaylistFormat::ASX;
    if (lower.startsWith(QLatin1String("<?xml"))) {
        if (lower.contains(QLatin1String("<asx")))
            return PlaylistFormat::ASX;
        if (lower.contains(QLatin1String("<playlist")))
            return PlaylistFormat::XSPF;
        return PlaylistFormat::None;
    }
    // Binary data (an ASF header, MPEG frames) is a stream whatever it is called.
    if (isBinary(text) || text.isEmpty())
        return PlaylistFormat::None;

    const QByteArray type = mediaType(contentType);
    if (const PlaylistFormat f = formatOfType(type); f != PlaylistFormat::None)
        return f;
    const bool vague = type.isEmpty() || type.startsWith("text/plain")
        || type == "application/octet-stream";
    if (!vague)
        return PlaylistFormat::None;
    if (const PlaylistFormat f = formatOfName(address); f != PlaylistFormat::None)
        return f;
    // A bare list of addresses served as text.
    const QStringList ls = lines(text);
    for (const QString &l : ls) {
        if (l.startsWith(QLatin1Char('#')))
            continue;
        return looksLikeAddress(l) ? PlaylistFormat::M3U : PlaylistFormat::None;
    }
    return PlaylistFormat::None;
}

bool contentTypeIsStream(const QByteArray &contentType)
{
    const QByteArray type = mediaType(contentType);
    if (formatOfType(type) != PlaylistFormat::None || type == "video/x-ms-asf")
        return false;
    return type.startsWith("audio/") || type.startsWith("video/") || type == "application/ogg";
}

QList<QUrl> parsePlaylist(PlaylistFormat format, const QByteArray &body, const QUrl &base)
{
    if (body.size() > kPlaylistSizeCap)
        return {};
    const QString text = decodeText(body);
    switch (format) {
    case PlaylistFormat::M3U:
        return parseM3U(text, base);
    case PlaylistFormat::PLS:
        return parsePLS(text, base);
    case PlaylistFormat::ASX:
        return parseASX(text, base);
    case PlaylistFormat::XSPF:
        return parseXSPF(text, base);
    case PlaylistFormat::None:
        break;
    }
    return {};
}

} // namespace vidmo
