// The colour bar as the window draws it, and the captions that follow the count-window bars.
#include "WindowFixture.h"

#include "Bitmap.h"

#include <QAbstractSlider>

namespace {

class ColourBarWindowTest : public WindowTest {
protected:
    // The bars as a study whose largest count is 1000 leaves them, with the window 200..1000.
    void loadCountRange1000()
    {
        form->data().study.CountRange = 1000;
        form->ScrollBarMax->setRange(0, 400);
        form->ScrollBarMin->setRange(0, 400);
        form->ScrollBarMax->setValue(0);
        form->ScrollBarMin->setValue(199);
    }
    QString upper() const { return form->Label1->text(); }
    QString lower() const { return form->Label2->text(); }
};

TEST_F(ColourBarWindowTest, CountModeFillsTheTableAndCaptionsTheWindow)
{
    loadCountRange1000();
    form->ScrollBarMax->setValue(88);
    form->ScrollBarMin->setValue(0);
    Bitmap bar(25, 512);
    form->DrawColourBar(bar);
    EXPECT_EQ(upper(), "912");
    EXPECT_EQ(lower(), "400");
    EXPECT_EQ(form->data().colourTable[511], ColourRef(255, 1, 0));
    EXPECT_EQ(form->data().colourTable[128], ColourRef(0, 0, 255));
    EXPECT_EQ(bar.pixel(0, 0), Rgb(255, 1, 0));
    EXPECT_EQ(bar.pixel(24, 383), Rgb(0, 0, 255));
    EXPECT_EQ(bar.pixel(12, 511), Rgb(0, 0, 0));
}

TEST_F(ColourBarWindowTest, PercentModeLeavesTheTableAndCaptionsThePercentLimits)
{
    loadCountRange1000();
    Bitmap bar(25, 512);
    form->DrawColourBar(bar);
    const ColourTable countTable = form->data().colourTable;

    form->view().PercentScale = 1;
    form->ScrollBarMax->setRange(0, 99);
    form->ScrollBarMin->setRange(1, 100);
    form->ScrollBarMax->setValue(50);
    form->ScrollBarMin->setValue(50);
    form->DrawColourBar(bar);
    EXPECT_EQ(upper(), "50");
    EXPECT_EQ(lower(), "50");
    EXPECT_EQ(bar.pixel(0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(bar.pixel(0, 255), Rgb(0, 0, 0));
    EXPECT_EQ(bar.pixel(0, 511), Rgb(0, 0, 255));
    EXPECT_EQ(form->data().colourTable, countTable);
}

TEST_F(ColourBarWindowTest, CaptionsFollowArrowsAndDragsButNotTroughClicks)
{
    struct Case {
        const char *what;
        bool minBar;                      // ScrollBarMin, else ScrollBarMax
        QAbstractSlider::SliderAction action; // SliderMove means a drag of the thumb to 250
        const char *upper, *lower;
    } cases[] = {
        {"arrow down on Max", false, QAbstractSlider::SliderSingleStepAdd, "999", "201"},
        {"arrow down on Min", true, QAbstractSlider::SliderSingleStepAdd, "1000", "200"},
        {"arrow up on Min", true, QAbstractSlider::SliderSingleStepSub, "1000", "202"},
        {"trough click on Min", true, QAbstractSlider::SliderPageStepAdd, "1000", "201"},
        {"trough click on Max", false, QAbstractSlider::SliderPageStepAdd, "1000", "201"},
        {"Min to its end", true, QAbstractSlider::SliderToMaximum, "1000", "201"},
        {"thumb of Min dragged", true, QAbstractSlider::SliderMove, "1000", "150"},
        {"thumb of Max dragged", false, QAbstractSlider::SliderMove, "750", "201"},
    };
    for (const Case &c : cases) {
        loadCountRange1000();
        Bitmap bar(25, 512);
        form->DrawColourBar(bar);
        ASSERT_EQ(upper(), "1000");
        ASSERT_EQ(lower(), "201");
        TScrollBar *scrollBar = c.minBar ? form->ScrollBarMin : form->ScrollBarMax;
        const int before = scrollBar->value();
        if (c.action == QAbstractSlider::SliderMove) {
            scrollBar->setSliderDown(true);
            scrollBar->setSliderPosition(250);
        } else {
            scrollBar->triggerAction(c.action);
        }
        EXPECT_NE(scrollBar->value(), before) << c.what << ": the bar did not move";
        EXPECT_EQ(upper(), c.upper) << c.what;
        EXPECT_EQ(lower(), c.lower) << c.what;
        scrollBar->setSliderDown(false);
    }
}

} // namespace
