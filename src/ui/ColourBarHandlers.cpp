// The colour bar with its two captions, the count-window bars that move them, and the
// window's run of the profile analysis from its scroll bars.
#include "SDIMain.h"

#include "ColourBar.h"
#include "CountWindow.h"
#include "ProfileAnalysis.h"

#include <QCoreApplication>

namespace {
bool percentMode(const ViewState &view)
{
    return view.PercentScale == 1;
}

// A dragged thumb and an arrow click show the bound the bar is taking at once; a trough
// click, the ends and the end of a scroll leave the caption until the next redraw.
bool captionFollows(ScrollCode kind)
{
    return kind == SB_THUMBTRACK || kind == SB_LINEUP || kind == SB_LINEDOWN;
}

// The images follow an arrow click and a released thumb; a dragged thumb redraws nothing
// until it is let go.
bool imagesFollow(ScrollCode kind)
{
    return kind == SB_THUMBPOSITION || kind == SB_LINEUP || kind == SB_LINEDOWN;
}
} // namespace

void TSDIAppForm::DrawColourBar(Bitmap &bitmap)
{
    ::DrawColourBar(bitmap, percentMode(view()), data().colourTable);
    const ColourBarCaptions captions = ColourBarCaptionValues(percentMode(view()), data().study.CountRange,
                                                              ScrollBarMax->value(), ScrollBarMin->value());
    Label1->setCaption(QString::number(captions.upper));
    Label2->setCaption(QString::number(captions.lower));
}

void TSDIAppForm::OnSBMaxScroll(QObject *, ScrollCode ScrollKind, int ScrollPos)
{
    if (captionFollows(ScrollKind))
        Label1->setCaption(QString::number(
            ColourBarCaptionValues(percentMode(view()), data().study.CountRange, ScrollPos, ScrollBarMin->value())
                .upper));
    // The bar already stands at ScrollPos, so the redraw reads the new window; the caption
    // is painted first, since the images take a while.
    if (imagesFollow(ScrollKind)) {
        repaintPending();
        RefreshMainImages();
    }
}

void TSDIAppForm::OnSBMinScroll(QObject *, ScrollCode ScrollKind, int ScrollPos)
{
    if (captionFollows(ScrollKind))
        Label2->setCaption(QString::number(
            ColourBarCaptionValues(percentMode(view()), data().study.CountRange, ScrollBarMax->value(), ScrollPos)
                .lower));
    if (imagesFollow(ScrollKind)) {
        repaintPending();
        RefreshMainImages();
    }
}

AnalysisInputs TSDIAppForm::analysisInputs() const
{
    AnalysisInputs inputs;
    inputs.slice = data_->view.CurSlice;
    inputs.centreX = ScrollBarX->value() + 24;
    inputs.centreY = ScrollBarY->value() + 24;
    inputs.radius = ScrollBarD->value();
    inputs.areaThreshold = ScrollBarA->value();
    inputs.widthThreshold = ScrollBarW->value();
    return inputs;
}

void TSDIAppForm::AnalyseProfiles()
{
    view().RoiRadius = ScrollBarD->value();
    ::AnalyseProfiles(data().study.volume, analysisInputs(), data().profiles);
}

void TSDIAppForm::setProgress(int value)
{
    if (!progressClock_.isValid())
        progressClock_.start();
    const qint64 now = progressClock_.elapsed();
    const bool paint = lastProgressPaint_ < 0 || now - lastProgressPaint_ >= 16;
    if (paint) {
        lastProgressPaint_ = now;
        ProgressBar1->setValue(value);
        return;
    }
    // Without updates the bar takes the value without painting; enabling them again asks
    // for a paint with the next repaint of the window.
    ProgressBar1->setUpdatesEnabled(false);
    ProgressBar1->setValue(value);
    ProgressBar1->setUpdatesEnabled(true);
}

void TSDIAppForm::repaintPending()
{
    // Qt collects the invalidated areas of a window in one posted update request; handing
    // it over now paints them before the handler goes on.
    QCoreApplication::sendPostedEvents(this, QEvent::UpdateRequest);
}
