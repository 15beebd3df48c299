#include "app/appcontext.h"

#include "settings/inifile.h"

namespace vidmo {

QString AppContext::lang(const QString &section, const QString &key) const
{
    const QString missing = QStringLiteral("0");
    return languageFile ? languageFile->readString(section, key, missing) : missing;
}

} // namespace vidmo
