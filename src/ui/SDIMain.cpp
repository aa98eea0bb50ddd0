#include "SDIMain.h"

TSDIAppForm::TSDIAppForm(QWidget *parent) : QMainWindow(parent), data_(std::make_unique<ProgramData>())
{
    setWindowTitle(QStringLiteral("Corvista"));
    resize(942, 705);
}

TSDIAppForm::~TSDIAppForm() = default;
