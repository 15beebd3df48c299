// The reference for page loads: a bare QApplication with one shown QWebEngineView
// of the main view's size. Loads a start page, lets it settle, then loads each
// page of the list file (one URL a line) in order, each timed from load() to
// loadFinished:
//   load <ms> <ok> <url>
// Usage: bench_reference_load <start url> <list file> [settle ms]

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QUrl>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <cstdio>

namespace {

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Load
{
    double ms = -1;
    bool ok = false;
};

Load loadAndWait(QWebEngineView &view, const QUrl &url, int timeoutMs)
{
    Load result;
    QEventLoop loop;
    QElapsedTimer timer;
    const auto done = QObject::connect(&view, &QWebEngineView::loadFinished, &loop, [&](bool ok) {
        result.ms = double(timer.nsecsElapsed()) / 1e6;
        result.ok = ok;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    timer.start();
    view.load(url);
    if (result.ms < 0)
        loop.exec();
    QObject::disconnect(done);
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const int settleMs = argc > 3 ? QByteArray(argv[3]).toInt() : 3000;
    QFile list(QString::fromLocal8Bit(argv[2]));
    if (!list.open(QIODevice::ReadOnly))
        return 2;
    QList<QUrl> urls;
    for (const QByteArray &line : list.readAll().split('\n')) {
        if (!line.trimmed().isEmpty())
            urls.append(QUrl::fromEncoded(line.trimmed()));
    }

    QWebEngineView view;
    // Local channel pages embed remote players; the player's views allow it too.
    view.settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    view.resize(590, 436);
    view.show();
    QTimer::singleShot(0, &app, [&] {
        loadAndWait(view, QUrl(QString::fromLocal8Bit(argv[1])), 20000);
        pause(settleMs);
        for (const QUrl &url : urls) {
            const Load l = loadAndWait(view, url, 20000);
            std::printf("load %.1f %d %s\n", l.ms, l.ok ? 1 : 0, url.toEncoded().constData());
            std::fflush(stdout);
            pause(200);
        }
        QApplication::quit();
    });
    return QApplication::exec();
}
