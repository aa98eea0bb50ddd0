// The window's own control classes, made to behave like the controls the program was
// designed for: radio buttons that answer on their whole rectangle and carry a Tag, scroll
// bars that report the kind of scroll request, labels that size themselves to their
// caption, and image controls that keep the last picture copied onto them.
#pragma once

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QWidget>

class Bitmap;

// The kinds of scroll request a scroll bar reports, with the platform's codes
// (SB_LINELEFT and SB_LINERIGHT of a horizontal bar are SB_LINEUP and SB_LINEDOWN).
enum ScrollCode : int {
    SB_LINEUP = 0,
    SB_LINEDOWN = 1,
    SB_PAGEUP = 2,
    SB_PAGEDOWN = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_BOTTOM = 7,
    SB_ENDSCROLL = 8,
};

// The Tag of a control: the integer a shared handler reads from its Sender.
int TagOf(const QObject *control);

// A radio button that reacts to a click anywhere on its rectangle, not only on the
// indicator and the text.
class TRadioButton : public QRadioButton {
    Q_OBJECT

public:
    using QRadioButton::QRadioButton;

    bool hitButton(const QPoint &pos) const override;
};

// A scroll bar that tells what the user asked for, as scrollRequest(kind, position):
// arrows give SB_LINEUP/SB_LINEDOWN, the trough SB_PAGEUP/SB_PAGEDOWN, Home and End
// SB_TOP/SB_BOTTOM, a dragged thumb SB_THUMBTRACK at every step and SB_THUMBPOSITION where
// it is let go, and the end of every mouse or key action SB_ENDSCROLL. The position is the
// one the bar is taking, already inside its range, and the bar already stands there when
// the request is reported, so a handler that redraws from the bar sees the new position.
// Changes made by the program (setValue, setRange) report nothing.
class TScrollBar : public QScrollBar {
    Q_OBJECT

public:
    explicit TScrollBar(Qt::Orientation orientation, QWidget *parent = nullptr);

signals:
    void scrollRequest(ScrollCode kind, int position);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void reportAction(int action);

    bool mouseAction_ = false;
};

// A label whose width follows its caption once the program changes it, keeping its left
// edge, so a patient name or a larger number is never cut off. The first size is the
// layout's.
class TLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    void setCaption(const QString &caption);
    QString caption() const { return text(); }
};

// An image control: it shows the last picture copied onto it at its top-left corner, and
// the menu colour (the palette's window colour) where nothing has been drawn. A mouse
// press is reported as mouseDown(button, x, y) in the control's coordinates.
class TImage : public QWidget {
    Q_OBJECT

public:
    explicit TImage(QWidget *parent = nullptr);

    // Copies the picture; the caller may release its pixels afterwards.
    void setPicture(const QImage &picture);
    void setPicture(const Bitmap &bitmap);
    // A null image until something has been copied onto the control.
    const QImage &picture() const { return picture_; }

signals:
    void mouseDown(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QImage picture_;
};

// Wraps a Bitmap's pixels in a QImage without copying them; valid while the Bitmap lives.
QImage WrapBitmap(const Bitmap &bitmap);
