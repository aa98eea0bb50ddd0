// The controls that steer the map panel: the map kinds with the count/percent switch of the
// colour-window bars, the graph scale, the bull's-eye quantity and the two threshold bars.
#include "SDIMain.h"

#include <algorithm>

namespace {
bool isBullseye(int mapKind)
{
    return mapKind == MapBI || mapKind == MapBA;
}

// The six settings of the two bars, in the order the saved sets keep them.
void readBars(const TScrollBar &max, const TScrollBar &min, int32_t set[6])
{
    set[0] = max.maximum();
    set[1] = max.minimum();
    set[2] = min.maximum();
    set[3] = min.minimum();
    set[4] = max.value();
    set[5] = min.value();
}

// Each bar takes its whole range at once and then its position, so a range that lies
// wholly below the one in force (a count range of 0..0 after the percent range 1..100)
// comes out exactly as saved, and a position outside the range lands at its nearer end
// first. setValue and setRange run no handler of these bars.
void applyBars(TScrollBar &max, TScrollBar &min, const int32_t set[6])
{
    max.setRange(set[1], std::max(set[0], set[1]));
    min.setRange(set[3], std::max(set[2], set[3]));
    max.setValue(set[4]);
    min.setValue(set[5]);
}
} // namespace

void TSDIAppForm::OnMAPSelectClick(QObject *Sender)
{
    view().MapKind = TagOf(Sender);
    if (isBullseye(view().MapKind)) {
        if (view().PercentScale == 0) {
            view().PercentScale = 1;
            ApplyMapScales();
        }
    } else if (view().PercentScale == 1) {
        view().PercentScale = 0;
        ApplyMapScales();
    }
    Bitmap bar(Image2->width(), Image2->height());
    DrawColourBar(bar);
    Image2->setPicture(bar);
    repaintPending();
    RefreshDetail();
}

void TSDIAppForm::ApplyMapScales()
{
    if (view().PercentScale == 1) {
        readBars(*ScrollBarMax, *ScrollBarMin, view().CountScaleSet);
        applyBars(*ScrollBarMax, *ScrollBarMin, view().PercentScaleSet);
    } else {
        readBars(*ScrollBarMax, *ScrollBarMin, view().PercentScaleSet);
        applyBars(*ScrollBarMax, *ScrollBarMin, view().CountScaleSet);
    }
}

void TSDIAppForm::ScrollBar4Change(QObject *)
{
    // The bull's-eyes do not use the graph scale.
    if (view().DisplayMode == 2 && !isBullseye(view().MapKind))
        RefreshMapPanel();
}

void TSDIAppForm::OnRBSB_eyeClick(QObject *Sender)
{
    view().BullseyeKind = TagOf(Sender);
    // No analysis first: the bull's-eyes analyse every slice themselves, and a graph kind
    // shows the current results, which the quantity does not change.
    RefreshMapPanel();
}

void TSDIAppForm::ScrollBarAChange(QObject *)
{
    AnalyseProfiles();
    Bitmap main(Image1->width(), Image1->height());
    DrawMapPanel(main);
    LabelA->setCaption(QString::number(ScrollBarA->value()));
    Image1->setPicture(main);
    repaintPending();
}

void TSDIAppForm::ScrollBarWChange(QObject *)
{
    AnalyseProfiles();
    Bitmap main(Image1->width(), Image1->height());
    DrawMapPanel(main);
    LabelW->setCaption(QString::number(ScrollBarW->value()));
    Image1->setPicture(main);
    repaintPending();
}
