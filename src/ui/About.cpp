#include "About.h"

#include "ControlTable.h"
#include "ProgramPictures.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
using A = TAboutBox;
using Row = ControlDesc<A>;
using K = ControlKind;
using Font = FontKind;

constexpr ControlRange NoRange{};

// clang-format off
const Row AboutControls[] = {
// name           kind           parent    left top  width height caption                   tag font             hint range    flags                  member           handler
{"Panel1",       K::Panel,       "",        10,  10, 351, 201, "",                        0, Font::Inherit,   "", NoRange, Shown | LoweredBevel,  &A::Panel1,      {}},
{"ProgramIcon",  K::Image,       "Panel1",  26,  18,  71,  71, "",                        0, Font::Inherit,   "", NoRange, Shown,                 &A::ProgramIcon, {}},
{"ProductName",  K::Label,       "Panel1", 110,  20, 130,  20, "Corvista",                0, Font::Courier17, "", NoRange, Shown,                 &A::ProductName, {}},
{"Version",      K::Label,       "Panel1", 110,  50, 180,  20, "Version 1.41421356",      0, Font::Courier17, "", NoRange, Shown,                 &A::Version,     {}},
{"Copyright",    K::Label,       "Panel1",  34, 100, 240,  20, "Gated myocardial SPECT",  0, Font::Courier17, "", NoRange, Shown,                 &A::Copyright,   {}},
{"Comments",     K::Label,       "Panel1",  34, 130, 295,  40, "16 phases x 16 slices",   0, Font::Courier17, "", NoRange, Shown | WordWrap,      &A::Comments,    {}},
{"Authors",      K::Label,       "Panel1",  32, 160, 230,  20, "Corvista developers",     0, Font::Courier17, "", NoRange, Shown,                 &A::Authors,     {}},
{"OKButton",     K::PushButton,  "",       150, 223,  81,  41, "OK",                      0, Font::Inherit,   "", NoRange, Shown | DefaultButton, &A::OKButton,    &A::OKButtonClick},
};
// clang-format on
} // namespace

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setFont(FontOf(FontKind::PGothic15));
    setFixedSize(ClientWidth, ClientHeight);
    setModal(true);
    BuildControls<A>(*this, this, AboutControls);
    ProgramIcon->setPicture(MakeAboutPicture());
    OKButton->setFocus();
}

void TAboutBox::OKButtonClick(QObject *)
{
    accept();
}

void TAboutBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize outer = frameGeometry().size();
    move((s->geometry().width() - outer.width()) / 2, (s->geometry().height() - outer.height()) / 2);
}
