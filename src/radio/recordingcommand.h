#pragma once

#include <QString>

namespace vidmo {

// The MP3 encoder a recording runs: "lame" beside the executable when it is
// there, else the one on PATH.
QString encoderProgram(const QString &programDir);

// The encoder's command line for a recording called `name`. lame reads WAV
// from its standard input ("-") and writes name + ".mp3". The file name is
// quoted as one argument, since the engine splits the line itself and no
// shell ever sees it; a name starting with '-' gets "./" so lame cannot take
// it for an option.
QString recordingCommandLine(const QString &name, const QString &programDir);

} // namespace vidmo
