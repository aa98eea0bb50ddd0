// A window's layout as data: one row per control with its name, kind, parent, place, size,
// caption, Tag, font, hint, range, settings, the member that refers to it and the handler
// bound to it. BuildControls reads such a table once and makes the widgets, so the layout in
// the code reads like the layout tables of the design.
#pragma once

#include "Controls.h"
#include "EventLog.h"
#include "Fonts.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHash>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include <span>
#include <type_traits>
#include <variant>

enum class ControlKind {
    Panel,
    GroupBox,
    Label,
    RadioButton,
    PushButton,
    VScrollBar,
    HScrollBar,
    ProgressBar,
    StatusBar,
    Image,
};

// Settings of a row, or-ed together.
enum ControlFlag : unsigned {
    Shown = 1u << 0,        // visible at start
    Checked = 1u << 1,      // radio button checked at start
    Centred = 1u << 2,      // label text centred
    WordWrap = 1u << 3,     // label wraps its words
    RaisedBevel = 1u << 4,  // panel border
    LoweredBevel = 1u << 5, // panel border
    DefaultButton = 1u << 6,
};

struct ControlRange {
    int minimum = 0;
    int maximum = 0;
    int position = 0;
};

template <class Form> struct ControlDesc {
    // Click of a button or radio button (also when the program checks the radio button),
    // change of a scroll bar.
    using SenderHandler = void (Form::*)(QObject *Sender);
    // Scroll request of a TScrollBar.
    using ScrollHandler = void (Form::*)(QObject *Sender, ScrollCode kind, int position);
    // Mouse press on an image.
    using MouseHandler = void (Form::*)(QObject *Sender, Qt::MouseButton button, int x, int y);
    using Handler = std::variant<std::monostate, SenderHandler, ScrollHandler, MouseHandler>;

    // The member of the form that is set to the control.
    using Field = std::variant<std::monostate, QFrame * Form::*, QGroupBox * Form::*, TLabel * Form::*,
                               TRadioButton * Form::*, QPushButton * Form::*, TScrollBar * Form::*,
                               QProgressBar * Form::*, QStatusBar * Form::*, TImage * Form::*>;

    const char *name; // objectName
    ControlKind kind;
    const char *parent; // "" for the form's client area
    int left, top, width, height;
    const char *caption;
    int tag;
    FontKind font;
    const char *hint; // status tip
    ControlRange range;
    unsigned flags;
    Field field;
    Handler handler;
};

