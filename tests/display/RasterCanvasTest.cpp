// The raster canvas: lines without their end pixel and clipped before rasterising, ellipses
// inscribed in rectangles with exclusive far edges, and pie wedges between two directions.
#include "RasterCanvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t Ink = 0xFFFFFF00;
constexpr uint32_t Paper = 0xFF000000;

using Pixels = std::set<std::pair<int, int>>;

Pixels inked(const Bitmap &bitmap, uint32_t rgb = Ink)
{
    Pixels set;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            if (bitmap.pixel(x, y) == rgb)
                set.insert({x, y});
    return set;
}

// The textbook integer Bresenham, stepping along the major axis with a decision variable;
// keeps the pixels that fall inside width x height. Used only to check lines that cannot be
// worked out by hand: it walks every step, which the canvas must not do.
Pixels referenceLine(long long x0, long long y0, long long x1, long long y1, int width, int height)
{
    Pixels set;
    const long long dx = std::llabs(x1 - x0), dy = std::llabs(y1 - y0);
    const long long sx = x1 < x0 ? -1 : 1, sy = y1 < y0 ? -1 : 1;
    auto keep = [&](long long x, long long y) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            set.insert({int(x), int(y)});
    };
    long long x = x0, y = y0;
    if (dx >= dy) {
        long long d = 2 * dy - dx;
        for (long long i = 0; i < dx; ++i, x += sx) {
            keep(x, y);
            if (d > 0) {
                y += sy;
                d -= 2 * dx;
            }
            d += 2 * dy;
        }
    } else {
        long long d = 2 * dx - dy;
        for (long long i = 0; i < dy; ++i, y += sy) {
            keep(x, y);
            if (d > 0) {
                x += sx;
                d -= 2 * dy;
            }
            d += 2 * dx;
        }
    }
    return set;
}

TEST(DrawLine, SetsTheBresenhamPixelsWithoutTheEndPixel)
{
    struct Case {
        const char *what;
        int x0, y0, x1, y1;
        Pixels expected;
    } cases[] = {
        {"horizontal", 2, 3, 7, 3, {{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}}},
        {"horizontal leftwards", 7, 3, 2, 3, {{7, 3}, {6, 3}, {5, 3}, {4, 3}, {3, 3}}},
        {"vertical", 4, 1, 4, 5, {{4, 1}, {4, 2}, {4, 3}, {4, 4}}},
        {"vertical upwards", 4, 5, 4, 1, {{4, 5}, {4, 4}, {4, 3}, {4, 2}}},
        {"diagonal", 1, 1, 5, 5, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
        {"anti-diagonal", 5, 1, 1, 5, {{5, 1}, {4, 2}, {3, 3}, {2, 4}}},
        // y = i / 3 rounded: 0, 0, 1, 1, 1, 2
        {"shallow", 0, 0, 6, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}},
        // x = i * 2 / 5 rounded: 0, 0, 1, 1, 2
        {"steep", 0, 0, 2, 5, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}}},
        {"steep up and left", 3, 5, 1, 0, {{3, 5}, {3, 4}, {2, 3}, {2, 2}, {1, 1}}},
        // i / 2 lies half-way at odd i: the half rounds towards the start.
        {"exact halves", 0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {"exact halves backwards", 4, 2, 0, 0, {{4, 2}, {3, 2}, {2, 1}, {1, 1}}},
        {"one step", 3, 3, 4, 3, {{3, 3}}},
        {"no length", 3, 3, 3, 3, {}},
    };
    for (const Case &c : cases) {
        Bitmap bitmap(8, 8, Paper);
        DrawLine(bitmap, c.x0, c.y0, c.x1, c.y1, Ink);
        EXPECT_EQ(inked(bitmap), c.expected) << c.what;
        EXPECT_EQ(inked(bitmap).size() + inked(bitmap, Paper).size(), 64u) << c.what << ": other pixels untouched";
    }
}

TEST(DrawLine, ClipsFarOffPointsToTheUnclippedPixels)
{
    // Lines crossing a 64 x 48 picture from points hundreds of thousands of pixels away,
    // from every side, against the step-by-step reference.
    struct Case {
        int x0, y0, x1, y1;
    } cases[] = {
        {-299968, -115690, 400032, 154310},
        {400032, 154310, -299968, -115690},
        {30, 20, 250000, -310000},
        {-5000, 47, 300000, 10},
        {20, -400000, 41, 400000},
        {63, 47, -200000, -170000},
        {-99968, 100024, 100032, -99976},
        {10, 10, 500000, 10},
        {70, -10, -10, 60},
    };
    for (const Case &c : cases) {
        Bitmap bitmap(64, 48, Paper);
        DrawLine(bitmap, c.x0, c.y0, c.x1, c.y1, Ink);
        const Pixels expected = referenceLine(c.x0, c.y0, c.x1, c.y1, 64, 48);
        EXPECT_GE(expected.size(), 20u) << "each case crosses the picture";
        EXPECT_EQ(inked(bitmap), expected) << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
    }
}

