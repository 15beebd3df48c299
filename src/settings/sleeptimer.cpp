#include "settings/sleeptimer.h"

#include <limits>

namespace vidmo {

std::optional<qint32> SleepTimer::secondsFor(const QString &minutes)
{
    const QString text = minutes.trimmed();
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    if (i == text.size())
        return std::nullopt;
    for (qsizetype j = i; j < text.size(); ++j) {
        // Only ASCII digits: QChar::isDigit would also take other scripts' digits.
        if (text[j] < u'0' || text[j] > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok, 10);
    constexpr qlonglong most = std::numeric_limits<qint32>::max() / 60;
    if (!ok || value < 1 || value > most)
        return std::nullopt;
    return qint32(value * 60);
}

bool SleepTimer::confirm(const QString &minutes)
{
    const std::optional<qint32> seconds = secondsFor(minutes);
    if (!seconds)
        return false;
    m_seconds = *seconds;
    return true;
}

qint32 SleepTimer::tick()
{
    // A tick after the end (only when driven by hand) must not wrap around.
    if (m_seconds > std::numeric_limits<qint32>::min())
        --m_seconds;
    return m_seconds;
}

} // namespace vidmo
