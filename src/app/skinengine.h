#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace vidmo {

// The skin engine (sSkinManager1): 69 named skins, each a small palette that
// fills one style-sheet template. Setting a skin redraws every window of the
// program at once.
class SkinEngine final
{
public:
    SkinEngine();

    static QString defaultSkin() { return QStringLiteral("Neutral (internal)"); }

    // The 69 names, in the order the settings window lists them.
    QStringList names() const;
    QString current() const { return m_current; }

    // Applies the named skin to the whole application. An unknown name keeps
    // the skin in use and returns false.
    bool setSkin(const QString &name);

    // The style sheet a skin produces (empty for an unknown name).
    QString styleSheet(const QString &name) const;

private:
    struct Skin;
    QVector<QString> m_names;
    QString m_current;
};

} // namespace vidmo
