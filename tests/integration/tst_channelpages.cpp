// The channel grid against the real Qt WebEngine: a grid button loads its
// generated player page into the main view (the path with a trailing blank
// too), and the login window fills and submits a page's form posted to a
// loopback server. A placeholder page asks its player host only when that
// host is a real one. And every channel of every page of the grid does what
// its catalogue rows say, on the real web views and the real audio engine.
#include "app/programblock.h"
#include "app/skinbutton.h"
#include "app/tform1.h"
#include "catalogue/catalogue.h"
#include "navigation/categorynavigator.h"
#include "navigation/categorypages.h"
#include "radio/gstaudioengine.h"
#include "web/outsidesitewindow.h"
#include "web/tkorbinaform.h"
#include "web/tnarkomtvform.h"
#include "web/tovegoplayerform.h"
#include "web/ttvprogrammform.h"
#include "fakes.h"
#include "loopbackhttpserver.h"
#include "web/qtwebview.h"
#include "web/tbrowser2form.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>
#include <QWebEnginePage>

#include <memory>

using namespace vidmo;
using namespace Qt::StringLiterals;
using vidmo::test::LoopbackHttpServer;

namespace {

// The whole program block on real web views, in a program directory of its
// own that borrows the generated page tree.
struct RealProgram
{
    RealProgram()
    {
        const QString dir = home.path() + u'/';
        QDir().mkpath(dir + u"Language"_s);
        QFile::copy(QStringLiteral(VIDMO_SOURCE_DIR "/data/Language/Russian.lng"),
                    dir + u"Language/Russian.lng"_s);
        QFile::link(QStringLiteral(VIDMO_PROGRAM_DIR "channel"), dir + u"channel"_s);
        for (const char *path : {"/start8", "/title/2.3.html", "/title/2.4.html"})
            server.serve(path, "<html><body>server page</body></html>");

        Services s;
        s.programDir = dir;
        s.serverBase = server.url("");
        s.messageBox = &box;
        s.shell = &shell;
        s.webViews = &views;
        s.http = &http;
        s.audio = &audio;
        block = std::make_unique<ProgramBlock>(std::move(s));
        block->createWindows();
        form()->show();
    }
    TForm1 *form() { return block->context().windows.Form1; }
    QtWebView *mainView() { return static_cast<QtWebView *>(form()->Chromium1); }

    QTemporaryDir home;
    LoopbackHttpServer server;
    test::FakeMessageBox box;
    test::FakeShell shell;
    test::FakeHttpClient http;
    GstAudioEngine audio;
    QtWebViewFactory views;
    std::unique_ptr<ProgramBlock> block;
};

QVariant evaluate(QWebEnginePage *page, const QString &script)
{
    auto result = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
    page->runJavaScript(script, [result](const QVariant &v) { *result = {true, v}; });
    if (!QTest::qWaitFor([&] { return result->first; }, 10000))
        return u"<no answer>"_s;
    return result->second;
}

} // namespace

class TestChannelPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gridButtonLoadsPlayerPage_data();
    void gridButtonLoadsPlayerPage();
    void loginFillsAndSubmits();
    void playerFrameAsksOnlyARealHost_data();
    void playerFrameAsksOnlyARealHost();
    void everyChannelOfEveryPage();
};

void TestChannelPages::gridButtonLoadsPlayerPage_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("file");
    QTest::newRow("music page") << 3 << 10 << u"channel/music/a-one.htm"_s;
    QTest::newRow("trailing blank") << 3 << 33 << u"channel/music/europa+.htm"_s;
    QTest::newRow("blanks in the caption") << 5 << 11 << u"channel/sciences/animal.htm"_s;
}

void TestChannelPages::gridButtonLoadsPlayerPage()
{
    QFETCH(int, category);
    QFETCH(int, button);
    QFETCH(QString, file);

    RealProgram program;
    QtWebView *view = program.mainView();
    QSignalSpy finished(view, &QWebEngineView::loadFinished);
    program.form()->sBitBtn(category)->click();
    SkinButton *channel = program.form()->sBitBtn(button);
    channel->click();
    // The start page may finish first; wait for the channel's own page.
    QTRY_VERIFY_WITH_TIMEOUT(view->url().isLocalFile() && !finished.isEmpty()
                                 && finished.last().first().toBool(),
                             20000);
    QCOMPARE(QFileInfo(view->url().toLocalFile()).canonicalFilePath(),
             QFileInfo(QStringLiteral(VIDMO_PROGRAM_DIR) + file).canonicalFilePath());
    // The page names its channel, blanks and all.
    QCOMPARE(evaluate(view->page(), u"document.querySelector('h1').textContent"_s).toString(),
             channel->text());
}

