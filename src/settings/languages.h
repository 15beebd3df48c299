#pragma once

#include <QString>

namespace vidmo {

// The five interface languages, in the order every choice tests them. The
// caption is both the radio button's design text and the stored name.
struct Language
{
    const char16_t *caption;
    const char *file;        // under <program directory>/Language/
    const char *settingsKey; // [Settings] key that relabels the radio button
};

inline constexpr Language Languages[5] = {
    {u"Русский [Ru]", "Russian.lng", "Russian"},
    {u"Украинский [Ua]", "Ukraine.lng", "Ukrainian"},
    {u"Английский [En]", "England.lng", "English"},
    {u"Белорусский [Blr]", "Belarusian.lng", "Belarusian"},
    {u"Китайский [Chi]", "Chinese.lng", "Chinese"},
};

inline QString languageCaption(int index) { return QString::fromUtf16(Languages[index].caption); }

} // namespace vidmo
