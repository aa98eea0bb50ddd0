// A colour table whose entries tell their index: entry k is (k mod 256, k / 256, 7), so with
// the window 0..512 (scale 1) a count v takes entry v and its colour names the count.
#pragma once

#include "Bitmap.h"
#include "ProgramData.h"

inline ColourTable NumberedTable()
{
    ColourTable table;
    for (int k = 0; k < 512; ++k)
        table[std::size_t(k)] = ColourRef(uint8_t(k & 0xFF), uint8_t(k >> 8), 7);
    return table;
}

// The picture's colour of entry `count` of the numbered table.
inline uint32_t NumberedColour(int count)
{
    return Rgb(uint8_t(count & 0xFF), uint8_t(count >> 8), 7);
}
