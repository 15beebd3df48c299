#pragma once

#include "app/secondarywindow.h"

#include <QWidget>

namespace vidmo {

class IWebView;

// The TV programme window: a frame around WebBrowser1, which the channel
// dispatch points at the programme of the channel chosen last.
class TTVprogrammForm final : public SecondaryWindow<QWidget>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 564;
    static constexpr int ClientHeight = 477;

    explicit TTVprogrammForm(AppContext &ctx);

    IWebView *WebBrowser1 = nullptr;
};

} // namespace vidmo
