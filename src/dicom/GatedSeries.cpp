#include "GatedSeries.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcmetinf.h>
#include <dcmtk/dcmdata/dcrledrg.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmdata/dcxfer.h>
#include <dcmtk/dcmjpeg/djdecode.h>
#include <dcmtk/dcmjpls/djdecode.h>
#include <dcmtk/oflog/oflog.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

// The decoders of the compressed transfer syntaxes we take, registered once for the process
// on first use and removed again when the process ends. DCMTK's own log lines are turned off:
// every failure comes back as our reason, and its lines on stderr would only repeat it.
struct DecoderRegistration {
    DecoderRegistration()
    {
        OFLog::configure(OFLogger::OFF_LOG_LEVEL);
        DcmRLEDecoderRegistration::registerCodecs();
        DJDecoderRegistration::registerCodecs();
        DJLSDecoderRegistration::registerCodecs();
    }
    ~DecoderRegistration()
    {
        DJLSDecoderRegistration::cleanup();
        DJDecoderRegistration::cleanup();
        DcmRLEDecoderRegistration::cleanup();
    }
    DecoderRegistration(const DecoderRegistration &) = delete;
    DecoderRegistration &operator=(const DecoderRegistration &) = delete;
};

void registerDecoders()
{
    static DecoderRegistration registration;
}

std::string tagText(const DcmTagKey &tag)
{
    char text[16];
    std::snprintf(text, sizeof text, "(%04X,%04X)", unsigned(tag.getGroup()), unsigned(tag.getElement()));
    return text;
}

// Uncompressed (any byte order, deflated too), RLE, lossless JPEG and lossless JPEG-LS: what
// the decoders registered above turn back into exactly the counts that were stored. The
// near-lossless JPEG-LS syntax may have changed every count a little, so it is refused like
// lossy JPEG.
bool takenTransferSyntax(E_TransferSyntax xfer)
{
    if (!DcmXfer(xfer).isEncapsulated())
        return true;
    switch (xfer) {
    case EXS_RLELossless:
    case EXS_JPEGProcess14:
    case EXS_JPEGProcess14SV1:
    case EXS_JPEGLSLossless:
        return true;
    default:
        return false;
    }
}

// The Part 10 preamble: 128 bytes, then "DICM".
bool hasDicomPreamble(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    char bytes[132] = {};
    in.read(bytes, sizeof bytes);
    return in.gcount() == sizeof bytes && std::memcmp(bytes + 128, "DICM", 4) == 0;
}

std::string stringOf(DcmItem &item, const DcmTagKey &tag)
{
    OFString value;
    if (item.findAndGetOFStringArray(tag, value).bad())
        return {};
    return value.c_str();
}

struct Vector {
    const char *name;
    DcmTagKey tag;
    const Uint16 *values = nullptr;
    unsigned long count = 0;
};

// Finds each vector the Frame Increment Pointer names; the R-R Interval Vector may be left out
// by the pointer, the Time Slot and Slice Vectors may not.
bool readVectors(DcmDataset &data, Vector &rr, Vector &slot, Vector &slice, std::string &reason)
{
    DcmElement *pointer = nullptr;
    if (data.findAndGetElement(DCM_FrameIncrementPointer, pointer).bad() || pointer->getVM() == 0) {
        reason = "no Frame Increment Pointer (0028,0009) to locate the frames by";
        return false;
    }
    bool named[3] = {};
    Vector *vectors[3] = {&rr, &slot, &slice};
    for (unsigned long i = 0; i < pointer->getVM(); ++i) {
        DcmTagKey key;
        if (pointer->getTagVal(key, i).bad())
            continue;
        for (int v = 0; v < 3; ++v)
            named[v] = named[v] || key == vectors[v]->tag;
    }
    for (int v = 0; v < 3; ++v) {
        Vector &vector = *vectors[v];
        if (!named[v]) {
            if (v == 0)
                continue; // one R-R interval
            reason = std::string("the Frame Increment Pointer (0028,0009) does not name the ") + vector.name + " " +
                     tagText(vector.tag);
            return false;
        }
        if (data.findAndGetUint16Array(vector.tag, vector.values, &vector.count).bad() || vector.count == 0) {
            reason = std::string("the ") + vector.name + " " + tagText(vector.tag) + " is missing";
            return false;
        }
    }
    return true;
}

