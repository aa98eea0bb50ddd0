// The main window at work: hints in the status bar, its placement, the About dialog, the
// ways to end the program, and the handlers that record a setting.
#include "WindowFixture.h"

#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusTipEvent>
#include <QTimer>

#include <functional>

namespace {

QString statusText(TSDIAppForm *form)
{
    return form->StatusBar->currentMessage();
}

TEST(MainWindowPlace, CentresThenMovesTenUpAndLeft)
{
    struct Case {
        int screenW, screenH, outerW, outerH, left, top;
    };
    const Case cases[] = {
        {1024, 768, 950, 760, 27, -6},
        // Narrower than the window: (800 - 951) / 2 truncates to -75, not -76.
        {800, 600, 951, 729, -85, -74},
        {1280, 1024, 942, 728, 159, 138},
        {942, 728, 942, 728, -10, -10},
    };
    for (const Case &c : cases) {
        const WindowPlace place = MainWindowPlace(c.screenW, c.screenH, c.outerW, c.outerH);
        EXPECT_EQ(place.left, c.left) << c.screenW << "x" << c.screenH;
        EXPECT_EQ(place.top, c.top) << c.screenW << "x" << c.screenH;
    }
}

TEST_F(WindowTest, FormCreatePlacesTheWindowOnTheScreen)
{
    // The test screen is 800 x 800, narrower than the window and a little taller. The window
    // system adds its frame only once the window is shown, after FormCreate: the size placed
    // is the window's own, 942 x (705 + the menu bar).
    ASSERT_EQ(form->screen()->geometry().size(), QSize(800, 800));
    const int outerHeight = 705 + form->menuBar()->height();
    EXPECT_EQ(form->frameGeometry().left(), -81); // (800 - 942) / 2 - 10, toward zero
    EXPECT_EQ(form->frameGeometry().top(), (800 - outerHeight) / 2 - 10);
}

TEST_F(WindowTest, StatusBarShowsTheHintOfTheControlUnderTheMouse)
{
    form->RevealControls();
    QTest::qWait(20);

    struct Step {
        QWidget *target;
        const char *hint;
    };
    const Step steps[] = {
        // A slice button has no hint of its own: its group box's shows.
        {find("RadioButton1"), "表示するスライスを選択"},
        {find("RadioButton18"), "表示する時相を選択"},
        {form->ScrollBarD, "ROIの大きさを設定する"},
        {form->Image1, ""},
        {find("RadioButton40"), "マップの種類を選択"},
        {form->Button2, "ムービー停止"},
        {find("RBSA"), ""},
    };
    for (const Step &s : steps) {
        QTest::mouseMove(s.target, QPoint(3, 3));
        QTest::qWait(10);
        EXPECT_EQ(statusText(form), QString::fromUtf8(s.hint)) << s.target->objectName().toStdString();
        EXPECT_EQ(form->applicationHint(), QString::fromUtf8(s.hint));
    }
}

TEST_F(WindowTest, TextInTheStatusBarStaysUntilTheHintChanges)
{
    form->RevealControls();
    QTest::mouseMove(find("RadioButton1"), QPoint(3, 3));
    QTest::qWait(10);
    ASSERT_EQ(statusText(form), QStringLiteral("表示するスライスを選択"));

    // What a load writes stays while the mouse moves within the same hint...
    form->StatusBar->showMessage(QStringLiteral("/data/P.d01"));
    QTest::mouseMove(find("RadioButton6"), QPoint(3, 3));
    QTest::qWait(10);
    EXPECT_EQ(statusText(form), QStringLiteral("/data/P.d01"));
    // ...even when the same hint is announced again.
    QStatusTipEvent again(QStringLiteral("表示するスライスを選択"));
    QApplication::sendEvent(find("RadioButton6"), &again);
    EXPECT_EQ(statusText(form), QStringLiteral("/data/P.d01"));

    // ...and gives way to the next different one.
    QTest::mouseMove(form->ScrollBarX, QPoint(3, 3));
    QTest::qWait(10);
    EXPECT_EQ(statusText(form), QStringLiteral("センターを設定"));
}

TEST_F(WindowTest, StatusBarShowsTheHintOfTheHighlightedMenuItem)
{
    // Alt+F opens the File menu; the keyboard then walks its items.
    QTest::keyClick(form, Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->FileMenu->isVisible(); }));
    QMenu *menu = form->FileMenu;
    if (menu->activeAction() != form->OpenItem)
        QTest::keyClick(menu, Qt::Key_Down);
    ASSERT_EQ(menu->activeAction(), form->OpenItem);
    EXPECT_EQ(statusText(form), QStringLiteral("ﾌｧｲﾙを開く"));

    QTest::keyClick(menu, Qt::Key_Down);
    EXPECT_EQ(statusText(form), QStringLiteral("現在のﾌｧｲﾙを保存"));
    QTest::keyClick(menu, Qt::Key_Down); // over the separator
    EXPECT_EQ(menu->activeAction(), form->ExitItem);
    EXPECT_EQ(statusText(form), QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの終了"));

    // An item without a hint empties the status bar.
    QTest::keyClick(menu, Qt::Key_Right); // to the Edit menu
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->KE1->isVisible(); }));
    if (form->KE1->activeAction() != form->KC1)
        QTest::keyClick(form->KE1, Qt::Key_Down);
    EXPECT_EQ(statusText(form), QString());
    QTest::keyClick(form->KE1, Qt::Key_Escape);
    QTest::keyClick(form->menuBar(), Qt::Key_Escape);
}

