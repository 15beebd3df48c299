#include "favorites/favoritevalue.h"

namespace vidmo {

namespace {

// The characters an INI read strips from both ends of a value.
bool isIniBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

} // namespace

QString favoriteKey(int slot)
{
    return QStringLiteral("f") + QChar(u'a' + (slot - 1));
}

QString favoriteStoredValue(const QString &caption)
{
    if (caption.isEmpty())
        return caption;
    const bool outerBlank = isIniBlank(caption.front()) || isIniBlank(caption.back());
    const bool outerQuotes =
        caption.size() >= 2 && isQuote(caption.front()) && caption.back() == caption.front();
    if (outerBlank || outerQuotes)
        return QLatin1Char('"') + caption + QLatin1Char('"');
    return caption;
}

} // namespace vidmo
