// The colour table, the count window and its captions, the bar settings after a load,
// and the colour bar in both modes.
#include "ColourBar.h"
#include "ColourTable.h"
#include "CountWindow.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t Sentinel = 0xFFABCDEF; // no colour either bar draws

TEST(ColourTable, HoldsFourRampsInTheTableLayout)
{
    ColourTable table;
    table.fill(0xFFFFFFFF); // every entry must be written
    BuildColourTable(table);
    struct Case {
        int entry;
        uint32_t colorref; // 0x00BBGGRR
    } cases[] = {
        {0, 0x00000000},   {1, 0x00020000},   {127, 0x00FE0000}, // black to (0, 0, 254)
        {128, 0x00FF0000}, {129, 0x00FD0200}, {255, 0x0001FE00}, // blue to (0, 254, 1)
        {256, 0x0000FF00}, {257, 0x0000FF02}, {383, 0x0000FFFE}, // green to (254, 255, 0)
        {384, 0x0000FFFF}, {385, 0x0000FDFF}, {511, 0x000001FF}, // yellow to (255, 1, 0)
    };
    for (const Case &c : cases)
        EXPECT_EQ(table[std::size_t(c.entry)], c.colorref) << "entry " << c.entry;
    for (std::size_t k = 0; k < table.size(); ++k)
        ASSERT_EQ(table[k] >> 24, 0u) << "entry " << k;
}

