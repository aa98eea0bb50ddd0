// The main window as the program starts: which controls show, where every control sits and
// how big it is, captions, Tags, checked buttons, ranges, hints, fonts, menus, tab order.
#include "WindowFixture.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QMenuBar>

#include <set>
#include <string>

namespace {

struct Place {
    const char *name;
    const char *parent; // "" for the client area
    int left, top, width, height;
};

// The layout tables, control by control (the slice and phase grids are checked apart).
const Place Places[] = {
    {"SpeedPanel", "", 0, 0, 942, 25},
    {"Label4", "SpeedPanel", 16, 4, 20, 20},
    {"Label5", "SpeedPanel", 216, 4, 40, 20},
    {"RadioButton46", "SpeedPanel", 520, 4, 49, 17},
    {"RadioButton47", "SpeedPanel", 584, 4, 49, 17},
    {"ProgressBar1", "SpeedPanel", 656, 4, 273, 17},
    {"StatusBar", "", 0, 679, 942, 26},
    {"Image1", "", 8, 40, 542, 542},
    {"Image2", "", 568, 48, 25, 512},
    {"Image3", "", 640, 88, 256, 256},
    {"Image4", "", 688, 72, 160, 16},
    {"Image5", "", 896, 136, 16, 160},
    {"Label1", "", 560, 24, 22, 21},
    {"Label2", "", 560, 560, 33, 21},
    {"ScrollBarMax", "", 616, 40, 20, 257},
    {"ScrollBarMin", "", 616, 296, 20, 273},
    {"ScrollBarX", "", 656, 48, 225, 20},
    {"ScrollBarY", "", 912, 104, 20, 225},
    {"ScrollBarR", "", 784, 352, 153, 20},
    {"Label3", "", 904, 328, 12, 23},
    {"ScrollBarD", "", 648, 352, 129, 20},
    {"RBOn", "", 912, 64, 17, 17},
    {"RBOff", "", 912, 80, 17, 17},
    {"Label6", "", 904, 48, 24, 23},
    {"GroupBox1", "", 672, 376, 265, 121},
    {"GroupBox2", "", 672, 496, 265, 121},
    {"GroupBox3", "", 8, 624, 265, 49},
    {"RadioButton33", "GroupBox3", 8, 24, 89, 17},
    {"RadioButton34", "GroupBox3", 104, 24, 89, 17},
    {"RadioButton35", "GroupBox3", 200, 24, 57, 17},
    {"GroupBox4", "", 8, 576, 657, 49},
    {"ScrollBar4", "", 648, 384, 20, 185},
    {"Panel1", "", 424, 626, 169, 23},
    {"RBSP", "Panel1", 8, 5, 41, 17},
    {"RBSA", "Panel1", 48, 5, 41, 17},
    {"RBSW", "Panel1", 88, 5, 41, 17},
    {"RadioButton50", "Panel1", 128, 5, 41, 17},
    {"ScrollBarA", "", 672, 624, 209, 20},
    {"ScrollBarW", "", 672, 656, 209, 20},
    {"Label7", "", 600, 624, 48, 23},
    {"Label8", "", 600, 656, 60, 23},
    {"LabelA", "", 888, 624, 36, 23},
    {"LabelW", "", 890, 656, 36, 23},
    {"Button1", "", 280, 640, 65, 33},
    {"Button2", "", 352, 640, 67, 33},
    {"ScrollBarT", "", 424, 651, 169, 20},
};

// Made visible by RevealControls, and only by it.
const char *const StudyControls[] = {
    "GroupBox1",     "GroupBox2",     "GroupBox3",  "GroupBox4",  "Label1",     "Label2",     "Label3",
    "Label4",        "Label5",        "Label6",     "Label7",     "Label8",     "LabelA",     "LabelW",
    "ScrollBarMax",  "ScrollBarMin",  "ScrollBarX", "ScrollBarY", "ScrollBarT", "ScrollBarR", "ScrollBarD",
    "ScrollBar4",    "ScrollBarA",    "ScrollBarW", "RBOn",       "RBOff",      "Button1",    "Button2",
    "RadioButton46", "RadioButton47", "Panel1",
};

QString parentName(const QWidget *w)
{
    const QWidget *p = w->parentWidget();
    return p && p->objectName() != QLatin1String("ClientArea") ? p->objectName() : QString();
}

TEST_F(WindowTest, ClientAreaIs942By705BelowTheMenuBar)
{
    QWidget *client = form->centralWidget();
    const int menuHeight = form->menuBar()->height();
    EXPECT_GT(menuHeight, 0);
    EXPECT_EQ(client->geometry(), QRect(0, menuHeight, 942, 705));
    EXPECT_EQ(form->size(), QSize(942, 705 + menuHeight));
    EXPECT_TRUE(form->windowTitle().contains(QLatin1String("Corvista")));
}

TEST_F(WindowTest, EveryControlAtItsPlaceAndSize)
{
    for (const Place &p : Places) {
        QWidget *w = find(p.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), QRect(p.left, p.top, p.width, p.height)) << p.name;
        EXPECT_EQ(parentName(w), QString::fromUtf8(p.parent)) << p.name;
    }
}

