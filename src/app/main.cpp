#include "app/runprogram.h"

#include <QApplication>

int main(int argc, char **argv)
{
    vidmo::prepareProcess();
    QApplication app(argc, argv);
    return vidmo::runProgram(app);
}
