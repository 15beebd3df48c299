#include "settings/inifile.h"

#include "app/failure.h"

#include <QFile>
#include <QList>
#include <QSaveFile>
#include <QStringView>

#include <optional>
#include <unistd.h>
#include <utility>

namespace vidmo {

namespace {

enum class Encoding { Utf8, Utf8Bom, Utf16Le };

// A line as stored, so that a rewrite can put back every line it does not
// change byte for byte, whatever the file holds.
struct Line
{
    QByteArray raw;   // without its end
    QByteArray end;   // "\r\n", "\n", "\r", or empty on a last line without one
    QString text;     // raw, decoded
};

struct Document
{
    Encoding encoding = Encoding::Utf8;
    QList<Line> lines;
};

enum class Load { Loaded, Missing, Failed };

QByteArray bomOf(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8Bom: return QByteArrayLiteral("\xEF\xBB\xBF");
    case Encoding::Utf16Le: return QByteArrayLiteral("\xFF\xFE");
    case Encoding::Utf8: break;
    }
    return {};
}

QString decode(const QByteArray &raw, Encoding encoding)
{
    if (encoding != Encoding::Utf16Le)
        return QString::fromUtf8(raw);
    QString text(raw.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(char16_t(uchar(raw[2 * i]) | uchar(raw[2 * i + 1]) << 8));
    return text;
}

QByteArray encode(const QString &text, Encoding encoding)
{
    if (encoding != Encoding::Utf16Le)
        return text.toUtf8();
    QByteArray raw;
    raw.reserve(text.size() * 2);
    for (const QChar c : text) {
        raw.append(char(c.unicode() & 0xFF));
        raw.append(char(c.unicode() >> 8));
    }
    return raw;
}

Line makeLine(QByteArray raw, QByteArray end, Encoding encoding)
{
    QString text = decode(raw, encoding);
    return Line{std::move(raw), std::move(end), std::move(text)};
}

Document split(const QByteArray &bytes)
{
    Document doc;
    qsizetype pos = 0;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        doc.encoding = Encoding::Utf8Bom;
        pos = 3;
    } else if (bytes.startsWith("\xFF\xFE")) {
        doc.encoding = Encoding::Utf16Le;
        pos = 2;
    }
    const qsizetype unit = doc.encoding == Encoding::Utf16Le ? 2 : 1;
    const auto unitAt = [&](qsizetype i) -> char16_t {
        if (unit == 1)
            return uchar(bytes[i]);
        return char16_t(uchar(bytes[i]) | uchar(bytes[i + 1]) << 8);
    };

    // Lines end in LF, CRLF or a lone CR.
    const qsizetype size = bytes.size();
    qsizetype start = pos;
    qsizetype i = pos;
    while (i + unit <= size) {
        const char16_t c = unitAt(i);
        if (c != u'\n' && c != u'\r') {
            i += unit;
            continue;
        }
        qsizetype endLength = unit;
        if (c == u'\r' && i + 2 * unit <= size && unitAt(i + unit) == u'\n')
            endLength = 2 * unit;
        doc.lines.push_back(makeLine(bytes.mid(start, i - start), bytes.mid(i, endLength), doc.encoding));
        i += endLength;
        start = i;
    }
    // Also keeps a stray odd byte of a UTF-16 file, so a rewrite puts it back.
    if (start < size)
        doc.lines.push_back(makeLine(bytes.mid(start), {}, doc.encoding));
    return doc;
}

Load load(const QString &path, Document &doc)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.exists() ? Load::Failed : Load::Missing;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Load::Failed;
    doc = split(bytes);
    return Load::Loaded;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

QStringView trimBlanks(QStringView s)
{
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

bool isBlankLine(const QString &text)
{
    return trimBlanks(text).isEmpty();
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

struct Parsed
{
    enum class Kind { Other, Section, Entry };
    Kind kind = Kind::Other;
    QStringView name;           // section or key, without outer blanks
    qsizetype valuePos = -1;    // of an entry: where the text after '=' begins
};

Parsed classify(const QString &text)
{
    const QStringView s = trimBlanks(text);
    if (s.isEmpty() || s.front() == u';')
        return {};
    if (s.front() == u'[') {
        const qsizetype close = s.indexOf(u']');
        if (close < 0)
            return {};
        return {Parsed::Kind::Section, trimBlanks(s.sliced(1, close - 1)), -1};
    }
    const qsizetype eq = text.indexOf(u'=');
    if (eq < 0)
        return {};
    return {Parsed::Kind::Entry, trimBlanks(QStringView(text).first(eq)), eq + 1};
}

struct Location
{
    qsizetype entry = -1;        // line holding the key
    qsizetype valuePos = -1;     // in that line's text
    qsizetype section = -1;      // header of the first section so named
    qsizetype sectionLast = -1;  // last non-blank line of that section
};

Location locate(const Document &doc, const QString &section, const QString &key)
{
    Location loc;
    bool inMatching = false;
    bool inFirst = false;
    for (qsizetype i = 0; i < doc.lines.size(); ++i) {
        const QString &text = doc.lines[i].text;
        const Parsed p = classify(text);
        if (p.kind == Parsed::Kind::Section) {
            inMatching = sameName(p.name, section);
            inFirst = inMatching && loc.section < 0;
            if (inFirst)
                loc.section = i;
        } else if (p.kind == Parsed::Kind::Entry && inMatching && sameName(p.name, key)) {
            loc.entry = i;
            loc.valuePos = p.valuePos;
            return loc;
        }
        if (inFirst && !isBlankLine(text))
            loc.sectionLast = i;
    }
    return loc;
}

// A private-profile reader keeps the value without its outer blanks and hands
// it out through a 2048-character buffer: the stored value is cut to 2047
// characters (UTF-16 units, as in a wide buffer) first, and only what survives
// the cut loses its quotes, so an over-long quoted value keeps its opening
// quote.
QString valueOf(const QString &text, qsizetype valuePos)
{
    QStringView v = trimBlanks(QStringView(text).sliced(valuePos));
    v = trimBlanks(v.first(qMin(v.size(), IniFile::MaxValueLength)));
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.sliced(1, v.size() - 2);
    return v.toString();
}

std::optional<QString> lookup(const QString &path, const QString &section, const QString &key)
{
    Document doc;
    if (load(path, doc) != Load::Loaded)
        return std::nullopt;
    const Location loc = locate(doc, section, key);
    if (loc.entry < 0)
        return std::nullopt;
    return valueOf(doc.lines[loc.entry].text, loc.valuePos);
}

// Decimal with an optional sign, or hexadecimal after "0x"; any length, since
// only zero or non-zero matters.
std::optional<bool> parseWholeNumber(QStringView v)
{
    const auto digitsNonZero = [](QStringView digits, bool hex) -> std::optional<bool> {
        if (digits.isEmpty())
            return std::nullopt;
        bool nonZero = false;
        for (const QChar c : digits) {
            const char16_t u = c.unicode();
            const bool digit = (u >= u'0' && u <= u'9')
                || (hex && ((u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F')));
            if (!digit)
                return std::nullopt;
            nonZero = nonZero || u != u'0';
        }
        return nonZero;
    };
    if (v.size() >= 3 && v[0] == u'0' && (v[1] == u'x' || v[1] == u'X'))
        return digitsNonZero(v.sliced(2), true);
    if (!v.isEmpty() && (v.front() == u'+' || v.front() == u'-'))
        v = v.sliced(1);
    return digitsNonZero(v, false);
}

// The end of the file's first line, so that added lines match the rest.
QString lineEndOf(const Document &doc)
{
    for (const Line &line : doc.lines) {
        if (!line.end.isEmpty())
            return decode(line.end, doc.encoding);
    }
    return QStringLiteral("\n");
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    return lookup(m_path, section, key).value_or(def);
}

bool IniFile::readBool(const QString &section, const QString &key, bool def) const
{
    const std::optional<QString> value = lookup(m_path, section, key);
    if (!value)
        return def;
    return parseWholeNumber(*value).value_or(def);
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    Document doc;
    if (load(m_path, doc) == Load::Failed)
        failWrite();

    // One line per value: a line break would end the entry and could open a
    // section of its own.
    QString v = value;
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v[i] == u'\r' || v[i] == u'\n') {
            v.truncate(i);
            break;
        }
    }

    const Encoding enc = doc.encoding;
    const QByteArray eol = encode(lineEndOf(doc), enc);
    const auto newLine = [&](const QString &text) { return Line{encode(text, enc), eol, text}; };
    const auto ensureEnded = [&](Line &line) {
        if (line.end.isEmpty())
            line.end = eol;
    };

    const Location loc = locate(doc, section, key);
    if (loc.entry >= 0) {
        // Keep the key as spelt in the file, up to and including '='.
        Line &line = doc.lines[loc.entry];
        const qsizetype rawPos = enc == Encoding::Utf16Le ? 2 * loc.valuePos : line.raw.indexOf('=') + 1;
        line.raw = line.raw.first(rawPos) + encode(v, enc);
        line.text = line.text.first(loc.valuePos) + v;
    } else if (loc.section >= 0) {
        // After the section's last entry, ahead of the blank lines that part it
        // from the next one.
        ensureEnded(doc.lines[loc.sectionLast]);
        doc.lines.insert(loc.sectionLast + 1, newLine(key + u'=' + v));
    } else {
        if (!doc.lines.isEmpty()) {
            ensureEnded(doc.lines.last());
            if (!isBlankLine(doc.lines.last().text))
                doc.lines.push_back(newLine(QString()));
        }
        doc.lines.push_back(newLine(u'[' + section + u']'));
        doc.lines.push_back(newLine(key + u'=' + v));
    }

    QByteArray bytes = bomOf(enc);
    for (const Line &line : std::as_const(doc.lines))
        bytes += line.raw + line.end;

    // Written beside the file and renamed over it, so a crash or a full disk
    // leaves the old file whole. The explicit flush matters: commit() of Qt 6.4
    // misses a write that fails while it flushes, and would rename a cut file.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        failWrite();
    // fsync so that a power cut after the rename finds the new content.
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        file.cancelWriting();
        file.commit();
        failWrite();
    }
    if (!file.commit())
        failWrite();
}

void IniFile::failWrite() const
{
    throw Failure(QStringLiteral("Unable to write to ") + m_path);
}

} // namespace vidmo
