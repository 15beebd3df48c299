#pragma once

#include <QString>

namespace vidmo {

// An INI file opened on a path, read and written key by key.
//
// - Every read consults the file's current content; nothing is cached.
// - Section and key names match regardless of letter case.
// - A value read loses its outer blanks and one pair of matching single or
//   double quotes around the whole value; at most 2047 characters are read.
// - Every write replaces that one key's value, keeps every other line, and
//   creates file and section when missing. The file is replaced atomically.
// - Reads UTF-8 with or without BOM and UTF-16LE with BOM; writes UTF-8, or
//   back in the encoding the file already has.
// - A failed write throws Failure("Unable to write to <path>") and leaves the
//   file as it was.
//
// A section named twice acts as one: the first line holding the key, in file
// order, is the one read and replaced. Lines before the first section, lines
// without '=' and lines starting with ';' hold no values.
class IniFile final
{
public:
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    QString readString(const QString &section, const QString &key, const QString &def) const;
    void writeString(const QString &section, const QString &key, const QString &value);

    // "1"/"0" on write; on read a whole number (hexadecimal after "0x"), non-zero
    // is true, anything else yields def.
    bool readBool(const QString &section, const QString &key, bool def) const;
    void writeBool(const QString &section, const QString &key, bool value);

    // The longest value a read returns.
    static constexpr qsizetype MaxValueLength = 2047;

private:
    [[noreturn]] void failWrite() const;

    QString m_path;
};

} // namespace vidmo
