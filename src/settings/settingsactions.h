#pragma once

#include <QString>

namespace vidmo {

struct AppContext;

// The pages the "Нет видео" tab opens in the default browser.
enum class ComponentPage { Flash32, Flash64, MediaPlayer, Silverlight, Vlc, Help };

// What the settings window's handlers store and report. A failed write throws
// Failure("Unable to write to ...") and ends the handler there.
class SettingsActions final
{
public:
    explicit SettingsActions(AppContext &ctx);

    // Applies the skin at once and stores it.
    void chooseSkin(const QString &name);
    void storeStayOnTop(bool onTop);
    // Acts from the next start only.
    void storeMinimiseToTray(bool toTray);
    // The password changes only for whoever knows the stored one; false with
    // the ErrorSecretCode message otherwise.
    bool changePassword(const QString &oldPassword, const QString &newPassword, bool ask);
    // Host and port are stored only together with the switch on.
    void saveProxy(const QString &host, const QString &port, bool use);

    // The text of the old-password box after a click into it.
    static QString afterPromptClick(const QString &text);

    QString address(ComponentPage page) const;
    void open(ComponentPage page);

    // Where the closed-section password is compared when none is stored: the
    // same default the loader shows.
    static QString defaultPassword() { return QStringLiteral("580"); }

private:
    void message(const char *key);

    AppContext &m_ctx;
};

} // namespace vidmo
