#pragma once

namespace vidmo {

struct AppContext;
struct TChannelEntry;

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
    void showOutsideWindow(const TChannelEntry &row);

    AppContext &m_ctx;
};

} // namespace vidmo
