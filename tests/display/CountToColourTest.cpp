// The count-to-colour rule: documented windows, the precision of the product, empty and
// inverted windows, and every possible count against windows of every shape.
#include "Bitmap.h"
#include "ColourTable.h"
#include "CountToColour.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

ColourTable rampTable()
{
    ColourTable table;
    BuildColourTable(table);
    return table;
}

// A table whose entry k is (k mod 256, k / 256, 0x5A): every entry differs from the others,
// so a colour names its entry.
ColourTable numberedTable()
{
    ColourTable table;
    for (int k = 0; k < 512; ++k)
        table[std::size_t(k)] = ColourRef(uint8_t(k & 0xFF), uint8_t(k >> 8), 0x5A);
    return table;
}

uint32_t numberedRgb(int entry)
{
    return Rgb(uint8_t(entry & 0xFF), uint8_t(entry >> 8), 0x5A);
}

struct CountCase {
    int16_t count;
    int entry;
};

void expectEntries(const CountToColour &colours, std::initializer_list<CountCase> cases, const char *what)
{
    for (const CountCase &c : cases) {
        EXPECT_EQ(colours.index(c.count), c.entry) << what << ", count " << c.count;
        EXPECT_EQ(colours.rgb(c.count), numberedRgb(c.entry)) << what << ", count " << c.count;
    }
}

TEST(CountToColour, MapsAWindowOf512CountsOneCountPerEntry)
{
    // M 1000, ScrollBarMax 88, ScrollBarMin 0.
    const CountToColour colours(rampTable(), {400, 912});
    EXPECT_EQ(colours.scale(), 1.0);
    struct Case {
        int16_t count;
        int entry;
        uint32_t colorref;
    } cases[] = {
        {400, 0, ColourRef(0, 0, 0)},     {527, 127, ColourRef(0, 0, 254)}, {528, 128, ColourRef(0, 0, 255)},
        {911, 511, ColourRef(255, 1, 0)}, {912, 511, ColourRef(255, 1, 0)}, {30000, 511, ColourRef(255, 1, 0)},
        {399, 0, ColourRef(0, 0, 0)},     {-100, 0, ColourRef(0, 0, 0)},    {656, 256, ColourRef(0, 255, 0)},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(colours.index(c.count), c.entry) << "count " << c.count;
        EXPECT_EQ(colours.colourRef(c.count), c.colorref) << "count " << c.count;
        EXPECT_EQ(colours.rgb(c.count), ColourRefToRgb(c.colorref)) << "count " << c.count;
    }
}

TEST(CountToColour, MapsTheWindowAfterLoadingM1001)
{
    // Window 201..1001: scale 512 / 800 = 0.64.
    const CountToColour colours(numberedTable(), {201, 1001});
    EXPECT_DOUBLE_EQ(colours.scale(), 0.64);
    expectEntries(colours, {{201, 0}, {202, 0}, {203, 1}, {600, 255}, {1000, 511}, {1001, 511}, {141, 0}, {32767, 511}},
                  "201..1001");
}

TEST(CountToColour, FormsTheProductInExtendedPrecision)
{
    // Window 0..384: the scale is 4/3 rounded down to a double. 3 x scale is 4 - 2^-52,
    // which extended precision keeps (entry 3) and double precision rounds up to 4.
    // Likewise 6 x scale is 8 - 2^-51: entry 7, not 8.
    const CountToColour colours(numberedTable(), {0, 384});
    expectEntries(colours, {{2, 2}, {3, 3}, {4, 5}, {6, 7}, {383, 510}, {384, 511}, {-1, 0}}, "0..384");
}

TEST(CountToColour, EmptyWindowSplitsAtTheBound)
{
    struct Case {
        const char *what;
        int32_t bound;
        std::initializer_list<CountCase> counts;
    } cases[] = {
        {"bound 100", 100, {{99, 0}, {100, 0}, {101, 511}, {-32768, 0}, {32767, 511}}},
        {"bound 0 (no study yet)", 0, {{0, 0}, {-1, 0}, {1, 511}}},
        {"bound at the top count", 32767, {{32767, 0}, {-32768, 0}}},
        {"bound at the lowest count", -32768, {{-32768, 0}, {-32767, 511}, {32767, 511}}},
        {"bound above every count", 40000, {{32767, 0}, {-32768, 0}}},
        {"bound below every count", -40000, {{-32768, 511}, {32767, 511}}},
    };
    for (const Case &c : cases) {
        const CountToColour colours(numberedTable(), {c.bound, c.bound});
        EXPECT_EQ(colours.scale(), 0.0) << c.what;
        expectEntries(colours, c.counts, c.what);
    }
}

