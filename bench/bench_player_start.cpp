// The player as the program block starts it, with a first-paint probe.
// Usage: bench_player_start <program dir> <server base>

#include "app/programblock.h"
#include "app/runprogram.h"
#include "app/tform1.h"
#include "firstpaint.h"

#include <QApplication>

#include <memory>

int main(int argc, char **argv)
{
    vidmo::prepareProcess();
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    std::unique_ptr<FirstPaint> probe;
    vidmo::RunOptions options;
    options.programDir = QString::fromLocal8Bit(argv[1]);
    options.serverBase = QString::fromLocal8Bit(argv[2]);
    options.shown = [&probe](vidmo::ProgramBlock &program) {
        probe = std::make_unique<FirstPaint>(program.context().windows.Form1);
    };
    return vidmo::runProgram(app, options);
}
