// The doubling of a study's 64 x 64 source slices to the volume's 128 x 128, shared by the
// frame-file reader and the DICOM import so that both give the same cells for the same counts.
#pragma once

#include "GatedVolume.h"

#include <cstdint>

// Fills `volume` from source pixels [phase 0..15][slice 0..15][row 0..63][column 0..63] and
// returns their signed maximum. Every cell of the volume is written.
int32_t FillVolumeFromSource(const int16_t *pixels, GatedVolume &volume);
