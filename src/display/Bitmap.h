// An off-screen 32-bit picture that the renderers draw into and the window shows.
// Pixels are 0xFFRRGGBB, row after row with no padding, which is the memory layout of
// QImage::Format_RGB32: the window wraps bits() in a QImage without converting anything.
// Every write is clipped to the picture, so drawing code never has to check its bounds;
// the raster primitives of the views (lines, ellipses, wedges) build on setPixel and
// fillSpan, which is the horizontal run they all reduce to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A colour in the layout the colour table keeps, 0x00BBGGRR (red in the low byte).
constexpr uint32_t ColourRef(uint8_t red, uint8_t green, uint8_t blue)
{
    return uint32_t(red) | uint32_t(green) << 8 | uint32_t(blue) << 16;
}

// A colour as the picture stores it, 0xFFRRGGBB.
constexpr uint32_t Rgb(uint8_t red, uint8_t green, uint8_t blue)
{
    return 0xFF000000u | uint32_t(red) << 16 | uint32_t(green) << 8 | uint32_t(blue);
}

// 0x00BBGGRR -> 0xFFRRGGBB; the unused top byte of the table colour is ignored.
constexpr uint32_t ColourRefToRgb(uint32_t colorref)
{
    return 0xFF000000u | (colorref & 0xFFu) << 16 | (colorref & 0xFF00u) | (colorref >> 16 & 0xFFu);
}

constexpr uint8_t RedOf(uint32_t rgb)
{
    return uint8_t(rgb >> 16);
}
constexpr uint8_t GreenOf(uint32_t rgb)
{
    return uint8_t(rgb >> 8);
}
constexpr uint8_t BlueOf(uint32_t rgb)
{
    return uint8_t(rgb);
}

class Bitmap {
public:
    // A picture of width x height pixels, all of them `rgb` (black unless told otherwise).
    // Negative sizes give an empty picture.
    Bitmap(int width, int height, uint32_t rgb = Rgb(0, 0, 0));

    int width() const { return width_; }
    int height() const { return height_; }
    int bytesPerLine() const { return width_ * 4; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    uint32_t *bits() { return pixels_.data(); }
    const uint32_t *bits() const { return pixels_.data(); }
    const uint32_t *constBits() const { return pixels_.data(); }
    // The first pixel of row y (0 <= y < height()).
    uint32_t *scanLine(int y) { return pixels_.data() + std::size_t(y) * std::size_t(width_); }
    const uint32_t *scanLine(int y) const { return pixels_.data() + std::size_t(y) * std::size_t(width_); }

    // The pixel at (x, y); 0 (not a colour the picture stores) outside the picture.
    uint32_t pixel(int x, int y) const { return contains(x, y) ? pixels_[offset(x, y)] : 0; }
    // Sets one pixel; nothing happens outside the picture.
    void setPixel(int x, int y, uint32_t rgb)
    {
        if (contains(x, y))
            pixels_[offset(x, y)] = rgb;
    }

    void fill(uint32_t rgb);
    // Fills the rectangle from (left, top) to (right, bottom), the far edges excluded as
    // in the platform's rectangles, clipped to the picture. An empty or inverted
    // rectangle fills nothing.
    void fillRect(int left, int top, int right, int bottom, uint32_t rgb);
    // Fills the pixels left .. right - 1 of row y, clipped.
    void fillSpan(int left, int right, int y, uint32_t rgb);

private:
    std::size_t offset(int x, int y) const { return std::size_t(y) * std::size_t(width_) + std::size_t(x); }

    int width_;
    int height_;
    std::vector<uint32_t> pixels_;
};