TEST(DrawLine, TakesTheWholeIntRangeWithoutOverflow)
{
    Bitmap bitmap(16, 16, Paper);
    DrawLine(bitmap, INT_MIN, 5, INT_MAX, 5, Ink);
    Pixels row;
    for (int x = 0; x < 16; ++x)
        row.insert({x, 5});
    EXPECT_EQ(inked(bitmap), row);

    // Slope 1/2 through the origin: step i from x = -2^30 has y offset floor(i / 2), so the
    // pixels inside are (x, floor(x / 2)).
    Bitmap sloped(16, 16, Paper);
    DrawLine(sloped, -(1 << 30), -(1 << 29), 1 << 30, 1 << 29, Ink);
    Pixels expected;
    for (int x = 0; x < 16; ++x)
        expected.insert({x, x / 2});
    EXPECT_EQ(inked(sloped), expected);

    Bitmap diagonal(16, 16, Paper);
    DrawLine(diagonal, INT_MAX, INT_MAX, INT_MIN + 1, INT_MIN + 1, Ink);
    Pixels main;
    for (int i = 0; i < 16; ++i)
        main.insert({i, i});
    EXPECT_EQ(inked(diagonal), main);

    Bitmap missed(16, 16, Paper);
    DrawLine(missed, INT_MIN, INT_MIN, INT_MAX, INT_MIN, Ink);
    DrawLine(missed, -1, INT_MIN, -1, INT_MAX, Ink);
    EXPECT_TRUE(inked(missed).empty());
}

bool mirroredBoth(const Bitmap &bitmap, int left, int top, int right, int bottom)
{
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            const bool set = bitmap.pixel(x, y) == Ink;
            const int mx = left + right - 1 - x, my = top + bottom - 1 - y;
            if (set != (bitmap.pixel(mx, y) == Ink) || set != (bitmap.pixel(x, my) == Ink))
                return false;
        }
    return true;
}

