// The outside-site windows, the donation window and the web login window:
// their views, what showing and closing them does, and the login bar's page
// access on a fake page.
#include "app/tform1.h"
#include "testprogram.h"
#include "web/tbrowser2form.h"
#include "web/tdonationform.h"
#include "web/tkorbinaform.h"
#include "web/tnarkomtvform.h"
#include "web/tovegoplayerform.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace vidmo;
using namespace Qt::StringLiterals;
using vidmo::test::FakeControl;
using vidmo::test::FakeForm;
using vidmo::test::FakeWebView;
using vidmo::test::TestProgram;

Q_DECLARE_METATYPE(QVector<vidmo::test::FakeForm>)

namespace {

struct Program
{
    Program()
    {
        p.installShippedLanguageFiles();
        p.start();
        p.form1()->show();
        for (FakeWebView *v : p.webViews.views)
            v->calls.clear();
    }
    QWidget *window(const QString &name)
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() == name)
                return w;
        }
        return nullptr;
    }
    FakeWebView *main() { return static_cast<FakeWebView *>(p.form1()->Chromium1); }

    TestProgram p;
};

FakeControl control(const QString &name, const QString &type = u"text"_s)
{
    FakeControl c;
    c.name = name;
    c.type = type;
    return c;
}

FakeControl failing()
{
    FakeControl c = control(u"broken"_s);
    c.failOnAccess = true;
    return c;
}

// Every value of the page, form by form: "a,b|c".
QString values(const QVector<FakeForm> &forms)
{
    QStringList out;
    for (const FakeForm &f : forms) {
        QStringList v;
        for (const FakeControl &c : f.controls)
            v << c.value;
        out << v.join(u',');
    }
    return out.join(u'|');
}

} // namespace

class TestWebWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void views_data();
    void views();
    void showAndClose_data();
    void showAndClose();
    void setWebFormField_data();
    void setWebFormField();
    void setWebFormFieldWithoutDocumentFails();
    void loginButton();
    void loginButtonErrorShown_data();
    void loginButtonErrorShown();
    void loginButtonStopsAtReplacedPage();
    void clickIntoEditEmptiesIt();
    void donation();
};

void TestWebWindows::views_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("view");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("Korbina") << "KorbinaForm" << "Chromium1" << QRect(-25, -215, 740, 660);
    QTest::newRow("NarkomTV") << "NarkomTVForm" << "Chromium1" << QRect(-15, -165, 760, 890);
    QTest::newRow("Ovego") << "OvegoPlayerForm" << "Chromium1" << QRect(-275, -320, 900, 740);
    QTest::newRow("SeeTV") << "Browser2Form" << "SeeTVWebBrowser" << QRect(-185, -247, 850, 820);
    QTest::newRow("programme") << "TVprogrammForm" << "WebBrowser1" << QRect(0, 0, 564, 477);
}

void TestWebWindows::views()
{
    QFETCH(QString, window);
    QFETCH(QString, view);
    QFETCH(QRect, geometry);
    Program g;
    QWidget *w = g.window(window);
    QVERIFY(w);
    FakeWebView *v = g.p.webViews.find(view, w);
    QVERIFY(v);
    QCOMPARE(v->geometry(), geometry);
    // A resize of the sizeable window leaves the cut-out where it is.
    w->setMinimumSize(0, 0);
    w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    w->resize(w->width() + 50, w->height() + 30);
    QCOMPARE(v->geometry(), geometry);
}

void TestWebWindows::showAndClose_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("blank");
    QTest::newRow("Korbina") << "KorbinaForm" << "Chromium1" << "/title/2.3.html" << "load about:blank";
    QTest::newRow("NarkomTV") << "NarkomTVForm" << "Chromium1" << "/title/2.4.html" << "load about:blank";
    QTest::newRow("Ovego") << "OvegoPlayerForm" << "Chromium1" << "/title/2.4.html" << "load about:blank";
    QTest::newRow("SeeTV") << "Browser2Form" << "SeeTVWebBrowser" << "/title/2.3.html"
                           << "navigate about:blank";
}

void TestWebWindows::showAndClose()
{
    QFETCH(QString, window);
    QFETCH(QString, view);
    QFETCH(QString, title);
    QFETCH(QString, blank);
    Program g;
    QWidget *w = g.window(window);
    FakeWebView *own = g.p.webViews.find(view, w);
    w->show();
    QCOMPARE(g.main()->calls, QStringList{u"load "_s + TestProgram::serverBase() + title});
    QVERIFY(own->calls.isEmpty());
    w->show(); // already shown: no new title page
    QCOMPARE(g.main()->calls.size(), 1);
    QVERIFY(w->close());
    QVERIFY(w->isHidden());
    QCOMPARE(own->calls, QStringList{blank});
    QCOMPARE(g.main()->calls.size(), 1);
    QVERIFY(g.p.form1()->isVisible());
}

void TestWebWindows::setWebFormField_data()
{
    QTest::addColumn<QVector<FakeForm>>("page");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("values");

    const FakeControl login = control(u"login"_s), pass = control(u"pass"_s),
                      other = control(u"q"_s);
    QTest::newRow("one field") << QVector<FakeForm>{{{other, login, pass}}} << "login" << true
                               << ",v,";
    QTest::newRow("two forms, both get it")
        << QVector<FakeForm>{{{login}}, {{other, login}}} << "login" << true << "v|,v";
    QTest::newRow("every match of a form") << QVector<FakeForm>{{{login, login}}} << "login" << true
                                           << "v,v";
    QTest::newRow("name is case-sensitive") << QVector<FakeForm>{{{control(u"Login"_s)}}} << "login"
                                            << false << "";
    QTest::newRow("no forms") << QVector<FakeForm>{} << "login" << false << "";
    QTest::newRow("error ends the search quietly")
        << QVector<FakeForm>{{{login, failing(), login}}, {{login}}} << "login" << true << "v,,|";
    QTest::newRow("error before any match")
        << QVector<FakeForm>{{{failing(), login}}, {{login}}} << "login" << false << ",|";
}

