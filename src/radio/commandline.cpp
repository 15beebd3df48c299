#include "radio/commandline.h"

namespace vidmo {

namespace {
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}
} // namespace

QStringList splitCommandLine(const QString &line)
{
    QStringList out;
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (i < n && isBlank(line[i]))
        ++i;
    if (i == n)
        return out;

    // The program name knows no escapes: it runs to the closing quote or
    // the first blank.
    QString program;
    if (line[i] == QLatin1Char('"')) {
        ++i;
        while (i < n && line[i] != QLatin1Char('"'))
            program += line[i++];
        if (i < n)
            ++i;
    }
    while (i < n && !isBlank(line[i]))
        program += line[i++];
    out << program;

    for (;;) {
        while (i < n && isBlank(line[i]))
            ++i;
        if (i == n)
            break;
        QString arg;
        bool quoted = false;
        while (i < n && (quoted || !isBlank(line[i]))) {
            const QChar c = line[i];
            if (c == QLatin1Char('\\')) {
                qsizetype slashes = 0;
                while (i < n && line[i] == QLatin1Char('\\')) {
                    ++slashes;
                    ++i;
                }
                if (i < n && line[i] == QLatin1Char('"')) {
                    arg += QString(slashes / 2, QLatin1Char('\\'));
                    if (slashes % 2) {
                        arg += QLatin1Char('"');
                        ++i;
                    }
                    // an even count leaves the quote to the next round
                } else {
                    arg += QString(slashes, QLatin1Char('\\'));
                }
            } else if (c == QLatin1Char('"')) {
                if (quoted && i + 1 < n && line[i + 1] == QLatin1Char('"')) {
                    arg += QLatin1Char('"');
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                arg += c;
                ++i;
            }
        }
        out << arg;
    }
    return out;
}

QString quoteCommandArgument(const QString &argument)
{
    const bool needsQuotes = argument.isEmpty()
        || argument.contains(QLatin1Char(' ')) || argument.contains(QLatin1Char('\t'))
        || argument.contains(QLatin1Char('"'));
    if (!needsQuotes)
        return argument;
    QString out(QLatin1Char('"'));
    qsizetype slashes = 0;
    for (const QChar c : argument) {
        if (c == QLatin1Char('\\')) {
            ++slashes;
            continue;
        }
        if (c == QLatin1Char('"')) {
            out += QString(slashes * 2 + 1, QLatin1Char('\\'));
            out += c;
        } else {
            out += QString(slashes, QLatin1Char('\\'));
            out += c;
        }
        slashes = 0;
    }
    // backslashes before the closing quote must not escape it
    out += QString(slashes * 2, QLatin1Char('\\'));
    out += QLatin1Char('"');
    return out;
}

} // namespace vidmo