namespace detail {
inline QWidget *MakeControl(ControlKind kind, QWidget *parent)
{
    switch (kind) {
    case ControlKind::Panel:
        return new QFrame(parent);
    case ControlKind::GroupBox:
        return new QGroupBox(parent);
    case ControlKind::Label:
        return new TLabel(parent);
    case ControlKind::RadioButton:
        return new TRadioButton(parent);
    case ControlKind::PushButton:
        return new QPushButton(parent);
    case ControlKind::VScrollBar:
        return new TScrollBar(Qt::Vertical, parent);
    case ControlKind::HScrollBar:
        return new TScrollBar(Qt::Horizontal, parent);
    case ControlKind::ProgressBar:
        return new QProgressBar(parent);
    case ControlKind::StatusBar:
        return new QStatusBar(parent);
    case ControlKind::Image:
        return new TImage(parent);
    }
    return nullptr;
}

inline void ApplySettings(QWidget *w, ControlKind kind, const QString &caption, unsigned flags,
                          const ControlRange &range)
{
    switch (kind) {
    case ControlKind::Panel: {
        // Panels and group boxes are windows of their own on the original platform: they
        // paint their background over whatever lies below them (the bottom rows of Image1
        // under GroupBox4).
        w->setAutoFillBackground(true);
        auto *panel = static_cast<QFrame *>(w);
        if (flags & RaisedBevel)
            panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        else if (flags & LoweredBevel)
            panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        break;
    }
    case ControlKind::GroupBox:
        w->setAutoFillBackground(true);
        static_cast<QGroupBox *>(w)->setTitle(caption);
        break;
    case ControlKind::Label: {
        auto *label = static_cast<TLabel *>(w);
        label->setText(caption);
        label->setAlignment(((flags & Centred) ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        label->setWordWrap(flags & WordWrap);
        break;
    }
    case ControlKind::RadioButton: {
        auto *radio = static_cast<TRadioButton *>(w);
        radio->setText(caption);
        radio->setChecked(flags & Checked);
        break;
    }
    case ControlKind::PushButton: {
        auto *button = static_cast<QPushButton *>(w);
        button->setText(caption);
        button->setDefault(flags & DefaultButton);
        button->setAutoDefault(flags & DefaultButton);
        break;
    }
    case ControlKind::VScrollBar:
    case ControlKind::HScrollBar: {
        auto *bar = static_cast<TScrollBar *>(w);
        bar->setRange(range.minimum, range.maximum);
        bar->setValue(range.position);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        bar->setFocusPolicy(Qt::StrongFocus);
        break;
    }
    case ControlKind::ProgressBar: {
        auto *progress = static_cast<QProgressBar *>(w);
        progress->setRange(range.minimum, range.maximum);
        progress->setValue(range.position);
        progress->setTextVisible(false);
        break;
    }
    case ControlKind::StatusBar:
        static_cast<QStatusBar *>(w)->setSizeGripEnabled(false);
        break;
    case ControlKind::Image:
        break;
    }
}
} // namespace detail

// Makes every control of `table` (parents before their children) below `client`, sets the
// members of `form` and binds the handlers. Returns the controls by name.
template <class Form>
QHash<QString, QWidget *> BuildControls(Form &form, QWidget *client, std::span<const ControlDesc<Form>> table)
{
    using Desc = ControlDesc<Form>;
    QHash<QString, QWidget *> byName;
    // Radio buttons with the same parent form one group, and only those: Qt's own
    // auto-exclusive grouping would also take in the buttons of nested group boxes.
    QHash<QWidget *, QButtonGroup *> radioGroups;
    for (const Desc &row : table) {
        QWidget *parent = *row.parent ? byName.value(QString::fromUtf8(row.parent)) : client;
        Q_ASSERT(parent);
        QWidget *w = detail::MakeControl(row.kind, parent);
        const QString name = QString::fromUtf8(row.name);
        w->setObjectName(name);
        w->setGeometry(row.left, row.top, row.width, row.height);
        if (auto *radio = qobject_cast<TRadioButton *>(w)) {
            QButtonGroup *&group = radioGroups[parent];
            if (!group)
                group = new QButtonGroup(parent);
            group->addButton(radio);
        }
        w->setProperty("Tag", row.tag);
        if (row.font != FontKind::Inherit)
            w->setFont(FontOf(row.font));
        if (*row.hint)
            w->setStatusTip(QString::fromUtf8(row.hint));
        detail::ApplySettings(w, row.kind, QString::fromUtf8(row.caption), row.flags, row.range);
        if (!(row.flags & Shown))
            w->hide();
        // Labels and images are drawn on their parent's surface on the original platform,
        // below every control that is a window of its own (RBOn over Label6).
        if (row.kind == ControlKind::Label || row.kind == ControlKind::Image)
            w->lower();
        byName.insert(name, w);

        std::visit(
            [&](auto member) {
                if constexpr (!std::is_same_v<decltype(member), std::monostate>) {
                    using Pointer = std::remove_reference_t<decltype(form.*member)>;
                    form.*member = qobject_cast<Pointer>(w);
                    Q_ASSERT(form.*member);
                }
            },
            row.field);

        // Bound after the start settings, so that setting them runs no handler.
        std::visit(
            [&](auto handler) {
                using H = decltype(handler);
                if constexpr (std::is_same_v<H, typename Desc::SenderHandler>) {
                    if (auto *radio = qobject_cast<TRadioButton *>(w)) {
                        // A radio button's click runs whenever it becomes checked, by the
                        // user or by the program.
                        QObject::connect(radio, &QAbstractButton::toggled, &form,
                                         [&form, radio, handler, name = row.name](bool on) {
                                             if (on)
                                                 EventLog::Run(form, handler, name, radio);
                                         });
                    } else if (auto *button = qobject_cast<QPushButton *>(w)) {
                        QObject::connect(
                            button, &QAbstractButton::clicked, &form,
                            [&form, button, handler, name = row.name] { EventLog::Run(form, handler, name, button); });
                    } else if (auto *bar = qobject_cast<TScrollBar *>(w)) {
                        QObject::connect(
                            bar, &QAbstractSlider::valueChanged, &form,
                            [&form, bar, handler, name = row.name] { EventLog::Run(form, handler, name, bar); });
                    }
                } else if constexpr (std::is_same_v<H, typename Desc::ScrollHandler>) {
                    auto *bar = qobject_cast<TScrollBar *>(w);
                    Q_ASSERT(bar);
                    QObject::connect(bar, &TScrollBar::scrollRequest, &form,
                                     [&form, bar, handler, name = row.name](ScrollCode kind, int position) {
                                         EventLog::Run(form, handler, name, bar, kind, position);
                                     });
                } else if constexpr (std::is_same_v<H, typename Desc::MouseHandler>) {
                    auto *image = qobject_cast<TImage *>(w);
                    Q_ASSERT(image);
                    QObject::connect(image, &TImage::mouseDown, &form,
                                     [&form, image, handler, name = row.name](Qt::MouseButton button, int x, int y) {
                                         EventLog::Run(form, handler, name, image, button, x, y);
                                     });
                }
            },
            row.handler);
    }
    return byName;
}
