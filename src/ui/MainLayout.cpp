// The layout of the main window as data: its controls, its menus and its tab order.
// Places are relative to the parent's client area (the window's client area below the menu
// bar, a panel or a group box). Controls not marked Shown appear after the first load.
#include "ControlTable.h"
#include "EventLog.h"
#include "SDIMain.h"

#include <QKeySequence>
#include <QMenuBar>

namespace {
using F = TSDIAppForm;
using Row = ControlDesc<F>;
using K = ControlKind;
using Font = FontKind;

constexpr ControlRange NoRange{};

// Hints of the two count-window bars: an ideographic space before the opening parenthesis
// and full-width tildes; the first closes with a half-width parenthesis.
const char *const HintMax = "Max : 最大カウント～Min : 最大カウントの60%　（初期値 = 最大カウント )";
const char *const HintMin = "Max : 最大カウントの40%～Min : 0　（初期値 = 最大カウントの20% ）";
const char *const HintCentre = "センターを設定";

// clang-format off
const Row MainControls[] = {
// name             kind            parent        left top  width height caption  tag font              hint                       range           flags                 member              handler
// Top panel and status bar
{"SpeedPanel",     K::Panel,       "",             0,    0, 942,  25, "",       0, Font::Inherit,   "",                        NoRange,        Shown | RaisedBevel,  &F::SpeedPanel,     {}},
{"Label4",         K::Label,       "SpeedPanel",  16,    4,  20,  20, "ID",     0, Font::Courier17, "",                        NoRange,        0,                    &F::Label4,         {}},
{"Label5",         K::Label,       "SpeedPanel", 216,    4,  40,  20, "Name",   0, Font::Courier17, "",                        NoRange,        0,                    &F::Label5,         {}},
{"RadioButton46",  K::RadioButton, "SpeedPanel", 520,    4,  49,  17, "A",      0, Font::Courier17, "",                        NoRange,        Checked,              &F::RadioButton46,  &F::OnRBSaveClick},
{"RadioButton47",  K::RadioButton, "SpeedPanel", 584,    4,  49,  17, "B",      1, Font::Courier17, "",                        NoRange,        0,                    &F::RadioButton47,  &F::OnRBSaveClick},
{"ProgressBar1",   K::ProgressBar, "SpeedPanel", 656,    4, 273,  17, "",       0, Font::Inherit,   "",                        {0, 100, 0},    0,                    &F::ProgressBar1,   {}},
{"StatusBar",      K::StatusBar,   "",             0,  679, 942,  26, "",       0, Font::PGothic17, "",                        NoRange,        Shown,                &F::StatusBar,      {}},
// Images
{"Image1",         K::Image,       "",             8,   40, 542, 542, "",       0, Font::Inherit,   "",                        NoRange,        Shown,                &F::Image1,         &F::OnImage1MouseDown},
{"Image2",         K::Image,       "",           568,   48,  25, 512, "",       0, Font::Inherit,   "",                        NoRange,        Shown,                &F::Image2,         {}},
{"Image3",         K::Image,       "",           640,   88, 256, 256, "",       0, Font::Inherit,   "",                        NoRange,        Shown,                &F::Image3,         &F::OnImage3MouseDpwn},
{"Image4",         K::Image,       "",           688,   72, 160,  16, "",       0, Font::Inherit,   "",                        NoRange,        Shown,                &F::Image4,         {}},
{"Image5",         K::Image,       "",           896,  136,  16, 160, "",       0, Font::Inherit,   "",                        NoRange,        Shown,                &F::Image5,         {}},
// Count window
{"Label1",         K::Label,       "",           560,   24,  22,  21, "20",     0, Font::Courier18, "",                        NoRange,        Centred,              &F::Label1,         {}},
{"Label2",         K::Label,       "",           560,  560,  33,  21, "-20",    0, Font::Courier18, "",                        NoRange,        Centred,              &F::Label2,         {}},
{"ScrollBarMax",   K::VScrollBar,  "",           616,   40,  20, 257, "",       0, Font::Inherit,   HintMax,                   {0, 100, 0},    0,                    &F::ScrollBarMax,   &F::OnSBMaxScroll},
{"ScrollBarMin",   K::VScrollBar,  "",           616,  296,  20, 273, "",       0, Font::Inherit,   HintMin,                   {0, 100, 0},    0,                    &F::ScrollBarMin,   &F::OnSBMinScroll},
// Detail view
{"ScrollBarX",     K::HScrollBar,  "",           656,   48, 225,  20, "",       0, Font::Inherit,   HintCentre,                {0, 79, 40},    0,                    &F::ScrollBarX,     &F::ScrollBarXChange},
{"ScrollBarY",     K::VScrollBar,  "",           912,  104,  20, 225, "",       0, Font::Inherit,   HintCentre,                {0, 79, 40},    0,                    &F::ScrollBarY,     &F::ScrollBarYChange},
{"ScrollBarR",     K::HScrollBar,  "",           784,  352, 153,  20, "",       0, Font::Inherit,   "スライスの角度を設定",     {0, 63, 0},     0,                    &F::ScrollBarR,     &F::OnSBRChange},
{"Label3",         K::Label,       "",           904,  328,  12,  23, "0",      0, Font::Courier20, "",                        NoRange,        0,                    &F::Label3,         {}},
{"ScrollBarD",     K::HScrollBar,  "",           648,  352, 129,  20, "",       0, Font::Inherit,   "ROIの大きさを設定する",    {10, 64, 40},   0,                    &F::ScrollBarD,     &F::OnSBDChange},
{"RBOn",           K::RadioButton, "",           912,   64,  17,  17, "",       0, Font::Inherit,   "ROI窓を表示する",          NoRange,        Checked,              &F::RBOn,           &F::RBOnClick},
{"RBOff",          K::RadioButton, "",           912,   80,  17,  17, "",       0, Font::Inherit,   "ROI窓を表示しない",        NoRange,        0,                    &F::RBOff,          &F::RBOffClick},
{"Label6",         K::Label,       "",           904,   48,  24,  23, "On",     0, Font::Courier20, "ROI窓の表示の有無の設定",  NoRange,        0,                    &F::Label6,         {}},
// Slice selection: columns at 16, 80, 144, 200, rows at 24, 48, 72, 96; the Tag is the slice.
// Every button is 49 wide: at 41 a two-digit caption is cut off beside the indicator.
{"GroupBox1",      K::GroupBox,    "",           672,  376, 265, 121, "slice",  0, Font::Courier20, "表示するスライスを選択",   NoRange,        0,                    &F::GroupBox1,      {}},
{"RadioButton1",   K::RadioButton, "GroupBox1",   16,   24,  49,  17, "1",      0, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnSliceClick},
{"RadioButton2",   K::RadioButton, "GroupBox1",   16,   48,  49,  17, "5",      4, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnSliceClick},
{"RadioButton3",   K::RadioButton, "GroupBox1",   16,   72,  49,  17, "9",      8, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnSliceClick},
{"RadioButton4",   K::RadioButton, "GroupBox1",   16,   96,  49,  17, "13",    12, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnSliceClick},
{"RadioButton5",   K::RadioButton, "GroupBox1",   80,   24,  49,  17, "2",      1, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnSliceClick},
{"RadioButton6",   K::RadioButton, "GroupBox1",   80,   48,  49,  17, "6",      5, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnSliceClick},
{"RadioButton7",   K::RadioButton, "GroupBox1",   80,   72,  49,  17, "10",     9, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnSliceClick},
{"RadioButton8",   K::RadioButton, "GroupBox1",   80,   96,  49,  17, "14",    13, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnSliceClick},
{"RadioButton9",   K::RadioButton, "GroupBox1",  144,   24,  49,  17, "3",      2, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnSliceClick},
{"RadioButton10",  K::RadioButton, "GroupBox1",  144,   48,  49,  17, "7",      6, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnSliceClick},
{"RadioButton11",  K::RadioButton, "GroupBox1",  144,   72,  49,  17, "11",    10, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnSliceClick},
{"RadioButton12",  K::RadioButton, "GroupBox1",  144,   96,  49,  17, "15",    14, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnSliceClick},
{"RadioButton13",  K::RadioButton, "GroupBox1",  200,   24,  49,  17, "4",      3, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnSliceClick},
{"RadioButton14",  K::RadioButton, "GroupBox1",  200,   48,  49,  17, "8",      7, Font::Inherit,   "",                        NoRange,        Shown | Checked,      {},                 &F::OnSliceClick},
{"RadioButton15",  K::RadioButton, "GroupBox1",  200,   72,  49,  17, "12",    11, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnSliceClick},
{"RadioButton16",  K::RadioButton, "GroupBox1",  200,   96,  49,  17, "16",    15, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnSliceClick},
// Phase selection, laid out like the slices; the Tag is the phase.
{"GroupBox2",      K::GroupBox,    "",           672,  496, 265, 121, "phase",  0, Font::Courier20, "表示する時相を選択",       NoRange,        0,                    &F::GroupBox2,      {}},
{"RadioButton17",  K::RadioButton, "GroupBox2",   16,   24,  49,  17, "1",      0, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnPhaseClick},
{"RadioButton18",  K::RadioButton, "GroupBox2",   16,   48,  49,  17, "5",      4, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnPhaseClick},
{"RadioButton19",  K::RadioButton, "GroupBox2",   16,   72,  49,  17, "9",      8, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnPhaseClick},
{"RadioButton20",  K::RadioButton, "GroupBox2",   16,   96,  49,  17, "13",    12, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnPhaseClick},
{"RadioButton21",  K::RadioButton, "GroupBox2",   80,   24,  49,  17, "2",      1, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnPhaseClick},
{"RadioButton22",  K::RadioButton, "GroupBox2",   80,   48,  49,  17, "6",      5, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnPhaseClick},
{"RadioButton23",  K::RadioButton, "GroupBox2",   80,   72,  49,  17, "10",     9, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnPhaseClick},
{"RadioButton24",  K::RadioButton, "GroupBox2",   80,   96,  49,  17, "14",    13, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnPhaseClick},
{"RadioButton25",  K::RadioButton, "GroupBox2",  144,   24,  49,  17, "3",      2, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnPhaseClick},
{"RadioButton26",  K::RadioButton, "GroupBox2",  144,   48,  49,  17, "7",      6, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnPhaseClick},
{"RadioButton27",  K::RadioButton, "GroupBox2",  144,   72,  49,  17, "11",    10, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnPhaseClick},
{"RadioButton28",  K::RadioButton, "GroupBox2",  144,   96,  49,  17, "15",    14, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnPhaseClick},
{"RadioButton29",  K::RadioButton, "GroupBox2",  200,   24,  49,  17, "4",      3, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnPhaseClick},
{"RadioButton30",  K::RadioButton, "GroupBox2",  200,   48,  49,  17, "8",      7, Font::Inherit,   "",                        NoRange,        Shown | Checked,      {},                 &F::OnPhaseClick},
{"RadioButton31",  K::RadioButton, "GroupBox2",  200,   72,  49,  17, "12",    11, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnPhaseClick},
{"RadioButton32",  K::RadioButton, "GroupBox2",  200,   96,  49,  17, "16",    15, Font::Inherit,   "",                        NoRange,        Shown,                {},                 &F::OnPhaseClick},
// Display selection
{"GroupBox3",      K::GroupBox,    "",             8,  624, 265,  49, "display",0, Font::Courier20, "左に表示する画像を選択",   NoRange,        0,                    &F::GroupBox3,      {}},
{"RadioButton33",  K::RadioButton, "GroupBox3",    8,   24,  89,  17, "slice",  0, Font::Courier20, "",                        NoRange,        Shown | Checked,      &F::RadioButton33,  &F::OnSLClick},
{"RadioButton34",  K::RadioButton, "GroupBox3",  104,   24,  89,  17, "phase",  0, Font::Courier20, "",                        NoRange,        Shown,                &F::RadioButton34,  &F::OnPHClick},
{"RadioButton35",  K::RadioButton, "GroupBox3",  200,   24,  57,  17, "map",    0, Font::Courier20, "",                        NoRange,        Shown,                &F::RadioButton35,  &F::OnMapSelet},
// Map kind selection, left to right; the Tag is the map kind (no kind is 5).
{"GroupBox4",      K::GroupBox,    "",             8,  576, 657,  49, "map",    0, Font::Courier20, "マップの種類を選択",       NoRange,        0,                    &F::GroupBox4,      {}},
{"RadioButton36",  K::RadioButton, "GroupBox4",    8,   24,  49,  17, "G1",     0, Font::Courier18, "",                        NoRange,        Shown,                {},                 &F::OnMAPSelectClick},
{"RadioButton37",  K::RadioButton, "GroupBox4",   56,   24,  49,  17, "GA",     1, Font::Courier18, "",                        NoRange,        Shown | Checked,      &F::RadioButton37,  &F::OnMAPSelectClick},
{"RadioButton38",  K::RadioButton, "GroupBox4",  104,   24,  49,  17, "C1",     2, Font::Courier18, "",                        NoRange,        Shown,                {},                 &F::OnMAPSelectClick},
{"RadioButton39",  K::RadioButton, "GroupBox4",  152,   24,  49,  17, "CA",     3, Font::Courier18, "",                        NoRange,        Shown,                {},                 &F::OnMAPSelectClick},
{"RadioButton40",  K::RadioButton, "GroupBox4",  200,   24,  49,  17, "B1",     4, Font::Courier18, "",                        NoRange,        Shown,                {},                 &F::OnMAPSelectClick},
{"RadioButton42",  K::RadioButton, "GroupBox4",  248,   24,  49,  17, "A1",     6, Font::Courier18, "",                        NoRange,        Shown,                {},                 &F::OnMAPSelectClick},
{"RadioButton43",  K::RadioButton, "GroupBox4",  296,   24,  49,  17, "AA",     7, Font::Courier18, "",                        NoRange,        Shown,                {},                 &F::OnMAPSelectClick},
{"RadioButton44",  K::RadioButton, "GroupBox4",  344,   24,  49,  17, "W1",     8, Font::Courier18, "",                        NoRange,        Shown,                {},                 &F::OnMAPSelectClick},
{"RadioButton45",  K::RadioButton, "GroupBox4",  392,   24,  49,  17, "WA",     9, Font::Courier18, "",                        NoRange,        Shown,                {},                 &F::OnMAPSelectClick},
{"RadioButton51",  K::RadioButton, "GroupBox4",  440,   24,  49,  17, "D1",    12, Font::Courier18, "",                        NoRange,        Shown,                {},                 &F::OnMAPSelectClick},
{"RadioButton52",  K::RadioButton, "GroupBox4",  488,   24,  49,  17, "DA",    13, Font::Courier18, "",                        NoRange,        Shown,                {},                 &F::OnMAPSelectClick},
{"RadioButton48",  K::RadioButton, "GroupBox4",  536,   24,  49,  17, "BI",    10, Font::Courier18, "",                        NoRange,        Shown,                {},                 &F::OnMAPSelectClick},
{"RadioButton49",  K::RadioButton, "GroupBox4",  584,   24,  49,  17, "BA",    11, Font::Courier18, "",                        NoRange,        Shown,                {},                 &F::OnMAPSelectClick},
// Map panel
{"ScrollBar4",     K::VScrollBar,  "",           648,  384,  20, 185, "",       0, Font::Inherit,   "グラフのスケールを設定",   {0, 99, 50},    0,                    &F::ScrollBar4,     &F::ScrollBar4Change},
{"Panel1",         K::Panel,       "",           424,  626, 169,  23, "",       0, Font::Inherit,   "",                        NoRange,        0,                    &F::Panel1,         {}},
{"RBSP",           K::RadioButton, "Panel1",       8,    5,  41,  17, "P",      0, Font::Courier20, "",                        NoRange,        Shown | Checked,      {},                 &F::OnRBSB_eyeClick},
{"RBSA",           K::RadioButton, "Panel1",      48,    5,  41,  17, "A",      1, Font::Courier20, "",                        NoRange,        Shown,                {},                 &F::OnRBSB_eyeClick},
{"RBSW",           K::RadioButton, "Panel1",      88,    5,  41,  17, "W",      2, Font::Courier20, "",                        NoRange,        Shown,                {},                 &F::OnRBSB_eyeClick},
{"RadioButton50",  K::RadioButton, "Panel1",     128,    5,  41,  17, "D",      3, Font::Courier20, "",                        NoRange,        Shown,                {},                 &F::OnRBSB_eyeClick},
{"ScrollBarA",     K::HScrollBar,  "",           672,  624, 209,  20, "",       0, Font::Inherit,   "",                        {0, 100, 40},   0,                    &F::ScrollBarA,     &F::ScrollBarAChange},
{"ScrollBarW",     K::HScrollBar,  "",           672,  656, 209,  20, "",       0, Font::Inherit,   "",                        {0, 100, 20},   0,                    &F::ScrollBarW,     &F::ScrollBarWChange},
{"Label7",         K::Label,       "",           600,  624,  48,  23, "area",   0, Font::Courier20, "",                        NoRange,        0,                    &F::Label7,         {}},
{"Label8",         K::Label,       "",           600,  656,  60,  23, "width",  0, Font::Courier20, "",                        NoRange,        0,                    &F::Label8,         {}},
{"LabelA",         K::Label,       "",           888,  624,  36,  23, "40%",    0, Font::Courier20, "",                        NoRange,        0,                    &F::LabelA,         {}},
{"LabelW",         K::Label,       "",           890,  656,  36,  23, "20%",    0, Font::Courier20, "",                        NoRange,        0,                    &F::LabelW,         {}},
// Cine
{"Button1",        K::PushButton,  "",           280,  640,  65,  33, "move",   0, Font::Courier20, "右上のイメージを動かす（他の動作に移るときは必ずStopボタンを押してから）",
                                                                                                                               NoRange,        0,                    &F::Button1,        &F::OnMoveClick},
{"Button2",        K::PushButton,  "",           352,  640,  67,  33, "stop",   0, Font::Courier20, "ムービー停止",             NoRange,        0,                    &F::Button2,        &F::OnStopClick},
{"ScrollBarT",     K::HScrollBar,  "",           424,  651, 169,  20, "",      10, Font::Inherit,   "ムービーの速度を設定",     {10, 500, 100}, 0,                    &F::ScrollBarT,     &F::OnSTTChange},
};
// clang-format on

struct MenuDesc {
    const char *name;
    const char *caption;
    QMenu *F::*member;
};

enum MenuItemFlag : unsigned { Checkable = 1u << 0, CheckedItem = 1u << 1, Separator = 1u << 2 };

struct MenuItemDesc {
    const char *menu;
    const char *name;
    const char *caption;
    const char *hint;
    const char *shortcut; // as the key is written, e.g. "Alt+X"
    unsigned flags;
    QAction *F::*member;
    void (F::*handler)(QObject *);
};

// clang-format off
const MenuDesc Menus[] = {
    {"FileMenu", "ﾌｧｲﾙ(&F)", &F::FileMenu},
    {"KE1",      "編集(&E)",  &F::KE1},
    {"KV1",      "背景(&V)",  &F::KV1},
    {"Help1",    "ﾍﾙﾌﾟ(&H)", &F::Help1},
};

const MenuItemDesc MenuItems[] = {
// menu        name        caption                    hint                  shortcut                  flags                      member        handler
{"FileMenu", "OpenItem", "開く(&O)...",             "ﾌｧｲﾙを開く",          "",                       0,                         &F::OpenItem, &F::OpenItemClick},
{"FileMenu", "SaveItem", "名前を付けて保存(&S)...", "現在のﾌｧｲﾙを保存",    "",                       0,                         &F::SaveItem, &F::SaveItemClick},
{"FileMenu", "N1",       "-",                       "",                    "",                       Separator,                 nullptr,      nullptr},
{"FileMenu", "ExitItem", "終了(&X)",                "ｱﾌﾟﾘｹｰｼｮﾝの終了",     "Alt+X",                  0,                         &F::ExitItem, &F::ExitItemClick},
{"KE1",      "KC1",      "コピー(&C)",              "",                    "",                       0,                         &F::KC1,      &F::KC1Click},
{"KV1",      "K1",       "黒",                      "",                    "",                       Checkable,                 &F::K1,       &F::K1Click},
{"KV1",      "K2",       "バック",                  "",                    "",                       Checkable | CheckedItem,   &F::K2,       &F::K2Click},
{"Help1",    "About1",   "ﾊﾞｰｼﾞｮﾝ情報(&A)...",      "",                    "",                       0,                         &F::About1,   &F::About1Click},
};
// clang-format on

// Tab order; a group box or panel stands for the controls inside it, in their table order.
const char *const TabOrder[] = {
    "SpeedPanel", "GroupBox1", "ScrollBarMax", "ScrollBarMin", "ScrollBarR", "GroupBox2",  "GroupBox3",
    "Button1",    "Button2",   "ScrollBarY",   "ScrollBarX",   "GroupBox4",  "ScrollBar4", "ScrollBarT",
    "ScrollBarD", "RBOn",      "RBOff",        "ScrollBarA",   "ScrollBarW", "Panel1",
};
} // namespace

