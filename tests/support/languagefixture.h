#pragma once

#include <QByteArray>
#include <QStringList>

namespace vidmo::test {

// Every key of a language file, as "Section/key", in file order.
QStringList languageKeys();

// A language file in which every key's value is "<Section>.<key>", so a test
// can tell which key put a text on screen.
QByteArray taggedLanguageFile();

} // namespace vidmo::test
