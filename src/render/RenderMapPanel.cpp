#include "RenderMapPanel.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

namespace {

QFont LabelFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(16);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace

void DrawScaleLabel(Bitmap &bitmap, int scalePosition)
{
    if (bitmap.width() == 0)
        return;
    QImage image(reinterpret_cast<uchar *>(bitmap.bits()), bitmap.width(), bitmap.height(), bitmap.bytesPerLine(),
                 QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(LabelFont());
    painter.setPen(Qt::white);
    painter.setBackground(Qt::black);
    painter.setBackgroundMode(Qt::OpaqueMode);
    const QString text = QString::number(100 - scalePosition);
    // Top-left corner at (0, 512): the baseline lies one ascent below it.
    painter.drawText(QPoint(0, 512 + painter.fontMetrics().ascent()), text);
}

void RenderMapPanel(Bitmap &bitmap, const MapPanelInputs &inputs, const GatedVolume &volume, const ColourTable &table,
                    ProfileResults &results, const MapPanelProgress &progress)
{
    DrawMapPanel(bitmap, inputs, volume, table, results, progress);
    if (MapPanelHasScaleLabel(inputs.mapKind))
        DrawScaleLabel(bitmap, inputs.scalePosition);
}
