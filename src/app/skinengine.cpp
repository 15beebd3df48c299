#include "app/skinengine.h"

#include <QApplication>
#include <QColor>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QWidget>
#include <QtGlobal>

#include <algorithm>
#include <cmath>

// The skins live in a static library, whose unreferenced resources the linker
// drops; Q_INIT_RESOURCE must be used outside any namespace.
static void initSkinResources()
{
    Q_INIT_RESOURCE(skins);
}

namespace vidmo {

namespace {

const QString SkinsFile = QStringLiteral(":/skins/skins.json");
const QString TemplateFile = QStringLiteral(":/skins/skin.qss");

// Colours every row must give.
const char *const RequiredColours[] = {"window", "panel",     "button",        "buttonText",
                                       "text",   "base",      "baseText",      "highlight",
                                       "highlightText", "border", "accent"};

QString readResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("skins: cannot read %s", qPrintable(path));
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

QColor mix(const QColor &a, const QColor &b, double t)
{
    auto channel = [t](int x, int y) { return int(x + (y - x) * t + 0.5); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()));
}

double luminance(const QColor &c)
{
    return 0.299 * c.redF() + 0.587 * c.greenF() + 0.114 * c.blueF();
}

QString hex(const QColor &c)
{
    return c.name(QColor::HexRgb);
}

QColor colour(const QHash<QString, QString> &fields, const QString &key)
{
    return QColor(fields.value(key));
}

// Reads one row; false when a colour is missing or unreadable.
bool readRow(const QJsonObject &row, QHash<QString, QString> *fields)
{
    const QString name = row.value(QLatin1String("name")).toString();
    if (name.isEmpty())
        return false;
    fields->insert(QStringLiteral("name"), name);
    for (const char *key : RequiredColours) {
        const QColor c(row.value(QLatin1String(key)).toString());
        if (!c.isValid()) {
            qWarning("skins: %s has no valid %s", qPrintable(name), key);
            return false;
        }
        fields->insert(QLatin1String(key), hex(c));
    }
    // A button without its own gradient ends is flat.
    for (const char *key : {"buttonTop", "buttonBottom"}) {
        const QColor c(row.value(QLatin1String(key)).toString());
        fields->insert(QLatin1String(key), c.isValid() ? hex(c) : fields->value(QStringLiteral("button")));
    }
    const int radius = std::clamp(row.value(QLatin1String("radius")).toInt(), 0, 10);
    fields->insert(QStringLiteral("radius"), QString::number(radius));
    fields->insert(QStringLiteral("editRadius"), QString::number(std::min(radius, 3)));
    fields->insert(QStringLiteral("chunkRadius"), QString::number(std::max(std::min(radius, 3) - 1, 0)));
    return true;
}

// The shades the template needs beyond the stored colours.
void deriveShades(QHash<QString, QString> *f)
{
    const QColor button = colour(*f, QStringLiteral("button"));
    const QColor highlight = colour(*f, QStringLiteral("highlight"));
    const QColor window = colour(*f, QStringLiteral("window"));
    const QColor base = colour(*f, QStringLiteral("base"));
    const QColor border = colour(*f, QStringLiteral("border"));
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);

    f->insert(QStringLiteral("hover"), hex(mix(button, highlight, 0.25)));
    f->insert(QStringLiteral("hoverTop"), hex(mix(colour(*f, QStringLiteral("buttonTop")), highlight, 0.25)));
    f->insert(QStringLiteral("hoverBottom"),
              hex(mix(colour(*f, QStringLiteral("buttonBottom")), highlight, 0.25)));
    f->insert(QStringLiteral("pressed"), hex(mix(mix(button, black, 0.1), highlight, 0.35)));
    const QColor buttonDisabled = mix(button, window, 0.5);
    f->insert(QStringLiteral("buttonDisabled"), hex(buttonDisabled));
    f->insert(QStringLiteral("borderDisabled"), hex(mix(border, window, 0.5)));
    // Greyed captions must stay readable: light captions on light buttons
    // fade into them, so those take the window text instead.
    QColor disabledText = mix(colour(*f, QStringLiteral("buttonText")), buttonDisabled, 0.5);
    if (std::abs(luminance(disabledText) - luminance(buttonDisabled)) < 0.2)
        disabledText = mix(colour(*f, QStringLiteral("text")), buttonDisabled, 0.45);
    f->insert(QStringLiteral("disabledText"), hex(disabledText));
    f->insert(QStringLiteral("disabledBaseText"),
              hex(mix(colour(*f, QStringLiteral("baseText")), base, 0.5)));
    f->insert(QStringLiteral("accentTop"), hex(mix(colour(*f, QStringLiteral("accent")), white, 0.3)));
    f->insert(QStringLiteral("groove"), hex(mix(base, border, 0.15)));
    // The arrow and check-mark pictures come in a dark and a light tone.
    auto tone = [f](const char *key) {
        return colour(*f, QLatin1String(key)).lightnessF() < 0.5 ? QStringLiteral("dark")
                                                                : QStringLiteral("light");
    };
    f->insert(QStringLiteral("arrowTone"), tone("buttonText"));
    f->insert(QStringLiteral("checkTone"), tone("baseText"));
}

} // namespace

