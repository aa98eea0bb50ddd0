#include "Controls.h"

#include "Bitmap.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

int TagOf(const QObject *control)
{
    return control ? control->property("Tag").toInt() : 0;
}

bool TRadioButton::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

TScrollBar::TScrollBar(Qt::Orientation orientation, QWidget *parent) : QScrollBar(orientation, parent)
{
    // actionTriggered comes before the bar takes its new value; sliderPosition() already
    // holds it, clamped to the range.
    connect(this, &QAbstractSlider::actionTriggered, this, &TScrollBar::reportAction);
    connect(this, &QAbstractSlider::sliderReleased, this, [this] {
        setValue(sliderPosition());
        emit scrollRequest(SB_THUMBPOSITION, value());
    });
}

void TScrollBar::reportAction(int action)
{
    ScrollCode kind;
    switch (action) {
    case SliderSingleStepAdd:
        kind = SB_LINEDOWN;
        break;
    case SliderSingleStepSub:
        kind = SB_LINEUP;
        break;
    case SliderPageStepAdd:
        kind = SB_PAGEDOWN;
        break;
    case SliderPageStepSub:
        kind = SB_PAGEUP;
        break;
    case SliderToMinimum:
        kind = SB_TOP;
        break;
    case SliderToMaximum:
        kind = SB_BOTTOM;
        break;
    case SliderMove:
        // A moved thumb tracks; a jump without a held thumb (the wheel, "Scroll here")
        // lands at once, like a released thumb.
        kind = isSliderDown() ? SB_THUMBTRACK : SB_THUMBPOSITION;
        break;
    default:
        return;
    }
    setValue(sliderPosition());
    emit scrollRequest(kind, value());
}

void TScrollBar::mousePressEvent(QMouseEvent *event)
{
    mouseAction_ = true;
    QScrollBar::mousePressEvent(event);
}

void TScrollBar::mouseReleaseEvent(QMouseEvent *event)
{
    QScrollBar::mouseReleaseEvent(event);
    if (mouseAction_ && event->buttons() == Qt::NoButton) {
        mouseAction_ = false;
        emit scrollRequest(SB_ENDSCROLL, value());
    }
}

void TScrollBar::keyReleaseEvent(QKeyEvent *event)
{
    QScrollBar::keyReleaseEvent(event);
    if (event->isAutoRepeat())
        return;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        emit scrollRequest(SB_ENDSCROLL, value());
        break;
    default:
        break;
    }
}

void TLabel::setCaption(const QString &caption)
{
    setText(caption);
    const int width = QFontMetrics(font()).horizontalAdvance(caption) + 2 * margin();
    resize(width, height());
}

TImage::TImage(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImage::setPicture(const QImage &picture)
{
    // A deep copy: the picture may wrap pixels that its owner releases right after.
    picture_ =
        picture.format() == QImage::Format_RGB32 ? picture.copy() : picture.convertToFormat(QImage::Format_RGB32);
    update();
}

void TImage::setPicture(const Bitmap &bitmap)
{
    setPicture(WrapBitmap(bitmap));
}

void TImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor menu = palette().color(QPalette::Window);
    if (picture_.isNull()) {
        painter.fillRect(rect(), menu);
        return;
    }
    painter.drawImage(0, 0, picture_);
    // Whatever the picture does not cover keeps the menu colour.
    if (picture_.width() < width())
        painter.fillRect(picture_.width(), 0, width() - picture_.width(), height(), menu);
    if (picture_.height() < height())
        painter.fillRect(0, picture_.height(), picture_.width(), height() - picture_.height(), menu);
}

void TImage::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    emit mouseDown(event->button(), at.x(), at.y());
}

QImage WrapBitmap(const Bitmap &bitmap)
{
    return QImage(reinterpret_cast<const uchar *>(bitmap.constBits()), bitmap.width(), bitmap.height(),
                  bitmap.bytesPerLine(), QImage::Format_RGB32);
}
