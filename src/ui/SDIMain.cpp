#include "SDIMain.h"

#include "About.h"
#include "Fonts.h"
#include "ProgramPictures.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QStatusTipEvent>

TSDIAppForm *SDIAppForm = nullptr;
TAboutBox *AboutBox = nullptr;

namespace {
// Made visible by the first successful load, in this order.
const char *const StudyControls[] = {
    "GroupBox1",     "GroupBox2",     "GroupBox3",  "GroupBox4",  "Label1",     "Label2",     "Label3",
    "Label4",        "Label5",        "Label6",     "Label7",     "Label8",     "LabelA",     "LabelW",
    "ScrollBarMax",  "ScrollBarMin",  "ScrollBarX", "ScrollBarY", "ScrollBarT", "ScrollBarR", "ScrollBarD",
    "ScrollBar4",    "ScrollBarA",    "ScrollBarW", "RBOn",       "RBOff",      "Button1",    "Button2",
    "RadioButton46", "RadioButton47", "Panel1",
};
} // namespace

TSDIAppForm::TSDIAppForm(QWidget *parent) : QMainWindow(parent), data_(std::make_unique<ProgramData>())
{
    InstallFontSubstitutes();
    setObjectName(QStringLiteral("SDIAppForm"));
    setWindowTitle(QStringLiteral("Corvista - 心筋SPECT"));
    setWindowIcon(MakeProgramIcon());
    setFont(FontOf(FontKind::System16));

    // The client area below the menu bar; the status bar is part of it, at its bottom.
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    buildMenus();
    buildControls();
    applyTabOrder();
    SpeedPanel->setFocus();

    colorMenu_ = palette().color(QPalette::Window).rgb();

    layout()->activate();
    move(244, 140);
    FormCreate(this);
}

TSDIAppForm::~TSDIAppForm()
{
    FormDestroy(this);
}

void TSDIAppForm::FormCreate(QObject *)
{
    onHint_ = &TSDIAppForm::ShowHint;
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize outer = frameGeometry().size();
    const WindowPlace place =
        MainWindowPlace(s->geometry().width(), s->geometry().height(), outer.width(), outer.height());
    move(place.left, place.top);
}

void TSDIAppForm::FormDestroy(QObject *)
{
    requestCineStop();
}

void TSDIAppForm::ShowHint(QObject *)
{
    StatusBar->showMessage(applicationHint_);
}

void TSDIAppForm::ExitItemClick(QObject *)
{
    close();
}

void TSDIAppForm::About1Click(QObject *)
{
    if (AboutBox)
        AboutBox->exec();
}

void TSDIAppForm::RevealControls()
{
    for (const char *name : StudyControls)
        control<QWidget>(QString::fromUtf8(name))->show();
}

bool TSDIAppForm::event(QEvent *event)
{
    // Every status tip of a control under the mouse (or of its nearest parent with one) and of
    // a highlighted menu item arrives here: it is the application's hint. The hint handler
    // runs only when the text changes, so a text the program put in the status bar stays
    // until the mouse brings another hint.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent *>(event)->tip();
        if (tip != applicationHint_) {
            applicationHint_ = tip;
            if (onHint_)
                (this->*onHint_)(this);
        }
        return true;
    }
    return QMainWindow::event(event);
}

void TSDIAppForm::closeEvent(QCloseEvent *event)
{
    // Closing the window ends the program: a cine loop still running inside a handler stops
    // at once instead of waiting for the stop button.
    requestCineStop();
    QMainWindow::closeEvent(event);
}

ProgramWindows::ProgramWindows()
{
    main = std::make_unique<TSDIAppForm>();
    SDIAppForm = main.get();
    about = std::make_unique<TAboutBox>();
    AboutBox = about.get();
}

ProgramWindows::~ProgramWindows()
{
    AboutBox = nullptr;
    about.reset();
    SDIAppForm = nullptr;
    main.reset();
}
