#include "settings/settingsactions.h"

#include "app/appcontext.h"
#include "app/platform.h"
#include "app/skinengine.h"

namespace vidmo {

namespace {
QString S(const char *name) { return QString::fromLatin1(name); }
} // namespace

SettingsActions::SettingsActions(AppContext &ctx) : m_ctx(ctx) {}

void SettingsActions::chooseSkin(const QString &name)
{
    m_ctx.skins->setSkin(name);
    m_ctx.settingsFile->writeString(S("Skin"), S("useSkin"), name);
}

void SettingsActions::storeStayOnTop(bool onTop)
{
    m_ctx.settingsFile->writeString(S("OnTop"), S("useOnTop"),
                                    onTop ? S("1") : S("0"));
}

void SettingsActions::storeMinimiseToTray(bool toTray)
{
    m_ctx.settingsFile->writeString(S("InTray"), S("useInTray"),
                                    toTray ? S("1") : S("0"));
}

bool SettingsActions::changePassword(const QString &oldPassword, const QString &newPassword,
                                     bool ask)
{
    IniFile &ini = *m_ctx.settingsFile;
    // Not the new text as the fallback: that would let anyone set a password
    // without knowing the current one.
    const QString stored =
        ini.readString(S("SecretCode"), S("useSecretCode"), defaultPassword());
    if (oldPassword != stored) {
        message("ErrorSecretCode");
        return false;
    }
    ini.writeString(S("SecretCode"), S("useSecretCode"), newPassword);
    ini.writeBool(S("SecretCode"), S("SelectSecretCode"), ask);
    message("changes");
    return true;
}

void SettingsActions::saveProxy(const QString &host, const QString &port, bool use)
{
    IniFile &ini = *m_ctx.settingsFile;
    if (use) {
        ini.writeString(S("Proxy"), S("useIP"), host);
        ini.writeString(S("Proxy"), S("usePort"), port);
    }
    ini.writeBool(S("Proxy"), S("useProxy"), use);
    message("changes");
}

QString SettingsActions::afterPromptClick(const QString &text)
{
    return text == QStringLiteral("Старый пароль") ? QString() : text;
}

QString SettingsActions::address(ComponentPage page) const
{
    switch (page) {
    case ComponentPage::Flash32:
        return m_ctx.server(QStringLiteral("/data/install_flash_player_32bit.exe"));
    case ComponentPage::Flash64:
        return m_ctx.server(QStringLiteral("/data/install_flash_player_64bit.exe"));
    case ComponentPage::MediaPlayer:
        // The plug-in maker's own site; its host is ours to fill in.
        return QStringLiteral(
            "http://wmp-plugin-maker.example/windows-media-player-firefox-plugin-download");
    case ComponentPage::Silverlight:
        return QStringLiteral(
            "http://www.microsoft.com/getsilverlight/Get-Started/Install/Default.aspx");
    case ComponentPage::Vlc:
        return m_ctx.server(QStringLiteral("/data/vlc-1.0.5-win32.exe"));
    case ComponentPage::Help:
        return m_ctx.server(QStringLiteral("/page6.php"));
    }
    return QString();
}

void SettingsActions::open(ComponentPage page)
{
    m_ctx.services.shell->open(address(page));
}

void SettingsActions::message(const char *key)
{
    m_ctx.services.messageBox->show(m_ctx.lang(S("Message"), S(key)));
}

} // namespace vidmo