// Shows the About dialog through Help > version information; `answer` runs while it is
// up. A dialog still open after five seconds is rejected, so a fault cannot hang the test.
void RunAbout(TSDIAppForm *form, const std::function<void(QWidget *modal)> &answer)
{
    QTimer::singleShot(0, [answer] { answer(QApplication::activeModalWidget()); });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        ADD_FAILURE() << "the About dialog did not close";
        AboutBox->reject();
    });
    guard.start(5000);
    form->About1->trigger();
}

TEST_F(WindowTest, AboutIsModalCentredAndEnterClosesIt)
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        bool shown = false;
        RunAbout(form, [&](QWidget *modal) {
            ASSERT_EQ(modal, AboutBox);
            ASSERT_TRUE(QTest::qWaitForWindowExposed(AboutBox));
            shown = true;
            EXPECT_TRUE(AboutBox->isModal());
            EXPECT_EQ(AboutBox->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
            EXPECT_EQ(AboutBox->size(), QSize(373, 273));
            // Centred on the 800 x 800 test screen, frame included.
            const QRect frame = AboutBox->frameGeometry();
            EXPECT_EQ(frame.topLeft(), QPoint((800 - frame.width()) / 2, (800 - frame.height()) / 2));
            EXPECT_EQ(QApplication::focusWidget(), AboutBox->OKButton);
            QTest::keyClick(QApplication::focusWidget(), key);
        });
        EXPECT_TRUE(shown);
        EXPECT_FALSE(AboutBox->isVisible());
        EXPECT_EQ(AboutBox->result(), QDialog::Accepted);
        EXPECT_TRUE(form->isVisible());
    }
}