TEST(Ellipse, SmallCasesWorkedByHand)
{
    // Circle of radius 2 about (2, 2): centres at offsets 1.5, 1.5 lie outside (4.5 > 4), so
    // the fill is the 4 x 4 block without its corners and the outline leaves out the inner 2 x 2.
    Bitmap fill(6, 6, Paper), outline(6, 6, Paper);
    FillEllipse(fill, 0, 0, 4, 4, Ink);
    DrawEllipse(outline, 0, 0, 4, 4, Ink);
    EXPECT_EQ(inked(fill),
              (Pixels{{1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {0, 2}, {1, 2}, {2, 2}, {3, 2}, {1, 3}, {2, 3}}));
    EXPECT_EQ(inked(outline), (Pixels{{1, 0}, {2, 0}, {0, 1}, {3, 1}, {0, 2}, {3, 2}, {1, 3}, {2, 3}}));

    // Flat 8 x 2: |dx| <= 4 * sqrt(0.75) = 3.46 keeps columns 1..6 of both rows; nothing spills.
    Bitmap flat(10, 4, Paper);
    DrawEllipse(flat, 0, 0, 8, 2, Ink);
    Pixels rows;
    for (int x = 1; x <= 6; ++x)
        rows.insert({x, 0}), rows.insert({x, 1});
    EXPECT_EQ(inked(flat), rows);

    Bitmap none(8, 8, Paper);
    FillEllipse(none, 4, 4, 4, 8, Ink);
    DrawEllipse(none, 6, 2, 2, 6, Ink);
    FillPie(none, 0, 0, 8, 0, 0, 4, 8, 4, Ink);
    EXPECT_TRUE(inked(none).empty()) << "empty and inverted rectangles draw nothing";
}

TEST(Ellipse, StartRoiCircleTouchesColumnsAndRows48To207)
{
    Bitmap outline(256, 256, Paper), fill(256, 256, Paper);
    DrawEllipse(outline, 48, 48, 208, 208, Ink);
    FillEllipse(fill, 48, 48, 208, 208, Ink);
    for (const Bitmap *b : {&outline, &fill}) {
        int minX = 999, maxX = -1, minY = 999, maxY = -1;
        for (auto [x, y] : inked(*b)) {
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
        EXPECT_EQ(minX, 48);
        EXPECT_EQ(maxX, 207);
        EXPECT_EQ(minY, 48);
        EXPECT_EQ(maxY, 207);
        // The extreme columns and rows are the middle pair: centres 0.5 off the axis.
        EXPECT_EQ(b->pixel(48, 127), Ink);
        EXPECT_EQ(b->pixel(48, 128), Ink);
        EXPECT_EQ(b->pixel(127, 207), Ink);
        EXPECT_EQ(b->pixel(207, 128), Ink);
        EXPECT_TRUE(mirroredBoth(*b, 48, 48, 208, 208));
    }
    // The outline lies on the fill, is thin inside, and is one 8-connected ring.
    const Pixels ring = inked(outline), disc = inked(fill);
    for (const auto &p : ring)
        EXPECT_TRUE(disc.count(p));
    EXPECT_NE(outline.pixel(128, 128), Ink);
    EXPECT_NE(outline.pixel(60, 128), Ink);
    Pixels reached{*ring.begin()};
    std::vector<std::pair<int, int>> todo{*ring.begin()};
    while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (ring.count({x + dx, y + dy}) && reached.insert({x + dx, y + dy}).second)
                    todo.push_back({x + dx, y + dy});
    }
    EXPECT_EQ(reached.size(), ring.size());
}

TEST(Ellipse, IsSymmetricForEvenOddAndFlatRectangles)
{
    struct Case {
        int left, top, right, bottom;
    } cases[] = {{3, 4, 40, 21}, {0, 0, 41, 41}, {5, 5, 6, 30}, {2, 10, 60, 13}, {10, 1, 11, 2}, {7, 3, 50, 44}};
    for (const Case &c : cases) {
        Bitmap outline(64, 64, Paper), fill(64, 64, Paper);
        DrawEllipse(outline, c.left, c.top, c.right, c.bottom, Ink);
        FillEllipse(fill, c.left, c.top, c.right, c.bottom, Ink);
        EXPECT_TRUE(mirroredBoth(outline, c.left, c.top, c.right, c.bottom)) << c.left << "," << c.top;
        EXPECT_TRUE(mirroredBoth(fill, c.left, c.top, c.right, c.bottom)) << c.left << "," << c.top;
        // Nothing outside the rectangle, and the rectangle's first and last rows and columns reached.
        for (auto [x, y] : inked(fill)) {
            EXPECT_TRUE(x >= c.left && x < c.right && y >= c.top && y < c.bottom);
        }
        EXPECT_FALSE(inked(outline).empty());
    }
}

TEST(Ellipse, ClippedCircleMatchesTheSameCircleDrawnWhole)
{
    // The ROI circle of the centre (24, 103) with radius 64, in a 256 x 256 image, against the
    // same circle moved 100 right and 100 down into a picture that holds all of it.
    Bitmap clipped(256, 256, Paper), whole(512, 512, Paper);
    DrawEllipse(clipped, -80, 78, 176, 334, Ink);
    DrawEllipse(whole, 20, 178, 276, 434, Ink);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            ASSERT_EQ(clipped.pixel(x, y), whole.pixel(x + 100, y + 100)) << x << "," << y;
    EXPECT_EQ(clipped.pixel(47, 78), Ink);
    EXPECT_EQ(clipped.pixel(48, 78), Ink);
    EXPECT_EQ(inked(clipped).count({47, 77}), 0u);

    Bitmap far(32, 32, Paper);
    FillEllipse(far, INT_MIN, INT_MIN, INT_MAX, INT_MAX, Ink);
    EXPECT_EQ(inked(far).size(), 32u * 32u) << "a huge ellipse covers the picture";
    Bitmap farOutline(32, 32, Paper);
    DrawEllipse(farOutline, INT_MIN, INT_MIN, INT_MAX, INT_MAX, Ink);
    EXPECT_TRUE(inked(farOutline).empty()) << "its outline is far away";
}

TEST(FillPie, TurnsCounterClockwiseOnTheScreenFromStartToEnd)
{
    // Circle of radius 32 about (32, 32); right is (64, 32) and up is (32, 0).
    Bitmap quarter(64, 64, Paper), rest(64, 64, Paper), whole(64, 64, Paper), disc(64, 64, Paper);
    FillPie(quarter, 0, 0, 64, 64, 64, 32, 32, 0, Ink);
    FillPie(rest, 0, 0, 64, 64, 32, 0, 64, 32, Ink);
    FillPie(whole, 0, 0, 64, 64, 40, 40, 48, 48, Ink);
    FillEllipse(disc, 0, 0, 64, 64, Ink);
    EXPECT_EQ(quarter.pixel(44, 20), Ink) << "up and to the right";
    EXPECT_NE(quarter.pixel(20, 20), Ink);
    EXPECT_NE(quarter.pixel(44, 44), Ink);
    EXPECT_NE(quarter.pixel(20, 44), Ink);
    EXPECT_NE(rest.pixel(44, 20), Ink);
    EXPECT_EQ(rest.pixel(20, 20), Ink);
    EXPECT_EQ(rest.pixel(44, 44), Ink);
    EXPECT_EQ(inked(quarter).size() + inked(rest).size(), inked(disc).size());
    EXPECT_EQ(inked(quarter).size(), inked(disc).size() / 4);
    EXPECT_EQ(inked(whole), inked(disc)) << "one direction twice is the whole turn";

    // The down-right diagonal from (32, 32) runs through the centres of pixels (x, x): the wedge
    // that starts there takes them, the wedge that ends there does not.
    Bitmap starts(64, 64, Paper), ends(64, 64, Paper);
    FillPie(starts, 0, 0, 64, 64, 48, 48, 64, 32, Ink);
    FillPie(ends, 0, 0, 64, 64, 32, 64, 48, 48, Ink);
    EXPECT_EQ(starts.pixel(40, 40), Ink);
    EXPECT_EQ(starts.pixel(45, 40), Ink);
    EXPECT_NE(starts.pixel(40, 45), Ink);
    EXPECT_NE(ends.pixel(40, 40), Ink);
    EXPECT_EQ(ends.pixel(40, 45), Ink);
    EXPECT_NE(ends.pixel(45, 40), Ink);

    // Half a turn from left to right, counter-clockwise on the screen, is the lower half.
    Bitmap lower(64, 64, Paper);
    FillPie(lower, 0, 0, 64, 64, 0, 32, 64, 32, Ink);
    EXPECT_EQ(lower.pixel(32, 50), Ink);
    EXPECT_NE(lower.pixel(32, 10), Ink);
    EXPECT_EQ(inked(lower).size(), inked(disc).size() / 2);
}

TEST(FillPie, SixtyFourBullseyeWedgesCoverTheDiscOnce)
{
    // The direction points of the bull's-eye: (trunc(C + Q sin t), trunc(C + Q cos t)),
    // t = 2 pi n / 64 + 3 pi / 4, here with C = 100, Q = 96 for a ring of radius 64.
    const double pi = 4 * std::atan(1.0);
    auto point = [&](int n, bool y) {
        const double t = 2 * pi * n / 64 + 3 * pi / 4;
        return int(100 + 96 * (y ? std::cos(t) : std::sin(t)));
    };
    std::vector<int> cover(200 * 200, 0);
    for (int a = 0; a < 64; ++a) {
        Bitmap wedge(200, 200, Paper);
        FillPie(wedge, 36, 36, 164, 164, point(a, false), point(a, true), point(a + 1, false), point(a + 1, true), Ink);
        for (auto [x, y] : inked(wedge))
            ++cover[y * 200 + x];
        if (a == 8) { // up: the two columns either side of the vertical through the centre
            EXPECT_EQ(wedge.pixel(99, 40), Ink);
            EXPECT_NE(wedge.pixel(100, 40), Ink);
        }
    }
    Bitmap disc(200, 200, Paper);
    FillEllipse(disc, 36, 36, 164, 164, Ink);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(cover[y * 200 + x], disc.pixel(x, y) == Ink ? 1 : 0) << x << "," << y;
}

} // namespace

