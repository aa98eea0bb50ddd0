// The montage, the detail view with its ROI overlay, and the centre markers, pixel by pixel.
#include "DetailView.h"
#include "Montage.h"
#include "PlaneSet.h"

#include "NumberedColours.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

constexpr uint32_t Sentinel = 0xFFABCDEF;
constexpr uint32_t Background = 0xFF102030;
constexpr uint32_t Yellow = 0xFFFFFF00;
constexpr uint32_t Black = 0xFF000000;

// A count that tells every (x, y, slice, phase) apart within 0..511 would be too few values,
// so the cells carry (x + 3y + 37 slice + 101 phase) mod 512, with the window 0..512
// (scale 1) mapping count v to table entry v.
int16_t cellCount(int x, int y, int slice, int phase)
{
    return int16_t((x + 3 * y + 37 * slice + 101 * phase) % 512);
}

std::unique_ptr<GatedVolume> makeVolume()
{
    auto volume = std::make_unique<GatedVolume>();
    for (int x = 0; x < 128; ++x)
        for (int y = 0; y < 128; ++y)
            for (int s = 0; s < 16; ++s)
                for (int p = 0; p < 16; ++p)
                    volume->at(x, y, s, p) = cellCount(x, y, s, p);
    return volume;
}


TEST(DrawMontage, SliceAndPhaseTilesAtTheirPlaces)
{
    const auto volume = makeVolume();
    const CountToColour colours(NumberedTable(), {0, 512});
    Bitmap bitmap(542, 542, Sentinel);

    std::vector<int> tiles;
    DrawMontage(bitmap, *volume, colours, {0, 3, 7}, Background, [&](int t) { tiles.push_back(t); });
    // Tile 9 is row 2, column 1: (138 + 5, 276 + 9) is cell (5, 9) of slice 9 at phase 7.
    EXPECT_EQ(bitmap.pixel(138 + 5, 276 + 9), NumberedColour(cellCount(5, 9, 9, 7)));
    EXPECT_EQ(bitmap.pixel(541, 541), NumberedColour(cellCount(127, 127, 15, 7)));
    EXPECT_EQ(bitmap.pixel(0, 0), NumberedColour(cellCount(0, 0, 0, 7)));
    EXPECT_EQ(bitmap.pixel(414 + 127, 0), NumberedColour(cellCount(127, 0, 3, 7)));
    EXPECT_EQ(tiles, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));

    // The phase montage of slice 3: tile 0 is phase 0, tile 15 phase 15.
    DrawMontage(bitmap, *volume, colours, {1, 3, 7}, Background);
    EXPECT_EQ(bitmap.pixel(10, 20), NumberedColour(cellCount(10, 20, 3, 0)));
    EXPECT_EQ(bitmap.pixel(414 + 10, 414 + 20), NumberedColour(cellCount(10, 20, 3, 15)));
    EXPECT_EQ(bitmap.pixel(138 + 1, 2), NumberedColour(cellCount(1, 2, 3, 1)));
}

TEST(DrawMontage, GapsShowTheBackground)
{
    const auto volume = makeVolume();
    const CountToColour colours(NumberedTable(), {0, 512});
    Bitmap bitmap(542, 542, Sentinel);
    DrawMontage(bitmap, *volume, colours, {0, 7, 7}, Background);
    for (int a = 0; a < 542; ++a)
        for (int gap : {128, 137, 266, 275, 404, 413}) {
            ASSERT_EQ(bitmap.pixel(gap, a), Background) << gap << "," << a;
            ASSERT_EQ(bitmap.pixel(a, gap), Background) << a << "," << gap;
        }
    EXPECT_EQ(bitmap.pixel(127, 127), NumberedColour(cellCount(127, 127, 0, 7)));
    EXPECT_EQ(bitmap.pixel(138, 138), NumberedColour(cellCount(0, 0, 5, 7)));

    // A phase out of range draws no tile, and a smaller picture is clipped.
    DrawMontage(bitmap, *volume, colours, {0, 7, 16}, Background);
    EXPECT_EQ(bitmap.pixel(5, 5), Background);
    Bitmap small(200, 100, Sentinel);
    DrawMontage(small, *volume, colours, {0, 7, 7}, Background);
    EXPECT_EQ(small.pixel(199, 99), NumberedColour(cellCount(199 - 138, 99, 1, 7)));
}