TEST(CountWindow, LowerTruncatesInExtendedPrecisionAndUpperSubtracts)
{
    struct Case {
        const char *what;
        int32_t M, Pmax, Pmin;
        int32_t lower, upper;
    } cases[] = {
        {"a window of 512 counts", 1000, 88, 0, 400, 912},
        {"just after loading M 1001", 1001, 0, 199, 201, 1001},
        {"just after loading M 1000", 1000, 0, 199, 201, 1000},
        {"no study yet", 0, 0, 0, 0, 0},
        // 0.4 as a double is a little above 0.4, so 0.4 x 5 - 4 is a little above -2 and
        // truncates to -1 (in double precision the product rounds to 2 and gives -2).
        {"a negative lower bound truncates toward zero", 5, 0, 4, -1, 5},
        {"percent positions read as counts", 100, 50, 41, 0, 50},
        {"an empty window", 7, 5, 0, 2, 2},
        {"an inverted window", 5, 50, 1, 1, -45},
        {"the largest count a cell holds", 32767, 13106, 6552, 6554, 19661},
        {"a negative largest count", -10, 0, 0, -4, -10},
        {"saturates instead of overflowing", INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN},
        {"saturates at the top", INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
    };
    for (const Case &c : cases) {
        const CountWindow window = ComputeCountWindow(c.M, c.Pmax, c.Pmin);
        EXPECT_EQ(window.lower, c.lower) << c.what;
        EXPECT_EQ(window.upper, c.upper) << c.what;
    }
}

TEST(ColourBarCaptions, FollowTheModeOfTheBars)
{
    struct Case {
        const char *what;
        bool percent;
        int32_t M, Pmax, Pmin;
        int32_t label1, label2;
    } cases[] = {
        {"count mode, window 400..912", false, 1000, 88, 0, 912, 400},
        {"count mode just after loading M 1001", false, 1001, 0, 199, 1001, 201},
        // Label2 is trunc(0.4 x M) - Pmin, which is not the window's lower bound here (-1).
        {"count mode, caption below differs from the bound", false, 5, 0, 4, 5, -2},
        {"count mode, bars at their ends", false, 1000, 400, 400, 600, 0},
        {"percent mode, both bars at 50", true, 1000, 50, 50, 50, 50},
        {"percent mode, bars at the top", true, 1000, 0, 1, 100, 1},
        {"percent mode, bars at the bottom", true, 1000, 99, 100, 1, 100},
        {"percent mode ignores M", true, 0, 30, 70, 70, 70},
    };
    for (const Case &c : cases) {
        const ColourBarCaptions captions = ColourBarCaptionValues(c.percent, c.M, c.Pmax, c.Pmin);
        EXPECT_EQ(captions.upper, c.label1) << c.what;
        EXPECT_EQ(captions.lower, c.label2) << c.what;
    }
}

TEST(CountBarsForStudy, SetsRangesPositionsAndCaptionsOfALoad)
{
    struct Case {
        int32_t M;
        int32_t maximum, minPosition, label2;
    } cases[] = {
        // 1000 x 0.2 is a little above 200 in extended precision, so 400 minus it gives 199.
        {1000, 400, 199, 200},
        {1001, 400, 199, 200},
        {1003, 401, 200, 200},
        {7, 2, 0, 1},
        {141, 56, 27, 28},
        {32767, 13106, 6552, 6553},
        {1, 0, 0, 0},
        {0, 0, 0, 0},
        // A negative largest count leaves the bars without range instead of a maximum
        // below their minimum.
        {-10, 0, 0, -2},
    };
    for (const Case &c : cases) {
        const CountBarsAfterLoad bars = CountBarsForStudy(c.M);
        EXPECT_EQ(bars.barMaximum, c.maximum) << "M " << c.M;
        EXPECT_EQ(bars.maxPosition, 0) << "M " << c.M;
        EXPECT_EQ(bars.minPosition, c.minPosition) << "M " << c.M;
        EXPECT_EQ(bars.upperCaption, c.M) << "M " << c.M;
        EXPECT_EQ(bars.lowerCaption, c.label2) << "M " << c.M;
    }
}

struct BarRow {
    int row;
    uint32_t rgb;
};

void expectRows(const Bitmap &bar, std::initializer_list<BarRow> rows, const char *mode)
{
    for (const BarRow &r : rows)
        for (int x = 0; x < 25; ++x)
            ASSERT_EQ(bar.pixel(x, r.row), r.rgb) << mode << " row " << r.row << " x " << x;
}

int countSentinels(const Bitmap &bar)
{
    int n = 0;
    for (int y = 0; y < bar.height(); ++y)
        for (int x = 0; x < bar.width(); ++x)
            n += bar.pixel(x, y) == Sentinel;
    return n;
}

TEST(DrawColourBar, CountModeFillsTheTableAndDrawsItTopDown)
{
    ColourTable table{}; // all zero, as before the first study
    Bitmap bar(25, 512, Sentinel);
    DrawColourBar(bar, false, table);
    expectRows(bar,
               {{0, Rgb(255, 1, 0)},
                {1, Rgb(255, 3, 0)},
                {127, Rgb(255, 255, 0)},
                {128, Rgb(254, 255, 0)},
                {255, Rgb(0, 255, 0)},
                {256, Rgb(0, 254, 1)},
                {383, Rgb(0, 0, 255)},
                {384, Rgb(0, 0, 254)},
                {511, Rgb(0, 0, 0)}},
               "count");
    EXPECT_EQ(countSentinels(bar), 0) << "the rows cover the whole bar";
    EXPECT_EQ(table[0], ColourRef(0, 0, 0));
    EXPECT_EQ(table[511], ColourRef(255, 1, 0));
}

TEST(DrawColourBar, PercentModeDrawsRedAndBlueAndLeavesTheTable)
{
    for (const bool tableFilled : {false, true}) {
        ColourTable table{};
        if (tableFilled)
            BuildColourTable(table);
        const ColourTable before = table;
        Bitmap bar(25, 512, Sentinel);
        DrawColourBar(bar, true, table);
        expectRows(bar,
                   {{0, Rgb(255, 0, 0)},
                    {1, Rgb(254, 0, 0)},
                    {128, Rgb(127, 0, 0)},
                    {255, Rgb(0, 0, 0)},
                    {256, Rgb(0, 0, 0)},
                    {257, Rgb(0, 0, 1)},
                    {511, Rgb(0, 0, 255)}},
                   "percent");
        EXPECT_EQ(countSentinels(bar), 0) << "the rows cover the whole bar";
        EXPECT_EQ(table, before) << (tableFilled ? "filled table" : "zero table");
    }
}

TEST(DrawColourBar, ClipsToASmallerPicture)
{
    ColourTable table{};
    Bitmap bar(3, 10, Sentinel);
    DrawColourBar(bar, false, table);
    EXPECT_EQ(bar.pixel(2, 0), Rgb(255, 1, 0));
    EXPECT_EQ(bar.pixel(0, 9), Rgb(255, 19, 0)); // entry 502
    Bitmap percent(3, 10, Sentinel);
    DrawColourBar(percent, true, table);
    EXPECT_EQ(percent.pixel(1, 9), Rgb(246, 0, 0));
}

} // namespace