namespace {

TEST(FillPie, FillsExactlyThePixelsOfItsRule)
{
    // Runs of a narrow wedge are found per row; every wedge must still be exactly the pixels
    // of the fill whose centres lie in the sector. Odd rectangles put a pixel centre on the centre.
    struct Case {
        int left, top, right, bottom, sx, sy, ex, ey;
    } cases[] = {
        {0, 0, 64, 64, 64, 32, 32, 0},   {0, 0, 64, 64, 32, 0, 64, 32},
        {3, 5, 60, 40, 50, 5, 10, 8},    {3, 5, 60, 40, 10, 8, 50, 5},
        {0, 0, 63, 63, 40, 62, 41, 62},  {-30, -20, 70, 90, 33, -40, 34, -40},
        {10, 10, 51, 51, 40, 30, 0, 31}, {10, 10, 51, 51, 0, 31, 40, 30},
        {5, 5, 6, 6, 9, 5, 5, 0},        {0, 0, 64, 64, 500000, 32, 32, -700000},
    };
    for (const Case &c : cases) {
        Bitmap pie(64, 64, Paper);
        FillPie(pie, c.left, c.top, c.right, c.bottom, c.sx, c.sy, c.ex, c.ey, Ink);
        Pixels expected;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                if (EllipseContains(c.left, c.top, c.right, c.bottom, x, y) &&
                    SectorContains(int64_t(c.left) + c.right, int64_t(c.top) + c.bottom, c.sx, c.sy, c.ex, c.ey, x, y))
                    expected.insert({x, y});
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(inked(pie), expected) << c.left << "," << c.top << " " << c.sx << "," << c.sy;
    }
}

} // namespace
