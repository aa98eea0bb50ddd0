// The handlers of the views: which images each one redraws, the background, the ROI overlay
// controls, the count-window bars, the copy frames and Edit > Copy.
#include "TestStudy.h"
#include "WindowFixture.h"

#include <QClipboard>

namespace {

// Every cell of slice s, phase p holds 100 + 10 s + p at the even cells, so each plane has
// its own colour in the window 0..max; the largest count is 1000 (slice 15's corner).
PixelFunction planeStudy()
{
    return [](int phase, int slice, int column, int row) {
        if (slice == 15 && phase == 15 && column == 63 && row == 63)
            return int16_t(1000);
        return int16_t(100 + 40 * slice + 2 * phase);
    };
}

class ViewHandlersTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        WriteTestStudy(dir.file("P"), planeStudy());
        openThroughDialog(dir.file("P.d01"));
        ASSERT_EQ(form->data().study.CountRange, 1000);
    }
    // Which of Image1 and Image3 got a new picture while `action` ran.
    std::pair<bool, bool> redrawn(const std::function<void()> &action)
    {
        const qint64 one = form->Image1->picture().cacheKey(), three = form->Image3->picture().cacheKey();
        action();
        return {form->Image1->picture().cacheKey() != one, form->Image3->picture().cacheKey() != three};
    }
    TempDir dir;
};

TEST_F(ViewHandlersTest, EachSelectionRedrawsWhatDependsOnIt)
{
    using Redrawn = std::pair<bool, bool>;
    // Slice montage: a slice click redraws only the detail view, a phase click both.
    EXPECT_EQ(redrawn([&] { find<QRadioButton>("RadioButton6")->click(); }), Redrawn(false, true));
    EXPECT_EQ(form->view().CurSlice, 5);
    EXPECT_EQ(redrawn([&] { find<QRadioButton>("RadioButton19")->click(); }), Redrawn(true, true));
    EXPECT_EQ(form->view().CurPhase, 8);
    EXPECT_EQ(form->view().MapPhase, 8);
    // Every tile now shows phase 9 (index 8): tile 2 is slice 2 at 100 + 80 + 16 = 196.
    const QRgb tile2 = form->Image1->picture().pixel(276 + 10, 10);
    // Phase montage: the other way round.
    EXPECT_EQ(redrawn([&] { find<QRadioButton>("RadioButton34")->click(); }), Redrawn(true, true));
    EXPECT_EQ(redrawn([&] { find<QRadioButton>("RadioButton18")->click(); }), Redrawn(false, true));
    EXPECT_EQ(redrawn([&] { find<QRadioButton>("RadioButton9")->click(); }), Redrawn(true, true));
    // Tile 8 of the phase montage of slice 3 (index 2) is phase 8: 196 again.
    EXPECT_EQ(form->Image1->picture().pixel(10, 276 + 10), tile2);
    // Map display: both, with the analysis run first.
    form->data().profiles.ProfilePeak[0][0] = -1;
    EXPECT_EQ(redrawn([&] { find<QRadioButton>("RadioButton35")->click(); }), Redrawn(true, true));
    EXPECT_EQ(form->view().DisplayMode, 2);
    EXPECT_NE(form->data().profiles.ProfilePeak[0][0], -1);
    EXPECT_EQ(form->Image1->picture().pixel(130, 10), qRgb(0, 0, 0));
}

TEST_F(ViewHandlersTest, BackgroundOfTheMontageGaps)
{
    form->K1->trigger();
    EXPECT_EQ(form->Image1->picture().pixel(130, 300), qRgb(0, 0, 0));
    EXPECT_EQ(form->Image1->picture().pixel(300, 270), qRgb(0, 0, 0));
    form->K2->trigger();
    EXPECT_EQ(form->Image1->picture().pixel(130, 300), form->colorMenu());
}

TEST_F(ViewHandlersTest, RoiControlsRedrawTheDetailView)
{
    const QRgb yellow = qRgb(255, 255, 0);
    auto image3 = [&] { return form->Image3->picture(); };
    EXPECT_EQ(image3().pixel(48, 128), yellow);
    EXPECT_EQ(image3().pixel(150, 106), yellow) << "the angle marker of ray 0 for GA";

    form->ScrollBarR->setValue(8); // straight up
    EXPECT_EQ(form->Label3->text(), "8");
    EXPECT_EQ(image3().pixel(128, 60), yellow);
    EXPECT_NE(image3().pixel(150, 106), yellow);

    find<QRadioButton>("RadioButton38")->click(); // C1: the circle alone
    EXPECT_NE(image3().pixel(128, 60), yellow);
    EXPECT_EQ(image3().pixel(48, 128), yellow);

    form->RBOff->click();
    EXPECT_EQ(form->Label6->text(), "off");
    EXPECT_NE(image3().pixel(48, 128), yellow);
    form->RBOn->click();
    EXPECT_EQ(form->Label6->text(), "on");

    form->ScrollBarD->setValue(20); // radius 20: rectangle (88, 88) - (168, 168)
    EXPECT_EQ(form->view().RoiRadius, 20);
    EXPECT_EQ(image3().pixel(88, 128), yellow);
    EXPECT_NE(image3().pixel(48, 128), yellow);

    form->ScrollBarX->setValue(0); // centre (24, 64): the circle moves, the tick too
    EXPECT_EQ(image3().pixel(8, 128), yellow);
    EXPECT_EQ(form->Image4->picture().pixel(0, 5), qRgb(0, 0, 0));
    EXPECT_NE(form->Image4->picture().pixel(80, 5), qRgb(0, 0, 0));
    form->ScrollBarY->setValue(79);
    EXPECT_EQ(form->Image5->picture().pixel(5, 158), qRgb(0, 0, 0));
}

