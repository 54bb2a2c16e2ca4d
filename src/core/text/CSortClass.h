#pragma once
// Sorting the rows of a report-style list by the text or the number in one
// column. The list hands over the column's texts, row by row; the sort gives
// back the new order of the rows, and rows that compare equal keep their
// order, so sorting by one column and then another behaves predictably.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vra {

class CSortClass {
public:
    enum class Kind { Text, Integer };

    CSortClass(std::vector<std::string> columnTexts, Kind kind);
    virtual ~CSortClass() = default;

    // Row indices in their sorted order: entry k is the row that goes to
    // position k.
    std::vector<std::size_t> Sort(bool ascending) const;

    // The four comparisons: negative, 0 or positive.
    // Texts compare ignoring ASCII case.
    static int CompareTextAscending(std::string_view a, std::string_view b);
    static int CompareTextDescending(std::string_view a, std::string_view b);
    static int CompareIntAscending(std::int32_t a, std::int32_t b);
    static int CompareIntDescending(std::int32_t a, std::int32_t b);

    // The number a column text starts with: blanks, an optional sign, then
    // decimal digits; 0 without digits; saturated to the 32-bit range.
    static std::int32_t LeadingInt(std::string_view text);

private:
    std::vector<std::string> texts_;
    std::vector<std::int32_t> numbers_;
    Kind kind_;
};

}  // namespace vra
