#include "ProgramPictures.h"

#include <QPainter>
#include <QPixmap>

namespace {
// Rings from the outside in: dark blue, blue, green, yellow, red, as the count scale runs.
void PaintBullseye(QPainter &painter, const QRectF &area, const QColor &background)
{
    painter.fillRect(area, background);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QColor rings[] = {QColor(0, 0, 128), QColor(0, 0, 255), QColor(0, 255, 0), QColor(255, 255, 0),
                            QColor(255, 0, 0)};
    const qreal side = qMin(area.width(), area.height());
    const QPointF centre = area.center();
    for (int i = 0; i < 5; ++i) {
        const qreal radius = side / 2 * (5 - i) / 5.0;
        painter.setBrush(rings[i]);
        painter.drawEllipse(centre, radius, radius);
    }
}
} // namespace

QIcon MakeProgramIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    PaintBullseye(painter, QRectF(1, 1, 30, 30), Qt::transparent);
    painter.end();
    return QIcon(pixmap);
}

QImage MakeAboutPicture()
{
    QImage picture(72, 67, QImage::Format_RGB32);
    QPainter painter(&picture);
    PaintBullseye(painter, QRectF(0, 0, 72, 67), Qt::black);
    painter.end();
    return picture;
}
