#include "ColourTable.h"

#include "Bitmap.h"

void BuildColourTable(ColourTable &table)
{
    for (int i = 0; i < 128; ++i) {
        const auto up = uint8_t(2 * i);
        const auto down = uint8_t(255 - 2 * i);
        table[std::size_t(i)] = ColourRef(0, 0, up);
        table[std::size_t(128 + i)] = ColourRef(0, up, down);
        table[std::size_t(256 + i)] = ColourRef(up, 255, 0);
        table[std::size_t(384 + i)] = ColourRef(255, down, 0);
    }
}
