#pragma once

#include "app/secondarywindow.h"

#include <QWidget>

namespace vidmo {

class IWebView;

// An outside site's window: its view is larger than the window and sits at a
// negative offset, so only a cut-out of the site's page shows.
class TKorbinaForm final : public SecondaryWindow<QWidget>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 714;
    static constexpr int ClientHeight = 423;

    explicit TKorbinaForm(AppContext &ctx);

    IWebView *Chromium1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void FormClose();
};

} // namespace vidmo
