#pragma once
// One loaded lap's channels as comma-separated text for spreadsheets: a line
// with the number of data lines and the lap time, a heading line, then one
// line per sample. "\r\n" line ends and C-locale numbers, whatever the
// user's locale, so that the file reads the same everywhere.

#include "core/replay/WriterOutput.h"

#include <cstdint>

namespace vra {

class GetRpyInfo;

// info must have its channels allocated; lapWord is the lap's lap-time word.
// false when out refuses bytes.
bool WriteTelemetryText(const GetRpyInfo& info, std::uint32_t lapWord, OutputSink& out);

}  // namespace vra
