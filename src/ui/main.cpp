// Corvista: a gated SPECT study of the left ventricle in one window.
#include "SDIMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProgramWindows windows;
    windows.main->show();
    return app.exec();
}
