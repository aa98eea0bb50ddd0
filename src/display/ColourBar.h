// The colour bar beside the montage (25 x 512): the count scale with the highest entry at
// the top, or, while the bars hold percent limits, red above and blue below the middle.
// The captions above and below it come from ColourBarCaptionValues (CountWindow.h).
#pragma once

#include "Bitmap.h"
#include "ProgramData.h"

// Count mode: fills `table` (BuildColourTable) and draws entry k across row 511 - k, so the
// top row is (255, 1, 0) and the bottom row black.
// Percent mode: draws row 255 - i in (i, 0, 0) and row 256 + i in (0, 0, i), i = 0..255, so
// the top row is pure red, the two middle rows black and the bottom row pure blue; `table`
// is left as it is.
// Every row is drawn across the whole width of `bar`; rows beyond its height are clipped.
void DrawColourBar(Bitmap &bar, bool percentMode, ColourTable &table);
