// The 512 colours of the count images: four ramps of 128 entries from black through blue
// and green to yellow and red, kept in the layout 0x00BBGGRR.
#pragma once

#include "ProgramData.h"

// Writes all 512 entries:
//   0 ..127  (0, 0, 2i)          black to (0, 0, 254)
//   128..255 (0, 2i, 255 - 2i)   blue (0, 0, 255) to (0, 254, 1)
//   256..383 (2i, 255, 0)        green (0, 255, 0) to (254, 255, 0)
//   384..511 (255, 255 - 2i, 0)  yellow (255, 255, 0) to (255, 1, 0)
// where i is the entry's place in its ramp, 0..127.
void BuildColourTable(ColourTable &table);
