#pragma once
// The personal bests as a web page in the export path, for the user to
// publish or keep.

#include <string>
#include <string_view>

namespace vra {

class CRpyGraphDoc;
class PersonalBests;
class Prompts;
class Shell;

inline constexpr std::string_view kRecordsFailedText = "Error creating file!";

// Writes "records.html" and "style.css" into folder; the page's path, or
// empty when either could not be written.
std::string WriteRecordsPage(std::string_view folder, const PersonalBests& bests);

// The export button: refuses without an export path, writes the page,
// tells where and opens it on Yes.
void ExportRecordsPage(CRpyGraphDoc& doc, const PersonalBests& bests, Prompts& prompts, Shell& shell);

}  // namespace vra
