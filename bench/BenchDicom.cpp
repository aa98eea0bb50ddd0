// Importing one DICOM gated reconstruction (16 gates, 24 slices of 64 x 64) into a Study in
// memory. The object is encoded here by hand, explicit VR little endian, so that the benchmark
// program needs no DICOM toolkit of its own.
#include "DicomImport.h"
#include "Phantom.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

class ExplicitLittleEndian {
public:
    std::vector<unsigned char> bytes;

    void tag(uint16_t group, uint16_t element, const char *vr)
    {
        word(group);
        word(element);
        bytes.push_back(uint8_t(vr[0]));
        bytes.push_back(uint8_t(vr[1]));
    }
    void text(uint16_t group, uint16_t element, const char *vr, std::string value)
    {
        if (value.size() % 2)
            value += std::string(vr) == "UI" ? '\0' : ' ';
        tag(group, element, vr);
        word(uint16_t(value.size()));
        bytes.insert(bytes.end(), value.begin(), value.end());
    }
    void words(uint16_t group, uint16_t element, const std::vector<uint16_t> &values)
    {
        tag(group, element, "US");
        word(uint16_t(values.size() * 2));
        for (uint16_t v : values)
            word(v);
    }
    void pixels(const std::vector<int16_t> &values)
    {
        tag(0x7FE0, 0x0010, "OW");
        word(0);
        const auto length = uint32_t(values.size() * 2);
        word(uint16_t(length & 0xFFFF));
        word(uint16_t(length >> 16));
        for (int16_t v : values)
            word(uint16_t(v));
    }
    void word(uint16_t v)
    {
        bytes.push_back(uint8_t(v & 0xFF));
        bytes.push_back(uint8_t(v >> 8));
    }
};

// The phantom's 16 slices with 4 more below the apex and 4 beyond the base, gate after gate.
std::vector<unsigned char> MakeObject()
{
    const std::vector<int16_t> phantom = MakePhantomPixels([] {
        PhantomOptions options;
        options.noise = true;
        options.defect = true;
        return options;
    }());
    constexpr int Gates = 16, Slices = 24, Plane = 64 * 64;
    std::vector<int16_t> frames;
    std::vector<uint16_t> rr, slot, slice;
    for (int g = 0; g < Gates; ++g)
        for (int s = 0; s < Slices; ++s) {
            const int from = std::clamp(s - 4, 0, 15);
            const int16_t *plane = phantom.data() + (std::size_t(g) * 16 + std::size_t(from)) * Plane;
            frames.insert(frames.end(), plane, plane + Plane);
            rr.push_back(1);
            slot.push_back(uint16_t(g + 1));
            slice.push_back(uint16_t(s + 1));
        }

    const char *nm = "1.2.840.10008.5.1.4.1.1.20", *instance = "1.2.826.0.1.3680043.2.1143.7";
    ExplicitLittleEndian meta, data;
    meta.tag(0x0002, 0x0001, "OB");
    meta.word(0);
    meta.word(2);
    meta.word(0);
    meta.word(0x0100); // version 00 01
    meta.text(0x0002, 0x0002, "UI", nm);
    meta.text(0x0002, 0x0003, "UI", instance);
    meta.text(0x0002, 0x0010, "UI", "1.2.840.10008.1.2.1");

    data.text(0x0008, 0x0008, "CS", "ORIGINAL\\PRIMARY\\RECON GATED TOMO\\EMISSION");
    data.text(0x0008, 0x0016, "UI", nm);
    data.text(0x0008, 0x0018, "UI", instance);
    data.text(0x0008, 0x0060, "CS", "NM");
    data.text(0x0010, 0x0010, "PN", "PHANTOM^GATED");
    data.text(0x0010, 0x0020, "LO", "PHANTOM-0001");
    data.words(0x0028, 0x0002, {1});
    data.text(0x0028, 0x0004, "CS", "MONOCHROME2");
    data.text(0x0028, 0x0008, "IS", std::to_string(Gates * Slices));
    data.tag(0x0028, 0x0009, "AT");
    data.word(12);
    for (const uint16_t element : {0x0060, 0x0070, 0x0080}) {
        data.word(0x0054);
        data.word(element);
    }
    data.words(0x0028, 0x0010, {64});
    data.words(0x0028, 0x0011, {64});
    data.words(0x0028, 0x0100, {16});
    data.words(0x0028, 0x0101, {16});
    data.words(0x0028, 0x0102, {15});
    data.words(0x0028, 0x0103, {1});
    data.words(0x0054, 0x0060, rr);
    data.words(0x0054, 0x0061, {1});
    data.words(0x0054, 0x0070, slot);
    data.words(0x0054, 0x0071, {Gates});
    data.words(0x0054, 0x0080, slice);
    data.words(0x0054, 0x0081, {Slices});
    data.text(0x0054, 0x0500, "CS", "APEX_TO_BASE");
    data.pixels(frames);

    std::vector<unsigned char> file(128, 0);
    for (char c : {'D', 'I', 'C', 'M'})
        file.push_back(static_cast<unsigned char>(c));
    ExplicitLittleEndian groupLength;
    groupLength.tag(0x0002, 0x0000, "UL");
    groupLength.word(4);
    groupLength.word(uint16_t(meta.bytes.size() & 0xFFFF));
    groupLength.word(uint16_t(meta.bytes.size() >> 16));
    file.insert(file.end(), groupLength.bytes.begin(), groupLength.bytes.end());
    file.insert(file.end(), meta.bytes.begin(), meta.bytes.end());
    file.insert(file.end(), data.bytes.begin(), data.bytes.end());
    return file;
}

struct ObjectFile {
    std::string folder, path;
    ObjectFile()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvista-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        folder = pattern;
        path = folder + "/study.dcm";
        const std::vector<unsigned char> bytes = MakeObject();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    }
    ~ObjectFile() { std::filesystem::remove_all(folder); }
};

void BM_ImportDicom(benchmark::State &state)
{
    static const ObjectFile object;
    Study study;
    for (auto _ : state) {
        const DicomImportResult result = ImportDicom(object.path);
        if (!result.ok()) {
            state.SkipWithError(result.message.c_str());
            break;
        }
        FillStudy(result.study, study);
        benchmark::DoNotOptimize(study.volume.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ImportDicom)->Unit(benchmark::kMillisecond);

} // namespace
