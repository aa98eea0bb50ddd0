// The loaded study: the volume, its count scale and the patient fields of the first file.
#pragma once

#include "GatedVolume.h"

#include <cstdint>

struct Study {
    GatedVolume volume;     // all zero until the first successful load
    int32_t CountRange = 0; // the largest raw count of the study (signed), 0 before any load
    char PatientId[20] = {};   // 19 bytes from the file, byte 19 always 0
    char PatientName[30] = {}; // 29 bytes from the file, byte 29 always 0
};
