#pragma once

#include <QHash>
#include <QPalette>
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

    // The application palette that goes with a skin's style sheet, so that
    // what the style draws itself (check marks, arrows) matches it.
    QPalette palette(const QString &name) const;

private:
    // A skin's fields by placeholder name: the stored colours and radius
    // plus the shades derived from them.
    using Fields = QHash<QString, QString>;

    const Fields *find(const QString &name) const;

    QStringList m_names;
    QVector<Fields> m_skins;
    QString m_template;
    QString m_current;
    // What the last setSkin put on the application, to skip a repeat.
    QString m_applied;
};

} // namespace vidmo