void TSDIAppForm::buildControls()
{
    BuildControls<F>(*this, centralWidget(), MainControls);
}

void TSDIAppForm::buildMenus()
{
    QHash<QString, QMenu *> menus;
    for (const MenuDesc &m : Menus) {
        QMenu *menu = menuBar()->addMenu(QString::fromUtf8(m.caption));
        menu->setObjectName(QString::fromUtf8(m.name));
        this->*m.member = menu;
        menus.insert(menu->objectName(), menu);
    }
    for (const MenuItemDesc &item : MenuItems) {
        QMenu *menu = menus.value(QString::fromUtf8(item.menu));
        // Owned by the window, so a hint with no menu to show it still reaches the window.
        auto *action = new QAction(this);
        action->setObjectName(QString::fromUtf8(item.name));
        if (item.flags & Separator) {
            action->setSeparator(true); // a line, without the "-" that stands for it
        } else {
            action->setText(QString::fromUtf8(item.caption));
            action->setStatusTip(QString::fromUtf8(item.hint));
            action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut), QKeySequence::PortableText));
            action->setCheckable(item.flags & Checkable);
            action->setChecked(item.flags & CheckedItem);
            connect(action, &QAction::triggered, this, [this, action, handler = item.handler, name = item.name] {
                EventLog::Run(*this, handler, name, action);
            });
        }
        menu->addAction(action);
        if (item.member)
            this->*item.member = action;
    }
    // The window listens to the menu's shortcuts even while no menu is open.
    addAction(ExitItem);
}

void TSDIAppForm::applyTabOrder()
{
    // The focusable controls in the documented order; those inside a group box or panel
    // follow the container's place, in their own order.
    QList<QWidget *> chain;
    for (const char *name : TabOrder) {
        QWidget *w = control<QWidget>(QString::fromUtf8(name));
        Q_ASSERT(w);
        if (w->focusPolicy() & Qt::TabFocus)
            chain.append(w);
        for (QWidget *child : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (child->focusPolicy() & Qt::TabFocus)
                chain.append(child);
    }
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}
