// The detail view's pixels: each cell of the chosen plane as a 2 x 2 block, the right
// plane of the volume, and clipping to the picture.
#include "CountImage.h"
#include "CountWindow.h"
#include "ColourTable.h"
#include "StudyReader.h"
#include "TestStudy.h"

#include "NumberedColours.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr uint32_t Sentinel = 0xFFABCDEF;
constexpr int Slice = 5, Phase = 11;

// Counts 0..499 that tell (x, y) from (y, x) and neighbours apart; every other plane holds 505.
int16_t planeCount(int x, int y)
{
    return int16_t((x * 7 + y * 13) % 500);
}

std::unique_ptr<GatedVolume> makeVolume()
{
    auto volume = std::make_unique<GatedVolume>();
    for (int x = 0; x < 128; ++x)
        for (int y = 0; y < 128; ++y)
            for (int s = 0; s < 16; ++s)
                for (int p = 0; p < 16; ++p)
                    volume->at(x, y, s, p) = (s == Slice && p == Phase) ? planeCount(x, y) : int16_t(505);
    return volume;
}


TEST(DrawPlaneDoubled, DrawsEveryCellAsATwoByTwoBlock)
{
    const auto volume = makeVolume();
    const CountToColour colours(NumberedTable(), {0, 512});
    Bitmap bitmap(256, 256, Sentinel);
    DrawPlaneDoubled(bitmap, *volume, Slice, Phase, colours);
    for (int Y = 0; Y < 256; ++Y)
        for (int X = 0; X < 256; ++X)
            ASSERT_EQ(bitmap.pixel(X, Y), NumberedColour(planeCount(X / 2, Y / 2))) << X << "," << Y;
}

TEST(DrawPlaneDoubled, ClipsToThePicture)
{
    const auto volume = makeVolume();
    const CountToColour colours(NumberedTable(), {0, 512});

    Bitmap larger(300, 260, Sentinel);
    DrawPlaneDoubled(larger, *volume, Slice, Phase, colours);
    EXPECT_EQ(larger.pixel(255, 255), NumberedColour(planeCount(127, 127)));
    for (int Y = 0; Y < 260; ++Y)
        for (int X = 0; X < 300; ++X)
            if (X >= 256 || Y >= 256) {
                ASSERT_EQ(larger.pixel(X, Y), Sentinel) << X << "," << Y;
            }

    Bitmap smaller(255, 3, Sentinel); // odd sizes cut blocks in half
    DrawPlaneDoubled(smaller, *volume, Slice, Phase, colours);
    EXPECT_EQ(smaller.pixel(254, 2), NumberedColour(planeCount(127, 1)));
    EXPECT_EQ(smaller.pixel(0, 0), NumberedColour(planeCount(0, 0)));
    EXPECT_EQ(smaller.pixel(3, 1), NumberedColour(planeCount(1, 0)));

    Bitmap empty(0, 0);
    DrawPlaneDoubled(empty, *volume, Slice, Phase, colours);
}

TEST(DrawPlaneDoubled, IgnoresASliceOrPhaseOutOfRange)
{
    const auto volume = makeVolume();
    const CountToColour colours(NumberedTable(), {0, 512});
    const int planes[][2] = {{-1, 0}, {16, 0}, {0, -1}, {0, 16}};
    for (const auto &plane : planes) {
        Bitmap bitmap(256, 256, Sentinel);
        DrawPlaneDoubled(bitmap, *volume, plane[0], plane[1], colours);
        EXPECT_EQ(bitmap.pixel(0, 0), Sentinel);
        EXPECT_EQ(bitmap.pixel(255, 255), Sentinel);
    }
}

TEST(DrawPlaneDoubled, ShowsARealStudyInItsStartWindow)
{
    const std::string folder = RealDataDir();
    if (folder.empty())
        GTEST_SKIP() << "the real study is not there";
    auto study = std::make_unique<Study>();
    ASSERT_TRUE(LoadStudySet(folder + "/heart.d01", *study).ok);
    ASSERT_EQ(study->CountRange, 141);

    // Bars 0..56, ScrollBarMax at 0 and ScrollBarMin at 27: window 29..141.
    const CountBarsAfterLoad bars = CountBarsForStudy(study->CountRange);
    const CountWindow window = ComputeCountWindow(study->CountRange, bars.maxPosition, bars.minPosition);
    ASSERT_EQ(window.lower, 29);
    ASSERT_EQ(window.upper, 141);
    ColourTable table;
    BuildColourTable(table);
    const CountToColour colours(table, window);

    // The cell holding the largest count is red, cells of 29 or less are black.
    int hotX = -1, hotY = -1, hotSlice = -1;
    for (int slice = 0; slice < 16 && hotSlice < 0; ++slice)
        for (int x = 0; x < 128; ++x)
            for (int y = 0; y < 128; ++y)
                if (study->volume.at(x, y, slice, 0) == 141) {
                    hotX = x, hotY = y, hotSlice = slice;
                }
    ASSERT_GE(hotSlice, 0) << "no cell holds the largest count";
    Bitmap bitmap(256, 256, Sentinel);
    DrawPlaneDoubled(bitmap, study->volume, hotSlice, 0, colours);
    EXPECT_EQ(bitmap.pixel(2 * hotX + 1, 2 * hotY + 1), Rgb(255, 1, 0));
    int black = 0;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            if (study->volume.at(x, y, hotSlice, 0) <= 29) {
                ASSERT_EQ(bitmap.pixel(2 * x, 2 * y), Rgb(0, 0, 0)) << x << "," << y;
                ++black;
            }
    EXPECT_GT(black, 0);
}

} // namespace
