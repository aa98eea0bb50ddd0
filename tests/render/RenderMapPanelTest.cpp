// The scale label of the map panel: its text, place and colours, and which kinds carry it.
#include "RenderMapPanel.h"
#include "ColourTable.h"
#include "ViewState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>

namespace {

constexpr uint32_t Black = 0xFF000000, White = 0xFFFFFFFF, Grey = 0xFF808080;

struct Extent {
    int whites = 0, others = 0, minX = 9999, maxX = -1, minY = 9999, maxY = -1;
};

// The white pixels of the bitmap and how many pixels are neither white nor `background`.
Extent Measure(const Bitmap &b, uint32_t background)
{
    Extent e;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            const uint32_t p = b.pixel(x, y);
            if (p == White) {
                ++e.whites;
                e.minX = std::min(e.minX, x), e.maxX = std::max(e.maxX, x);
                e.minY = std::min(e.minY, y), e.maxY = std::max(e.maxY, y);
            } else if (p != background && p != Black) {
                ++e.others;
            }
        }
    return e;
}

TEST(ScaleLabel, WritesOneHundredLessThePositionInTheBottomLeftCorner)
{
    struct Case {
        int position;
        const char *text;
    } cases[] = {{0, "100"}, {50, "50"}, {99, "1"}};
    int widths[3] = {};
    int n = 0;
    for (const Case &c : cases) {
        Bitmap bitmap(542, 542, Black);
        DrawScaleLabel(bitmap, c.position);
        const Extent e = Measure(bitmap, Black);
        EXPECT_GT(e.whites, 10) << c.text;
        EXPECT_EQ(e.others, 0) << c.text << ": white on black, no antialiasing";
        EXPECT_GE(e.minY, 512) << c.text;
        EXPECT_LT(e.maxY, 532) << c.text << ": 16-pixel text";
        EXPECT_LT(e.minX, 4) << c.text;
        EXPECT_LT(e.maxX, 40) << c.text;
        widths[n++] = e.maxX;
    }
    EXPECT_GT(widths[0], widths[1]) << "\"100\" is wider than \"50\"";
    EXPECT_GT(widths[1], widths[2]) << "\"50\" is wider than \"1\"";

    // The same text twice gives the same pixels, and another text other pixels.
    Bitmap a(60, 542, Black), b(60, 542, Black), other(60, 542, Black);
    DrawScaleLabel(a, 50);
    DrawScaleLabel(b, 50);
    DrawScaleLabel(other, 49);
    EXPECT_TRUE(std::equal(a.bits(), a.bits() + 60 * 542, b.bits()));
    EXPECT_FALSE(std::equal(a.bits(), a.bits() + 60 * 542, other.bits()));
}

TEST(ScaleLabel, StandsOnABlackCell)
{
    // Whatever lies under the text is painted black around the glyphs; the rest stays.
    Bitmap bitmap(542, 542, Grey);
    DrawScaleLabel(bitmap, 50);
    EXPECT_EQ(bitmap.pixel(0, 512), Black) << "the cell's top-left corner";
    EXPECT_EQ(bitmap.pixel(100, 520), Grey);
    EXPECT_EQ(bitmap.pixel(5, 505), Grey);
    const Extent e = Measure(bitmap, Grey);
    EXPECT_GT(e.whites, 10);
    EXPECT_EQ(e.others, 0);
}

TEST(RenderMapPanel, AddsTheLabelToEveryKindButTheBullseyes)
{
    auto volume = std::make_unique<GatedVolume>();
    auto results = std::make_unique<ProfileResults>();
    ColourTable table{};
    BuildColourTable(table);
    for (int kind : std::initializer_list<int>{MapG1, MapGA, MapB1, MapA1, MapDA, MapBI, MapBA}) {
        MapPanelInputs inputs;
        inputs.mapKind = kind;
        inputs.scalePosition = 20;
        Bitmap bitmap(542, 542, Grey);
        RenderMapPanel(bitmap, inputs, *volume, table, *results);
        // The curves start at x = 30; left of them, below the baseline, only the label is white.
        int whites = 0;
        for (int y = 512; y < 542; ++y)
            for (int x = 0; x < 30; ++x)
                whites += bitmap.pixel(x, y) == White;
        if (kind == MapBI || kind == MapBA)
            EXPECT_EQ(whites, 0) << kind;
        else
            EXPECT_GT(whites, 10) << kind;
    }
}

} // namespace
