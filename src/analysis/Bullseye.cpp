// The bull's-eye kinds. Drawing ring by ring, outermost first, 64 pie wedges each, leaves
// every pixel with the colour of the smallest ring whose disc holds it and of the wedge whose
// sector holds its centre. So each geometry gets, once, a table of that ring and wedge per
// pixel, made with the canvas's own fill and sector rules, and a panel is one pass over the
// table. The analyses run once per slice; the slice on screen is analysed last, so the
// results left behind describe it.
#include "BullseyeDrawing.h"
#include "RasterCanvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int Rings = 16;
constexpr int Rays = ProfileResults::Rays;
constexpr int Phases = ProfileResults::Phases;
constexpr uint16_t Outside = 0xFFFF;

// Ring s * 64 + ray a of every pixel of the square around one bull's-eye, or Outside.
struct WedgeTable {
    int radius = 0; // of the largest ring; the table is 2 radius pixels square, centred
    std::array<BullseyePoint, Rays + 1> directions{}; // P(n) - C: what the table depends on
    std::vector<uint16_t> cells;
};

std::array<BullseyePoint, Rays + 1> DirectionOffsets(const BullseyePlace &place)
{
    std::array<BullseyePoint, Rays + 1> offsets{};
    for (int n = 0; n <= Rays; ++n) {
        const BullseyePoint p = BullseyeDirectionPoint(place, n);
        offsets[std::size_t(n)] = {p.x - place.centreX, p.y - place.centreY};
    }
    return offsets;
}

std::unique_ptr<WedgeTable> BuildWedgeTable(const BullseyePlace &place)
{
    auto table = std::make_unique<WedgeTable>();
    const int radius = Rings * place.radiusStep;
    const int size = 2 * radius;
    table->radius = radius;
    table->directions = DirectionOffsets(place);
    table->cells.assign(std::size_t(size) * std::size_t(size), Outside);
    // Built about the centre (radius, radius): the rules depend on offsets from the centre only.
    const int c = radius;
    const auto &d = table->directions;
    int guess = 0;
    for (int y = 0; y < size; ++y) {
        int64_t first[Rings], last[Rings];
        bool any[Rings];
        for (int s = 0; s < Rings; ++s) {
            const int rho = place.radiusStep * (s + 1);
            any[s] = EllipseRowSpan(c - rho, c - rho, c + rho, c + rho, y, first[s], last[s]);
        }
        if (!any[Rings - 1])
            continue;
        for (int64_t x = std::max<int64_t>(first[Rings - 1], 0); x <= std::min<int64_t>(last[Rings - 1], size - 1);
             ++x) {
            int ring = Rings - 1;
            while (ring > 0 && any[ring - 1] && x >= first[ring - 1] && x <= last[ring - 1])
                --ring;
            // The 64 half-open sectors go once round: exactly one holds the pixel's centre.
            // Neighbouring pixels mostly share it, so the search starts from the last one found.
            int ray = -1;
            for (int step = 0; step <= Rays / 2 && ray < 0; ++step)
                for (int a : {(guess + step) % Rays, (guess - step + Rays) % Rays})
                    if (SectorContains(2 * int64_t(c), 2 * int64_t(c), c + d[a].x, c + d[a].y, c + d[a + 1].x,
                                       c + d[a + 1].y, int(x), y)) {
                        ray = a;
                        break;
                    }
            if (ray < 0)
                continue;
            guess = ray;
            table->cells[std::size_t(y) * std::size_t(size) + std::size_t(x)] = uint16_t(ring * Rays + ray);
        }
    }
    return table;
}

// One table per distinct set of direction offsets. The BA cells all share one in practice,
// but P(n) is truncated after adding the centre, so that is checked rather than assumed.
class WedgeTables {
public:
    WedgeTables()
    {
        bi_ = add(BullseyePlaceBI());
        for (int j = 0; j < Phases; ++j)
            ba_[std::size_t(j)] = add(BullseyePlaceBA(j));
    }
    const WedgeTable &bi() const { return *bi_; }
    const WedgeTable &ba(int phase) const { return *ba_[std::size_t(phase)]; }

private:
    const WedgeTable *add(const BullseyePlace &place)
    {
        const auto offsets = DirectionOffsets(place);
        for (const auto &t : tables_)
            if (t->radius == Rings * place.radiusStep &&
                std::equal(offsets.begin(), offsets.end(), t->directions.begin(),
                           [](const BullseyePoint &a, const BullseyePoint &b) { return a.x == b.x && a.y == b.y; }))
                return t.get();
        tables_.push_back(BuildWedgeTable(place));
        return tables_.back().get();
    }

    std::vector<std::unique_ptr<WedgeTable>> tables_;
    const WedgeTable *bi_ = nullptr;
    std::array<const WedgeTable *, Phases> ba_{};
};

const WedgeTables &SharedWedgeTables()
{
    static const WedgeTables tables;
    return tables;
}

// The wedge colours of one bull's-eye, [ring * 64 + ray].
using WedgeColours = std::array<uint32_t, Rings * Rays>;

