// The pixel picture: its memory layout (what the window hands to QImage unconverted), the
// colour conversions, and clipping of every write.
#include "Bitmap.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr uint32_t Sentinel = 0xFF123456;

int countPixels(const Bitmap &bitmap, uint32_t rgb)
{
    int n = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            n += bitmap.pixel(x, y) == rgb;
    return n;
}

TEST(Colours, ConvertBetweenTheTableAndThePictureLayouts)
{
    struct Case {
        uint8_t r, g, b;
        uint32_t colorref, rgb;
    } cases[] = {
        {0, 0, 0, 0x00000000, 0xFF000000},       {255, 1, 0, 0x000001FF, 0xFFFF0100},
        {0, 0, 254, 0x00FE0000, 0xFF0000FE},     {0x12, 0x34, 0x56, 0x00563412, 0xFF123456},
        {255, 255, 255, 0x00FFFFFF, 0xFFFFFFFF},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ColourRef(c.r, c.g, c.b), c.colorref);
        EXPECT_EQ(Rgb(c.r, c.g, c.b), c.rgb);
        EXPECT_EQ(ColourRefToRgb(c.colorref), c.rgb);
        EXPECT_EQ(RedOf(c.rgb), c.r);
        EXPECT_EQ(GreenOf(c.rgb), c.g);
        EXPECT_EQ(BlueOf(c.rgb), c.b);
    }
    // A stray top byte in a table colour does not leak into the picture.
    EXPECT_EQ(ColourRefToRgb(0xAB563412), 0xFF123456u);
}

TEST(Bitmap, StoresRowsOfRgb32PixelsWithoutPadding)
{
    Bitmap bitmap(3, 2, Sentinel);
    ASSERT_EQ(bitmap.width(), 3);
    ASSERT_EQ(bitmap.height(), 2);
    EXPECT_EQ(bitmap.bytesPerLine(), 12);
    EXPECT_EQ(countPixels(bitmap, Sentinel), 6);

    bitmap.setPixel(2, 1, Rgb(0x11, 0x22, 0x33));
    EXPECT_EQ(bitmap.constBits()[1 * 3 + 2], 0xFF112233u);
    EXPECT_EQ(bitmap.scanLine(1)[2], 0xFF112233u);
    // Little-endian bytes B, G, R, 0xFF: the layout of QImage::Format_RGB32.
    unsigned char bytes[4];
    std::memcpy(bytes, bitmap.constBits() + 5, 4);
    EXPECT_EQ(bytes[0], 0x33);
    EXPECT_EQ(bytes[1], 0x22);
    EXPECT_EQ(bytes[2], 0x11);
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(Bitmap(4, 4).pixel(3, 3), Rgb(0, 0, 0)); // black unless told otherwise
}

TEST(Bitmap, IgnoresWritesOutsideAndReadsZeroThere)
{
    Bitmap bitmap(4, 3, Sentinel);
    const int outside[][2] = {{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {-5, -5}, {1000000, 1000000}};
    for (const auto &p : outside) {
        bitmap.setPixel(p[0], p[1], Rgb(1, 2, 3));
        EXPECT_EQ(bitmap.pixel(p[0], p[1]), 0u) << p[0] << "," << p[1];
    }
    EXPECT_EQ(countPixels(bitmap, Sentinel), 12);

    for (int size : {0, -3}) {
        Bitmap empty(size, 5);
        EXPECT_EQ(empty.width(), 0);
        EXPECT_EQ(empty.height(), 0);
        empty.fill(Sentinel);
        empty.fillRect(-10, -10, 10, 10, Sentinel);
        empty.setPixel(0, 0, Sentinel);
        EXPECT_EQ(empty.pixel(0, 0), 0u);
    }
}

TEST(Bitmap, FillsRectanglesWithoutTheirFarEdges)
{
    struct Case {
        const char *what;
        int left, top, right, bottom;
        int x0, y0, x1, y1; // expected filled pixels, inclusive; x0 > x1 for none
    } cases[] = {
        {"inside", 1, 2, 4, 5, 1, 2, 3, 4},
        {"one pixel", 3, 3, 4, 4, 3, 3, 3, 3},
        {"clipped on every side", -5, -5, 100, 100, 0, 0, 7, 5},
        {"clipped at the right and bottom", 6, 4, 9, 9, 6, 4, 7, 5},
        {"empty", 2, 2, 2, 5, 1, 0, 0, 0},
        {"inverted", 4, 4, 1, 1, 1, 0, 0, 0},
        {"wholly outside", 8, 0, 12, 6, 1, 0, 0, 0},
    };
    for (const Case &c : cases) {
        Bitmap bitmap(8, 6, Sentinel);
        bitmap.fillRect(c.left, c.top, c.right, c.bottom, Rgb(9, 9, 9));
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool inside = x >= c.x0 && x <= c.x1 && y >= c.y0 && y <= c.y1;
                ASSERT_EQ(bitmap.pixel(x, y), inside ? Rgb(9, 9, 9) : Sentinel) << c.what << " at " << x << "," << y;
            }
    }
}

TEST(Bitmap, FillsSpansAndWholePictures)
{
    Bitmap bitmap(5, 3, Sentinel);
    bitmap.fillSpan(-2, 3, 1, Rgb(7, 0, 0)); // pixels 0..2 of row 1
    bitmap.fillSpan(0, 5, 3, Rgb(0, 7, 0));  // below the picture
    bitmap.fillSpan(4, 2, 0, Rgb(0, 0, 7));  // inverted
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(bitmap.pixel(x, 1), x < 3 ? Rgb(7, 0, 0) : Sentinel) << x;
        EXPECT_EQ(bitmap.pixel(x, 0), Sentinel) << x;
        EXPECT_EQ(bitmap.pixel(x, 2), Sentinel) << x;
    }
    bitmap.fill(Rgb(1, 1, 1));
    EXPECT_EQ(countPixels(bitmap, Rgb(1, 1, 1)), 15);
}

} // namespace
