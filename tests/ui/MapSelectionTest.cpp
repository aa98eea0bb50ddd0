// Map selection in the window: the count/percent switch of the colour-window bars, the
// threshold bars, the bull's-eye quantity and the graph scale.
#include "TestStudy.h"
#include "WindowFixture.h"

namespace {

// A ring of 500 counts at distance 10 from the default centre in every slice and phase, with
// 250 on both sides, so every profile has its peak at sample 10.
PixelFunction ringStudy()
{
    return [](int phase, int slice, int column, int row) {
        const int dx = 2 * column - 64, dy = 2 * row - 64;
        const int d2 = dx * dx + dy * dy;
        if (d2 >= 81 && d2 <= 121)
            return int16_t(500 + phase + slice);
        if (d2 >= 49 && d2 <= 169)
            return int16_t(250);
        return int16_t(20);
    };
}

class MapSelectionTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        WriteTestStudy(dir.file("R"), ringStudy());
        openThroughDialog(dir.file("R.d01"));
        ASSERT_GT(form->data().study.CountRange, 500);
    }
    void choose(const char *button) { find<QRadioButton>(button)->click(); }
    std::array<int, 6> bars() const
    {
        return {form->ScrollBarMax->maximum(), form->ScrollBarMax->minimum(), form->ScrollBarMin->maximum(),
                form->ScrollBarMin->minimum(), form->ScrollBarMax->value(),  form->ScrollBarMin->value()};
    }
    TempDir dir;
};

TEST_F(MapSelectionTest, BullseyeKindsSwitchTheBarsToPercentAndBack)
{
    form->ScrollBarMax->setValue(12);
    form->ScrollBarMin->setValue(100);
    const std::array<int, 6> counts = bars();

    choose("RadioButton48"); // BI
    EXPECT_EQ(form->view().MapKind, MapBI);
    EXPECT_EQ(form->view().PercentScale, 1);
    EXPECT_EQ(bars(), (std::array<int, 6>{99, 0, 100, 1, 50, 50}));
    EXPECT_EQ(form->Label1->text(), "50");
    EXPECT_EQ(form->Label2->text(), "50");
    EXPECT_EQ(form->Image2->picture().pixel(0, 0), qRgb(255, 0, 0)) << "the percent scale";

    form->ScrollBarMax->setValue(30);
    form->ScrollBarMin->setValue(70);
    choose("RadioButton49"); // BA: the bars stay
    EXPECT_EQ(bars(), (std::array<int, 6>{99, 0, 100, 1, 30, 70}));

    choose("RadioButton38"); // C1: the count settings come back exactly
    EXPECT_EQ(form->view().PercentScale, 0);
    EXPECT_EQ(bars(), counts);
    EXPECT_EQ(form->Image2->picture().pixel(0, 0), qRgb(255, 1, 0)) << "the count scale";

    choose("RadioButton48"); // BI again: the percent positions as they were left
    EXPECT_EQ(bars(), (std::array<int, 6>{99, 0, 100, 1, 30, 70}));
}

TEST_F(MapSelectionTest, AKindChosenInAMontageSwitchesTheBarOnly)
{
    const QImage montage = form->Image1->picture();
    choose("RadioButton49"); // BA in the slice montage
    EXPECT_EQ(form->Image1->picture(), montage);
    EXPECT_EQ(form->Image2->picture().pixel(0, 511), qRgb(0, 0, 255));
    // "phase" checks GA again, which leaves percent mode.
    choose("RadioButton34");
    EXPECT_EQ(form->view().MapKind, MapGA);
    EXPECT_EQ(form->view().PercentScale, 0);
    EXPECT_TRUE(form->RadioButton37->isChecked());
}

TEST_F(MapSelectionTest, ThresholdBarsAnalyseAndDrawTheMapPanel)
{
    // In the phase montage a threshold change puts the map panel into Image1.
    choose("RadioButton34");
    form->ScrollBarW->setValue(21);
    EXPECT_EQ(form->view().DisplayMode, 1);
    EXPECT_EQ(form->LabelW->text(), "21");
    EXPECT_EQ(form->Image1->picture().pixel(130, 10), qRgb(0, 0, 0)) << "the map panel, not a montage";

    // The area threshold: ray 56 points right, peak 500 + phase + slice at sample 10. At 40 %
    // the 250 beside the wall are inside the area; at 51 % they are not.
    const ProfileResults &r = form->data().profiles;
    const int inner40 = r.InnerEdgeA[0][56], outer40 = r.OuterEdgeA[0][56];
    form->ScrollBarA->setValue(51);
    EXPECT_EQ(form->LabelA->text(), "51");
    EXPECT_GT(r.InnerEdgeA[0][56], inner40);
    EXPECT_LT(r.OuterEdgeA[0][56], outer40);
    EXPECT_EQ(r.ProfilePeakDist[0][56], 10);
}

TEST_F(MapSelectionTest, QuantityClickRedrawsWithoutAnalysing)
{
    choose("RadioButton35"); // map, GA
    const QImage graph = form->Image1->picture();
    form->data().profiles.ProfilePeak[3][3] = 12345; // an analysis would overwrite it
    choose("RadioButton50"); // D
    EXPECT_EQ(form->view().BullseyeKind, 3);
    EXPECT_EQ(form->Image1->picture(), graph);
    EXPECT_EQ(form->data().profiles.ProfilePeak[3][3], 12345);

    // A bull's-eye leaves the results describing the slice on screen.
    choose("RadioButton48");
    const ProfileResults bullseye = form->data().profiles;
    form->AnalyseProfiles();
    EXPECT_EQ(std::memcmp(&bullseye, &form->data().profiles, sizeof bullseye), 0);
    EXPECT_EQ(form->view().CurSlice, 7);
    choose("RBSA");
    EXPECT_EQ(std::memcmp(&bullseye, &form->data().profiles, sizeof bullseye), 0);
}

TEST_F(MapSelectionTest, GraphScaleRedrawsTheGraphsOnly)
{
    choose("RadioButton35");
    QImage before = form->Image1->picture();
    form->ScrollBar4->setValue(20);
    EXPECT_NE(form->Image1->picture(), before);
    choose("RadioButton48"); // BI ignores the scale
    before = form->Image1->picture();
    form->ScrollBar4->setValue(70);
    EXPECT_EQ(form->Image1->picture(), before);
    choose("RadioButton33"); // a montage: no map panel is drawn
    before = form->Image1->picture();
    form->ScrollBar4->setValue(10);
    EXPECT_EQ(form->Image1->picture(), before);
}

TEST_F(MapSelectionTest, RestoringATinyCountRangeEndsExactlyAsSaved)
{
    // A study whose largest count is 2: both bars 0..0.
    WriteTestStudy(dir.file("T"), [](int, int, int column, int row) { return int16_t(column == 3 && row == 3 ? 2 : 0); });
    openThroughDialog(dir.file("T.d01"));
    const std::array<int, 6> counts = bars();
    EXPECT_EQ(counts, (std::array<int, 6>{0, 0, 0, 0, 0, 0}));
    choose("RadioButton48");
    EXPECT_EQ(bars(), (std::array<int, 6>{99, 0, 100, 1, 50, 50}));
    choose("RadioButton36");
    EXPECT_EQ(bars(), counts);
}

} // namespace