void PaintBullseye(Bitmap &bitmap, const WedgeTable &table, const BullseyePlace &place, const WedgeColours &colours)
{
    const int size = 2 * table.radius;
    const int left = place.centreX - table.radius, top = place.centreY - table.radius;
    const int y0 = std::max(0, -top), y1 = std::min(size, bitmap.height() - top);
    const int x0 = std::max(0, -left), x1 = std::min(size, bitmap.width() - left);
    for (int y = y0; y < y1; ++y) {
        const uint16_t *cells = &table.cells[std::size_t(y) * std::size_t(size)];
        uint32_t *row = bitmap.scanLine(top + y) + left;
        for (int x = x0; x < x1; ++x)
            if (cells[x] != Outside)
                row[x] = colours[cells[x]];
    }
}

int64_t QuantityOf(const ProfileResults &r, int bullseyeKind, int phase, int ray)
{
    switch (bullseyeKind) {
    case 1:
        return r.ProfileArea[phase][ray];
    case 2:
        return r.ProfileWidth[phase][ray];
    case 3:
        return r.ProfilePeakDist[phase][ray];
    default:
        return r.ProfilePeak[phase][ray];
    }
}

// Runs the analysis once for every slice, the slice on screen last, and hands each run to
// `use` with its slice; a slice on screen outside 0..15 is analysed at the end all the same.
template <typename Use>
void AnalyseEverySlice(const GatedVolume &volume, const AnalysisInputs &onScreen, ProfileResults &results, Use use)
{
    AnalysisInputs inputs = onScreen;
    for (int s = 0; s < Rings; ++s) {
        if (s == onScreen.slice)
            continue;
        inputs.slice = s;
        AnalyseProfiles(volume, inputs, results);
        use(s);
    }
    AnalyseProfiles(volume, onScreen, results);
    if (onScreen.slice >= 0 && onScreen.slice < Rings)
        use(onScreen.slice);
}

void WedgeColoursOf(const ProfileResults &r, const MapPanelInputs &inputs, int phase, int ring, WedgeColours &out)
{
    const int redLimit = 100 - inputs.maxPosition, blueLimit = inputs.minPosition;
    for (int a = 0; a < Rays; ++a) {
        const double change = BullseyeChange(inputs.bullseyeKind, QuantityOf(r, inputs.bullseyeKind, phase, a),
                                             QuantityOf(r, inputs.bullseyeKind, 0, a));
        out[std::size_t(ring * Rays + a)] = BullseyeColour(change, redLimit, blueLimit);
    }
}

} // namespace

BullseyePlace BullseyePlaceBI()
{
    return {266, 266, 16, 256};
}

BullseyePlace BullseyePlaceBA(int phase)
{
    return {128 * (phase % 4) + 74, 128 * (phase / 4) + 74, 4, 64};
}

BullseyePoint BullseyeDirectionPoint(const BullseyePlace &place, int n)
{
    const double pi = 4 * std::atan(1.0);
    const long double theta = 2.0L * pi * n / 64 + 3.0L * pi / 4;
    return {int(place.centreX + place.q * std::sin(theta)), int(place.centreY + place.q * std::cos(theta))};
}

void DrawBullseyeBI(Bitmap &bitmap, const MapPanelInputs &inputs, const GatedVolume &volume, ProfileResults &results)
{
    // The outline circle around the bull's-eye; its black brush falls on the black panel.
    DrawEllipse(bitmap, 9, 9, 523, 523, Rgb(255, 255, 255));
    const int mapPhase = std::clamp(inputs.mapPhase, 0, Phases - 1);
    WedgeColours colours{};
    AnalyseEverySlice(volume, inputs.analysis, results,
                      [&](int s) { WedgeColoursOf(results, inputs, mapPhase, s, colours); });
    PaintBullseye(bitmap, SharedWedgeTables().bi(), BullseyePlaceBI(), colours);
}

void DrawBullseyeBIFrames(Bitmap *const (&frames)[16], const MapPanelInputs &inputs, const GatedVolume &volume,
                          ProfileResults &results)
{
    auto colours = std::make_unique<std::array<WedgeColours, Phases>>();
    AnalyseEverySlice(volume, inputs.analysis, results, [&](int s) {
        for (int j = 0; j < Phases; ++j)
            WedgeColoursOf(results, inputs, j, s, (*colours)[std::size_t(j)]);
    });
    for (int k = 0; k < Phases; ++k) {
        DrawEllipse(*frames[k], 9, 9, 523, 523, Rgb(255, 255, 255));
        PaintBullseye(*frames[k], SharedWedgeTables().bi(), BullseyePlaceBI(), (*colours)[std::size_t(k)]);
    }
}

void DrawBullseyeBA(Bitmap &bitmap, const MapPanelInputs &inputs, const GatedVolume &volume, ProfileResults &results,
                    const MapPanelProgress &progress)
{
    // One analysis per slice serves all 16 cells: each run covers every phase of its slice.
    auto colours = std::make_unique<std::array<WedgeColours, Phases>>();
    AnalyseEverySlice(volume, inputs.analysis, results, [&](int s) {
        for (int j = 0; j < Phases; ++j)
            WedgeColoursOf(results, inputs, j, s, (*colours)[std::size_t(j)]);
    });
    const WedgeTables &tables = SharedWedgeTables();
    for (int j = 0; j < Phases; ++j) {
        if (progress)
            progress(j + 1);
        PaintBullseye(bitmap, tables.ba(j), BullseyePlaceBA(j), (*colours)[std::size_t(j)]);
    }
}
