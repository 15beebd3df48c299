#include "app/trayminimize.h"

#include "app/appcontext.h"
#include "app/tform1.h"
#include "settings/tsettingform.h"

#include <QEvent>
#include <QLineEdit>
#include <QSystemTrayIcon>

namespace vidmo {

TrayMinimize::TrayMinimize(AppContext &ctx) : QObject(nullptr), m_ctx(ctx) {}

QString TrayMinimize::trayValue() const
{
    return m_ctx.windows.SettingForm->sEdit6->text();
}

void TrayMinimize::showTrayIcon()
{
    if (trayValue() == u"1")
        m_ctx.windows.Form1->TrayIcon1->show();
}

void TrayMinimize::install()
{
    // Installing again (every show of the window) keeps one filter.
    m_ctx.windows.Form1->installEventFilter(this);
}

bool TrayMinimize::eventFilter(QObject *watched, QEvent *event)
{
    TForm1 *form = m_ctx.windows.Form1;
    // Answered once the minimise is over: whoever minimised the window may
    // still show it as part of that (QWidget::showMinimized does).
    if (watched == form && event->type() == QEvent::WindowStateChange && form->isMinimized())
        QMetaObject::invokeMethod(form, &TForm1::AppMinimize, Qt::QueuedConnection);
    return false;
}

void TrayMinimize::minimise()
{
    TForm1 *form = m_ctx.windows.Form1;
    const QString value = trayValue();
    // Two independent tests, as the setting has two meaningful values.
    if (value == u"1")
        form->hide(); // off the screen and off the taskbar; the tray icon leads back
    if (value == u"0")
        form->showMinimized();
}

void TrayMinimize::restoreFromTray()
{
    TForm1 *form = m_ctx.windows.Form1;
    m_restoring = true;
    form->setWindowState(form->windowState() & ~Qt::WindowMinimized);
    form->show();
    m_restoring = false;
    form->raise();
    form->activateWindow();
}

} // namespace vidmo
