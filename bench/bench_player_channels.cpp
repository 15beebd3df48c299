// The player as the program block starts it, driven through the channel grid.
// Usage: bench_player_channels <program dir> <server base> [clicks] [settle ms]
//
// After the main window is shown and the start page has settled, clicks the
// first category button, then:
//   1. `clicks` grid buttons (cycling through the visible channel pages), each
//      timed from the click to the main view's loadFinished:
//        click <ms> <ok> <url>
//   2. every visible grid button of that page once, each waited for, then the
//      programme window is shown and left to settle:
//        switched <n>
//        ready
// The process then waits for the driver to measure it and end it.

#include "app/programblock.h"
#include "app/runprogram.h"
#include "app/skinbutton.h"
#include "app/tform1.h"
#include "catalogue/catalogue.h"
#include "web/qtwebview.h"
#include "web/ttvprogrammform.h"
#include "web/webview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWebEngineView>

#include <cstdio>

namespace {

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

const vidmo::TChannelEntry *rowOf(const vidmo::SkinButton *button)
{
    for (const vidmo::TChannelEntry &row : vidmo::channelCatalogue()) {
        if (row.Caption == button->text())
            return &row;
    }
    return nullptr;
}

// Whether the dispatcher opens the button's channel as a local page in the main view.
bool opensLocalPage(const vidmo::SkinButton *button)
{
    const vidmo::TChannelEntry *row = rowOf(button);
    return row && row->Kind == vidmo::ChannelKind::ChannelPage
           && !row->Page.startsWith(vidmo::kServerToken);
}

// Channels handed to the system's web browser leave the program: not clicked.
bool staysInProgram(const vidmo::SkinButton *button)
{
    const vidmo::TChannelEntry *row = rowOf(button);
    return row && row->Kind != vidmo::ChannelKind::SystemBrowser;
}

struct Load
{
    double ms = -1;
    bool ok = false;
};

// Clicks the button and waits for the view's next loadFinished.
Load clickAndWait(QWebEngineView *view, vidmo::SkinButton *button, int timeoutMs)
{
    Load result;
    QEventLoop loop;
    QElapsedTimer timer;
    const auto done = QObject::connect(view, &QWebEngineView::loadFinished, &loop, [&](bool ok) {
        result.ms = double(timer.nsecsElapsed()) / 1e6;
        result.ok = ok;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    timer.start();
    button->click();
    if (result.ms < 0)
        loop.exec();
    QObject::disconnect(done);
    return result;
}

void drive(vidmo::ProgramBlock &program, int clicks, int settleMs)
{
    vidmo::TForm1 &form = *program.context().windows.Form1;
    auto *view = qobject_cast<QWebEngineView *>(form.Chromium1->widget());
    auto *qtView = qobject_cast<vidmo::QtWebView *>(form.Chromium1->widget());
    if (!view || !qtView) {
        std::fputs("error no web view\n", stdout);
        std::fflush(stdout);
        QApplication::exit(3);
        return;
    }
    form.sBitBtn(1)->click();
    pause(500);

    QVector<vidmo::SkinButton *> channels;
    for (vidmo::SkinButton *b : form.gridButtons()) {
        if (b->isVisible() && opensLocalPage(b))
            channels.append(b);
    }
    if (channels.isEmpty()) {
        std::fputs("error no channel page on the category\n", stdout);
        std::fflush(stdout);
        QApplication::exit(3);
        return;
    }

    for (int i = 0; i < clicks; ++i) {
        vidmo::SkinButton *b = channels[i % channels.size()];
        const Load l = clickAndWait(view, b, 20000);
        const QString url = vidmo::QtWebView::urlFor(qtView->loadedAddress()).toString(QUrl::FullyEncoded);
        std::printf("click %.1f %d %s\n", l.ms, l.ok ? 1 : 0, url.toUtf8().constData());
        std::fflush(stdout);
        pause(200);
    }

    int switched = 0;
    for (vidmo::SkinButton *b : form.gridButtons()) {
        if (!b->isVisible() || !staysInProgram(b))
            continue;
        if (opensLocalPage(b))
            clickAndWait(view, b, 20000);
        else {
            b->click();
            pause(500);
        }
        ++switched;
    }
    std::printf("switched %d\n", switched);
    std::fflush(stdout);

    program.context().windows.TVprogrammForm->show();
    pause(settleMs);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    vidmo::prepareProcess();
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const int clicks = argc > 3 ? QByteArray(argv[3]).toInt() : 20;
    const int settleMs = argc > 4 ? QByteArray(argv[4]).toInt() : 3000;
    vidmo::RunOptions options;
    options.programDir = QString::fromLocal8Bit(argv[1]);
    options.serverBase = QString::fromLocal8Bit(argv[2]);
    options.shown = [clicks, settleMs](vidmo::ProgramBlock &program) {
        QTimer::singleShot(settleMs, qApp, [&program, clicks, settleMs] { drive(program, clicks, settleMs); });
    };
    return vidmo::runProgram(app, options);
}