// The overlay alone, on a plane whose colour is not yellow.
Bitmap detailOverlay(const DetailViewInputs &inputs)
{
    static const auto volume = [] {
        auto v = std::make_unique<GatedVolume>();
        return v;
    }();
    const CountToColour colours(NumberedTable(), {0, 512}); // count 0: entry 0 = (0, 0, 7)
    Bitmap bitmap(256, 256, Sentinel);
    DrawDetailImage(bitmap, *volume, colours, inputs);
    return bitmap;
}

int yellowPixels(const Bitmap &bitmap)
{
    int n = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            n += bitmap.pixel(x, y) == Yellow;
    return n;
}

TEST(DrawDetailImage, PlaneAsBlocksUnderTheOverlay)
{
    const auto volume = makeVolume();
    const CountToColour colours(NumberedTable(), {0, 512});
    Bitmap bitmap(256, 256, Sentinel);
    DetailViewInputs inputs;
    inputs.slice = 4;
    inputs.phase = 11;
    inputs.roiVisible = false;
    DrawDetailImage(bitmap, *volume, colours, inputs);
    for (int y = 0; y < 128; y += 7)
        for (int x = 0; x < 128; x += 5)
            for (int d = 0; d < 4; ++d)
                ASSERT_EQ(bitmap.pixel(2 * x + d % 2, 2 * y + d / 2), NumberedColour(cellCount(x, y, 4, 11)));
}

TEST(DrawDetailImage, RoiCircleAndAngleMarkerAtTheStartPositions)
{
    DetailViewInputs inputs; // centre (64, 64), radius 40, ray 0, GA
    const Bitmap bitmap = detailOverlay(inputs);
    // The circle's rectangle is (48, 48) - (208, 208), far edges exclusive.
    EXPECT_EQ(bitmap.pixel(48, 128), Yellow);
    EXPECT_EQ(bitmap.pixel(207, 128), Yellow);
    EXPECT_EQ(bitmap.pixel(128, 48), Yellow);
    EXPECT_EQ(bitmap.pixel(128, 207), Yellow);
    EXPECT_NE(bitmap.pixel(47, 128), Yellow);
    EXPECT_NE(bitmap.pixel(208, 128), Yellow);
    EXPECT_NE(bitmap.pixel(128, 208), Yellow);
    // The marker runs from the centre up and to the right towards (218, 36).
    const VolumePoint end = AngleMarkerEnd(64, 64, 0);
    EXPECT_EQ(end.x, 109);
    EXPECT_EQ(end.y, 18);
    EXPECT_EQ(bitmap.pixel(128, 128), Yellow);
    EXPECT_EQ(bitmap.pixel(173, 82), Yellow); // halfway, on the diagonal-ish line
    EXPECT_NE(bitmap.pixel(218, 36), Yellow); // its end pixel is not drawn
}

TEST(DrawDetailImage, AngleMarkerEnds)
{
    struct Case {
        int ray;
        VolumePoint end; // in volume pixels, from the centre (64, 64)
        int lastX, lastY; // the last pixel the marker draws in Image3
    } cases[] = {
        {8, {64, 0}, 128, 1},    // straight up to (128, 0), which is not drawn
        {24, {0, 63}, 1, 126},   // left: the cosine is a hair below zero, so it ends at (0, 126)
        // Down: sin 2 pi is a hair below zero, so the end is (63, 128), (126, 256) in Image3.
        {40, {63, 128}, 126, 255},
        {56, {128, 64}, 255, 128}, // right, out to (256, 128)
    };
    for (const Case &c : cases) {
        const VolumePoint end = AngleMarkerEnd(64, 64, c.ray);
        EXPECT_EQ(end.x, c.end.x) << c.ray;
        EXPECT_EQ(end.y, c.end.y) << c.ray;
        DetailViewInputs inputs;
        inputs.ray = c.ray;
        inputs.mapKind = 0; // G1
        const Bitmap bitmap = detailOverlay(inputs);
        EXPECT_EQ(bitmap.pixel(c.lastX, c.lastY), Yellow) << c.ray;
        EXPECT_NE(bitmap.pixel(2 * end.x, 2 * end.y), Yellow) << c.ray;
    }
}

