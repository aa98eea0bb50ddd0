// The map panel as Image1 shows it: the panel of the core with its scale label, the one piece
// of text in it, drawn with QPainter on the same pixels. Needs a QGuiApplication.
#pragma once

#include "MapPanel.h"

// The scale label: the decimal text of 100 - scalePosition, white, 12-point, its top-left corner at (0, 512),
// drawn with QPainter on the bitmap wrapped as a QImage (Format_RGB32, no copy). The text stands on the black
// brush, so the cell behind it is black, as the platform's text output paints it. The font is fixed ("DejaVu
// Sans", 16 pixels, which is 12 points at 96 dpi, without antialiasing), so every screen and every tool draws
// the same pixels.
void DrawScaleLabel(Bitmap &bitmap, int scalePosition);

// DrawMapPanel, then the label when the kind has one: what Image1 shows in map display.
void RenderMapPanel(Bitmap &bitmap, const MapPanelInputs &inputs, const GatedVolume &volume, const ColourTable &table,
                    ProfileResults &results, const MapPanelProgress &progress = {});
