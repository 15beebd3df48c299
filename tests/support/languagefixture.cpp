#include "languagefixture.h"

namespace vidmo::test {

QStringList languageKeys()
{
    static const char *const sections[][2] = {
        {"Settings",
         "SettingsForm About Setting noVideo proxySetting updates timer language minimizeapplication "
         "Closedsection design Ontop Inthesystemtray IntheTaskbar turnon turnoff ip port "
         "Useproxysettings Savetheconnectionsettings Closetheprogramafter minutes confirm "
         "Theprogramwillbeclosedafter seconds reset ToviewtheTVchannelsyouneed "
         "AdobeFlashPlayerforInternetExplorer Install Help Download Yourversion Crucialversion "
         "StatusDownloads Russian Ukrainian English Belarusian Chinese usethepassword"},
        {"Category",
         "public radio music entertainment Research Sport movie Cartoons Records foreign back "
         "Ukrainian CISa CISb Miscellaneous erotica Porn"},
        {"Hint", "Settings TVProgram Closedsection favorites Donations"},
        {"Message",
         "AddtoFavorites Password incorrectpassword changes ErrorSecretCode Donotenteravalueoftrue "
         "ErrorUpgrade NoFavorite somethingiswrong"},
    };
    QStringList keys;
    for (const auto &s : sections) {
        const QString section = QString::fromLatin1(s[0]);
        for (const QString &key : QString::fromLatin1(s[1]).split(QLatin1Char(' ')))
            keys << section + QLatin1Char('/') + key;
    }
    return keys;
}

QByteArray taggedLanguageFile()
{
    QByteArray out;
    QString current;
    for (const QString &k : languageKeys()) {
        const QString section = k.section(QLatin1Char('/'), 0, 0);
        const QString key = k.section(QLatin1Char('/'), 1);
        if (section != current) {
            out += "[" + section.toUtf8() + "]\n";
            current = section;
        }
        out += key.toUtf8() + "=" + section.toUtf8() + "." + key.toUtf8() + "\n";
    }
    return out;
}

} // namespace vidmo::test
