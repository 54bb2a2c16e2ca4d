#pragma once
// What the merge parameters dialog shows and decides, without the widgets:
// the rows of the loaded laps, the largest advantage each may get, the four
// ways of synchronising the cars and the checking of a typed advantage.

#include "core/platform/Prompts.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vra {

enum class MergeSync { Start, End, SameDifference, Manual };

// Milliseconds of a typed advantage: seconds, then a "." (or, without one, a
// ",") and up to three digits of a fraction ("1,5" and "1.5" give 1500,
// "0.05" gives 50, "1.2.5" gives 1200). Computed in 64 bits and saturated,
// so that a huge number stays huge instead of wrapping to a small one.
std::uint64_t ParseMilliseconds(std::string_view text);
// The leading run of the characters an advantage may hold, "0123456789.,".
std::string KeepAdvantageText(std::string_view text);
// Whole seconds, ".", three digits of milliseconds: 1050 gives "1.050".
std::string AdvantageText(std::uint32_t ms);

class MergeParametersModel {
public:
    static constexpr int kRows = 5;
    static constexpr std::string_view kTooLargeText = "To large number!";

    // Starts at "All cars syncronized at start of lap".
    explicit MergeParametersModel(const MergeParametersRequest& request);

    bool Used(int row) const { return rows_[Index(row)].used; }
    // "first last - 1m 23.456s".
    const std::string& NameText(int row) const { return rows_[Index(row)].name; }
    const std::string& MaxText(int row) const { return rows_[Index(row)].maxText; }
    std::uint32_t MaxAdvantage(int row) const { return rows_[Index(row)].max; }
    const std::string& EditText(int row) const { return rows_[Index(row)].edit; }
    std::uint32_t Advantage(int row) const { return rows_[Index(row)].advantage; }
    bool EditsEnabled() const { return sync_ == MergeSync::Manual; }
    MergeSync Sync() const { return sync_; }

    void SetSync(MergeSync sync);
    // Checks what the user typed into a row's edit: keeps the leading run of
    // allowed characters as the edit's text and takes its value. false when
    // the value exceeds the row's largest advantage.
    bool CheckEdit(int row, std::string_view typed);
    MergeAdvantages Advantages() const;

private:
    struct Row {
        bool used = false;
        std::string name, maxText, edit;
        std::uint32_t max = 0, advantage = 0;
    };
    static std::size_t Index(int row) { return static_cast<std::size_t>(row < 0 ? 0 : row >= kRows ? kRows - 1 : row); }

    std::array<Row, kRows> rows_;
    std::uint32_t fastest_ = 0xFFFFFFFF;
    MergeSync sync_ = MergeSync::Start;
};

}  // namespace vra
