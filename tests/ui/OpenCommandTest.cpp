// File > Open through the real dialog: the count-window bars and captions a study starts
// with, the views drawn, the controls revealed, and what a set that cannot be read leaves.
#include "MessageBox.h"
#include "TestStudy.h"
#include "WindowFixture.h"

#include <filesystem>
#include <fstream>

namespace {

// A study whose largest count is `largest`, at one source pixel of slice 9, phase 7; every
// other pixel holds `rest`.
PixelFunction hotPixelStudy(int largest, int rest = 0)
{
    return [=](int phase, int slice, int column, int row) {
        return int16_t(phase == 7 && slice == 9 && column == 2 && row == 4 ? largest : rest);
    };
}

class OpenCommandTest : public WindowTest {
protected:
    std::string write(const std::string &name, const PixelFunction &pixels)
    {
        WriteTestStudy(dir.file(name), pixels, "ID-0042", "YAMADA^HANAKO");
        return dir.file(name + ".d01");
    }
    TempDir dir;
};

TEST_F(OpenCommandTest, BarsAndCaptionsFromTheLargestCount)
{
    struct Case {
        int largest;
        const char *label1, *label2; // after the command: the colour bar's captions
        int barMaximum, minPosition;
    } cases[] = {
        // 1000 x 0.2 is a little above 200 in extended precision: 400 minus it truncates to 199.
        {1000, "1000", "201", 400, 199},
        {1001, "1001", "201", 400, 199},
        {1003, "1003", "201", 401, 200},
        {7, "7", "2", 2, 0},
    };
    for (const Case &c : cases) {
        const std::string path = write(std::string(1, 'M').append(std::to_string(c.largest)), hotPixelStudy(c.largest));
        openThroughDialog(path);
        EXPECT_EQ(form->data().study.CountRange, c.largest);
        EXPECT_EQ(form->Label1->text(), c.label1) << c.largest;
        EXPECT_EQ(form->Label2->text(), c.label2) << c.largest;
        for (TScrollBar *bar : {form->ScrollBarMax, form->ScrollBarMin}) {
            EXPECT_EQ(bar->minimum(), 0) << c.largest;
            EXPECT_EQ(bar->maximum(), c.barMaximum) << c.largest;
        }
        EXPECT_EQ(form->ScrollBarMax->value(), 0) << c.largest;
        EXPECT_EQ(form->ScrollBarMin->value(), c.minPosition) << c.largest;
        EXPECT_EQ(form->StatusBar->currentMessage(), QString::fromStdString(path));
    }
}

TEST_F(OpenCommandTest, DrawsEveryViewAndRevealsTheControls)
{
    const std::string path = write("P", hotPixelStudy(1000));
    // The bar follows the files read, then the montage's tiles.
    std::vector<int> progress;
    QObject::connect(form->ProgressBar1, &QProgressBar::valueChanged, form, [&](int v) { progress.push_back(v); });
    openThroughDialog(path);
    std::vector<int> expected;
    for (int n = 1; n < 16; ++n)
        expected.push_back(n); // files completed (0, the start, is the bar's value already)
    for (int t = 0; t < 16; ++t)
        expected.push_back(t); // tiles
    EXPECT_EQ(progress, expected);
    EXPECT_FALSE(form->ProgressBar1->isVisible());
    EXPECT_EQ(form->ProgressBar1->maximum(), 16);
    for (const char *name : {"GroupBox1", "GroupBox4", "ScrollBarMax", "Button1", "Panel1", "RadioButton47"})
        EXPECT_TRUE(find<QWidget>(name)->isVisible()) << name;
    EXPECT_EQ(form->Label4->text(), "ID-0042");
    EXPECT_EQ(form->Label5->text(), "YAMADA^HANAKO");

    // The slice montage at phase 8 with the window 201..1000: the hot source pixel (2, 4) of
    // slice 9 is cell (4, 8) of tile 9 (row 2, column 1), red; cell (5, 9) holds the mean of
    // four cells, 1000 / 4 = 250, entry trunc(49 x 512 / 799) = 31, (0, 0, 62).
    const QImage &montage = form->Image1->picture();
    ASSERT_EQ(montage.size(), QSize(542, 542));
    EXPECT_EQ(montage.pixel(138 + 4, 276 + 8), qRgb(255, 1, 0));
    EXPECT_EQ(montage.pixel(138 + 5, 276 + 9), qRgb(0, 0, 62));
    EXPECT_EQ(montage.pixel(541, 541), qRgb(0, 0, 0));
    // The gaps in the menu colour.
    const QRgb menu = form->colorMenu();
    EXPECT_EQ(montage.pixel(128, 300), menu);
    EXPECT_EQ(montage.pixel(300, 413), menu);
    // The colour bar, the detail view of slice 8 (all below the window: black) with its
    // yellow circle, and the centre markers.
    EXPECT_EQ(form->Image2->picture().pixel(0, 0), qRgb(255, 1, 0));
    EXPECT_EQ(form->Image3->picture().pixel(100, 150), qRgb(0, 0, 0));
    EXPECT_EQ(form->Image3->picture().pixel(48, 128), qRgb(255, 255, 0));
    EXPECT_EQ(form->Image4->picture().pixel(80, 8), qRgb(0, 0, 0));
    EXPECT_EQ(form->Image5->picture().pixel(8, 80), qRgb(0, 0, 0));
    EXPECT_EQ(form->Image4->picture().pixel(70, 8), menu);
}

TEST_F(OpenCommandTest, CancelAndASecondStudy)
{
    openThroughDialog(write("P", hotPixelStudy(1000)));
    // Settings made with the first study stay with the second.
    find<QRadioButton>("RadioButton34")->setChecked(true); // phase montage
    find<QRadioButton>("RadioButton9")->setChecked(true);  // slice 3
    form->ScrollBarD->setValue(30);
    form->ScrollBarT->setValue(250);
    const QImage before = form->Image1->picture();

    AnswerNextFileDialog(QString()); // cancelled: nothing changes
    form->OpenItem->trigger();
    EXPECT_EQ(form->Image1->picture(), before);

    openThroughDialog(write("Q", hotPixelStudy(2000, 1500)));
    EXPECT_EQ(form->data().study.CountRange, 2000);
    EXPECT_EQ(form->view().DisplayMode, 1);
    EXPECT_EQ(form->view().CurSlice, 2);
    EXPECT_EQ(form->view().RoiRadius, 30);
    EXPECT_EQ(form->view().CineDelayMs, 250);
    EXPECT_NE(form->Image1->picture(), before);
}

TEST_F(OpenCommandTest, ASetThatCannotBeReadLeavesEverythingAsItWas)
{
    openThroughDialog(write("GOOD", hotPixelStudy(1000)));
    const std::string missing = write("MISS", hotPixelStudy(500));
    std::filesystem::remove(dir.file("MISS.d09"));
    const std::string shortSet = write("SHORT", hotPixelStudy(500));
    std::filesystem::resize_file(dir.file("SHORT.d03"), 120000);
    std::filesystem::create_directory(dir.file("DIR.d01"));

    struct Case {
        std::string path;
        std::string file; // named in the message
    } cases[] = {
        {missing, "MISS.d09"},
        {shortSet, "SHORT.d03"},
        {dir.file("DIR.d01"), "DIR.d01"},
    };
    for (const Case &c : cases) {
        const QImage image1 = form->Image1->picture(), image3 = form->Image3->picture();
        const QString status = form->StatusBar->currentMessage();
        std::vector<MessageBoxRequest> shown;
        ScopedMessageBoxFunction answer([&](const MessageBoxRequest &r) {
            shown.push_back(r);
            return QMessageBox::Ok;
        });
        // The dialog would open a folder rather than return it; the command takes the path.
        if (std::filesystem::is_directory(c.path))
            form->OpenStudy(QString::fromStdString(c.path));
        else
            openThroughDialog(c.path);
        ASSERT_EQ(shown.size(), 1u) << c.path;
        EXPECT_TRUE(shown[0].text.contains(QString::fromStdString(c.file))) << shown[0].text.toStdString();
        EXPECT_TRUE(form->isVisible()) << "the program goes on";
        EXPECT_EQ(form->data().study.CountRange, 1000);
        EXPECT_EQ(form->Label1->text(), "1000");
        EXPECT_EQ(form->ScrollBarMin->value(), 199);
        EXPECT_EQ(form->Image1->picture(), image1) << c.path;
        EXPECT_EQ(form->Image3->picture(), image3) << c.path;
        EXPECT_EQ(form->StatusBar->currentMessage(), status);
        EXPECT_FALSE(form->ProgressBar1->isVisible());
    }
}

TEST_F(OpenCommandTest, StudiesWithoutACountRangeStillOpen)
{
    struct Case {
        const char *name;
        int largest, rest;
        int barMaximum;
    } cases[] = {
        {"ZERO", 0, 0, 0},
        {"NEG", -5, -300, 0}, // a largest count below 0: the bars get no range, not an inverted one
        {"ONE", 1, 0, 0},
        {"TWO", 2, 0, 0},
        {"HOT", 32767, 0, 13106},
    };
    for (const Case &c : cases) {
        openThroughDialog(write(c.name, hotPixelStudy(c.largest, c.rest)));
        EXPECT_EQ(form->data().study.CountRange, c.largest) << c.name;
        EXPECT_EQ(form->ScrollBarMax->maximum(), c.barMaximum) << c.name;
        EXPECT_GE(form->ScrollBarMin->maximum(), form->ScrollBarMin->minimum()) << c.name;
        EXPECT_EQ(form->Image1->picture().size(), QSize(542, 542)) << c.name;
        EXPECT_EQ(form->Image3->picture().size(), QSize(256, 256)) << c.name;
    }
}

TEST_F(OpenCommandTest, OpenedInMapDisplayShowsTheNewStudysMapPanel)
{
    openThroughDialog(write("P", hotPixelStudy(1000)));
    find<QRadioButton>("RadioButton35")->setChecked(true); // map
    ASSERT_EQ(form->view().DisplayMode, 2);
    openThroughDialog(write("Q", hotPixelStudy(2000)));
    // The map panel is black where a montage would show its tiles and the menu colour.
    EXPECT_EQ(form->Image1->picture().pixel(130, 10), qRgb(0, 0, 0));
}

TEST_F(OpenCommandTest, OpenedInPercentModeKeepsThePercentLimits)
{
    openThroughDialog(write("P", hotPixelStudy(1000)));
    find<QRadioButton>("RadioButton48")->setChecked(true); // BI: percent mode
    ASSERT_EQ(form->view().PercentScale, 1);
    form->ScrollBarMin->setValue(30);
    openThroughDialog(write("Q", hotPixelStudy(2000)));
    // The bars keep their percent limits; the new count window waits in the saved set.
    EXPECT_EQ(form->ScrollBarMax->maximum(), 99);
    EXPECT_EQ(form->ScrollBarMin->minimum(), 1);
    EXPECT_EQ(form->ScrollBarMin->value(), 30);
    const int32_t *saved = form->view().CountScaleSet;
    EXPECT_EQ(saved[0], 800);
    EXPECT_EQ(saved[2], 800);
    EXPECT_EQ(saved[4], 0);
    EXPECT_EQ(saved[5], 399); // trunc(800 - 2000 x 0.2), a hair below 400
    // Leaving percent mode brings the new study's count window.
    find<QRadioButton>("RadioButton38")->setChecked(true); // C1
    EXPECT_EQ(form->ScrollBarMax->maximum(), 800);
    EXPECT_EQ(form->ScrollBarMin->value(), 399);
    EXPECT_EQ(form->Label1->text(), "2000");
}

} // namespace
