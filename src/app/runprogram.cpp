#include "app/runprogram.h"

#include "app/appcontext.h"
#include "app/programblock.h"
#include "app/qtplatform.h"
#include "app/tform1.h"
#include "app/windowutil.h"
#include "radio/gstaudioengine.h"
#include "settings/networkhttpclient.h"
#include "web/qtwebview.h"

#include <QApplication>

#include <unistd.h>

namespace vidmo {

void prepareProcess()
{
    // Chromium refuses to start its sandbox as root; a first start as root
    // would otherwise end before any window appears.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

int runProgram(QApplication &app, const RunOptions &options)
{
    QApplication::setApplicationName(QStringLiteral("vidmo-player"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vidmo Player"));
    QApplication::setQuitOnLastWindowClosed(false);
    loadLayoutFonts();

    QtMessageBox messageBox;
    DesktopShell shell;
    QtWebViewFactory webViews;
    NetworkHttpClient http;
    GstAudioEngine audio;

    Services services;
    services.programDir = options.programDir.isEmpty()
                              ? QCoreApplication::applicationDirPath() + QLatin1Char('/')
                              : options.programDir;
    services.serverBase = options.serverBase.isEmpty() ? QStringLiteral(VIDMO_SERVER_BASE)
                                                       : options.serverBase;
    services.messageBox = &messageBox;
    services.shell = &shell;
    services.webViews = &webViews;
    services.http = &http;
    services.audio = &audio;

    ProgramBlock program(std::move(services));
    program.createWindows();
    QObject::connect(program.context().windows.Form1, &TForm1::closed, &app,
                     &QCoreApplication::quit, Qt::QueuedConnection);
    program.showMainWindow();
    if (options.shown)
        options.shown(program);
    return QApplication::exec();
}

} // namespace vidmo
