// The handlers of the menus and controls that so far only record the setting they stand
// for; the drawing, analysis, cine and file commands behind them come with those parts of
// the program. Each handler is bound to its control by the layout table.
#include "SDIMain.h"

// File > Open: reading a study and drawing it is the Open command's work.
void TSDIAppForm::OpenItemClick(QObject *) {}

// File > Save As: writing the results file is the export's work.
void TSDIAppForm::SaveItemClick(QObject *) {}

// Edit > Copy: copying an image to the clipboard comes with the detail view.
void TSDIAppForm::KC1Click(QObject *) {}

// Background > "黒": a black montage background.
void TSDIAppForm::K1Click(QObject *)
{
    view().BackgroundMode = 1;
    K1->setChecked(true);
    K2->setChecked(false);
}

// Background > "バック": the menu colour as the montage background.
void TSDIAppForm::K2Click(QObject *)
{
    view().BackgroundMode = 0;
    K2->setChecked(true);
    K1->setChecked(false);
}

void TSDIAppForm::OnRBSaveClick(QObject *Sender)
{
    view().ExportVariant = TagOf(Sender);
}

void TSDIAppForm::OnImage1MouseDown(QObject *, Qt::MouseButton, int, int)
{
    view().CopySource = 0;
}

void TSDIAppForm::OnImage3MouseDpwn(QObject *, Qt::MouseButton, int, int)
{
    view().CopySource = 1;
}

// The ROI centre bars: the analysis and the redraws come with the detail view.
void TSDIAppForm::ScrollBarXChange(QObject *) {}
void TSDIAppForm::ScrollBarYChange(QObject *) {}

void TSDIAppForm::OnSBRChange(QObject *)
{
    Label3->setCaption(QString::number(ScrollBarR->value()));
}

void TSDIAppForm::OnSBDChange(QObject *)
{
    view().RoiRadius = ScrollBarD->value();
}

void TSDIAppForm::RBOnClick(QObject *)
{
    view().RoiVisible = 1;
    Label6->setCaption(QStringLiteral("on"));
}

void TSDIAppForm::RBOffClick(QObject *)
{
    view().RoiVisible = 0;
    Label6->setCaption(QStringLiteral("off"));
}

void TSDIAppForm::OnSliceClick(QObject *Sender)
{
    view().CurSlice = TagOf(Sender);
}

void TSDIAppForm::OnPhaseClick(QObject *Sender)
{
    view().CurPhase = TagOf(Sender);
    view().MapPhase = TagOf(Sender);
}

// The display buttons switch between the montages and the map panel, which come later.
void TSDIAppForm::OnSLClick(QObject *) {}
void TSDIAppForm::OnPHClick(QObject *) {}
void TSDIAppForm::OnMapSelet(QObject *) {}

// A map kind also switches the count-window bars between counts and percent; it comes with
// the map panel.
void TSDIAppForm::OnMAPSelectClick(QObject *) {}

// The graph scale of the map panel.
void TSDIAppForm::ScrollBar4Change(QObject *) {}

void TSDIAppForm::OnRBSB_eyeClick(QObject *Sender)
{
    view().BullseyeKind = TagOf(Sender);
}

// The threshold bars show their position without a percent sign once moved.
void TSDIAppForm::ScrollBarAChange(QObject *)
{
    LabelA->setCaption(QString::number(ScrollBarA->value()));
}

void TSDIAppForm::ScrollBarWChange(QObject *)
{
    LabelW->setCaption(QString::number(ScrollBarW->value()));
}

// "move": the cine loop comes with cine playback.
void TSDIAppForm::OnMoveClick(QObject *) {}

void TSDIAppForm::OnStopClick(QObject *)
{
    view().CineStopRequested = 1;
}

void TSDIAppForm::OnSTTChange(QObject *)
{
    view().CineDelayMs = ScrollBarT->value();
}
