// Builds the program's windows as at start-up, reveals the study controls and saves
// pictures of them, so the layout can be looked at without loading a study:
//   corvista-window-shot OUTDIR [HOLD_MS [STUDY.d01]]
// writes OUTDIR/window-start.png (as the program starts), OUTDIR/window-revealed.png
// (every study control shown), OUTDIR/window-hint.png (a hint in the status bar) and
// OUTDIR/about.png, then OUTDIR/window-images.png (every image control filled, framed in
// red on its outermost pixels, to show its place and size), and keeps the window on the
// screen for HOLD_MS milliseconds so that the whole screen can be captured as well. Given a
// study, it also saves OUTDIR/window-study.png: the study read in, the count-window bars set as
// a load sets them, the colour bar drawn by the window and the selected slice doubled in Image3.
#include "About.h"
#include "Bitmap.h"
#include "CountImage.h"
#include "CountToColour.h"
#include "CountWindow.h"
#include "SDIMain.h"
#include "StudyReader.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: corvista-window-shot OUTDIR [HOLD_MS]\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const int holdMs = argc > 2 ? std::atoi(argv[2]) : 0;

    ProgramWindows windows;
    TSDIAppForm &form = *windows.main;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    QTest::qWait(200);
    bool ok = form.grab().save(out.filePath(QStringLiteral("window-start.png")));

    form.RevealControls();
    QTest::qWait(200);
    ok = form.grab().save(out.filePath(QStringLiteral("window-revealed.png"))) && ok;

    // The hint of the count-window bar, the longest one, as the mouse would bring it.
    QTest::mouseMove(form.ScrollBarMax);
    QStatusTipEvent tip(form.ScrollBarMax->statusTip());
    QApplication::sendEvent(form.ScrollBarMax, &tip);
    QTest::qWait(200);
    ok = form.grab().save(out.filePath(QStringLiteral("window-hint.png"))) && ok;

    AboutBox->show();
    if (QTest::qWaitForWindowExposed(AboutBox))
        ok = AboutBox->grab().save(out.filePath(QStringLiteral("about.png"))) && ok;
    AboutBox->hide();

    const uint32_t fills[] = {Rgb(0, 0, 160), Rgb(0, 160, 0), Rgb(0, 120, 120), Rgb(120, 0, 120), Rgb(120, 120, 0)};
    int i = 0;
    for (TImage *image : {form.Image1, form.Image2, form.Image3, form.Image4, form.Image5}) {
        Bitmap picture(image->width(), image->height(), fills[i++]);
        const uint32_t red = Rgb(255, 0, 0);
        picture.fillRect(0, 0, picture.width(), 1, red);
        picture.fillRect(0, picture.height() - 1, picture.width(), picture.height(), red);
        picture.fillRect(0, 0, 1, picture.height(), red);
        picture.fillRect(picture.width() - 1, 0, picture.width(), picture.height(), red);
        image->setPicture(picture);
    }
    QTest::qWait(100);
    ok = form.grab().save(out.filePath(QStringLiteral("window-images.png"))) && ok;

    if (argc > 3) {
        ProgramData &data = form.data();
        const LoadResult loaded = LoadStudySet(argv[3], data.study);
        if (!loaded.ok) {
            std::fprintf(stderr, "%s\n", loaded.message.c_str());
            return 1;
        }
        const CountBarsAfterLoad bars = CountBarsForStudy(data.study.CountRange);
        for (TScrollBar *bar : {form.ScrollBarMax, form.ScrollBarMin}) {
            bar->setMaximum(bars.barMaximum);
            bar->setMinimum(0);
        }
        form.ScrollBarMax->setValue(bars.maxPosition);
        form.ScrollBarMin->setValue(bars.minPosition);
        Bitmap bar(form.Image2->width(), form.Image2->height());
        form.DrawColourBar(bar);
        form.Image2->setPicture(bar);
        data.DisplayWindow =
            ComputeCountWindow(data.study.CountRange, form.ScrollBarMax->value(), form.ScrollBarMin->value());
        Bitmap detail(form.Image3->width(), form.Image3->height());
        DrawPlaneDoubled(detail, data.study.volume, data.view.CurSlice, data.view.CurPhase,
                         CountToColour(data.colourTable, data.DisplayWindow));
        form.Image3->setPicture(detail);
        QTest::qWait(100);
        ok = form.grab().save(out.filePath(QStringLiteral("window-study.png"))) && ok;
    }

    // The screen capture (and real key presses, for a menu) happen meanwhile.
    if (holdMs > 0)
        QTest::qWait(holdMs);
    std::printf("window at %d,%d size %dx%d, client at %d,%d\n", form.x(), form.y(), form.width(), form.height(),
                form.centralWidget()->x(), form.centralWidget()->y());
    return ok ? 0 : 1;
}
