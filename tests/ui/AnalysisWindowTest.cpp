// The window's run of the profile analysis takes the selected slice, the ROI and the
// thresholds from its scroll bars.
#include "WindowFixture.h"

namespace {

TEST_F(WindowTest, AnalysisReadsTheRoiAndThresholdsFromTheBars)
{
    // One hot cell ten pixels right of the default centre (64, 64) on slice 8, phase 4; ray 56
    // points exactly to the right.
    GatedVolume &volume = form->data().study.volume;
    volume.at(74, 64, 7, 3) = 500;
    volume.at(75, 64, 7, 3) = 100;
    struct Case {
        const char *what;
        int x, d, a;
        int peak, distance, outerEdgeA;
    } cases[] = {
        {"start positions", 40, 40, 40, 500, 10, 11},
        {"centre moved right by 5", 45, 40, 40, 500, 5, 6},
        {"radius 10 keeps the cell on its rim", 40, 10, 40, 500, 10, 11},
        {"centre moved left out of reach", 35, 10, 40, 0, 0, 0},
        {"area threshold 19 % keeps the 100 beside the peak", 40, 40, 19, 500, 10, 12},
    };
    for (const Case &c : cases) {
        form->ScrollBarX->setValue(c.x);
        form->ScrollBarD->setValue(c.d);
        form->ScrollBarA->setValue(c.a);
        form->view().RoiRadius = 0;
        form->AnalyseProfiles();
        const ProfileResults &results = form->data().profiles;
        EXPECT_EQ(form->view().RoiRadius, c.d) << c.what;
        EXPECT_EQ(results.ProfilePeak[3][56], c.peak) << c.what;
        EXPECT_EQ(results.ProfilePeakDist[3][56], c.distance) << c.what;
        EXPECT_EQ(results.OuterEdgeA[3][56], c.outerEdgeA) << c.what;
        EXPECT_EQ(results.ProfilePeak[2][56], 0) << c.what << ": another phase";
    }
    // Another slice holds nothing.
    form->view().CurSlice = 6;
    form->ScrollBarX->setValue(40);
    form->AnalyseProfiles();
    EXPECT_EQ(form->data().profiles.ProfilePeak[3][56], 0);
}

} // namespace