bool readCount(DcmDataset &data, const DcmTagKey &tag, const char *name, int &count, std::string &reason)
{
    Uint16 value = 0;
    if (data.findAndGetUint16(tag, value).bad() || value == 0) {
        reason = std::string(name) + " " + tagText(tag) + " is missing or 0";
        return false;
    }
    count = value;
    return true;
}

// What kind of object this is: only NM reconstructions of gated tomography are taken.
bool checkKind(DcmFileFormat &file, std::string &reason)
{
    DcmDataset &data = *file.getDataset();
    std::string sopClass = stringOf(data, DCM_SOPClassUID);
    if (sopClass.empty())
        sopClass = stringOf(*file.getMetaInfo(), DCM_MediaStorageSOPClassUID);
    if (sopClass.empty()) {
        reason = "not a DICOM image (no SOP Class UID)";
        return false;
    }
    if (sopClass.rfind(UID_SecondaryCaptureImageStorage, 0) == 0) {
        reason = "a screen capture (Secondary Capture), not the counts of a reconstruction";
        return false;
    }
    const std::string modality = stringOf(data, DCM_Modality);
    if (sopClass != UID_NuclearMedicineImageStorage) {
        reason = "not a nuclear medicine (NM) image: SOP class " + sopClass +
                 (modality.empty() ? std::string() : ", modality " + modality);
        return false;
    }
    OFString third;
    data.findAndGetOFString(DCM_ImageType, third, 2);
    if (third == "GATED TOMO") {
        reason = "projections (GATED TOMO), not a reconstruction: reconstruct and reorient the short axis first";
        return false;
    }
    if (third != "RECON GATED TOMO") {
        reason = "image type \"" + stringOf(data, DCM_ImageType) + "\", not a gated reconstruction (RECON GATED TOMO)";
        return false;
    }
    return true;
}

struct PixelLayout {
    int bitsAllocated = 0, shift = 0;
    uint32_t mask = 0, signBit = 0;
};

bool readPixelLayout(DcmDataset &data, GatedSeries &series, PixelLayout &layout, std::string &reason)
{
    Uint16 samples = 1, rows = 0, columns = 0, allocated = 0, stored = 0, high = 0, representation = 0;
    data.findAndGetUint16(DCM_SamplesPerPixel, samples);
    data.findAndGetUint16(DCM_Rows, rows);
    data.findAndGetUint16(DCM_Columns, columns);
    data.findAndGetUint16(DCM_BitsAllocated, allocated);
    if (data.findAndGetUint16(DCM_BitsStored, stored).bad())
        stored = allocated;
    if (data.findAndGetUint16(DCM_HighBit, high).bad())
        high = Uint16(stored - 1);
    data.findAndGetUint16(DCM_PixelRepresentation, representation);
    if (samples != 1) {
        reason = std::to_string(samples) + " samples per pixel; counts have one";
        return false;
    }
    if (!((rows == 64 && columns == 64) || (rows == 128 && columns == 128))) {
        reason = "matrix " + std::to_string(rows) + " x " + std::to_string(columns) +
                 " (rows x columns); only 64 x 64 and 128 x 128 are taken";
        return false;
    }
    if (allocated != 8 && allocated != 16) {
        reason = "Bits Allocated " + std::to_string(allocated) + "; only 8 and 16 are taken";
        return false;
    }
    if (stored == 0 || stored > allocated || high >= allocated || high + 1 < stored) {
        reason = "Bits Stored " + std::to_string(stored) + " with High Bit " + std::to_string(high) +
                 " do not fit Bits Allocated " + std::to_string(allocated);
        return false;
    }
    series.rows = rows;
    series.columns = columns;
    series.isSigned = representation == 1;
    layout.bitsAllocated = allocated;
    layout.shift = high + 1 - stored;
    layout.mask = (1u << stored) - 1;
    layout.signBit = series.isSigned ? 1u << (stored - 1) : 0;
    return true;
}