TEST_F(WindowTest, SliceAndPhaseGridsByColumnAndRow)
{
    // RadioButtonN of GroupBox1 (N + 16 of GroupBox2): N - 1 = 4 x column + row;
    // Tag = 4 x row + column, caption Tag + 1.
    const int lefts[] = {16, 80, 144, 200};
    const int tops[] = {24, 48, 72, 96};
    for (int group = 0; group < 2; ++group) {
        for (int n = 1; n <= 16; ++n) {
            const int column = (n - 1) / 4, row = (n - 1) % 4;
            const std::string name = "RadioButton" + std::to_string(n + 16 * group);
            auto *radio = find<QRadioButton>(name.c_str());
            ASSERT_NE(radio, nullptr);
            EXPECT_EQ(parentName(radio), group == 0 ? "GroupBox1" : "GroupBox2") << name;
            EXPECT_EQ(radio->pos(), QPoint(lefts[column], tops[row])) << name;
            EXPECT_EQ(radio->height(), 17) << name;
            EXPECT_TRUE(radio->width() == 41 || radio->width() == 49) << name;
            const int tag = 4 * row + column;
            EXPECT_EQ(TagOf(radio), tag) << name;
            EXPECT_EQ(radio->text(), QString::number(tag + 1)) << name;
            EXPECT_EQ(radio->isChecked(), tag == 7) << name;
        }
    }
}

TEST_F(WindowTest, MapKindButtonsLeftToRightWithTheirKinds)
{
    struct MapButton {
        const char *name;
        int left;
        const char *caption;
        int tag;
    };
    const MapButton buttons[] = {
        {"RadioButton36", 8, "G1", 0},    {"RadioButton37", 56, "GA", 1},   {"RadioButton38", 104, "C1", 2},
        {"RadioButton39", 152, "CA", 3},  {"RadioButton40", 200, "B1", 4},  {"RadioButton42", 248, "A1", 6},
        {"RadioButton43", 296, "AA", 7},  {"RadioButton44", 344, "W1", 8},  {"RadioButton45", 392, "WA", 9},
        {"RadioButton51", 440, "D1", 12}, {"RadioButton52", 488, "DA", 13}, {"RadioButton48", 536, "BI", 10},
        {"RadioButton49", 584, "BA", 11},
    };
    for (const MapButton &b : buttons) {
        auto *radio = find<QRadioButton>(b.name);
        ASSERT_NE(radio, nullptr);
        EXPECT_EQ(parentName(radio), "GroupBox4") << b.name;
        EXPECT_EQ(radio->geometry(), QRect(b.left, 24, 49, 17)) << b.name;
        EXPECT_EQ(radio->text(), b.caption) << b.name;
        EXPECT_EQ(TagOf(radio), b.tag) << b.name;
        EXPECT_EQ(radio->isChecked(), b.tag == MapGA) << b.name;
    }
    EXPECT_EQ(form->control<QRadioButton>(QStringLiteral("RadioButton41")), nullptr);
}

