// The raster primitives of the views (the map panel, the ROI overlay, the centre markers):
// lines without their end pixel, ellipses inscribed in a rectangle whose far edges are
// exclusive, and pie wedges, each with an exact, documented pixel rule and clipped to the
// bitmap before any pixel loop, so far-off coordinates cost nothing and never overflow.
//
// Coordinates. A point (X, Y) is the top-left corner of pixel (X, Y); the centre of pixel
// (x, y) lies at (x + 0.5, y + 0.5). Rectangles are given as left, top, right, bottom with
// right and bottom exclusive, as the platform's rectangles are.
//
// Ellipse fill rule. The ellipse inscribed in left..right, top..bottom has its centre at
// ((left + right) / 2, (top + bottom) / 2) and semi-axes (right - left) / 2 and
// (bottom - top) / 2. A pixel belongs to it when its centre lies inside or on the ellipse:
//     ((x + 0.5 - cx) / a)^2 + ((y + 0.5 - cy) / b)^2 <= 1,
// evaluated exactly in integers. The rule is symmetric under both mirrorings about the
// centre. An ellipse whose width or height is not positive has no pixels.
// The outline is the set of filled pixels that have at least one of their four neighbours
// outside the fill: an 8-connected ring one pixel thin that lies inside the fill.
// So (48, 48)-(208, 208) touches columns 48 and 207 and rows 48 and 207.
#pragma once

#include "Bitmap.h"

#include <cstdint>

// Line from (x0, y0) to (x1, y1), the end pixel (x1, y1) not drawn (the platform's line
// convention). Bresenham: along the major axis (x when |dx| >= |dy|) the pixels run from the
// start up to, not including, the end; the pixel at major step i has the minor offset
// i * |minor delta| / |major delta| rounded to the nearest integer, an exact half rounded
// towards the start point. A line whose two ends coincide draws nothing. The line is clipped
// to the bitmap before rasterising: only the pixels inside it are visited, any int
// coordinates are safe, and the pixels drawn are exactly those of the unclipped line.
void DrawLine(Bitmap &bitmap, int x0, int y0, int x1, int y1, uint32_t rgb);

// Outline of the ellipse inscribed in the rectangle (see the rules above); 1-pixel pen; clipped.
void DrawEllipse(Bitmap &bitmap, int left, int top, int right, int bottom, uint32_t rgb);

// Interior and outline of the same ellipse in one colour: every pixel of the fill rule.
void FillEllipse(Bitmap &bitmap, int left, int top, int right, int bottom, uint32_t rgb);

// Pie wedge of the ellipse inscribed in the rectangle, counter-clockwise on the screen from
// the direction of point (startX, startY) to the direction of (endX, endY), both seen from
// the rectangle's centre; pen and brush one colour. A pixel belongs to the wedge when it
// belongs to the ellipse's fill and its centre lies in the half-open angular sector that
// starts at the start direction (included) and turns counter-clockwise on the screen up to
// the end direction (excluded). Wedges that share a direction therefore never share a pixel,
// and the 64 wedges of a bull's-eye ring cover its disc exactly once. Equal start and end
// directions give the whole ellipse; a direction point on the centre itself gives nothing.
// A pixel whose centre is the ellipse's centre belongs to every wedge.
void FillPie(Bitmap &bitmap, int left, int top, int right, int bottom, int startX, int startY, int endX, int endY,
             uint32_t rgb);

// Whether the centre of pixel (x, y) lies in the sector of FillPie for the ellipse centred
// on ((left + right) / 2, (top + bottom) / 2), given twice that centre. Shared with the map
// panel's per-pixel wedge lookup so both follow one rule.
bool SectorContains(int64_t twiceCentreX, int64_t twiceCentreY, int startX, int startY, int endX, int endY, int x,
                    int y);

// Whether pixel (x, y) belongs to the fill of the ellipse inscribed in the rectangle.
bool EllipseContains(int left, int top, int right, int bottom, int x, int y);
// The columns first .. last (inclusive) of row y that belong to that fill; false when the row has none.
bool EllipseRowSpan(int left, int top, int right, int bottom, int y, int64_t &first, int64_t &last);
