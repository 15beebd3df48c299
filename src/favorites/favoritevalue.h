#pragma once

#include <QString>

namespace vidmo {

// The favourites' slots in [Favorite] of Setting.ini.
inline constexpr int FavoriteSlotCount = 24;

// "fa" for slot 1 .. "fx" for slot 24.
QString favoriteKey(int slot);

// The text to write so that an INI read gives `caption` back exactly. A read
// drops the value's outer blanks and one pair of enclosing quotes; a caption
// that would lose either is written inside double quotes, which the read then
// drops. Any other caption is written as it is, as files always held it.
QString favoriteStoredValue(const QString &caption);

} // namespace vidmo