// Each frame of the first R-R interval, by gate and stored slice; -1 where none is.
bool locateFrames(DcmDataset &data, GatedSeries &series, std::vector<long> &frameOf, long &frames, std::string &reason)
{
    Vector rr{"R-R Interval Vector", DCM_RRIntervalVector};
    Vector slot{"Time Slot Vector", DCM_TimeSlotVector};
    Vector slice{"Slice Vector", DCM_SliceVector};
    if (!readVectors(data, rr, slot, slice, reason) ||
        !readCount(data, DCM_NumberOfTimeSlots, "Number of Time Slots", series.gates, reason) ||
        !readCount(data, DCM_NumberOfSlices, "Number of Slices", series.slices, reason))
        return false;
    Sint32 numberOfFrames = 1;
    data.findAndGetSint32(DCM_NumberOfFrames, numberOfFrames);
    frames = numberOfFrames;
    for (const Vector *v : {&rr, &slot, &slice}) {
        if (v->values && long(v->count) != frames) {
            reason = "Number of Frames (0028,0008) is " + std::to_string(frames) + " but the " + v->name + " holds " +
                     std::to_string(v->count) + " values";
            return false;
        }
    }
    Uint16 intervals = 0;
    if (data.findAndGetUint16(DCM_NumberOfRRIntervals, intervals).good() && intervals > 0)
        series.rrIntervals = intervals;
    else if (rr.values)
        series.rrIntervals = *std::max_element(rr.values, rr.values + rr.count);

    // Every gate and slice needs a frame of its own: more than the object holds cannot be.
    const std::size_t cells = std::size_t(series.gates) * std::size_t(series.slices);
    if (cells > std::size_t(frames)) {
        reason = std::to_string(series.gates) + " time slots x " + std::to_string(series.slices) + " slices need " +
                 std::to_string(cells) + " frames; the object holds " + std::to_string(frames);
        return false;
    }
    frameOf.assign(cells, -1);
    for (long f = 0; f < frames; ++f) {
        const int interval = rr.values ? rr.values[f] : 1;
        const int gate = slot.values[f], s = slice.values[f];
        if (interval < 1 || interval > series.rrIntervals || gate < 1 || gate > series.gates || s < 1 ||
            s > series.slices) {
            reason = "frame " + std::to_string(f + 1) + " (R-R interval " + std::to_string(interval) + ", time slot " +
                     std::to_string(gate) + ", slice " + std::to_string(s) + ") lies outside " +
                     std::to_string(series.rrIntervals) + " x " + std::to_string(series.gates) + " x " +
                     std::to_string(series.slices);
            return false;
        }
        if (interval != 1)
            continue;
        long &at = frameOf[std::size_t(gate - 1) * std::size_t(series.slices) + std::size_t(s - 1)];
        if (at >= 0) {
            reason = "frames " + std::to_string(at + 1) + " and " + std::to_string(f + 1) + " are both gate " +
                     std::to_string(gate) + ", slice " + std::to_string(s);
            return false;
        }
        at = f;
    }
    for (std::size_t i = 0; i < frameOf.size(); ++i)
        if (frameOf[i] < 0) {
            reason = "no frame for gate " + std::to_string(i / std::size_t(series.slices) + 1) + ", slice " +
                     std::to_string(i % std::size_t(series.slices) + 1) + " of the vectors";
            return false;
        }
    return true;
}

