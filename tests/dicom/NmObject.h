// DICOM NM objects made by the tests with DCMTK: a gated reconstruction whose every element
// can be set, left out or made wrong, so that each path of the import is reached on purpose.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The stored value of a pixel: its bits are stored as they are (masked to Bits Allocated).
using NmPixel = std::function<int32_t(int rrInterval, int gate, int storedSlice, int column, int row)>;

struct NmObject {
    int rows = 64, columns = 64;
    int gates = 16, slices = 16, rrIntervals = 1;
    int bitsAllocated = 16;
    bool isSigned = true;
    std::string sopClass = "1.2.840.10008.5.1.4.1.1.20"; // NM Image Storage
    std::string modality = "NM";
    std::string imageType = "ORIGINAL\\PRIMARY\\RECON GATED TOMO\\EMISSION";
    std::string sliceDirection; // Slice Progression Direction; "" leaves it out
    std::string patientId = "ID", patientName = "NAME";
    bool slicesSlowest = false;        // frames slice by slice instead of gate by gate
    bool withTimeSlotVector = true;    // the Frame Increment Pointer names it either way
    std::optional<int> numberOfFrames; // what the object claims; by default the frames it holds
    std::optional<int> numberOfSlices; // likewise; by default `slices`
    std::function<void(std::vector<uint16_t> &)> editSliceVector; // a change made to the Slice Vector
    std::string transferSyntax = "1.2.840.10008.1.2.1";           // Explicit VR Little Endian
    NmPixel pixel = [](int, int, int, int, int) { return 0; };
};

// Writes the object; fails the test when DCMTK cannot encode or save it.
void WriteNmObject(const std::string &path, const NmObject &object);
