#pragma once
// Which loaded lap a report or tool that reads one replay works on.

#include <string_view>

namespace vra {

class CRpyGraphDoc;
class Prompts;

inline constexpr std::string_view kNoLapLoadedText = "No replay lap loaded!";
inline constexpr std::string_view kChooseReportLapTitle = "Reports only based on one file - choose which to use";

// The slot 0..4 of the lap to use, or -1: with no lap loaded the user is told
// so; with one lap it is that lap without asking; with several the user
// chooses among the used slots, listed by their replay files' names (-1 when
// cancelled).
int ChooseLoadedLap(const CRpyGraphDoc& doc, Prompts& prompts);

}  // namespace vra
