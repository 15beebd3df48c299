#pragma once

#include "app/secondarywindow.h"

#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vidmo {

class IWebView;

// Sets value on every control named fieldName (exact, case-sensitive) of
// every form of the page. True when at least one was set. A failure while
// walking a form's controls ends the search quietly; failing to reach the
// forms or their counts is left to the caller.
bool SetWebFormField(IWebView &browser, const QString &fieldName, const QString &value);

// The web login window: a cut-out of the SeeTV site's page and, below it, a
// login bar that fills the page's login form and submits it.
class TBrowser2Form final : public SecondaryWindow<QWidget>
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 664;
    static constexpr int ClientHeight = 608;

    explicit TBrowser2Form(AppContext &ctx);

    IWebView *SeeTVWebBrowser = nullptr;
    QFrame *sPanel1 = nullptr;
    QLabel *sLabel1 = nullptr;
    QLineEdit *sEdit1 = nullptr;
    QLabel *sLabel2 = nullptr;
    QLineEdit *sEdit2 = nullptr;
    QPushButton *sBitBtn1 = nullptr;

public Q_SLOTS:
    void sBitBtn1Click();
    void sEdit1Click();
    void sEdit2Click();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void login();
    void FormShow();
    void FormClose();
};

} // namespace vidmo
