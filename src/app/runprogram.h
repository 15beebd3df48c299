#pragma once

#include <QString>

#include <functional>

class QApplication;

namespace vidmo {

class ProgramBlock;

struct RunOptions
{
    QString programDir; // empty: the executable's directory
    QString serverBase; // empty: the configured project web server
    // Called once the main window has been asked to show.
    std::function<void(ProgramBlock &)> shown;
};

// Must run before the QApplication is created.
void prepareProcess();

// Creates the real platform pieces and every window, shows the main window and
// runs the event loop until the main window closes.
int runProgram(QApplication &app, const RunOptions &options = {});

} // namespace vidmo