TEST(DrawDetailImage, WhichKindsShowTheMarker)
{
    DetailViewInputs inputs;
    inputs.ray = 8; // straight up: the marker's pixels (128, 1..47) lie inside the circle
    const int kinds[] = {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13};
    for (int kind : kinds) {
        inputs.mapKind = kind;
        const bool marker = kind == 0 || kind == 1 || kind == 4;
        EXPECT_EQ(detailOverlay(inputs).pixel(128, 100) == Yellow, marker) << kind;
        EXPECT_EQ(detailOverlay(inputs).pixel(48, 128), Yellow) << kind;
    }
    inputs.roiVisible = false;
    inputs.mapKind = 1;
    EXPECT_EQ(yellowPixels(detailOverlay(inputs)), 0);
}

TEST(DrawDetailImage, CircleClippedAtTheCorner)
{
    // Centre (24, 103), radius 64: rectangle (-80, 78) - (176, 334), clipped by the image.
    DetailViewInputs inputs;
    inputs.centreX = 24;
    inputs.centreY = 103;
    inputs.radius = 64;
    inputs.mapKind = 2;
    const Bitmap bitmap = detailOverlay(inputs);
    EXPECT_EQ(bitmap.pixel(48, 78), Yellow); // the top of the circle, above the centre column
    EXPECT_EQ(bitmap.pixel(175, 206), Yellow); // the rightmost column, at the centre row
    EXPECT_NE(bitmap.pixel(176, 206), Yellow);
    EXPECT_EQ(bitmap.pixel(48, 206), 0xFF000007u); // inside: the plane's colour
    EXPECT_GT(yellowPixels(bitmap), 100);
}

TEST(DrawDetailImage, FromGatheredPlanesAsFromTheVolume)
{
    const auto volume = makeVolume();
    const CountToColour colours(NumberedTable(), {0, 512});
    PlaneSet planes;
    for (bool bySlice : {true, false}) {
        planes.gather(*volume, bySlice, 6, 9);
        for (int t : {0, 5, 15}) {
            DetailViewInputs inputs;
            inputs.slice = bySlice ? t : 6;
            inputs.phase = bySlice ? 9 : t;
            Bitmap fromVolume(256, 256, Sentinel), fromPlane(256, 256, Sentinel);
            DrawDetailImage(fromVolume, *volume, colours, inputs);
            DrawDetailImage(fromPlane, planes.plane(t), colours, inputs);
            EXPECT_EQ(fromPlane.pixel(2 * 17 + 1, 2 * 90), NumberedColour(cellCount(17, 90, inputs.slice, inputs.phase)));
            ASSERT_TRUE(std::equal(fromVolume.bits(), fromVolume.bits() + 256 * 256, fromPlane.bits()))
                << bySlice << " " << t;
        }
    }
}

TEST(CentreMarkers, TicksAtTwiceTheBarPosition)
{
    Bitmap x(160, 16, Sentinel);
    DrawCentreMarkerX(x, 40, Background);
    for (int row = 0; row < 16; ++row) {
        EXPECT_EQ(x.pixel(80, row), Black) << row;
        EXPECT_EQ(x.pixel(79, row), Background) << row;
        EXPECT_EQ(x.pixel(81, row), Background) << row;
    }
    Bitmap y(16, 160, Sentinel);
    DrawCentreMarkerY(y, 40, Background);
    for (int column = 0; column < 16; ++column) {
        EXPECT_EQ(y.pixel(column, 80), Black) << column;
        EXPECT_EQ(y.pixel(column, 81), Background) << column;
    }
    DrawCentreMarkerX(x, 79, Background);
    EXPECT_EQ(x.pixel(158, 0), Black);
    EXPECT_EQ(x.pixel(80, 0), Background);
}

} // namespace
