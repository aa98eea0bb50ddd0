#include "NmObject.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcrleerg.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmdata/dcxfer.h>
#include <dcmtk/dcmjpeg/djencode.h>
#include <dcmtk/dcmjpls/djencode.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

// The encoders the tests compress with, registered once for the test program.
struct EncoderRegistration {
    EncoderRegistration()
    {
        DcmRLEEncoderRegistration::registerCodecs();
        DJEncoderRegistration::registerCodecs();
        DJLSEncoderRegistration::registerCodecs();
    }
    ~EncoderRegistration()
    {
        DJLSEncoderRegistration::cleanup();
        DJEncoderRegistration::cleanup();
        DcmRLEEncoderRegistration::cleanup();
    }
};

} // namespace

void WriteNmObject(const std::string &path, const NmObject &o)
{
    static EncoderRegistration encoders;
    DcmFileFormat file;
    DcmDataset &d = *file.getDataset();
    char uid[100];
    ASSERT_TRUE(d.putAndInsertString(DCM_SOPClassUID, o.sopClass.c_str()).good());
    ASSERT_TRUE(d.putAndInsertString(DCM_SOPInstanceUID, dcmGenerateUniqueIdentifier(uid)).good());
    d.putAndInsertString(DCM_Modality, o.modality.c_str());
    d.putAndInsertString(DCM_ImageType, o.imageType.c_str());
    d.putAndInsertString(DCM_PatientID, o.patientId.c_str());
    d.putAndInsertString(DCM_PatientName, o.patientName.c_str());
    if (!o.sliceDirection.empty())
        d.putAndInsertString(DCM_SliceProgressionDirection, o.sliceDirection.c_str());

    const int frames = o.rrIntervals * o.gates * o.slices;
    std::vector<Uint16> rr, slot, slice;
    for (int r = 1; r <= o.rrIntervals; ++r)
        for (int outer = 1; outer <= (o.slicesSlowest ? o.slices : o.gates); ++outer)
            for (int inner = 1; inner <= (o.slicesSlowest ? o.gates : o.slices); ++inner) {
                rr.push_back(Uint16(r));
                slot.push_back(Uint16(o.slicesSlowest ? inner : outer));
                slice.push_back(Uint16(o.slicesSlowest ? outer : inner));
            }
    d.putAndInsertString(DCM_NumberOfFrames, std::to_string(o.numberOfFrames.value_or(frames)).c_str());
    d.putAndInsertTagKey(DCM_FrameIncrementPointer, DCM_RRIntervalVector);
    DcmElement *pointer = nullptr;
    ASSERT_TRUE(d.findAndGetElement(DCM_FrameIncrementPointer, pointer).good());
    pointer->putTagVal(DCM_TimeSlotVector, 1);
    pointer->putTagVal(DCM_SliceVector, 2);
    d.putAndInsertUint16Array(DCM_RRIntervalVector, rr.data(), rr.size());
    d.putAndInsertUint16(DCM_NumberOfRRIntervals, Uint16(o.rrIntervals));
    if (o.withTimeSlotVector)
        d.putAndInsertUint16Array(DCM_TimeSlotVector, slot.data(), slot.size());
    d.putAndInsertUint16(DCM_NumberOfTimeSlots, Uint16(o.gates));
    std::vector<Uint16> sliceVector = slice;
    if (o.editSliceVector)
        o.editSliceVector(sliceVector);
    d.putAndInsertUint16Array(DCM_SliceVector, sliceVector.data(), sliceVector.size());
    d.putAndInsertUint16(DCM_NumberOfSlices, Uint16(o.numberOfSlices.value_or(o.slices)));

    d.putAndInsertUint16(DCM_SamplesPerPixel, 1);
    d.putAndInsertString(DCM_PhotometricInterpretation, "MONOCHROME2");
    d.putAndInsertUint16(DCM_Rows, Uint16(o.rows));
    d.putAndInsertUint16(DCM_Columns, Uint16(o.columns));
    d.putAndInsertUint16(DCM_BitsAllocated, Uint16(o.bitsAllocated));
    d.putAndInsertUint16(DCM_BitsStored, Uint16(o.bitsAllocated));
    d.putAndInsertUint16(DCM_HighBit, Uint16(o.bitsAllocated - 1));
    d.putAndInsertUint16(DCM_PixelRepresentation, o.isSigned ? 1 : 0);

    const std::size_t planeValues = std::size_t(o.rows) * std::size_t(o.columns);
    std::vector<Uint16> words(std::size_t(frames) * planeValues);
    for (int f = 0; f < frames; ++f)
        for (int row = 0; row < o.rows; ++row)
            for (int column = 0; column < o.columns; ++column)
                words[std::size_t(f) * planeValues + std::size_t(row) * std::size_t(o.columns) + std::size_t(column)] =
                    Uint16(o.pixel(rr[std::size_t(f)], slot[std::size_t(f)], slice[std::size_t(f)], column, row));
    if (o.bitsAllocated == 8) {
        std::vector<Uint8> bytes(words.begin(), words.end());
        ASSERT_TRUE(d.putAndInsertUint8Array(DCM_PixelData, bytes.data(), bytes.size()).good());
    } else {
        ASSERT_TRUE(d.putAndInsertUint16Array(DCM_PixelData, words.data(), words.size()).good());
    }

    const E_TransferSyntax xfer = DcmXfer(o.transferSyntax.c_str()).getXfer();
    ASSERT_NE(xfer, EXS_Unknown) << o.transferSyntax;
    if (DcmXfer(xfer).isEncapsulated()) {
        const OFCondition encoded = d.chooseRepresentation(xfer, nullptr);
        ASSERT_TRUE(encoded.good() && d.canWriteXfer(xfer)) << "cannot encode " << o.transferSyntax;
    }
    const OFCondition saved = file.saveFile(path.c_str(), xfer);
    ASSERT_TRUE(saved.good()) << path << ": " << saved.text();
}
