#pragma once

namespace vidmo {

struct AppContext;

// The closed section: opened by the heart button, behind the password dialog
// when the password is switched on. The password and its switch are read from
// the settings window's controls at the moment of use.
class ClosedSection final
{
public:
    explicit ClosedSection(AppContext &ctx);

    // sSpeedButton4Click of the main window.
    void sSpeedButton4Click();
    // Turns the first grid row into the two sub-category buttons and shows
    // the erotica sub-page through the dispatcher.
    void open();
    // sBitBtn1Click of the password dialog.
    void checkPassword();

private:
    AppContext &m_ctx;
};

} // namespace vidmo
