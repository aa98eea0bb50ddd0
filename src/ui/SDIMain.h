// The main window of Corvista. It owns the program's data and every control.
#pragma once

#include "ProgramData.h"

#include <QMainWindow>
#include <memory>

class TSDIAppForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit TSDIAppForm(QWidget *parent = nullptr);
    ~TSDIAppForm() override;

    ProgramData &data() { return *data_; }

private:
    std::unique_ptr<ProgramData> data_;
};