void TestChannelPages::loginFillsAndSubmits()
{
    RealProgram program;
    // Two forms with "login", one submit: the submitted form also carries the
    // second form's login, copied when it is submitted.
    program.server.serve("/see/login.html",
                         "<html><body>"
                         "<form method='post' action='/post'"
                         " onsubmit=\"this.other.value = document.forms[1].login.value\">"
                         "<input name='login'><input name='pass' type='password'>"
                         "<input name='other' type='hidden'><input type='submit' value='go'>"
                         "</form>"
                         "<form action='/never'><input name='login'><input name='q'></form>"
                         "</body></html>");
    program.server.serve("/post", "<html><body>done</body></html>");
    TBrowser2Form *login = program.block->context().windows.Browser2Form;
    login->show();
    auto *page = static_cast<QtWebView *>(login->SeeTVWebBrowser);
    QSignalSpy finished(page, &QWebEngineView::loadFinished);
    page->navigate(program.server.url("/see/login.html"));
    QVERIFY(finished.wait(20000));
    QVERIFY(finished.last().first().toBool());

    login->sBitBtn1->click();
    const auto posted = [&program] {
        for (const auto &r : program.server.requests()) {
            if (r.path == "/post")
                return r;
        }
        return test::RecordedRequest();
    };
    QTRY_VERIFY_WITH_TIMEOUT(!posted().method.isEmpty(), 20000);
    const test::RecordedRequest request = posted();
    QCOMPARE(request.method, QByteArray("POST"));
    const QUrlQuery fields(QString::fromUtf8(request.body));
    QCOMPARE(fields.queryItemValue(u"login"_s), u"Vidmo"_s);
    QCOMPARE(fields.queryItemValue(u"pass"_s), u"Mirel"_s);
    QCOMPARE(fields.queryItemValue(u"other"_s), u"Vidmo"_s);
    QVERIFY2(program.box.shown.isEmpty(), qPrintable(program.box.shown.join(u" | "_s)));
    for (const auto &r : program.server.requests())
        QVERIFY(r.path != "/never");
}

void TestChannelPages::playerFrameAsksOnlyARealHost_data()
{
    QTest::addColumn<QString>("host"); // empty: as generated
    QTest::addColumn<bool>("asked");
    QTest::newRow("placeholder host as generated") << QString() << false;
    QTest::newRow("reserved .invalid name") << u"http://player.invalid"_s << false;
    QTest::newRow("real host") << u"loopback"_s << true;
}

void TestChannelPages::playerFrameAsksOnlyARealHost()
{
    QFETCH(QString, host);
    QFETCH(bool, asked);

    LoopbackHttpServer server;
    server.serve("/public/ort.htm", "<html><body>player</body></html>");
    QFile generated(QStringLiteral(VIDMO_PROGRAM_DIR "channel/public/ort.htm"));
    QVERIFY(generated.open(QIODevice::ReadOnly));
    QString html = QString::fromUtf8(generated.readAll());
    const QString placeholder = u"data-player=\"http://"_s + catalogueHost(u"player"_s) + u'/';
    QVERIFY2(html.contains(placeholder), qPrintable(html));
    if (!host.isEmpty()) {
        const QString base = host == u"loopback"_s ? server.url("") : host;
        html.replace(placeholder, u"data-player=\""_s + base + u'/');
    }
    QTemporaryDir dir;
    QFile page(dir.filePath(u"ort.htm"_s));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write(html.toUtf8());
    page.close();

    QtWebViewFactory views;
    QWidget window;
    window.resize(700, 500);
    auto *view = static_cast<QtWebView *>(views.create(&window));
    view->resize(700, 500);
    window.show();
    QSignalSpy finished(view, &QWebEngineView::loadFinished);
    view->load(page.fileName());
    QVERIFY(finished.wait(20000));
    QVERIFY(finished.first().first().toBool());

    // The frame is attached from the page's load handler, which has run by now.
    const QVariant src = evaluate(view->page(), u"document.getElementById('player').getAttribute('src')"_s);
    if (asked) {
        QCOMPARE(src.toString(), server.url("/public/ort.htm"));
        QTRY_VERIFY_WITH_TIMEOUT(!server.requests().isEmpty(), 10000);
        QCOMPARE(server.requests().first().path, QByteArray("/public/ort.htm"));
    } else {
        QVERIFY2(src.isNull(), qPrintable(src.toString()));
    }
}

