#pragma once

#include "app/secondarywindow.h"

#include <QRect>
#include <QWidget>

namespace vidmo {

class IWebView;

// An outside site's window: its view is larger than the window and sits at a
// negative offset, so only a cut-out of the site's page shows. While it is
// shown the main view holds a title page; closing it silences the site.
class OutsideSiteWindow : public SecondaryWindow<QWidget>
{
public:
    struct Layout
    {
        const char *objectName;
        QSize client;
        TitleButtons buttons;
        bool sizeable;
        QRect view;            // Chromium1, relative to the window
        const char *titlePage; // on the project web server
    };

    OutsideSiteWindow(AppContext &ctx, const Layout &layout);

    IWebView *Chromium1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void FormClose();

    QString m_titlePage;
};

} // namespace vidmo
