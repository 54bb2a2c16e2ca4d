#pragma once
// Reordering and removing the loaded laps. The rows are a working copy of
// the document's used slots; the document changes only on OK.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vra {

class CRpyGraphDoc;
class Prompts;

class LoadedLapsArranger {
public:
    using Row = std::array<std::string, 6>;  // name, lap time, game mode, session, replay path, slot
    // The column shown as a file name; the others are replay text.
    static constexpr int kPathColumn = 4;

    static const std::array<std::string_view, 6>& Headings();

    explicit LoadedLapsArranger(CRpyGraphDoc& doc);

    const std::vector<Row>& Rows() const { return rows_; }

    // Inserts a copy of row source at target, then deletes the source;
    // nothing when the two are equal or either is negative.
    void MoveRow(int source, int target);
    // The button handlers, given the selected row (nullopt for none); each
    // returns the row to select afterwards.
    std::optional<int> OnMoveUp(std::optional<int> selected);
    std::optional<int> OnMoveDown(std::optional<int> selected);
    std::optional<int> OnRemove(std::optional<int> selected);
    // Applies the rows to the document.
    void OnOK();

private:
    CRpyGraphDoc& doc_;
    Prompts& prompts_;
    std::vector<Row> rows_;
};

}  // namespace vra
