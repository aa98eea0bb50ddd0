// The cine loop in the window: what it animates in each display, the stop from the button,
// from a save and from closing the window, and that its wait does not spin.
#include "TestStudy.h"
#include "WindowFixture.h"

#include <QElapsedTimer>

#include <ctime>
#include <set>

namespace {

// Each plane in a count of its own: 100 + 40 slice + 20 phase (the largest 1000 at one pixel).
PixelFunction planeStudy()
{
    return [](int phase, int slice, int column, int row) {
        if (column == 63 && row == 63)
            return int16_t(1000);
        return int16_t(100 + 40 * slice + 20 * phase);
    };
}

class CineWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        WriteTestStudy(dir.file("P"), planeStudy());
        openThroughDialog(dir.file("P.d01"));
        form->ScrollBarT->setValue(10);
    }
    // Plays until `stopWhen` says so (checked every few milliseconds), recording the pictures
    // the detail view and Image1 show meanwhile.
    void play(const std::function<bool()> &stopWhen)
    {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            details.insert(form->Image3->picture().pixel(20, 20));
            mapKeys.insert(form->Image1->picture().cacheKey());
            ++polls;
            if (stopWhen())
                form->Button2->click();
        });
        poll.start(3);
        QTest::mouseClick(form->Button1, Qt::LeftButton); // returns once the loop has stopped
        poll.stop();
    }
    std::set<QRgb> details;
    std::set<qint64> mapKeys;
    int polls = 0;
    TempDir dir;
};

TEST_F(CineWindowTest, SliceMontageCyclesTheSlicesAndRestoresTheSlice)
{
    find<QRadioButton>("RadioButton17")->click(); // phase 1
    const QImage before = form->Image3->picture();
    const qint64 montage = form->Image1->picture().cacheKey();
    play([&] { return details.size() >= 6; });
    EXPECT_GE(details.size(), 6u) << "the detail view showed several slices";
    EXPECT_EQ(form->view().CurSlice, 7);
    EXPECT_EQ(form->view().CurPhase, 0);
    EXPECT_EQ(form->Image3->picture(), before);
    EXPECT_EQ(form->Image1->picture().cacheKey(), montage) << "the montage stays";
    EXPECT_FALSE(form->ProgressBar1->isVisible());
}

TEST_F(CineWindowTest, PhaseAndMapDisplaysCycleThePhases)
{
    struct Case {
        const char *display, *kind;
        bool image1Animated;
    } cases[] = {
        {"RadioButton34", "RadioButton37", false}, // phase montage, GA
        {"RadioButton35", "RadioButton37", false}, // map, GA: Image1 stays
        {"RadioButton35", "RadioButton36", true},  // map, G1: redrawn every frame
        {"RadioButton35", "RadioButton48", true},  // map, BI: the prepared bull's-eyes
    };
    for (const Case &c : cases) {
        find<QRadioButton>(c.display)->click();
        find<QRadioButton>(c.kind)->click();
        find<QRadioButton>("RadioButton22")->click(); // phase 6
        details.clear();
        mapKeys.clear();
        play([&] { return details.size() >= 5; });
        EXPECT_GE(details.size(), 5u) << c.kind;
        EXPECT_EQ(form->view().CurPhase, 5) << c.kind;
        EXPECT_EQ(form->view().MapPhase, 5) << c.kind;
        EXPECT_EQ(mapKeys.size() > 2, c.image1Animated) << c.display << " " << c.kind;
    }
}

TEST_F(CineWindowTest, StopWithoutALoopOnlySetsTheFlag)
{
    const QImage before = form->Image3->picture();
    form->Button2->click();
    EXPECT_EQ(form->view().CineStopRequested, 1);
    EXPECT_EQ(form->Image3->picture(), before);
    // The next "move" clears it again and plays.
    play([&] { return details.size() >= 3; });
    EXPECT_GE(details.size(), 3u);
}

TEST_F(CineWindowTest, TheWaitSleepsAndAStopIsTakenAtOnce)
{
    form->ScrollBarT->setValue(500);
    QElapsedTimer wall;
    std::clock_t cpu0 = 0;
    bool stopped = false;
    QElapsedTimer sinceStop;
    QTimer::singleShot(50, [&] {
        wall.start();
        cpu0 = std::clock();
    });
    // Stopped in the middle of the second wait.
    QTimer::singleShot(800, [&] {
        const double cpuMs = double(std::clock() - cpu0) * 1000.0 / CLOCKS_PER_SEC;
        EXPECT_LT(cpuMs, 0.25 * double(wall.elapsed())) << "the wait spins";
        stopped = true;
        sinceStop.start();
        form->Button2->click();
    });
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    EXPECT_TRUE(stopped);
    EXPECT_LT(sinceStop.elapsed(), 400) << "the stop waited for the end of the frame";
}

TEST_F(CineWindowTest, SaveStopsTheLoopEvenWhenCancelled)
{
    QTimer::singleShot(100, [&] {
        AnswerNextFileDialog(QString());
        form->SaveItem->trigger();
    });
    QElapsedTimer wall;
    wall.start();
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        ADD_FAILURE() << "the loop did not stop";
        form->Button2->click();
    });
    guard.start(5000);
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    EXPECT_LT(wall.elapsed(), 4000);
    EXPECT_EQ(form->view().CineStopRequested, 1);
}

TEST_F(CineWindowTest, ClosingTheWindowEndsTheLoopAndTheProgram)
{
    // The program's message loop, with the cine loop playing inside it when the close box
    // is used; a loop still running after five seconds ends with 1.
    QTimer::singleShot(0, form, [&] { form->Button1->click(); });
    QTimer::singleShot(300, form, [&] { form->close(); });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(5000);
    QElapsedTimer wall;
    wall.start();
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_LT(wall.elapsed(), 1500);
    EXPECT_FALSE(form->isVisible());
}

} // namespace
