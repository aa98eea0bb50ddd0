#include "ColourBar.h"

#include "ColourTable.h"

void DrawColourBar(Bitmap &bar, bool percentMode, ColourTable &table)
{
    const int width = bar.width();
    if (percentMode) {
        for (int i = 0; i < 256; ++i) {
            bar.fillSpan(0, width, 255 - i, Rgb(uint8_t(i), 0, 0));
            bar.fillSpan(0, width, 256 + i, Rgb(0, 0, uint8_t(i)));
        }
        return;
    }
    BuildColourTable(table);
    for (int k = 0; k < 512; ++k)
        bar.fillSpan(0, width, 511 - k, ColourRefToRgb(table[std::size_t(k)]));
}
