#include "settings/interfacetexts.h"

#include "app/appcontext.h"
#include "app/tform1.h"
#include "settings/tsettingform.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>

namespace vidmo {

namespace {

enum class Window { Settings, Main };
enum class Property { Caption, TabCaption, Hint };

struct TextRow
{
    const char *section;
    const char *key;
    Window window;
    const char *target; // objectName; empty: the window itself
    Property property;
};

// The order matters only where one key feeds several targets; it is the
// order the texts are put on screen.
constexpr TextRow Rows[] = {
    {"Settings", "SettingsForm", Window::Settings, "", Property::Caption},
    {"Category", "public", Window::Main, "sBitBtn1", Property::Caption},
    {"Category", "radio", Window::Main, "sBitBtn2", Property::Caption},
    {"Category", "music", Window::Main, "sBitBtn3", Property::Caption},
    {"Category", "entertainment", Window::Main, "sBitBtn4", Property::Caption},
    {"Category", "Research", Window::Main, "sBitBtn5", Property::Caption},
    {"Category", "Sport", Window::Main, "sBitBtn6", Property::Caption},
    {"Category", "movie", Window::Main, "sBitBtn7", Property::Caption},
    {"Category", "Cartoons", Window::Main, "sBitBtn8", Property::Caption},
    {"Category", "Records", Window::Main, "sBitBtn9", Property::Caption},
    {"Category", "foreign", Window::Main, "sBitBtn44", Property::Caption},
    {"Category", "back", Window::Main, "sBitBtn45", Property::Caption},
    {"Settings", "About", Window::Settings, "sTabSheet1", Property::TabCaption},
    {"Settings", "Setting", Window::Settings, "sTabSheet2", Property::TabCaption},
    {"Settings", "noVideo", Window::Settings, "sTabSheet3", Property::TabCaption},
    {"Settings", "proxySetting", Window::Settings, "sTabSheet4", Property::TabCaption},
    {"Settings", "updates", Window::Settings, "sTabSheet5", Property::TabCaption},
    {"Settings", "timer", Window::Settings, "sTabSheet6", Property::TabCaption},
    {"Settings", "language", Window::Settings, "sTabSheet7", Property::TabCaption},
    {"Settings", "minimizeapplication", Window::Settings, "sRadioGroup1", Property::Caption},
    {"Settings", "Closedsection", Window::Settings, "sRadioGroup2", Property::Caption},
    {"Settings", "design", Window::Settings, "sRadioGroup3", Property::Caption},
    {"Settings", "Ontop", Window::Settings, "sRadioGroup4", Property::Caption},
    {"Settings", "Inthesystemtray", Window::Settings, "sBitBtn8", Property::Caption},
    {"Settings", "IntheTaskbar", Window::Settings, "sBitBtn9", Property::Caption},
    {"Settings", "turnon", Window::Settings, "sBitBtn10", Property::Caption},
    {"Settings", "turnoff", Window::Settings, "sBitBtn11", Property::Caption},
    {"Settings", "ip", Window::Settings, "sLabel1", Property::Caption},
    {"Settings", "port", Window::Settings, "sLabel2", Property::Caption},
    {"Settings", "Useproxysettings", Window::Settings, "sCheckBox1", Property::Caption},
    {"Settings", "Savetheconnectionsettings", Window::Settings, "sBitBtn1", Property::Caption},
    {"Settings", "Closetheprogramafter", Window::Settings, "sLabel3", Property::Caption},
    {"Settings", "minutes", Window::Settings, "sLabel4", Property::Caption},
    {"Settings", "confirm", Window::Settings, "sBitBtn2", Property::Caption},
    {"Settings", "Theprogramwillbeclosedafter", Window::Settings, "sLabel11", Property::Caption},
    {"Settings", "seconds", Window::Settings, "sLabel13", Property::Caption},
    {"Settings", "reset", Window::Settings, "sButton2", Property::Caption},
    {"Settings", "ToviewtheTVchannelsyouneed", Window::Settings, "sLabel5", Property::Caption},
    {"Settings", "AdobeFlashPlayerforInternetExplorer", Window::Settings, "sLabel6", Property::Caption},
    {"Settings", "Install", Window::Settings, "sBitBtn4", Property::Caption},
    {"Settings", "Install", Window::Settings, "sBitBtn6", Property::Caption},
    {"Settings", "Install", Window::Settings, "sBitBtn7", Property::Caption},
    {"Settings", "Help", Window::Settings, "sBitBtn12", Property::Caption},
    {"Settings", "Download", Window::Settings, "sBitBtn13", Property::Caption},
    {"Settings", "Yourversion", Window::Settings, "sLabel15", Property::Caption},
    {"Settings", "Crucialversion", Window::Settings, "sLabel14", Property::Caption},
    {"Settings", "StatusDownloads", Window::Settings, "sLabel16", Property::Caption},
    {"Settings", "confirm", Window::Settings, "sBitBtn14", Property::Caption},
    {"Settings", "Russian", Window::Settings, "sRadioButton1", Property::Caption},
    {"Settings", "Ukrainian", Window::Settings, "sRadioButton2", Property::Caption},
    {"Settings", "English", Window::Settings, "sRadioButton3", Property::Caption},
    {"Settings", "Belarusian", Window::Settings, "sRadioButton4", Property::Caption},
    {"Settings", "Chinese", Window::Settings, "sRadioButton5", Property::Caption},
    {"Settings", "usethepassword", Window::Settings, "sCheckBox2", Property::Caption},
    {"Hint", "Settings", Window::Main, "sSpeedButton1", Property::Hint},
    {"Settings", "turnoff", Window::Main, "sSpeedButton2", Property::Hint},
    {"Hint", "TVProgram", Window::Main, "sSpeedButton3", Property::Hint},
    {"Hint", "Closedsection", Window::Main, "sSpeedButton4", Property::Hint},
    {"Hint", "favorites", Window::Main, "sSpeedButton5", Property::Hint},
    {"Hint", "Donations", Window::Main, "sSpeedButton6", Property::Hint},
    {"Message", "AddtoFavorites", Window::Main, "N1", Property::Caption},
};
static_assert(std::size(Rows) == 61);

void setCaption(QObject *target, const QString &text)
{
    if (auto *button = qobject_cast<QAbstractButton *>(target)) {
        button->setText(text);
    } else if (auto *label = qobject_cast<QLabel *>(target)) {
        label->setText(text);
        label->adjustSize(); // labels are fitted to their text
    } else if (auto *group = qobject_cast<QGroupBox *>(target)) {
        group->setTitle(text);
    } else if (auto *action = qobject_cast<QAction *>(target)) {
        action->setText(text);
    } else if (auto *widget = qobject_cast<QWidget *>(target); widget && widget->isWindow()) {
        widget->setWindowTitle(text);
    }
}

void setTabCaption(QObject *target, const QString &text)
{
    auto *page = qobject_cast<QWidget *>(target);
    for (QObject *p = target ? target->parent() : nullptr; page && p; p = p->parent()) {
        if (auto *tabs = qobject_cast<QTabWidget *>(p)) {
            tabs->setTabText(tabs->indexOf(page), text);
            return;
        }
    }
}

} // namespace

void applyInterfaceTexts(AppContext &ctx)
{
    for (const TextRow &row : Rows) {
        QWidget *window = row.window == Window::Main ? static_cast<QWidget *>(ctx.windows.Form1)
                                                     : ctx.windows.SettingForm;
        if (!window)
            continue;
        const QString name = QString::fromLatin1(row.target);
        QObject *target = name.isEmpty() ? window : window->findChild<QObject *>(name);
        if (!target)
            continue;
        const QString text = ctx.lang(QString::fromLatin1(row.section), QString::fromLatin1(row.key));
        switch (row.property) {
        case Property::Caption:
            setCaption(target, text);
            break;
        case Property::TabCaption:
            setTabCaption(target, text);
            break;
        case Property::Hint:
            if (auto *w = qobject_cast<QWidget *>(target))
                w->setToolTip(text);
            break;
        }
    }
}

} // namespace vidmo