TEST(CountToColour, InvertedWindowKeepsTheRule)
{
    // upper 400 below lower 912: scale -1, the entries rise as the counts fall.
    const CountToColour flipped(numberedTable(), {912, 400});
    EXPECT_EQ(flipped.scale(), -1.0);
    expectEntries(flipped, {{912, 0}, {913, 0}, {32767, 0}, {911, 1}, {527, 385}, {401, 511}, {400, 511}, {-100, 511}},
                  "912..400");

    // The montage in percent mode with M 5, bars at 50 and 1: window 1..-45, scale
    // -512/46 = -11.13...
    const CountToColour percent(numberedTable(), {1, -45});
    expectEntries(percent, {{2, 0}, {1, 0}, {0, 11}, {-1, 22}, {-44, 500}, {-45, 511}, {-32768, 511}}, "1..-45");
}

TEST(CountToColour, HandlesWindowsBeyondTheCounts)
{
    struct Case {
        const char *what;
        CountWindow window;
        std::initializer_list<CountCase> counts;
    } cases[] = {
        // d x 512 / (2^32 - 1) for d = count + 2^31: just above 256 at count 0, 256 - 2^-8
        // and a little at the lowest count.
        {"the whole 32-bit range", {INT_MIN, INT_MAX}, {{0, 256}, {32767, 256}, {-32768, 255}}},
        {"the whole 32-bit range, inverted", {INT_MAX, INT_MIN}, {{0, 255}, {-32768, 256}, {32767, 255}}},
        {"a window of one count", {10, 11}, {{10, 0}, {11, 511}, {9, 0}}},
        {"a window above every count", {100000, 100512}, {{32767, 0}, {-32768, 0}}},
        {"a window below every count", {-100512, -100000}, {{-32768, 511}, {32767, 511}}},
        {"the counts of a cell exactly", {-32768, 32767}, {{-32768, 0}, {32767, 511}, {0, 256}, {-1, 255}}},
    };
    for (const Case &c : cases) {
        const CountToColour colours(numberedTable(), c.window);
        expectEntries(colours, c.counts, c.what);
    }
}

TEST(CountToColour, EveryCountTakesAnEntryInRangeAndItsColour)
{
    // Over all 65,536 counts: the fast colour agrees with the rule's entry, the entry stays
    // within 0..511 and moves one way only.
    const CountWindow windows[] = {
        {400, 912},         {201, 1001},    {0, 384},        {0, 1},          {100, 100},
        {912, 400},         {1, -45},       {-32768, 32767}, {32767, -32768}, {INT_MIN, INT_MAX},
        {INT_MAX, INT_MIN}, {29, 141},      {0, 3},          {-5, 70000},     {70000, -5},
        {-32768, -32768},   {32767, 32767}, {6554, 19661},
    };
    const ColourTable table = numberedTable();
    for (const CountWindow &window : windows) {
        const CountToColour colours(table, window);
        const bool rising = window.upper >= window.lower;
        int previous = rising ? 0 : 511;
        for (int count = -32768; count <= 32767; ++count) {
            const int entry = colours.index(int16_t(count));
            ASSERT_GE(entry, 0) << window.lower << ".." << window.upper << " count " << count;
            ASSERT_LE(entry, 511) << window.lower << ".." << window.upper << " count " << count;
            ASSERT_EQ(colours.rgb(int16_t(count)), numberedRgb(entry))
                << window.lower << ".." << window.upper << " count " << count;
            ASSERT_TRUE(rising ? entry >= previous : entry <= previous)
                << window.lower << ".." << window.upper << " count " << count;
            previous = entry;
        }
    }
}

TEST(CountToColour, MapsRunsOfCounts)
{
    const CountToColour colours(numberedTable(), {400, 912});
    const int16_t counts[] = {-32768, 399, 400, 401, 527, 528, 911, 912, 32767};
    uint32_t out[9];
    colours.mapCounts(counts, out, 9);
    const int entries[] = {0, 0, 0, 1, 127, 128, 511, 511, 511};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(out[i], numberedRgb(entries[i])) << "count " << counts[i];

    // A run longer than the mapping's blocks, with a partial block at its end: counts
    // 350 .. 1049 step through the whole window (scale 1) and past both ends.
    int16_t run[700];
    uint32_t runColours[701];
    for (int i = 0; i < 700; ++i)
        run[i] = int16_t(350 + i);
    runColours[700] = 0xDEADBEEF;
    colours.mapCounts(run, runColours, 700);
    for (int i = 0; i < 700; ++i) {
        const int count = 350 + i;
        const int entry = count <= 400 ? 0 : (count >= 911 ? 511 : count - 400);
        ASSERT_EQ(runColours[i], numberedRgb(entry)) << "count " << count;
    }
    EXPECT_EQ(runColours[700], 0xDEADBEEFu) << "nothing written past the run";
}

} // namespace
