// The reference: a bare QApplication with one QWebEngineView loading one local page.
// Usage: bench_reference_start <page.html>

#include "firstpaint.h"

#include <QApplication>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QWebEngineView view;
    view.resize(807, 543);
    FirstPaint probe(&view);
    view.load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
    view.show();
    return QApplication::exec();
}
