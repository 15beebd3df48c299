#pragma once

namespace vidmo {

struct AppContext;

// What the main window's tool-bar buttons do.
class ToolBarActions final
{
public:
    explicit ToolBarActions(AppContext &ctx) : m_ctx(ctx) {}

    void openSettings();   // sSpeedButton1: modal
    void blankView();      // sSpeedButton2: ends the television picture and sound
    void openProgramme();  // sSpeedButton3
    void openFavorites();  // sSpeedButton5
    void openDonation();   // sSpeedButton6: modal
    void openHelp();       // sSpeedButton7: in the default browser
    void pin();            // sSpeedButton8
    void unpin();          // sSpeedButton9

private:
    AppContext &m_ctx;
};

} // namespace vidmo