namespace {

// The window an outside-site row shows, and the view it loads the site into.
std::pair<QWidget *, IWebView *> outsideWindow(const Windows &w, ChannelWindow which)
{
    switch (which) {
    case ChannelWindow::TKorbinaForm:
        return {w.KorbinaForm, w.KorbinaForm->Chromium1};
    case ChannelWindow::TNarkomTVForm:
        return {w.NarkomTVForm, w.NarkomTVForm->Chromium1};
    case ChannelWindow::TOvegoPlayerForm:
        return {w.OvegoPlayerForm, w.OvegoPlayerForm->Chromium1};
    case ChannelWindow::TBrowser2Form:
        return {w.Browser2Form, w.Browser2Form->SeeTVWebBrowser};
    case ChannelWindow::None:
        break;
    }
    return {nullptr, nullptr};
}

} // namespace

void TestChannelPages::everyChannelOfEveryPage()
{
    RealProgram program;
    AppContext &ctx = program.block->context();
    TForm1 *form = program.form();
    QtWebView *main = program.mainView();
    IWebView *programme = ctx.windows.TVprogrammForm->WebBrowser1;
    const QString dir = ctx.services.programDir;
    int clicks = 0, pages = 0, stations = 0, sites = 0;

    for (const CategoryPage &category : categoryPages()) {
        CategoryNavigator(ctx).applyPage(category.key);
        for (SkinButton *button : form->gridButtons()) {
            const QString caption = button->text();
            if (!button->isVisibleTo(form) || caption.isEmpty())
                continue;
            const QString where = category.key + u": \""_s + caption + u'"';
            QVector<const TChannelEntry *> rows;
            bool subPage = false;
            for (const TChannelEntry &row : channelCatalogue()) {
                if (row.Kind == ChannelKind::ClosedSubPage)
                    subPage |= ctx.lang(u"Category"_s, row.CategoryKey) == caption;
                else if (row.Caption == caption)
                    rows << &row;
            }
            if (subPage)
                continue; // it turns the page; the sub-page is swept on its own
            QVERIFY2(!rows.isEmpty(), qPrintable(where + u" has no row"_s));

            const std::uint32_t streamBefore = form->RadioStream;
            const qsizetype openedBefore = program.shell.opened.size();
            QSignalSpy finished(main, &QWebEngineView::loadFinished);
            button->click();
            ++clicks;

            QString page; // the local page the main view must end up showing
            for (const TChannelEntry *row : rows) {
                if (!row->Programme.isEmpty()) {
                    QCOMPARE(programme->requestedAddress(), dir + row->Programme);
                    QVERIFY2(QFileInfo(QtWebView::urlFor(dir + row->Programme).toLocalFile()).isFile(),
                             qPrintable(where + u": no programme page "_s + row->Programme));
                }
                switch (row->Kind) {
                case ChannelKind::RadioStation:
                    ++stations;
                    QVERIFY2(form->RadioStream != streamBefore, qPrintable(where));
                    QVERIFY2(program.audio.streamState(form->RadioStream) != GstAudioEngine::StreamState::None,
                             qPrintable(where));
                    [[fallthrough]];
                case ChannelKind::ChannelPage:
                    page = withServerBase(row->Page, ctx.services.serverBase);
                    if (page == row->Page)
                        page = dir + row->Page;
                    break;
                case ChannelKind::OutsideWindow: {
                    ++sites;
                    const auto [window, view] = outsideWindow(ctx.windows, row->Window);
                    QVERIFY2(window && window->isVisible(), qPrintable(where));
                    QCOMPARE(view->requestedAddress(), row->Address);
                    window->hide();
                    break;
                }
                case ChannelKind::SystemBrowser:
                    QCOMPARE(program.shell.opened.size(), openedBefore + 1);
                    QCOMPARE(program.shell.opened.last(), row->Address);
                    break;
                case ChannelKind::ClosedSubPage:
                    break;
                }
            }
            if (!page.isEmpty()) {
                ++pages;
                const QUrl url = QtWebView::urlFor(page);
                QTRY_VERIFY2_WITH_TIMEOUT(main->url() == url && !finished.isEmpty(), qPrintable(where), 20000);
                QVERIFY2(finished.last().first().toBool(), qPrintable(where + u": "_s + url.toString()));
            }
            QVERIFY2(program.box.shown.isEmpty(), qPrintable(where + u": "_s + program.box.shown.join(u" | "_s)));
        }
    }
    qInfo("%d clicks: %d pages, %d stations, %d outside sites", clicks, pages, stations, sites);
    QVERIFY(clicks > 300);
}

QTEST_MAIN(TestChannelPages)
#include "tst_channelpages.moc"
