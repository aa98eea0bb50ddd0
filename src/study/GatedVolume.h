// The one gated study held in memory: 128 x 128 cells per slice, 16 slices, 16 phases.
// The 16 phases of a cell lie side by side, so a run over the phases reads one 32-byte line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class GatedVolume {
public:
    static constexpr int Width = 128;  // x, the column: 0 at the left of the image
    static constexpr int Height = 128; // y, the row: 0 at the top
    static constexpr int Slices = 16;
    static constexpr int Phases = 16;
    static constexpr std::size_t CellCount =
        std::size_t(Width) * Height * Slices * Phases; // 4,194,304 cells, 8 MiB

    // Every cell starts at 0.
    GatedVolume();
    GatedVolume(const GatedVolume &other);
    GatedVolume &operator=(const GatedVolume &other);
    GatedVolume(GatedVolume &&) noexcept = default;
    GatedVolume &operator=(GatedVolume &&) noexcept = default;
    ~GatedVolume() = default;

    // Cell (x, y, slice, phase) is element ((x * 128 + y) * 16 + slice) * 16 + phase.
    static constexpr std::size_t index(int x, int y, int slice, int phase)
    {
        return ((std::size_t(x) * Height + std::size_t(y)) * Slices + std::size_t(slice)) * Phases +
               std::size_t(phase);
    }

    int16_t at(int x, int y, int slice, int phase) const { return cells_[index(x, y, slice, phase)]; }
    int16_t &at(int x, int y, int slice, int phase) { return cells_[index(x, y, slice, phase)]; }

    // The 16 phases of one cell, phase 0 first.
    const int16_t *phases(int x, int y, int slice) const { return &cells_[index(x, y, slice, 0)]; }

    const int16_t *data() const { return cells_.get(); }
    int16_t *data() { return cells_.get(); }

    void swap(GatedVolume &other) noexcept { cells_.swap(other.cells_); }

private:
    std::unique_ptr<int16_t[]> cells_;
};
