#include "ExportTestSupport.h"

#include <gtest/gtest.h>

void FillSlice(GatedVolume &volume, int slice, const std::array<int16_t, 16> &phaseCounts)
{
    for (int x = 0; x < GatedVolume::Width; ++x)
        for (int y = 0; y < GatedVolume::Height; ++y)
            for (int p = 0; p < GatedVolume::Phases; ++p)
                volume.at(x, y, slice, p) = phaseCounts[p];
}

std::vector<std::string> SplitLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "text after the last CR LF: " << text.substr(start, 80);
            break;
        }
        std::string line = text.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a bare CR or LF in line " << lines.size() + 1;
        lines.push_back(std::move(line));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> SplitFields(const std::string &line)
{
    std::vector<std::string> fields;
    if (line.empty() || line.back() != ',') {
        ADD_FAILURE() << "no comma at the end of: " << line.substr(0, 80);
        return fields;
    }
    std::size_t start = 0;
    while (start < line.size()) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    return fields;
}

std::string NumberedHeader(const std::string &first)
{
    std::string header = first;
    for (int n = 1; n <= 64; ++n)
        header += std::to_string(n) + ",";
    return header;
}
