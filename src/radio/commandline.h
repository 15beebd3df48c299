#pragma once

#include <QString>
#include <QStringList>

namespace vidmo {

// Splits a command line the way Windows programs read theirs, so that command
// lines written for the encoder keep their meaning without a shell: blanks and
// tabs separate, double quotes group ("My Song.mp3" stays one argument), ""
// inside quotes is one quote, and backslashes escape a quote only directly
// before it (2n backslashes + quote: n backslashes and a grouping quote;
// 2n+1: n backslashes and a literal quote). The first item is the program.
QStringList splitCommandLine(const QString &line);

// The inverse for one argument: quotes it when needed so that
// splitCommandLine gives it back unchanged.
QString quoteCommandArgument(const QString &argument);

} // namespace vidmo
