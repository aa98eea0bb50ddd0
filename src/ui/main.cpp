// Corvista: a gated SPECT study of the left ventricle in one window.
#include "EventLog.h"
#include "SDIMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProgramWindows windows;
    EventLog::StartFromEnvironment(*windows.main); // CORVISTA_EVENT_LOG, for tests and measurements
    windows.main->show();
    const int status = app.exec();
    EventLog::Stop();
    return status;
}