void TestWebWindows::setWebFormField()
{
    QFETCH(QVector<FakeForm>, page);
    QFETCH(QString, field);
    QFETCH(bool, result);
    QFETCH(QString, values);
    FakeWebView view(nullptr);
    view.forms = page;
    QCOMPARE(SetWebFormField(view, field, u"v"_s), result);
    QCOMPARE(::values(view.forms), values);
}

void TestWebWindows::setWebFormFieldWithoutDocumentFails()
{
    FakeWebView view(nullptr);
    view.noDocument = true;
    QVERIFY_THROWS_EXCEPTION(PageAccessError, SetWebFormField(view, u"login"_s, u"v"_s));
}

void TestWebWindows::loginButton()
{
    Program g;
    TBrowser2Form *login = g.p.ctx().windows.Browser2Form;
    auto *page = static_cast<FakeWebView *>(login->SeeTVWebBrowser);
    page->forms = {{{control(u"login"_s), control(u"pass"_s), control(u"go"_s, u"submit"_s)}},
                   {{control(u"login"_s), control(u"s"_s, u"submit"_s), control(u"b"_s, u"button"_s)}}};
    QCOMPARE(login->sEdit1->text(), u"Vidmo"_s);
    QCOMPARE(login->sEdit2->text(), u"Mirel"_s);
    QCOMPARE(login->sEdit2->echoMode(), QLineEdit::Password);
    login->sBitBtn1->click();
    QCOMPARE(values(page->forms), u"Vidmo,Mirel,|Vidmo,,"_s);
    QCOMPARE(page->forms[0].controls[2].clicks, 1);
    QCOMPARE(page->forms[1].controls[1].clicks, 1);
    QCOMPARE(page->forms[1].controls[2].clicks, 0);
    QVERIFY(g.p.messageBox.shown.isEmpty());
}

void TestWebWindows::loginButtonErrorShown_data()
{
    QTest::addColumn<bool>("noDocument");
    QTest::addColumn<int>("clicksBefore"); // submits clicked before the error
    QTest::newRow("no document") << true << 0;
    QTest::newRow("error among the submits") << false << 1;
}

void TestWebWindows::loginButtonErrorShown()
{
    QFETCH(bool, noDocument);
    QFETCH(int, clicksBefore);
    Program g;
    TBrowser2Form *login = g.p.ctx().windows.Browser2Form;
    auto *page = static_cast<FakeWebView *>(login->SeeTVWebBrowser);
    page->noDocument = noDocument;
    page->forms = {{{control(u"go"_s, u"submit"_s), failing(), control(u"go2"_s, u"submit"_s)}}};
    login->sBitBtn1->click();
    QCOMPARE(g.p.messageBox.shown.size(), 1);
    QVERIFY(g.p.messageBox.shown[0].startsWith(u"Page access failed"_s));
    QCOMPARE(page->forms[0].controls[0].clicks, clicksBefore);
    QCOMPARE(page->forms[0].controls[2].clicks, 0);
}

void TestWebWindows::loginButtonStopsAtReplacedPage()
{
    Program g;
    TBrowser2Form *login = g.p.ctx().windows.Browser2Form;
    auto *page = static_cast<FakeWebView *>(login->SeeTVWebBrowser);
    FakeControl sends = control(u"go"_s, u"submit"_s);
    sends.replacesPage = true;
    page->forms = {{{control(u"login"_s), sends, control(u"more"_s, u"submit"_s)}},
                   {{control(u"s"_s, u"submit"_s)}}};
    login->sBitBtn1->click();
    // The form went off; nothing after it is clicked, and nothing is reported.
    QCOMPARE(page->forms[0].controls[0].value, u"Vidmo"_s);
    QCOMPARE(page->forms[0].controls[1].clicks, 1);
    QCOMPARE(page->forms[0].controls[2].clicks, 0);
    QCOMPARE(page->forms[1].controls[0].clicks, 0);
    QVERIFY2(g.p.messageBox.shown.isEmpty(), qPrintable(g.p.messageBox.shown.join(u" | "_s)));
}

void TestWebWindows::clickIntoEditEmptiesIt()
{
    Program g;
    TBrowser2Form *login = g.p.ctx().windows.Browser2Form;
    login->show();
    QTest::mouseClick(login->sEdit2, Qt::LeftButton);
    QVERIFY(login->sEdit2->text().isEmpty());
    QCOMPARE(login->sEdit1->text(), u"Vidmo"_s);
    login->sEdit1->setText(u"typed"_s);
    QTest::mouseClick(login->sEdit1, Qt::LeftButton);
    QVERIFY(login->sEdit1->text().isEmpty());
}

void TestWebWindows::donation()
{
    Program g;
    TDonationForm *d = g.p.ctx().windows.DonationForm;
    const QStringList lines = d->sMemo1->toPlainText().split(u'\n');
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], u"WebMoney:"_s);
    QVERIFY(lines[3].isEmpty());
    QCOMPARE(lines[4], u"Яндекс.Деньги:"_s);
    QVERIFY(d->sMemo1->isReadOnly());
    QCOMPARE(d->sBitBtn1->text(), u"      Отправить      SMS"_s);
    d->show();
    d->sBitBtn1->click();
    QCOMPARE(g.p.shell.opened, QStringList{QString::fromLatin1(TDonationForm::SmsPageAddress)});
    QVERIFY(d->isVisible()); // the window stays open
}

QTEST_MAIN(TestWebWindows)
#include "tst_webwindows.moc"
