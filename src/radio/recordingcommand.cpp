#include "radio/recordingcommand.h"

#include "radio/commandline.h"

#include <QFileInfo>

namespace vidmo {

QString encoderProgram(const QString &programDir)
{
    const QFileInfo beside(programDir + QStringLiteral("lame"));
    if (beside.isFile() && beside.isExecutable())
        return beside.filePath();
    return QStringLiteral("lame");
}

QString recordingCommandLine(const QString &name, const QString &programDir)
{
    QString file = name + QStringLiteral(".mp3");
    if (file.startsWith(QLatin1Char('-')))
        file.prepend(QStringLiteral("./"));
    return quoteCommandArgument(encoderProgram(programDir))
        + QStringLiteral(" --alt-preset standard - ") + quoteCommandArgument(file);
}

} // namespace vidmo