TEST_F(WindowTest, AboutDialogLayout)
{
    struct Place {
        const char *name;
        QRect geometry;
        const char *caption;
    };
    const Place places[] = {
        {"Panel1", {10, 10, 351, 201}, nullptr},         {"ProgramIcon", {26, 18, 71, 71}, nullptr},
        {"ProductName", {110, 20, 130, 20}, "Corvista"}, {"Version", {110, 50, 180, 20}, "Version 1.41421356"},
        {"Copyright", {34, 100, 240, 20}, nullptr},      {"Comments", {34, 130, 295, 40}, nullptr},
        {"Authors", {32, 160, 230, 20}, nullptr},        {"OKButton", {150, 223, 81, 41}, "OK"},
    };
    for (const Place &p : places) {
        auto *w = AboutBox->findChild<QWidget *>(QString::fromUtf8(p.name));
        ASSERT_NE(w, nullptr) << p.name;
        EXPECT_EQ(w->geometry(), p.geometry) << p.name;
        if (auto *label = qobject_cast<QLabel *>(w)) {
            EXPECT_EQ(label->font().family(), "Courier New") << p.name;
            EXPECT_EQ(label->font().pixelSize(), 17) << p.name;
            EXPECT_TRUE(label->font().bold()) << p.name;
            // Every text fits its label.
            EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), w->width()) << p.name;
        }
        if (p.caption) {
            const QString text =
                qobject_cast<QLabel *>(w) ? qobject_cast<QLabel *>(w)->text() : qobject_cast<QPushButton *>(w)->text();
            EXPECT_EQ(text, QString::fromUtf8(p.caption)) << p.name;
        }
    }
    EXPECT_TRUE(AboutBox->OKButton->isDefault());
    EXPECT_EQ(AboutBox->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(AboutBox->font().pixelSize(), 15);
    EXPECT_EQ(AboutBox->Panel1->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(AboutBox->ProgramIcon->picture().size(), QSize(72, 67));
    EXPECT_FALSE(AboutBox->isVisible());
}

TEST(ProgramEnd, ExitAltXAndTheCloseBoxEndTheProgram)
{
    struct Way {
        const char *name;
        std::function<void(TSDIAppForm *)> act;
    };
    const Way ways[] = {
        {"Alt+X", [](TSDIAppForm *f) { QTest::keyClick(f, Qt::Key_X, Qt::AltModifier); }},
        {"File > Exit", [](TSDIAppForm *f) { f->ExitItem->trigger(); }},
        {"File menu, X",
         [](TSDIAppForm *f) {
             QTest::keyClick(f, Qt::Key_F, Qt::AltModifier);
             ASSERT_TRUE(QTest::qWaitFor([f] { return f->FileMenu->isVisible(); }));
             QTest::keyClick(f->FileMenu, Qt::Key_X);
         }},
        {"close box", [](TSDIAppForm *f) { f->close(); }},
    };
    for (const Way &way : ways) {
        ProgramWindows windows;
        TSDIAppForm *form = windows.main.get();
        EXPECT_EQ(SDIAppForm, form);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form)) << way.name;

        // The program's message loop runs until the window closes; a loop still running
        // after five seconds ends with 1.
        QTimer::singleShot(0, form, [&] { way.act(form); });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        guard.start(5000);
        EXPECT_EQ(QApplication::exec(), 0) << way.name;
        EXPECT_FALSE(form->isVisible()) << way.name;
        // Closing asks a running cine loop to stop.
        EXPECT_EQ(form->view().CineStopRequested, 1) << way.name;
    }
    EXPECT_EQ(SDIAppForm, nullptr);
    EXPECT_EQ(AboutBox, nullptr);
}

TEST_F(WindowTest, EachParentsRadioButtonsAreOneGroup)
{
    form->RevealControls();
    QTest::qWait(10);
    // The checked button of every group; clicking in one group leaves the others alone.
    const char *const checkedAtStart[] = {"RadioButton46", "RBOn",          "RadioButton14", "RadioButton30",
                                          "RadioButton33", "RadioButton37", "RBSP"};
    const char *const clicks[] = {"RadioButton47", "RBOff",         "RadioButton3", "RadioButton20",
                                  "RadioButton35", "RadioButton49", "RBSW"};
    for (std::size_t i = 0; i < std::size(clicks); ++i) {
        QTest::mouseClick(find<QRadioButton>(clicks[i]), Qt::LeftButton);
        EXPECT_TRUE(find<QRadioButton>(clicks[i])->isChecked()) << clicks[i];
        EXPECT_FALSE(find<QRadioButton>(checkedAtStart[i])->isChecked()) << clicks[i];
        for (std::size_t j = i + 1; j < std::size(checkedAtStart); ++j)
            EXPECT_TRUE(find<QRadioButton>(checkedAtStart[j])->isChecked()) << clicks[i] << " / " << checkedAtStart[j];
    }
    // Exactly one checked button per parent.
    for (QWidget *parent :
         {static_cast<QWidget *>(form->SpeedPanel), form->centralWidget(), static_cast<QWidget *>(form->GroupBox1),
          static_cast<QWidget *>(form->GroupBox2), static_cast<QWidget *>(form->GroupBox3),
          static_cast<QWidget *>(form->GroupBox4), static_cast<QWidget *>(form->Panel1)}) {
        int checked = 0;
        for (auto *radio : parent->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly))
            checked += radio->isChecked();
        EXPECT_EQ(checked, 1) << parent->objectName().toStdString();
    }
}