// Copies the frames out in gate and slice order as counts, reducing 128 x 128 to 64 x 64.
template <typename Raw>
void extractPlanes(const Raw *pixels, const PixelLayout &layout, const std::vector<long> &frameOf, GatedSeries &series)
{
    const int n = series.rows, step = n / 64;
    const std::size_t frameValues = std::size_t(n) * std::size_t(n);
    std::vector<int32_t> frame(frameValues);
    series.planes.assign(frameOf.size() * 64 * 64, 0);
    series.firstGateSums.assign(std::size_t(series.slices), 0);
    for (std::size_t i = 0; i < frameOf.size(); ++i) {
        const Raw *in = pixels + std::size_t(frameOf[i]) * frameValues;
        int64_t sum = 0;
        for (std::size_t k = 0; k < frameValues; ++k) {
            const uint32_t bits = (uint32_t(in[k]) >> layout.shift) & layout.mask;
            frame[k] = int32_t(bits) - ((bits & layout.signBit) ? int32_t(layout.signBit) * 2 : 0);
            sum += frame[k];
        }
        if (i < std::size_t(series.slices))
            series.firstGateSums[i] = sum;
        int32_t *out = series.planes.data() + i * 64 * 64;
        if (step == 1) {
            std::copy(frame.begin(), frame.end(), out);
            continue;
        }
        for (int r = 0; r < 64; ++r)
            for (int c = 0; c < 64; ++c) {
                const int32_t *top = frame.data() + std::size_t(2 * r) * std::size_t(n) + std::size_t(2 * c);
                out[r * 64 + c] = (top[0] + top[1] + top[n] + top[n + 1]) / 4; // truncates toward zero
            }
    }
}

} // namespace

bool ReadGatedSeries(const std::string &path, GatedSeries &series, std::string &reason)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        reason = "no such file";
        return false;
    }
    if (std::filesystem::is_directory(status)) {
        reason = "a folder, not a file";
        return false;
    }
    registerDecoders();

    DcmFileFormat file;
    OFCondition loaded = file.loadFile(path.c_str());
    if (loaded.good())
        loaded = file.loadAllDataIntoMemory();
    if (loaded.bad()) {
        reason = hasDicomPreamble(path) ? std::string("a damaged or truncated DICOM file (") + loaded.text() + ")"
                                        : std::string("not a DICOM file");
        return false;
    }
    if (!checkKind(file, reason))
        return false;
    DcmDataset &data = *file.getDataset();

    PixelLayout layout;
    std::vector<long> frameOf;
    long frames = 0;
    if (!readPixelLayout(data, series, layout, reason) || !locateFrames(data, series, frameOf, frames, reason))
        return false;

    const E_TransferSyntax xfer = data.getOriginalXfer();
    if (!takenTransferSyntax(xfer)) {
        const DcmXfer named(xfer);
        reason = std::string("transfer syntax ") + named.getXferName() + " (" + named.getXferID() + ") is not taken";
        return false;
    }
    if (DcmXfer(xfer).isEncapsulated()) {
        const OFCondition decoded = data.chooseRepresentation(EXS_LittleEndianExplicit, nullptr);
        if (decoded.bad() || !data.canWriteXfer(EXS_LittleEndianExplicit)) {
            reason = std::string("the pixel data cannot be decoded from ") + DcmXfer(xfer).getXferName() + " (" +
                     decoded.text() + ")";
            return false;
        }
    }

    const std::size_t needed = std::size_t(frames) * std::size_t(series.rows) * std::size_t(series.columns);
    unsigned long count = 0;
    OFCondition got;
    const Uint8 *bytes = nullptr;
    const Uint16 *words = nullptr;
    if (layout.bitsAllocated == 8)
        got = data.findAndGetUint8Array(DCM_PixelData, bytes, &count);
    else
        got = data.findAndGetUint16Array(DCM_PixelData, words, &count);
    if (got.bad() || (bytes == nullptr && words == nullptr)) {
        reason = "no Pixel Data (7FE0,0010)";
        return false;
    }
    if (count < needed) {
        reason = "the pixel data end early: " + std::to_string(count) + " values where " + std::to_string(frames) +
                 " frames of " + std::to_string(series.rows) + " x " + std::to_string(series.columns) + " need " +
                 std::to_string(needed);
        return false;
    }
    if (bytes)
        extractPlanes(bytes, layout, frameOf, series);
    else
        extractPlanes(words, layout, frameOf, series);

    series.sliceDirection = stringOf(data, DCM_SliceProgressionDirection);
    series.patientId = stringOf(data, DCM_PatientID);
    series.patientName = stringOf(data, DCM_PatientName);
    return true;
}
