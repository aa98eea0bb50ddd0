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

namespace {
MapPanelInputs mapPanelInputs(const TSDIAppForm &form, const ViewState &view)
{
    MapPanelInputs inputs;
    inputs.mapKind = view.MapKind;
    inputs.curPhase = view.CurPhase;
    inputs.mapPhase = view.MapPhase;
    inputs.bullseyeKind = view.BullseyeKind;
    inputs.ray = form.ScrollBarR->value();
    inputs.scalePosition = form.ScrollBar4->value();
    inputs.maxPosition = form.ScrollBarMax->value();
    inputs.minPosition = form.ScrollBarMin->value();
    inputs.analysis = form.analysisInputs();
    return inputs;
}
} // namespace

void TSDIAppForm::DrawMapPanel(Bitmap &bitmap)
{
    const MapPanelInputs inputs = mapPanelInputs(*this, view());
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

void TSDIAppForm::DrawBullseyeFrames(std::vector<Bitmap> &frames)
{
    frames.assign(16, Bitmap(Image1->width(), Image1->height()));
    Bitmap *const pointers[16] = {&frames[0],  &frames[1],  &frames[2],  &frames[3], &frames[4],  &frames[5],
                                  &frames[6],  &frames[7],  &frames[8],  &frames[9], &frames[10], &frames[11],
                                  &frames[12], &frames[13], &frames[14], &frames[15]};
    DrawBullseyeFramesBI(pointers, mapPanelInputs(*this, view()), data().study.volume, data().profiles);
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
