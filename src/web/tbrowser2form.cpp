#include "web/tbrowser2form.h"

#include "app/guard.h"
#include "app/skinbutton.h"
#include "web/webview.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QShowEvent>

namespace vidmo {

bool SetWebFormField(IWebView &browser, const QString &fieldName, const QString &value)
{
    bool result = false;
    const int forms = browser.formCount();
    for (int i = 0; i < forms; ++i) {
        const int controls = browser.formLength(i);
        try {
            for (int j = 0; j < controls; ++j) {
                if (browser.itemName(i, j) == fieldName) {
                    browser.setItemValue(i, j, value);
                    result = true;
                }
            }
        } catch (const PageAccessError &) {
            return result;
        }
    }
    return result;
}

TBrowser2Form::TBrowser2Form(AppContext &ctx) : SecondaryWindow(ctx)
{
    setupWindow(this, QStringLiteral("Browser2Form"), ClientWidth, ClientHeight, TitleButtons::Close);
    setFont(layoutFont(QStringLiteral("Tahoma"), 8));

    SeeTVWebBrowser = m_ctx.services.webViews->create(this);
    SeeTVWebBrowser->widget()->setObjectName(QStringLiteral("SeeTVWebBrowser"));
    SeeTVWebBrowser->widget()->setGeometry(-185, -247, 850, 820);

    // Made after the view, so it lies over the view's lower part.
    sPanel1 = new QFrame(this);
    sPanel1->setObjectName(QStringLiteral("sPanel1"));
    sPanel1->setFrameShape(QFrame::StyledPanel);
    sPanel1->setAutoFillBackground(true);
    sPanel1->setGeometry(0, ClientHeight - 35, ClientWidth, 35);

    sLabel1 = new QLabel(QStringLiteral("Логин"), sPanel1);
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    sLabel1->move(10, 9);
    sLabel1->adjustSize();

    sEdit1 = new QLineEdit(QStringLiteral("Vidmo"), sPanel1);
    sEdit1->setObjectName(QStringLiteral("sEdit1"));
    sEdit1->setGeometry(45, 6, 121, 21);

    sLabel2 = new QLabel(QStringLiteral("Пароль"), sPanel1);
    sLabel2->setObjectName(QStringLiteral("sLabel2"));
    sLabel2->move(175, 9);
    sLabel2->adjustSize();

    sEdit2 = new QLineEdit(QStringLiteral("Mirel"), sPanel1);
    sEdit2->setObjectName(QStringLiteral("sEdit2"));
    sEdit2->setGeometry(220, 6, 121, 21);
    sEdit2->setEchoMode(QLineEdit::Password);

    sBitBtn1 = new SkinButton(QStringLiteral("sBitBtn1"), QStringLiteral("Авторизироваться"), sPanel1);
    sBitBtn1->setGeometry(360, 5, 110, 25);

    onLeftPress(sEdit1, [this] { sEdit1Click(); });
    onLeftPress(sEdit2, [this] { sEdit2Click(); });
    connect(sBitBtn1, &QPushButton::clicked, this, &TBrowser2Form::sBitBtn1Click);
}

void TBrowser2Form::sBitBtn1Click()
{
    // A failed page access ends the handler and shows its text, as any
    // uncaught error does.
    guard(*m_ctx.services.messageBox, [this] { login(); });
}

void TBrowser2Form::login()
{
    IWebView &page = *SeeTVWebBrowser;
    SetWebFormField(page, QStringLiteral("login"), sEdit1->text());
    SetWebFormField(page, QStringLiteral("pass"), sEdit2->text());
    try {
        const int forms = page.formCount();
        for (int i = 0; i < forms; ++i) {
            const int elements = page.elementsLength(i);
            for (int j = 0; j < elements; ++j) {
                if (page.elementType(i, j) == QLatin1String("submit"))
                    page.clickElement(i, j);
            }
        }
    } catch (const PageReplacedError &) {
        // A submit clicked above sent its form and the answer has replaced the
        // page: the login is on its way, and what the view shows now is not
        // ours to click through.
    }
}

// A click into an edit empties it, so a login or password is always typed whole.
void TBrowser2Form::sEdit1Click() { sEdit1->clear(); }
void TBrowser2Form::sEdit2Click() { sEdit2->clear(); }

void TBrowser2Form::showEvent(QShowEvent *event)
{
    SecondaryWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TBrowser2Form::closeEvent(QCloseEvent *event)
{
    FormClose();
    SecondaryWindow::closeEvent(event);
}

void TBrowser2Form::FormShow()
{
    m_ctx.windows.Form1->Chromium1->load(m_ctx.server(QStringLiteral("/title/2.3.html")));
}

void TBrowser2Form::FormClose()
{
    SeeTVWebBrowser->navigate(QStringLiteral("about:blank"));
}

} // namespace vidmo
