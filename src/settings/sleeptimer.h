#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace vidmo {

// The countdown of the "Таймер" tab, in seconds. The window's 1 s timer calls
// tick(); the count reaching 0 is the moment to close the program.
class SleepTimer final
{
public:
    // Seconds for the minutes as typed: decimal digits with an optional sign,
    // blanks around them allowed. Nothing for anything else, and for counts
    // that would never reach 0 (zero, negative) or do not fit 32 bits.
    static std::optional<qint32> secondsFor(const QString &minutes);

    // Starts counting anew from the typed minutes. A refused entry leaves the
    // count as it was and returns false.
    bool confirm(const QString &minutes);

    // One second less; the seconds left.
    qint32 tick();

    qint32 remaining() const { return m_seconds; }

private:
    qint32 m_seconds = 0;
};

} // namespace vidmo
