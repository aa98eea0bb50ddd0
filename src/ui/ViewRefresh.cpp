// The drawing routines of the window and its redraw entry points: each gathers its inputs
// from the view state and the scroll bars, has the renderer draw a whole image into a bitmap
// of the image's size and copies it onto the image control.
#include "SDIMain.h"

#include "CountWindow.h"
#include "DetailView.h"
#include "RenderMapPanel.h"
#include "Montage.h"

#include <QApplication>

namespace {
// The count window of a count image: from the two bars, or from positions saved elsewhere.
CountToColour coloursFor(const ProgramData &data, int maxPosition, int minPosition, CountWindow &displayWindow)
{
    displayWindow = ComputeCountWindow(data.study.CountRange, maxPosition, minPosition);
    return CountToColour(data.colourTable, displayWindow);
}
} // namespace

int TSDIAppForm::roiCentreX() const
{
    return ScrollBarX->value() + 24;
}

int TSDIAppForm::roiCentreY() const
{
    return ScrollBarY->value() + 24;
}

void TSDIAppForm::DrawMontage(Bitmap &bitmap)
{
    // Always from the bars, whatever they hold.
    const CountToColour colours =
        coloursFor(data(), ScrollBarMax->value(), ScrollBarMin->value(), data().DisplayWindow);
    const MontageChoice choice{view().DisplayMode, view().CurSlice, view().CurPhase};
    const uint32_t background = view().BackgroundMode == 1 ? Rgb(0, 0, 0) : colorMenu();
    ProgressBar1->show();
    ::DrawMontage(bitmap, data().study.volume, colours, choice, background,
                  [this](int tile) { setProgress(tile); });
    ProgressBar1->hide();
}

void TSDIAppForm::DrawDetailImage(Bitmap &bitmap, const int16_t *plane)
{
    // In percent mode the bars hold percent limits; the detail view keeps the count window
    // the user last set, saved when percent mode was entered.
    const bool percent = view().PercentScale == 1;
    const int maxPosition = percent ? view().CountScaleSet[4] : ScrollBarMax->value();
    const int minPosition = percent ? view().CountScaleSet[5] : ScrollBarMin->value();
    const CountToColour colours = coloursFor(data(), maxPosition, minPosition, data().DisplayWindow);
    DetailViewInputs inputs;
    inputs.slice = view().CurSlice;
    inputs.phase = view().CurPhase;
    inputs.roiVisible = view().RoiVisible == 1;
    inputs.centreX = roiCentreX();
    inputs.centreY = roiCentreY();
    inputs.radius = view().RoiRadius;
    inputs.ray = ScrollBarR->value();
    inputs.mapKind = view().MapKind;
    if (plane)
        ::DrawDetailImage(bitmap, plane, colours, inputs);
    else
        ::DrawDetailImage(bitmap, data().study.volume, colours, inputs);
}

void TSDIAppForm::DrawCentreMarkerX(Bitmap &bitmap)
{
    ::DrawCentreMarkerX(bitmap, ScrollBarX->value(), colorMenu());
}

void TSDIAppForm::DrawCentreMarkerY(Bitmap &bitmap)
{
    ::DrawCentreMarkerY(bitmap, ScrollBarY->value(), colorMenu());
}

void TSDIAppForm::DrawMapPanel(Bitmap &bitmap)
{
    MapPanelInputs inputs;
    inputs.mapKind = view().MapKind;
    inputs.curPhase = view().CurPhase;
    inputs.mapPhase = view().MapPhase;
    inputs.bullseyeKind = view().BullseyeKind;
    inputs.ray = ScrollBarR->value();
    inputs.scalePosition = ScrollBar4->value();
    inputs.maxPosition = ScrollBarMax->value();
    inputs.minPosition = ScrollBarMin->value();
    inputs.analysis = analysisInputs();
    const bool progress = view().MapKind == MapBA;
    if (progress) {
        ProgressBar1->setRange(0, 16);
        ProgressBar1->show();
    }
    RenderMapPanel(bitmap, inputs, data().study.volume, data().colourTable, data().profiles,
                   [this](int cells) { setProgress(cells); });
    if (progress)
        ProgressBar1->hide();
}

void TSDIAppForm::RefreshMainImages()
{
    Bitmap main(Image1->width(), Image1->height());
    Bitmap detail(Image3->width(), Image3->height());
    DrawDetailImage(detail);
    if (view().DisplayMode == 2)
        DrawMapPanel(main);
    else
        DrawMontage(main);
    Image1->setPicture(main);
    Image3->setPicture(detail);
    repaintPending();
}

void TSDIAppForm::RefreshDetail()
{
    Bitmap detail(Image3->width(), Image3->height());
    DrawDetailImage(detail);
    if (view().DisplayMode == 2) {
        AnalyseProfiles();
        Bitmap main(Image1->width(), Image1->height());
        DrawMapPanel(main);
        Image1->setPicture(main);
    }
    Image3->setPicture(detail);
    repaintPending();
}

void TSDIAppForm::RefreshCentreMarkers()
{
    Bitmap x(Image4->width(), Image4->height());
    Bitmap y(Image5->width(), Image5->height());
    DrawCentreMarkerX(x);
    DrawCentreMarkerY(y);
    Image4->setPicture(x);
    Image5->setPicture(y);
    repaintPending();
}

void TSDIAppForm::RefreshMapPanel()
{
    Bitmap main(Image1->width(), Image1->height());
    DrawMapPanel(main);
    Image1->setPicture(main);
    repaintPending();
}
