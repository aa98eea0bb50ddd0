// What the command-line tools share: reading whole numbers and pairs of them from their
// arguments, and the report of a bad argument or an unreadable study.
#pragma once

#include "StudyReader.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

// A wrong or out-of-range argument; the tool prints the message and its usage and exits with 2.
struct BadArgument {
    std::string message;
};

// A whole number, with an optional leading plus sign, and nothing after it.
inline bool ParseNumber(std::string_view text, int &value)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

inline bool ParseInRange(std::string_view text, int low, int high, int &value)
{
    return ParseNumber(text, value) && value >= low && value <= high;
}

// "A,B", both whole numbers in low..high.
inline bool ParsePair(std::string_view text, int low, int high, int &a, int &b)
{
    const auto comma = text.find(',');
    return comma != std::string_view::npos && ParseInRange(text.substr(0, comma), low, high, a) &&
           ParseInRange(text.substr(comma + 1), low, high, b);
}

// Exit status 2 with the message and the usage on standard error.
inline int ReportBadArgument(const char *tool, const BadArgument &bad, const char *usage)
{
    std::fprintf(stderr, "%s: %s\n%s", tool, bad.message.c_str(), usage);
    return 2;
}

// Reads the study set that `path` belongs to; false, with the reader's message on standard
// error, when it cannot be read.
inline bool LoadStudyForTool(const char *tool, const std::string &path, Study &study)
{
    const LoadResult load = LoadStudySet(path, study);
    if (!load.ok)
        std::fprintf(stderr, "%s: %s\n", tool, load.message.c_str());
    return load.ok;
}
