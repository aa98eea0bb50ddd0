#include "Bitmap.h"

#include <algorithm>

Bitmap::Bitmap(int width, int height, uint32_t rgb)
    : width_(width > 0 && height > 0 ? width : 0), height_(width > 0 && height > 0 ? height : 0),
      pixels_(std::size_t(width_) * std::size_t(height_), rgb)
{
}

void Bitmap::fill(uint32_t rgb)
{
    std::fill(pixels_.begin(), pixels_.end(), rgb);
}

void Bitmap::fillRect(int left, int top, int right, int bottom, uint32_t rgb)
{
    top = std::max(top, 0);
    bottom = std::min(bottom, height_);
    for (int y = top; y < bottom; ++y)
        fillSpan(left, right, y, rgb);
}

void Bitmap::fillSpan(int left, int right, int y, uint32_t rgb)
{
    if (y < 0 || y >= height_)
        return;
    left = std::max(left, 0);
    right = std::min(right, width_);
    if (left >= right)
        return;
    uint32_t *row = scanLine(y);
    std::fill(row + left, row + right, rgb);
}
