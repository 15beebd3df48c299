#include "app/windowutil.h"

#include <QEvent>
#include <QFile>
#include <QMouseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <cmath>

namespace vidmo {

void setupWindow(QWidget *window, const QString &objectName, int clientWidth, int clientHeight,
                 TitleButtons buttons, bool sizeable)
{
    window->setObjectName(objectName);
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
    switch (buttons) {
    case TitleButtons::TitleOnly:
        flags |= Qt::WindowTitleHint;
        break;
    case TitleButtons::Close:
        flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        break;
    case TitleButtons::CloseMinimize:
        flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                 | Qt::WindowMinimizeButtonHint;
        break;
    }
    if (!sizeable)
        flags |= Qt::MSWindowsFixedSizeDialogHint;
    window->setWindowFlags(flags);
    if (sizeable)
        window->resize(clientWidth, clientHeight);
    else
        window->setFixedSize(clientWidth, clientHeight);
}

namespace {

class LeftPressFilter final : public QObject
{
public:
    LeftPressFilter(QWidget *widget, std::function<void()> handler)
        : QObject(widget), m_handler(std::move(handler))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_handler();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_handler;
};

} // namespace

void onLeftPress(QWidget *widget, std::function<void()> handler)
{
    new LeftPressFilter(widget, std::move(handler));
}

void bringToFront(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

void centreOn(QWidget *window, const QWidget *reference)
{
    QRect area;
    if (reference && reference->isVisible()) {
        area = reference->frameGeometry();
    } else if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    } else {
        return;
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    window->move(frame.topLeft());
}

void setStayOnTop(QWidget *window, bool onTop)
{
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (flags == window->windowFlags())
        return;
    if (QWindow *handle = window->windowHandle()) {
        // setWindowFlags() would hide a shown window and show it again, which
        // runs its show handler; tell the window system directly instead.
        window->overrideWindowFlags(flags);
        handle->setFlags(flags);
    } else {
        window->setWindowFlags(flags);
    }
}

bool isStayOnTop(const QWidget *window)
{
    return window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

QFont layoutFont(const QString &family, int points, bool bold)
{
    QFont font(family);
    font.setPixelSize(int(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

void loadLayoutFonts()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    const char *const files[] = {"/usr/share/wine/fonts/tahoma.ttf",
                                 "/usr/share/wine/fonts/tahomabd.ttf",
                                 "/usr/share/wine/fonts/ms_sans_serif.ttf"};
    for (const char *file : files) {
        if (QFile::exists(QString::fromLatin1(file)))
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    }
    // Where the files are missing, let the families fall back to a sans font
    // of similar width rather than whatever fontconfig picks first.
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed")});
}

} // namespace vidmo
