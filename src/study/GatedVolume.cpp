#include "GatedVolume.h"

#include <algorithm>

GatedVolume::GatedVolume() : cells_(new int16_t[CellCount]()) {}

GatedVolume::GatedVolume(const GatedVolume &other) : cells_(new int16_t[CellCount])
{
    std::copy_n(other.cells_.get(), CellCount, cells_.get());
}

GatedVolume &GatedVolume::operator=(const GatedVolume &other)
{
    if (this != &other)
        std::copy_n(other.cells_.get(), CellCount, cells_.get());
    return *this;
}
