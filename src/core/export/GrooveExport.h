#pragma once
// A loaded lap's line written as a groove file: once the lap and the
// parameters are chosen, the table is built, the user picks the file and
// it is written whole or not at all.

#include "core/export/GrooveFile.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace vra {

class CRpyGraphDoc;
class GetRpyInfo;
class Prompts;

inline constexpr int kGrooveFactorMaximum = 999;
inline constexpr std::string_view kGrooveFactorNotIntegerText = "Please enter an integer.";
inline constexpr std::string_view kGrooveFactorRangeText = "Please enter an integer between 0 and 999.";
inline constexpr std::string_view kGrooveWidthText = "Please enter a number.";

// A factor as typed: optional blanks around an optionally signed integer.
std::optional<long long> ParseGrooveFactor(std::string_view text);
// The width goes into the file as typed, so it must be what its readers
// parse: an unsigned decimal number in C notation ("3", "3.0", ".5"),
// greater than 0, nothing around it.
bool IsGrooveWidth(std::string_view text);

// The channels of the lap's samples the groove file reads.
GrooveLap GrooveLapOf(const GetRpyInfo& info);

// Whether the document has the track a groove file is measured along; tells
// the user when it has none.
bool GrooveTrackLoaded(const CRpyGraphDoc& document, Prompts& prompts);

// Builds the file of slot's lap, asks where to save it (in the current
// folder, under the track's name) and writes it. The written path, or
// nullopt when cancelled or failed (the user is told; an existing file
// stays as it was).
std::optional<std::filesystem::path> ExportGroove(const CRpyGraphDoc& document, int slot,
                                                  const GrooveSettings& settings, Prompts& prompts);

}  // namespace vra
