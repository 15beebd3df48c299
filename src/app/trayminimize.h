#pragma once

#include <QObject>
#include <QString>

namespace vidmo {

struct AppContext;

// Minimise to the tray. The tray value is the settings window's, as loaded
// at start: "1" sends a minimised program to the tray icon, "0" keeps it on
// the taskbar, anything else leaves the window system's minimise alone.
class TrayMinimize final : public QObject
{
    Q_OBJECT

public:
    explicit TrayMinimize(AppContext &ctx);

    QString trayValue() const;

    // Shows the tray icon for the value "1"; nothing ever hides it again.
    void showTrayIcon();
    // Makes minimise() the answer to the main window being minimised.
    void install();

    void minimise();         // AppMinimize
    void restoreFromTray();  // TrayIcon1DblClick

    // True while the window comes back from the tray: that is no new show
    // of the window, so its show handler must not run.
    bool restoring() const { return m_restoring; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    AppContext &m_ctx;
    bool m_restoring = false;
};

} // namespace vidmo