TEST_F(WindowTest, RadioButtonsAnswerAtTheCornersOfTheirRectangle)
{
    form->RevealControls();
    QTest::qWait(10);
    struct Click {
        const char *name;
        bool farCorner; // bottom-right, else top-right
        std::function<void(TSDIAppForm *)> check;
    };
    const Click clicks[] = {
        {"RadioButton1", true, [](TSDIAppForm *f) { EXPECT_EQ(f->view().CurSlice, 0); }},
        {"RadioButton16", false, [](TSDIAppForm *f) { EXPECT_EQ(f->view().CurSlice, 15); }},
        {"RadioButton32", true,
         [](TSDIAppForm *f) {
             EXPECT_EQ(f->view().CurPhase, 15);
             EXPECT_EQ(f->view().MapPhase, 15);
         }},
        {"RadioButton47", false, [](TSDIAppForm *f) { EXPECT_EQ(f->view().ExportVariant, 1); }},
        {"RadioButton46", true, [](TSDIAppForm *f) { EXPECT_EQ(f->view().ExportVariant, 0); }},
        {"RadioButton50", true, [](TSDIAppForm *f) { EXPECT_EQ(f->view().BullseyeKind, 3); }},
        {"RBSA", false, [](TSDIAppForm *f) { EXPECT_EQ(f->view().BullseyeKind, 1); }},
        {"RBOff", true,
         [](TSDIAppForm *f) {
             EXPECT_EQ(f->view().RoiVisible, 0);
             EXPECT_EQ(f->Label6->text(), "off");
         }},
        {"RBOn", false,
         [](TSDIAppForm *f) {
             EXPECT_EQ(f->view().RoiVisible, 1);
             EXPECT_EQ(f->Label6->text(), "on");
         }},
    };
    for (const Click &c : clicks) {
        auto *radio = find<QRadioButton>(c.name);
        ASSERT_NE(radio, nullptr);
        const QPoint corner =
            c.farCorner ? QPoint(radio->width() - 1, radio->height() - 1) : QPoint(radio->width() - 1, 0);
        QTest::mouseClick(radio, Qt::LeftButton, Qt::NoModifier, corner);
        EXPECT_TRUE(radio->isChecked()) << c.name;
        c.check(form);
    }
}

TEST_F(WindowTest, CheckingARadioButtonFromTheProgramRunsItsHandler)
{
    find<QRadioButton>("RadioButton5")->setChecked(true);
    EXPECT_EQ(form->view().CurSlice, 1);
    find<QRadioButton>("RadioButton24")->setChecked(true);
    EXPECT_EQ(form->view().CurPhase, 13);
    EXPECT_EQ(form->view().MapPhase, 13);
    find<QRadioButton>("RBSW")->setChecked(true);
    EXPECT_EQ(form->view().BullseyeKind, 2);
    // The other buttons of the group were unchecked without running anything.
    EXPECT_FALSE(find<QRadioButton>("RadioButton14")->isChecked());
    EXPECT_EQ(form->view().CurSlice, 1);
}

