#include "RasterCanvas.h"

#include <algorithm>
#include <cmath>

namespace {

using Int128 = __int128;
using UInt128 = unsigned __int128;

// Division rounded towards minus or plus infinity, for a positive divisor.
Int128 floorDiv(Int128 a, Int128 b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
Int128 ceilDiv(Int128 a, Int128 b)
{
    return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

// An int64 span end brought into the range fillSpan can take without changing what it fills.
int clampToRow(int64_t x, int width)
{
    return int(std::clamp<int64_t>(x, -1, int64_t(width) + 1));
}

// The ellipse inscribed in a rectangle, in doubled coordinates so that its centre and every
// pixel centre are integers: pixel (x, y) lies at the offset (2x + 1 - sumX, 2y + 1 - sumY)
// from the centre, and the semi-axes are w and h.
struct Ellipse {
    int64_t sumX, sumY; // left + right, top + bottom: twice the centre
    uint64_t w, h;      // right - left, bottom - top

    Ellipse(int left, int top, int right, int bottom)
        : sumX(int64_t(left) + right), sumY(int64_t(top) + bottom),
          w(right > left ? uint64_t(int64_t(right) - left) : 0), h(bottom > top ? uint64_t(int64_t(bottom) - top) : 0)
    {
    }
    bool empty() const { return w == 0 || h == 0; }

    // The rows that can hold pixels: |2y + 1 - sumY| <= h.
    int64_t firstRow() const { return int64_t(ceilDiv(Int128(sumY) - Int128(h) - 1, 2)); }
    int64_t lastRow() const { return int64_t(floorDiv(Int128(sumY) + Int128(h) - 1, 2)); }
};

struct Span {
    int64_t lo = 0, hi = -1; // inclusive columns; lo > hi when the row is empty
    bool empty() const { return lo > hi; }
};

// The largest t >= 0 with t^2 h^2 <= w^2 (h^2 - py^2), |py| <= h: estimated in floating point,
// then settled exactly. Axes of every picture's size fit 64-bit products; any int rectangle
// fits 128-bit ones.
constexpr uint64_t SmallAxis = 1u << 15;

uint64_t SmallReach(uint64_t w, uint64_t h, uint64_t apy)
{
    const uint64_t h2 = h * h, rest = h2 - apy * apy, rhs = w * w * rest;
    uint64_t t = uint64_t(std::clamp(double(w) * std::sqrt(double(rest)) / double(h), 0.0, double(w)));
    while (t > 0 && t * t * h2 > rhs)
        --t;
    while (t < w && (t + 1) * (t + 1) * h2 <= rhs)
        ++t;
    return t;
}

uint64_t LargeReach(uint64_t w, uint64_t h, UInt128 apy)
{
    const UInt128 h2 = UInt128(h) * h;
    const UInt128 rhs = UInt128(w) * w * (h2 - apy * apy);
    const long double estimate = (long double)w * std::sqrt((long double)(h2 - apy * apy)) / (long double)h;
    UInt128 t = UInt128(std::clamp<long double>(estimate, 0.0L, (long double)w));
    while (t > 0 && t * t * h2 > rhs)
        --t;
    while (t < w && (t + 1) * (t + 1) * h2 <= rhs)
        ++t;
    return uint64_t(t);
}

// The pixels of row y inside the ellipse: px^2 h^2 + py^2 w^2 <= w^2 h^2 with px, py the
// doubled offsets. Exact in 128-bit integers for any int rectangle (w, h < 2^32).
Span RowSpan(const Ellipse &e, int64_t y)
{
    Span span;
    if (e.empty())
        return span;
    const Int128 py = Int128(2) * y + 1 - e.sumY;
    const UInt128 apy = UInt128(py < 0 ? -py : py);
    if (apy > e.h)
        return span;
    const uint64_t t =
        e.w <= SmallAxis && e.h <= SmallAxis ? SmallReach(e.w, e.h, uint64_t(apy)) : LargeReach(e.w, e.h, apy);
    // px = 2x + 1 - sumX has the parity of sumX + 1.
    Int128 reach = Int128(t);
    const bool pxOdd = ((e.sumX + 1) & 1) != 0;
    if (((reach & 1) != 0) != pxOdd)
        --reach;
    if (reach < 0)
        return span;
    span.lo = int64_t((Int128(e.sumX) - reach - 1) / 2);
    span.hi = int64_t((Int128(e.sumX) + reach - 1) / 2);
    return span;
}

// Positive when b lies counter-clockwise from a on the screen (y grows downwards), within half a turn.
Int128 Turn(int64_t ax, int64_t ay, int64_t bx, int64_t by)
{
    return Int128(ay) * bx - Int128(ax) * by;
}
Int128 Dot(int64_t ax, int64_t ay, int64_t bx, int64_t by)
{
    return Int128(ax) * bx + Int128(ay) * by;
}
// p in the half-open sweep [a, b) of less than half a turn (Turn(a, b) > 0).
bool InNarrowSweep(int64_t ax, int64_t ay, int64_t bx, int64_t by, int64_t px, int64_t py)
{
    return Turn(ax, ay, px, py) >= 0 && Turn(px, py, bx, by) > 0;
}

// The columns x whose doubled offset px = 2x + 1 - sumX satisfies k * px >= r.
struct ColumnRange {
    Int128 lo, hi;
};
ColumnRange ColumnsWhere(int64_t k, Int128 r, int64_t sumX)
{
    constexpr Int128 Far = Int128(1) << 100;
    Int128 pxLo = -Far, pxHi = Far;
    if (k > 0)
        pxLo = ceilDiv(r, k);
    else if (k < 0)
        pxHi = floorDiv(-r, -k);
    else if (r > 0)
        return {1, 0};
    return {ceilDiv(pxLo + sumX - 1, 2), floorDiv(pxHi + sumX - 1, 2)};
}

} // namespace

void DrawLine(Bitmap &bitmap, int x0, int y0, int x1, int y1, uint32_t rgb)
{
    const int64_t dx = int64_t(x1) - x0, dy = int64_t(y1) - y0;
    if ((dx == 0 && dy == 0) || bitmap.width() == 0)
        return;
    // Major axis u, minor axis v; the pixel at step i is (u0 + su*i, v0 + sv*m(i)) with
    // m(i) = floor((2 i dv + du - 1) / (2 du)): i*dv/du rounded, halves towards the start.
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const int64_t u0 = xMajor ? x0 : y0, v0 = xMajor ? y0 : x0;
    const int64_t du = std::abs(xMajor ? dx : dy), dv = std::abs(xMajor ? dy : dx);
    const int64_t su = (xMajor ? dx : dy) < 0 ? -1 : 1, sv = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const int64_t uLimit = xMajor ? bitmap.width() : bitmap.height();
    const int64_t vLimit = xMajor ? bitmap.height() : bitmap.width();

    // Steps whose major coordinate lies inside the bitmap (steps 0 .. du - 1 exist).
    int64_t iLo = 0, iHi = du - 1;
    if (su > 0) {
        iLo = std::max(iLo, -u0);
        iHi = std::min(iHi, uLimit - 1 - u0);
    } else {
        iLo = std::max(iLo, u0 - uLimit + 1);
        iHi = std::min(iHi, u0);
    }
    // Minor offsets that keep the minor coordinate inside, then the steps that have them.
    const int64_t mLo = sv > 0 ? -v0 : v0 - vLimit + 1;
    const int64_t mHi = sv > 0 ? vLimit - 1 - v0 : v0;
    if (dv == 0) {
        if (mLo > 0 || mHi < 0)
            return;
    } else {
        // m(i) >= mLo  <=>  2 i dv >= 2 du mLo - du + 1
        iLo = std::max<Int128>(iLo, ceilDiv(Int128(2) * du * mLo - du + 1, Int128(2) * dv));
        // m(i) <= mHi  <=>  2 i dv < 2 du (mHi + 1) - du + 1
        iHi = std::min<Int128>(iHi, ceilDiv(Int128(2) * du * (Int128(mHi) + 1) - du + 1, Int128(2) * dv) - 1);
    }
    if (iLo > iHi)
        return;

    const Int128 numerator = Int128(2) * iLo * dv + du - 1;
    int64_t m = int64_t(numerator / (2 * du));
    int64_t remainder = int64_t(numerator % (2 * du));
    for (int64_t i = iLo; i <= iHi; ++i) {
        const int64_t u = u0 + su * i, v = v0 + sv * m;
        if (xMajor)
            bitmap.setPixel(int(u), int(v), rgb);
        else
            bitmap.setPixel(int(v), int(u), rgb);
        remainder += 2 * dv;
        if (remainder >= 2 * du) {
            remainder -= 2 * du;
            ++m;
        }
    }
}

void FillEllipse(Bitmap &bitmap, int left, int top, int right, int bottom, uint32_t rgb)
{
    const Ellipse e(left, top, right, bottom);
    if (e.empty())
        return;
    const int64_t y0 = std::max<int64_t>(e.firstRow(), 0);
    const int64_t y1 = std::min<int64_t>(e.lastRow(), bitmap.height() - 1);
    for (int64_t y = y0; y <= y1; ++y) {
        const Span s = RowSpan(e, y);
        if (!s.empty())
            bitmap.fillSpan(clampToRow(s.lo, bitmap.width()), clampToRow(s.hi + 1, bitmap.width()), int(y), rgb);
    }
}

void DrawEllipse(Bitmap &bitmap, int left, int top, int right, int bottom, uint32_t rgb)
{
    const Ellipse e(left, top, right, bottom);
    if (e.empty())
        return;
    const int width = bitmap.width();
    const int64_t y0 = std::max<int64_t>(e.firstRow(), 0);
    const int64_t y1 = std::min<int64_t>(e.lastRow(), bitmap.height() - 1);
    for (int64_t y = y0; y <= y1; ++y) {
        const Span s = RowSpan(e, y);
        if (s.empty())
            continue;
        const Span up = RowSpan(e, y - 1), down = RowSpan(e, y + 1);
        if (up.empty() || down.empty()) {
            bitmap.fillSpan(clampToRow(s.lo, width), clampToRow(s.hi + 1, width), int(y), rgb);
            continue;
        }
        // A pixel of the row is on the outline when its left or right neighbour is outside
        // (the span's ends) or the pixel above or below is: left of max(up.lo, down.lo), right
        // of min(up.hi, down.hi).
        const int64_t leftEnd = std::min(s.hi, std::max(s.lo, std::max(up.lo, down.lo) - 1));
        const int64_t rightStart = std::max(s.lo, std::min(s.hi, std::min(up.hi, down.hi) + 1));
        bitmap.fillSpan(clampToRow(s.lo, width), clampToRow(leftEnd + 1, width), int(y), rgb);
        bitmap.fillSpan(clampToRow(rightStart, width), clampToRow(s.hi + 1, width), int(y), rgb);
    }
}

bool SectorContains(int64_t twiceCentreX, int64_t twiceCentreY, int startX, int startY, int endX, int endY, int x,
                    int y)
{
    const int64_t sx = 2 * int64_t(startX) - twiceCentreX, sy = 2 * int64_t(startY) - twiceCentreY;
    const int64_t ex = 2 * int64_t(endX) - twiceCentreX, ey = 2 * int64_t(endY) - twiceCentreY;
    const int64_t px = 2 * int64_t(x) + 1 - twiceCentreX, py = 2 * int64_t(y) + 1 - twiceCentreY;
    if ((sx == 0 && sy == 0) || (ex == 0 && ey == 0))
        return false;
    if (px == 0 && py == 0)
        return true;
    const Int128 turn = Turn(sx, sy, ex, ey);
    if (turn > 0)
        return InNarrowSweep(sx, sy, ex, ey, px, py);
    if (turn < 0) // more than half a turn: everything but the narrow sweep from end back to start
        return !InNarrowSweep(ex, ey, sx, sy, px, py);
    if (Dot(sx, sy, ex, ey) > 0) // one direction: the whole turn
        return true;
    // Exactly half a turn: the half-plane counter-clockwise of the start, its start ray included.
    const Int128 side = Turn(sx, sy, px, py);
    return side > 0 || (side == 0 && Dot(sx, sy, px, py) > 0);
}

bool EllipseContains(int left, int top, int right, int bottom, int x, int y)
{
    const Span s = RowSpan(Ellipse(left, top, right, bottom), y);
    return x >= s.lo && x <= s.hi;
}

bool EllipseRowSpan(int left, int top, int right, int bottom, int y, int64_t &first, int64_t &last)
{
    const Span s = RowSpan(Ellipse(left, top, right, bottom), y);
    first = s.lo;
    last = s.hi;
    return !s.empty();
}

void FillPie(Bitmap &bitmap, int left, int top, int right, int bottom, int startX, int startY, int endX, int endY,
             uint32_t rgb)
{
    const Ellipse e(left, top, right, bottom);
    if (e.empty())
        return;
    const int64_t sx = 2 * int64_t(startX) - e.sumX, sy = 2 * int64_t(startY) - e.sumY;
    const int64_t ex = 2 * int64_t(endX) - e.sumX, ey = 2 * int64_t(endY) - e.sumY;
    if ((sx == 0 && sy == 0) || (ex == 0 && ey == 0))
        return;
    const bool narrow = Turn(sx, sy, ex, ey) > 0;
    const int64_t y0 = std::max<int64_t>(e.firstRow(), 0);
    const int64_t y1 = std::min<int64_t>(e.lastRow(), bitmap.height() - 1);
    for (int64_t y = y0; y <= y1; ++y) {
        const Span s = RowSpan(e, y);
        int64_t x0 = std::max<int64_t>(s.lo, 0), x1 = std::min<int64_t>(s.hi, bitmap.width() - 1);
        if (x0 > x1)
            continue;
        if (!narrow) {
            for (int64_t x = x0; x <= x1; ++x)
                if (SectorContains(e.sumX, e.sumY, startX, startY, endX, endY, int(x), int(y)))
                    bitmap.setPixel(int(x), int(y), rgb);
            continue;
        }
        // Less than half a turn: the sector is convex, so its pixels in a row are one run,
        // bounded by Turn(start, p) >= 0 and Turn(p, end) > 0, each linear in the column.
        const int64_t py = 2 * y + 1 - e.sumY;
        const ColumnRange a = ColumnsWhere(sy, Int128(sx) * py, e.sumX);
        const ColumnRange b = ColumnsWhere(-ey, 1 - Int128(py) * ex, e.sumX);
        const Int128 lo = std::max<Int128>({Int128(x0), a.lo, b.lo});
        const Int128 hi = std::min<Int128>({Int128(x1), a.hi, b.hi});
        if (lo <= hi)
            bitmap.fillSpan(int(lo), int(hi) + 1, int(y), rgb);
        // The pixel centred on the centre itself belongs to every wedge.
        if (py == 0 && (e.sumX & 1) != 0)
            bitmap.setPixel(int((e.sumX - 1) / 2), int(y), rgb);
    }
}
