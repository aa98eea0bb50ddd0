#include "SDIMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TSDIAppForm window;
    window.show();
    return app.exec();
}