TEST_F(WindowTest, OnlyImagesTopPanelAndStatusBarShowAtStart)
{
    const std::set<std::string> shown = {"Image1", "Image2", "Image3", "Image4", "Image5", "SpeedPanel", "StatusBar"};
    for (const Place &p : Places) {
        QWidget *w = find(p.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->isVisible(), shown.count(p.name) == 1) << p.name;
    }
    EXPECT_TRUE(form->menuBar()->isVisible());
}

TEST_F(WindowTest, RevealControlsShowsTheStudyControlsOnly)
{
    form->RevealControls();
    for (const char *name : StudyControls)
        EXPECT_TRUE(find(name)->isVisible()) << name;
    // Inside the revealed group boxes and panels every button shows.
    for (const char *name :
         {"RadioButton1", "RadioButton32", "RadioButton36", "RadioButton49", "RBSP", "RadioButton50"})
        EXPECT_TRUE(find(name)->isVisible()) << name;
    EXPECT_FALSE(form->ProgressBar1->isVisible());

    // A second call changes nothing.
    form->RevealControls();
    EXPECT_FALSE(form->ProgressBar1->isVisible());
    EXPECT_TRUE(form->Panel1->isVisible());
}

TEST_F(WindowTest, StartCaptionsChecksAndTags)
{
    struct Caption {
        const char *name;
        const char *text;
    };
    const Caption captions[] = {
        {"Label4", "ID"},
        {"Label5", "Name"},
        {"Label1", "20"},
        {"Label2", "-20"},
        {"Label3", "0"},
        {"Label6", "On"},
        {"Label7", "area"},
        {"Label8", "width"},
        {"LabelA", "40%"},
        {"LabelW", "20%"},
        {"RadioButton46", "A"},
        {"RadioButton47", "B"},
        {"RadioButton33", "slice"},
        {"RadioButton34", "phase"},
        {"RadioButton35", "map"},
        {"RBSP", "P"},
        {"RBSA", "A"},
        {"RBSW", "W"},
        {"RadioButton50", "D"},
        {"Button1", "move"},
        {"Button2", "stop"},
        {"RBOn", ""},
        {"RBOff", ""},
    };
    for (const Caption &c : captions) {
        QObject *o = form->control(QString::fromUtf8(c.name));
        ASSERT_NE(o, nullptr) << c.name;
        const QString text =
            qobject_cast<QLabel *>(o) ? qobject_cast<QLabel *>(o)->text() : qobject_cast<QAbstractButton *>(o)->text();
        EXPECT_EQ(text, QString::fromUtf8(c.text)) << c.name;
    }
    EXPECT_EQ(form->GroupBox1->title(), "slice");
    EXPECT_EQ(form->GroupBox2->title(), "phase");
    EXPECT_EQ(form->GroupBox3->title(), "display");
    EXPECT_EQ(form->GroupBox4->title(), "map");
    EXPECT_EQ(form->Label1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(form->Label2->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    // The checked button of every radio group.
    for (const char *name :
         {"RadioButton46", "RBOn", "RadioButton33", "RBSP", "RadioButton14", "RadioButton30", "RadioButton37"})
        EXPECT_TRUE(find<QRadioButton>(name)->isChecked()) << name;
    for (const char *name :
         {"RadioButton47", "RBOff", "RadioButton34", "RadioButton35", "RBSA", "RBSW", "RadioButton50"})
        EXPECT_FALSE(find<QRadioButton>(name)->isChecked()) << name;

    struct TagCase {
        const char *name;
        int tag;
    };
    for (const TagCase &t :
         {TagCase{"RadioButton46", 0}, TagCase{"RadioButton47", 1}, TagCase{"RBSP", 0}, TagCase{"RBSA", 1},
          TagCase{"RBSW", 2}, TagCase{"RadioButton50", 3}, TagCase{"ScrollBarT", 10}})
        EXPECT_EQ(TagOf(find(t.name)), t.tag) << t.name;
}

TEST_F(WindowTest, StartingViewStateMatchesTheControls)
{
    const ViewState &v = form->view();
    EXPECT_EQ(v.CurSlice, 7);
    EXPECT_EQ(v.CurPhase, 7);
    EXPECT_EQ(v.MapKind, MapGA);
    EXPECT_EQ(v.RoiRadius, form->ScrollBarD->value());
    EXPECT_EQ(v.CineDelayMs, form->ScrollBarT->value());
    EXPECT_EQ(v.RoiVisible, 1);
    EXPECT_EQ(v.BackgroundMode, 0);
    EXPECT_EQ(v.CineStopRequested, 0);
}

TEST_F(WindowTest, ScrollBarRangesPositionsAndSteps)
{
    struct Bar {
        const char *name;
        Qt::Orientation orientation;
        int minimum, maximum, position;
    };
    const Bar bars[] = {
        {"ScrollBarMax", Qt::Vertical, 0, 100, 0},  {"ScrollBarMin", Qt::Vertical, 0, 100, 0},
        {"ScrollBarX", Qt::Horizontal, 0, 79, 40},  {"ScrollBarY", Qt::Vertical, 0, 79, 40},
        {"ScrollBarR", Qt::Horizontal, 0, 63, 0},   {"ScrollBarD", Qt::Horizontal, 10, 64, 40},
        {"ScrollBar4", Qt::Vertical, 0, 99, 50},    {"ScrollBarA", Qt::Horizontal, 0, 100, 40},
        {"ScrollBarW", Qt::Horizontal, 0, 100, 20}, {"ScrollBarT", Qt::Horizontal, 10, 500, 100},
    };
    for (const Bar &b : bars) {
        auto *bar = find<TScrollBar>(b.name);
        ASSERT_NE(bar, nullptr) << b.name;
        EXPECT_EQ(bar->orientation(), b.orientation) << b.name;
        EXPECT_EQ(bar->minimum(), b.minimum) << b.name;
        EXPECT_EQ(bar->maximum(), b.maximum) << b.name;
        EXPECT_EQ(bar->value(), b.position) << b.name;
        EXPECT_EQ(bar->singleStep(), 1) << b.name;
        EXPECT_EQ(bar->pageStep(), 1) << b.name;
    }
    EXPECT_EQ(form->ProgressBar1->minimum(), 0);
    EXPECT_EQ(form->ProgressBar1->maximum(), 100);
}

TEST_F(WindowTest, HintsOfTheControls)
{
    struct Hint {
        const char *name;
        const char *hint;
    };
    const Hint hints[] = {
        // An ideographic space before the full-width parenthesis; full-width tildes.
        {"ScrollBarMax", "Max : 最大カウント\uFF5EMin : 最大カウントの60%\u3000\uFF08初期値 = 最大カウント )"},
        {"ScrollBarMin", "Max : 最大カウントの40%\uFF5EMin : 0\u3000\uFF08初期値 = 最大カウントの20% \uFF09"},
        {"ScrollBarX", "センターを設定"},
        {"ScrollBarY", "センターを設定"},
        {"ScrollBarR", "スライスの角度を設定"},
        {"ScrollBarD", "ROIの大きさを設定する"},
        {"RBOn", "ROI窓を表示する"},
        {"RBOff", "ROI窓を表示しない"},
        {"Label6", "ROI窓の表示の有無の設定"},
        {"GroupBox1", "表示するスライスを選択"},
        {"GroupBox2", "表示する時相を選択"},
        {"GroupBox3", "左に表示する画像を選択"},
        {"GroupBox4", "マップの種類を選択"},
        {"ScrollBar4", "グラフのスケールを設定"},
        {"Button1", "右上のイメージを動かす（他の動作に移るときは必ずStopボタンを押してから）"},
        {"Button2", "ムービー停止"},
        {"ScrollBarT", "ムービーの速度を設定"},
        // No hint: the slice buttons show their group box's.
        {"RadioButton1", ""},
        {"ScrollBarA", ""},
        {"Panel1", ""},
        {"SpeedPanel", ""},
        {"Image1", ""},
    };
    for (const Hint &h : hints)
        EXPECT_EQ(find(h.name)->statusTip(), QString::fromUtf8(h.hint)) << h.name;
    // Hints go to the status bar only, never to a pop-up.
    for (QWidget *w : form->findChildren<QWidget *>())
        EXPECT_TRUE(w->toolTip().isEmpty()) << w->objectName().toStdString();
}

TEST_F(WindowTest, MenusCaptionsHintsShortcutAndChecks)
{
    const QList<QAction *> menus = form->menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("ﾌｧｲﾙ(&F)"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("編集(&E)"));
    EXPECT_EQ(menus[2]->text(), QStringLiteral("背景(&V)"));
    EXPECT_EQ(menus[3]->text(), QStringLiteral("ﾍﾙﾌﾟ(&H)"));

    struct Item {
        QMenu *menu;
        const char *name;
        const char *caption;
        const char *hint;
    };
    const Item items[] = {
        {form->FileMenu, "OpenItem", "開く(&O)...", "ﾌｧｲﾙを開く"},
        {form->FileMenu, "SaveItem", "名前を付けて保存(&S)...", "現在のﾌｧｲﾙを保存"},
        {form->FileMenu, "N1", "", ""},
        {form->FileMenu, "ExitItem", "終了(&X)", "ｱﾌﾟﾘｹｰｼｮﾝの終了"},
        {form->KE1, "KC1", "コピー(&C)", ""},
        {form->KV1, "K1", "黒", ""},
        {form->KV1, "K2", "バック", ""},
        {form->Help1, "About1", "ﾊﾞｰｼﾞｮﾝ情報(&A)...", ""},
    };
    QMenu *menu = nullptr;
    int index = 0;
    for (const Item &item : items) {
        if (item.menu != menu) {
            menu = item.menu;
            index = 0;
        }
        ASSERT_LT(index, menu->actions().size()) << item.name;
        QAction *action = menu->actions()[index++];
        EXPECT_EQ(action->objectName(), item.name);
        EXPECT_EQ(action->isSeparator(), std::string(item.name) == "N1") << item.name;
        if (!action->isSeparator()) {
            EXPECT_EQ(action->text(), QString::fromUtf8(item.caption)) << item.name;
        }
        EXPECT_EQ(action->statusTip(), QString::fromUtf8(item.hint)) << item.name;
    }
    for (QMenu *m : {form->FileMenu, form->KE1, form->KV1, form->Help1})
        EXPECT_EQ(m->actions().size(), m == form->FileMenu ? 4 : m == form->KV1 ? 2 : 1);

    EXPECT_EQ(form->ExitItem->shortcut(), QKeySequence(Qt::ALT | Qt::Key_X));
    for (QAction *a : {form->OpenItem, form->SaveItem, form->KC1, form->K1, form->K2, form->About1})
        EXPECT_TRUE(a->shortcut().isEmpty()) << a->objectName().toStdString();
    EXPECT_TRUE(form->K1->isCheckable());
    EXPECT_TRUE(form->K2->isCheckable());
    EXPECT_FALSE(form->K1->isChecked());
    EXPECT_TRUE(form->K2->isChecked());
}

TEST_F(WindowTest, FontsByKind)
{
    struct FontCase {
        const char *name;
        const char *family; // as asked for
        int pixelSize;
        bool bold;
    };
    const FontCase fonts[] = {
        {"Label4", "Courier New", 17, true},
        {"Label5", "Courier New", 17, true},
        {"RadioButton46", "Courier New", 17, true},
        {"RadioButton47", "Courier New", 17, true},
        {"Label1", "Courier New", 18, true},
        {"Label2", "Courier New", 18, true},
        {"RadioButton36", "Courier New", 18, true},
        {"RadioButton49", "Courier New", 18, true},
        {"Label3", "Courier New", 20, true},
        {"Label6", "Courier New", 20, true},
        {"Label7", "Courier New", 20, true},
        {"LabelW", "Courier New", 20, true},
        {"GroupBox1", "Courier New", 20, true},
        {"GroupBox4", "Courier New", 20, true},
        {"RadioButton1", "Courier New", 20, true},
        {"RadioButton30", "Courier New", 20, true},
        {"RadioButton35", "Courier New", 20, true},
        {"Button1", "Courier New", 20, true},
        {"RBSW", "Courier New", 20, true},
        {"RadioButton50", "Courier New", 20, true},
        {"StatusBar", "ＭＳ Ｐゴシック", 17, false},
        {"SpeedPanel", "System", 16, false},
        {"RBOn", "System", 16, false},
        {"ScrollBarT", "System", 16, false},
    };
    for (const FontCase &f : fonts) {
        const QFont font = find(f.name)->font();
        EXPECT_EQ(font.family(), QString::fromUtf8(f.family)) << f.name;
        EXPECT_EQ(font.pixelSize(), f.pixelSize) << f.name;
        EXPECT_EQ(font.bold(), f.bold) << f.name;
    }

    // The stand-ins that are really drawn.
    EXPECT_EQ(QFontInfo(form->Label4->font()).family(), "Liberation Mono");
    EXPECT_EQ(QFontInfo(form->StatusBar->font()).family(), "IPAPGothic");
    EXPECT_EQ(QFontInfo(form->font()).family(), "IPAPGothic");
    // Whole-pixel advances: "Courier New" bold is 10, 11 and 12 pixels a character at 17,
    // 18 and 20, the widths the labels of the layout are made of ("ID" 20, "-20" 33).
    EXPECT_EQ(QFontMetrics(form->Label4->font()).horizontalAdvance(QStringLiteral("ID")), 20);
    EXPECT_EQ(QFontMetrics(form->Label2->font()).horizontalAdvance(QStringLiteral("-20")), 33);
    EXPECT_EQ(QFontMetrics(form->Label8->font()).horizontalAdvance(QStringLiteral("width")), 60);
}

TEST_F(WindowTest, JapaneseTextsHaveGlyphsInTheirFonts)
{
    // A character missing from the font would be drawn as a box.
    auto expectGlyphs = [](const QFont &font, const QString &text) {
        const QFontMetrics metrics(font);
        for (QChar c : text)
            EXPECT_TRUE(c.isSpace() || metrics.inFont(c))
                << "U+" << std::hex << int(c.unicode()) << " of " << text.toStdString();
    };
    const QFont statusFont = form->StatusBar->font();
    for (QWidget *w : form->findChildren<QWidget *>())
        expectGlyphs(statusFont, w->statusTip());
    for (QAction *a : form->findChildren<QAction *>())
        expectGlyphs(statusFont, a->statusTip());

    const QFont menuFont = form->menuBar()->font();
    for (QAction *a : form->menuBar()->actions()) {
        expectGlyphs(menuFont, a->text());
        for (QAction *item : a->menu()->actions())
            expectGlyphs(a->menu()->font(), item->text());
    }
}

TEST_F(WindowTest, TabOrderFollowsTheLayout)
{
    form->RevealControls();
    // The first control of each stop of the documented order, as Tab reaches it.
    const char *const stops[] = {
        "RadioButton46", "RadioButton1",  "ScrollBarMax", "ScrollBarMin", "ScrollBarR",
        "RadioButton17", "RadioButton33", "Button1",      "Button2",      "ScrollBarY",
        "ScrollBarX",    "RadioButton36", "ScrollBar4",   "ScrollBarT",   "ScrollBarD",
        "RBOn",          "RBOff",         "ScrollBarA",   "ScrollBarW",   "RBSP",
    };
    std::vector<std::string> reached;
    QWidget *w = form->RadioButton46;
    for (int i = 0; i < 2000 && reached.size() < std::size(stops); ++i, w = w->nextInFocusChain()) {
        const std::string name = w->objectName().toStdString();
        if (std::find(std::begin(stops), std::end(stops), name) != std::end(stops) &&
            std::find(reached.begin(), reached.end(), name) == reached.end())
            reached.push_back(name);
    }
    EXPECT_EQ(reached, std::vector<std::string>(std::begin(stops), std::end(stops)));
}

TEST_F(WindowTest, FirstFocusOnTheTopPanel)
{
    EXPECT_EQ(QApplication::focusWidget(), form->SpeedPanel);
}

TEST_F(WindowTest, ImagesStartEmptyInTheMenuColour)
{
    for (TImage *image : {form->Image1, form->Image2, form->Image3, form->Image4, form->Image5}) {
        EXPECT_TRUE(image->picture().isNull());
        const QImage shown = image->grab().toImage();
        const QColor menu = form->palette().color(QPalette::Window);
        EXPECT_EQ(shown.pixelColor(0, 0), menu) << image->objectName().toStdString();
        EXPECT_EQ(shown.pixelColor(shown.width() - 1, shown.height() - 1), menu);
    }
}

} // namespace
