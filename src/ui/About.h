// The About dialog ("ﾊﾞｰｼﾞｮﾝ情報"): the product name and version, shown modally from
// Help > version information, centred on the screen; Enter or OK closes it.
#pragma once

#include "Controls.h"

#include <QDialog>
#include <QPushButton>

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 373;
    static constexpr int ClientHeight = 273;

    explicit TAboutBox(QWidget *parent = nullptr);

    void OKButtonClick(QObject *Sender);

    QFrame *Panel1 = nullptr;
    TImage *ProgramIcon = nullptr;
    TLabel *ProductName = nullptr;
    TLabel *Version = nullptr;
    TLabel *Copyright = nullptr;
    TLabel *Comments = nullptr;
    TLabel *Authors = nullptr;
    QPushButton *OKButton = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
};