TEST_F(WindowTest, ChangeHandlersOfTheBarsRecordTheirPosition)
{
    struct Change {
        TScrollBar *bar;
        int position;
        std::function<void()> check;
    };
    const Change changes[] = {
        // The threshold labels lose their percent sign once moved.
        {form->ScrollBarA, 41, [&] { EXPECT_EQ(form->LabelA->text(), "41"); }},
        {form->ScrollBarW, 100, [&] { EXPECT_EQ(form->LabelW->text(), "100"); }},
        {form->ScrollBarW, 0, [&] { EXPECT_EQ(form->LabelW->text(), "0"); }},
        {form->ScrollBarR, 8, [&] { EXPECT_EQ(form->Label3->text(), "8"); }},
        {form->ScrollBarD, 64, [&] { EXPECT_EQ(form->view().RoiRadius, 64); }},
        {form->ScrollBarD, 10, [&] { EXPECT_EQ(form->view().RoiRadius, 10); }},
        {form->ScrollBarT, 500, [&] { EXPECT_EQ(form->view().CineDelayMs, 500); }},
    };
    for (const Change &c : changes) {
        c.bar->setValue(c.position);
        c.check();
    }
    // A label whose caption grows keeps its left edge and widens to the text.
    EXPECT_EQ(form->LabelW->geometry(), QRect(890, 656, 12, 23));
    EXPECT_EQ(form->LabelA->geometry(), QRect(888, 624, 24, 23));
}

TEST_F(WindowTest, LongPatientTextsWidenTheirLabel)
{
    form->Label5->setCaption(QStringLiteral("YAMADA TARO 1234567890123456")); // 28 characters
    EXPECT_EQ(form->Label5->geometry(), QRect(216, 4, 280, 20));
}

TEST_F(WindowTest, StopButtonRequestsAStop)
{
    form->RevealControls();
    QTest::mouseClick(form->Button2, Qt::LeftButton);
    EXPECT_EQ(form->view().CineStopRequested, 1);
}

TEST_F(WindowTest, BackgroundMenuSwapsItsCheckMarks)
{
    struct Step {
        QAction *item;
        int mode;
        bool k1, k2;
    };
    const Step steps[] = {
        {form->K1, 1, true, false},
        {form->K1, 1, true, false}, // again: stays checked
        {form->K2, 0, false, true},
        {form->K2, 0, false, true},
    };
    for (const Step &s : steps) {
        s.item->trigger();
        EXPECT_EQ(form->view().BackgroundMode, s.mode) << s.item->objectName().toStdString();
        EXPECT_EQ(form->K1->isChecked(), s.k1);
        EXPECT_EQ(form->K2->isChecked(), s.k2);
    }
}

TEST_F(WindowTest, ClickOnAnImageChoosesWhatCopyTakes)
{
    QTest::mouseClick(form->Image3, Qt::LeftButton, Qt::NoModifier, QPoint(255, 255));
    EXPECT_EQ(form->view().CopySource, 1);
    QTest::mouseClick(form->Image1, Qt::LeftButton, Qt::NoModifier, QPoint(0, 0));
    EXPECT_EQ(form->view().CopySource, 0);
}

TEST_F(WindowTest, CountWindowBarsReportScrollRequestsInTheWindow)
{
    form->RevealControls();
    QTest::qWait(10);
    for (TScrollBar *bar : {form->ScrollBarMax, form->ScrollBarMin}) {
        bar->setValue(50);
        QSignalSpy spy(bar, &TScrollBar::scrollRequest);
        // The arrow at the bottom of the bar.
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(bar->width() / 2, bar->height() - 3));
        ASSERT_EQ(spy.count(), 2) << bar->objectName().toStdString();
        EXPECT_EQ(spy[0][0].value<ScrollCode>(), SB_LINEDOWN);
        EXPECT_EQ(spy[0][1].toInt(), 51);
        EXPECT_EQ(spy[1][0].value<ScrollCode>(), SB_ENDSCROLL);
        EXPECT_EQ(bar->value(), 51);
    }
}

} // namespace