SkinEngine::SkinEngine()
    : m_current(defaultSkin())
{
    initSkinResources();
    m_template = readResource(TemplateFile);

    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(readResource(SkinsFile).toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        qWarning("skins: %s", qPrintable(error.errorString()));
    const QJsonArray rows = doc.array();
    for (const QJsonValue &value : rows) {
        Fields fields;
        if (!readRow(value.toObject(), &fields))
            continue;
        deriveShades(&fields);
        m_names << fields.value(QStringLiteral("name"));
        m_skins << fields;
    }
}

QStringList SkinEngine::names() const
{
    return m_names;
}

const SkinEngine::Fields *SkinEngine::find(const QString &name) const
{
    const qsizetype i = m_names.indexOf(name);
    return i < 0 ? nullptr : &m_skins[i];
}

QString SkinEngine::styleSheet(const QString &name) const
{
    const Fields *skin = find(name);
    if (!skin)
        return {};
    // Fill every %key% the skin knows; an unknown mark stays as it is.
    QString sheet;
    sheet.reserve(m_template.size() + m_template.size() / 4);
    qsizetype from = 0;
    while (from < m_template.size()) {
        const qsizetype open = m_template.indexOf(QLatin1Char('%'), from);
        const qsizetype close = open < 0 ? -1 : m_template.indexOf(QLatin1Char('%'), open + 1);
        if (close < 0) {
            sheet += QStringView(m_template).mid(from);
            break;
        }
        const QString key = m_template.mid(open + 1, close - open - 1);
        const auto value = skin->constFind(key);
        if (value == skin->constEnd()) {
            sheet += QStringView(m_template).mid(from, close - from);
            from = close;
            continue;
        }
        sheet += QStringView(m_template).mid(from, open - from);
        sheet += *value;
        from = close + 1;
    }
    return sheet;
}

QPalette SkinEngine::palette(const QString &name) const
{
    const Fields *skin = find(name);
    if (!skin)
        return {};
    auto c = [skin](const char *key) { return QColor(skin->value(QLatin1String(key))); };
    const QColor black(0, 0, 0);

    QPalette p;
    p.setColor(QPalette::Window, c("window"));
    p.setColor(QPalette::WindowText, c("text"));
    p.setColor(QPalette::Base, c("base"));
    p.setColor(QPalette::AlternateBase, mix(c("base"), c("panel"), 0.5));
    p.setColor(QPalette::Text, c("baseText"));
    p.setColor(QPalette::PlaceholderText, mix(c("baseText"), c("base"), 0.5));
    p.setColor(QPalette::Button, c("button"));
    p.setColor(QPalette::ButtonText, c("buttonText"));
    p.setColor(QPalette::BrightText, c("accent"));
    p.setColor(QPalette::Highlight, c("highlight"));
    p.setColor(QPalette::HighlightedText, c("highlightText"));
    p.setColor(QPalette::ToolTipBase, c("base"));
    p.setColor(QPalette::ToolTipText, c("baseText"));
    p.setColor(QPalette::Link, c("highlight"));
    p.setColor(QPalette::LinkVisited, c("accent"));
    p.setColor(QPalette::Light, c("buttonTop"));
    p.setColor(QPalette::Midlight, mix(c("button"), c("buttonTop"), 0.5));
    p.setColor(QPalette::Mid, c("border"));
    p.setColor(QPalette::Dark, mix(c("border"), black, 0.3));
    p.setColor(QPalette::Shadow, mix(c("border"), black, 0.6));

    p.setColor(QPalette::Disabled, QPalette::WindowText, c("disabledText"));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, c("disabledText"));
    p.setColor(QPalette::Disabled, QPalette::Text, c("disabledBaseText"));
    p.setColor(QPalette::Disabled, QPalette::Button, c("buttonDisabled"));
    p.setColor(QPalette::Disabled, QPalette::Base, c("panel"));
    return p;
}

bool SkinEngine::setSkin(const QString &name)
{
    if (!find(name)) {
        // An unknown name keeps the skin in use. Before any skin was applied
        // that is the default, which still has to reach the screen.
        if (m_applied.isEmpty() && find(m_current))
            setSkin(m_current);
        return false;
    }
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    // Re-applying a sheet repolishes every widget of the program: skip it
    // when the same skin is still on the application.
    if (app && name == m_current && !m_applied.isEmpty() && app->styleSheet() == m_applied)
        return true;
    m_current = name;
    if (!app)
        return true;
    m_applied = styleSheet(name);

    // Replacing an application style sheet resets the fonts widgets took from
    // their parents (and fonts restored that way the time before) to the
    // application font, yet the windows' fonts fix the pixel sizes their
    // captions were laid out for. The sheet sets no fonts: put them all back.
    QHash<QWidget *, QFont> fonts;
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget *w : widgets)
        fonts.insert(w, w->font());
    QApplication::setPalette(palette(name));
    app->setStyleSheet(m_applied);
    for (auto it = fonts.cbegin(); it != fonts.cend(); ++it) {
        if (it.key()->font() != it.value())
            it.key()->setFont(it.value());
    }
    return true;
}

} // namespace vidmo
