// corvista-render draws what the window shows: with the same study and settings its PNG
// equals the window's Image1 (montages, map panels) and Image3 (the detail view) pixel for
// pixel, the montage background included.
#include "CommandRun.h"
#include "TestStudy.h"
#include "WindowFixture.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

// A ring of counts around (28, 34), thicker and brighter in the middle phases, with a
// defect in its upper right, over a faint background.
PixelFunction ringStudy()
{
    return [](int phase, int slice, int column, int row) {
        const int dx = column - 28, dy = row - 34;
        const int d2 = dx * dx + dy * dy;
        const int thick = 4 + (phase > 4 && phase < 10 ? 2 : 0);
        if (d2 >= 100 && d2 <= (10 + thick) * (10 + thick) && !(dx > 3 && dy < -3))
            return int16_t(600 + 25 * phase + 10 * slice + (column * 7) % 11);
        return int16_t(30 + (row + slice) % 5);
    };
}

class RenderMatchesWindowTest : public WindowTest {
protected:
    // The picture corvista-render writes with `arguments`, in the window's pixel format.
    QImage render(const std::vector<std::string> &arguments)
    {
        std::vector<std::string> all = arguments;
        all.push_back(study);
        all.push_back("out.png");
        const CommandOutcome run = RunCommandIn(dir.path(), CORVISTA_RENDER_COMMAND, all);
        EXPECT_EQ(run.status, 0) << run.err;
        return QImage(QString::fromStdString(dir.file("out.png"))).convertToFormat(QImage::Format_RGB32);
    }
    static void expectSame(const QImage &window, const QImage &tool, const char *what)
    {
        ASSERT_EQ(window.size(), tool.size()) << what;
        const QImage w = window.convertToFormat(QImage::Format_RGB32);
        int differing = 0;
        for (int y = 0; y < w.height(); ++y)
            for (int x = 0; x < w.width(); ++x)
                differing += w.pixel(x, y) != tool.pixel(x, y);
        EXPECT_EQ(differing, 0) << what;
    }
    void click(const char *name) { QTest::mouseClick(find<QWidget>(name), Qt::LeftButton); }

    TempDir dir;
    std::string study;
};

TEST_F(RenderMatchesWindowTest, TheViewsWithTheSameSettings)
{
    WriteTestStudy(dir.file("R"), ringStudy());
    study = dir.file("R.d01");
    ASSERT_TRUE(form->OpenStudy(QString::fromStdString(study)));
    // The tool's montage background is the platform's window colour, as the window's is.
    EXPECT_EQ(form->colorMenu(), QGuiApplication::palette().color(QPalette::Window).rgb());

    // Centre (52, 58), radius 30, ray 10, graph scale 30, thresholds 55 % and 15 %, each
    // bar's handler run as when the user moves it; then slice 6 and phase 3, which draw the
    // montage again (the threshold bars draw the map panel in any display).
    form->ScrollBarX->setValue(52 - 24);
    form->ScrollBarY->setValue(58 - 24);
    form->ScrollBarD->setValue(30);
    form->ScrollBarR->setValue(10);
    form->ScrollBar4->setValue(30);
    form->ScrollBarA->setValue(55);
    form->ScrollBarW->setValue(15);
    click("RadioButton6");
    click("RadioButton25");
    const std::vector<std::string> settings = {"--slice", "6",  "--phase", "3",  "--centre", "52,58", "--radius", "30",
                                               "--angle", "10", "--scale", "30", "--area",   "55",    "--width",  "15"};
    const auto with = [&](const char *view) {
        std::vector<std::string> a = {"--view", view};
        a.insert(a.end(), settings.begin(), settings.end());
        return a;
    };

    expectSame(form->Image1->picture(), render(with("slice")), "slice montage");
    expectSame(form->Image3->picture(), render(with("detail")), "detail view");
    click("RadioButton34");
    expectSame(form->Image1->picture(), render(with("phase")), "phase montage");
    click("RadioButton35");
    expectSame(form->Image1->picture(), render(with("GA")), "GA");
    struct Kind {
        const char *button, *view;
    } kinds[] = {{"RadioButton40", "B1"},
                 {"RadioButton43", "AA"},
                 {"RadioButton51", "D1"},
                 {"RadioButton48", "BI"},
                 {"RadioButton49", "BA"}};
    for (const Kind &k : kinds) {
        click(k.button);
        expectSame(form->Image1->picture(), render(with(k.view)), k.view);
    }
}

} // namespace
