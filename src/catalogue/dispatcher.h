#pragma once

namespace vidmo {

struct AppContext;
struct TChannelEntry;

// Shows the outside site's window of the row (title page into the main view
// when it was hidden) and opens the row's address in it. False when the row
// names no window.
bool openOutsideSite(AppContext &ctx, const TChannelEntry &row);

// StartTVButtonClick: carries out every row of the channel catalogue whose
// key equals the caption of the main window's StartTVButton.
class ChannelDispatcher final
{
public:
    explicit ChannelDispatcher(AppContext &ctx);

    void StartTVButtonClick();

private:
    void run(const TChannelEntry &row);
    void showProgramme(const TChannelEntry &row);

    AppContext &m_ctx;
};

} // namespace vidmo
