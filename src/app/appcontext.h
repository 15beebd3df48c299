#pragma once

#include "settings/inifile.h"

#include <QString>

#include <memory>

namespace vidmo {

class IMessageBox;
class IShell;
class IWebViewFactory;
class IHttpClient;
class IAudioEngine;
class SkinEngine;

class TForm1;
class TSettingForm;
class TDonationForm;
class TFavoriteForm;
class TTVprogrammForm;
class TForm2;
class TBrowser2Form;
class TKorbinaForm;
class TRadioSaveForm;
class TRadioForm;
class TMyRadioForm;
class TOvegoPlayerForm;
class TNarkomTVForm;

// The platform pieces the windows use. The program block gives the real ones;
// tests give doubles that record the calls. Windows never create them.
struct Services
{
    QString programDir;   // the executable's directory, with a trailing '/'
    QString serverBase;   // the project web server, e.g. "http://host" (no trailing '/')
    IMessageBox *messageBox = nullptr;
    IShell *shell = nullptr;
    IWebViewFactory *webViews = nullptr;
    IHttpClient *http = nullptr;
    IAudioEngine *audio = nullptr;
};

// The windows, each created once by the program block, in this order.
struct Windows
{
    TForm1 *Form1 = nullptr;
    TSettingForm *SettingForm = nullptr;
    TDonationForm *DonationForm = nullptr;
    TFavoriteForm *FavoriteForm = nullptr;
    TTVprogrammForm *TVprogrammForm = nullptr;
    TForm2 *Form2 = nullptr;
    TBrowser2Form *Browser2Form = nullptr;
    TKorbinaForm *KorbinaForm = nullptr;
    TRadioSaveForm *RadioSaveForm = nullptr;
    TRadioForm *RadioForm = nullptr;
    TMyRadioForm *MyRadioForm = nullptr;
    TOvegoPlayerForm *OvegoPlayerForm = nullptr;
    TNarkomTVForm *NarkomTVForm = nullptr;
};

// What the program shares between its windows.
struct AppContext
{
    Services services;
    Windows windows;
    SkinEngine *skins = nullptr;       // sSkinManager1
    IniFile *settingsFile = nullptr;   // Setting.ini, opened by the settings window
    IniFile *languageFile = nullptr;   // the chosen language file, opened likewise
    // Keeps the language file open until the process ends, after the window
    // that opened it is gone.
    std::unique_ptr<IniFile> languageFileStore;

    // A text of the language file, read now; "0" when file, section or key is missing.
    QString lang(const QString &section, const QString &key) const;
    // An address on the project web server; path begins with '/'.
    QString server(const QString &path) const { return services.serverBase + path; }
};

} // namespace vidmo