TEST_F(ViewHandlersTest, CentreChangesReanalyseInEveryDisplay)
{
    // A centre moved in the slice montage re-runs the analysis: the peak of the centre
    // sample follows the slice's plane.
    form->ScrollBarX->setValue(10);
    const AnalysisInputs inputs = form->analysisInputs();
    EXPECT_EQ(inputs.centreX, 34);
    EXPECT_EQ(form->data().profiles.ProfileSamples[0][0][0], 100 + 40 * 7 + 2 * 0);
    form->data().profiles.ProfileSamples[0][0][0] = 0;
    form->ScrollBarD->setValue(30);
    EXPECT_EQ(form->data().profiles.ProfileSamples[0][0][0], 380);
}

TEST_F(ViewHandlersTest, PercentModeLeavesTheDetailColoursAlone)
{
    find<QRadioButton>("RadioButton38")->click(); // C1: no angle marker, as with the bull's-eyes
    const QImage before = form->Image3->picture();
    find<QRadioButton>("RadioButton49")->click(); // BA: the bars now hold percent limits
    ASSERT_EQ(form->view().PercentScale, 1);
    form->ScrollBarMax->setValue(10);
    form->ScrollBarMin->setValue(90);
    form->RBOff->click();
    form->RBOn->click();
    EXPECT_EQ(form->Image3->picture(), before);
}

TEST_F(ViewHandlersTest, CountBarsRedrawOnArrowsAndReleaseNotWhileDragging)
{
    using Redrawn = std::pair<bool, bool>;
    TScrollBar *bar = form->ScrollBarMax;
    QTest::qWait(10);
    // A dragged thumb: only the caption follows.
    EXPECT_EQ(redrawn([&] { emit bar->scrollRequest(SB_THUMBTRACK, 20); }), Redrawn(false, false));
    EXPECT_EQ(form->Label1->text(), "980");
    // The arrow at the bottom: one step, the caption and both images.
    bar->setValue(20);
    EXPECT_EQ(redrawn([&] {
                  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(bar->width() / 2, bar->height() - 3));
              }),
              Redrawn(true, true));
    EXPECT_EQ(bar->value(), 21);
    EXPECT_EQ(form->Label1->text(), "979");
    EXPECT_EQ(form->data().DisplayWindow.upper, 979) << "the redraw read the new position";
    // The released thumb redraws without touching the caption.
    bar->setValue(30);
    EXPECT_EQ(redrawn([&] { emit bar->scrollRequest(SB_THUMBPOSITION, 30); }), Redrawn(true, true));
    EXPECT_EQ(form->Label1->text(), "979");
    EXPECT_EQ(form->data().DisplayWindow.upper, 970);
    // A trough click, the ends and the end of a scroll change nothing.
    for (ScrollCode kind : {SB_PAGEUP, SB_PAGEDOWN, SB_TOP, SB_BOTTOM, SB_ENDSCROLL})
        EXPECT_EQ(redrawn([&] { emit bar->scrollRequest(kind, 30); }), Redrawn(false, false)) << kind;
}

// The colour of the window's own surface at a point of the client area.
QRgb windowPixel(TSDIAppForm *form, int x, int y)
{
    return form->centralWidget()->grab().toImage().pixel(x, y);
}

TEST_F(ViewHandlersTest, CopyFramesAndTheClipboard)
{
    const QRgb red = qRgb(255, 0, 0);
    QTest::mouseClick(form->Image3, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(windowPixel(form, 638, 200), red);
    EXPECT_EQ(windowPixel(form, 639, 86), red);
    EXPECT_NE(windowPixel(form, 640, 200), red) << "the frame lies outside the image";
    QTest::mouseClick(form->Image1, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(form->view().CopySource, 0);
    // Red around Image1 only, (7, 39) - (552, 584) with a pen of two.
    for (const QPoint p : {QPoint(6, 300), QPoint(7, 300), QPoint(550, 300), QPoint(551, 300), QPoint(300, 38),
                           QPoint(300, 583)})
        EXPECT_EQ(windowPixel(form, p.x(), p.y()), red) << p.x() << "," << p.y();
    EXPECT_NE(windowPixel(form, 638, 200), red);
    // The frame stays through a repaint, and is not part of the picture.
    form->centralWidget()->repaint();
    EXPECT_EQ(windowPixel(form, 6, 300), red);

    form->KC1->trigger();
    QImage copied = QApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(542, 542));
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), form->Image1->picture());
    QTest::mouseClick(form->Image3, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    form->KC1->trigger();
    copied = QApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(256, 256));
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), form->Image3->picture());
}

} // namespace
