#include "core/document/MergeParametersModel.h"

#include "core/text/LapTime.h"

#include <fmt/format.h>

#include <algorithm>

namespace vra {

namespace {

constexpr std::uint64_t kSaturated = std::uint64_t{1} << 62;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The leading digits as a number; saturates rather than overflowing.
std::uint64_t LeadingNumber(std::string_view s) {
    std::uint64_t v = 0;
    for (char c : s) {
        if (!IsDigit(c)) break;
        v = std::min(kSaturated, v * 10 + static_cast<std::uint64_t>(c - '0'));
    }
    return v;
}

}  // namespace

std::uint64_t ParseMilliseconds(std::string_view text) {
    std::size_t sep = text.find('.');
    if (sep == std::string_view::npos) sep = text.find(',');
    if (sep == std::string_view::npos) return std::min(kSaturated / 1000, LeadingNumber(text)) * 1000;
    const std::uint64_t seconds = std::min(kSaturated / 1000, LeadingNumber(text.substr(0, sep)));
    std::uint64_t fraction = 0;
    int digits = 0;
    for (std::size_t i = sep + 1; i < text.size() && digits < 3 && IsDigit(text[i]); ++i, ++digits)
        fraction = fraction * 10 + static_cast<std::uint64_t>(text[i] - '0');
    for (; digits < 3; ++digits) fraction *= 10;
    return seconds * 1000 + fraction;
}

std::string KeepAdvantageText(std::string_view text) {
    const std::size_t n = text.find_first_not_of("0123456789.,");
    return std::string(text.substr(0, n));
}

std::string AdvantageText(std::uint32_t ms) {
    return fmt::format("{}.{:03}", ms / 1000, ms % 1000);
}

MergeParametersModel::MergeParametersModel(const MergeParametersRequest& request) {
    for (int i = 0; i < kRows; ++i) {
        const MergeLapRow& lap = request.rows[Index(i)];
        if (!lap.used) continue;
        Row& row = rows_[Index(i)];
        row.used = true;
        row.name = lap.firstName + " " + lap.lastName + " - " + FormatLapTime(lap.lapWord);
        fastest_ = std::min(fastest_, lap.lapWord & 0x0FFFFFFFu);
    }
    for (int i = 0; i < kRows; ++i) {
        Row& row = rows_[Index(i)];
        if (!row.used) continue;
        row.max = (request.rows[Index(i)].lapWord & 0x0FFFFFFFu) - fastest_;
        row.maxText = FormatLapTime(row.max);
    }
    SetSync(MergeSync::Start);
}

void MergeParametersModel::SetSync(MergeSync sync) {
    sync_ = sync;
    for (Row& row : rows_) {
        switch (sync) {
            case MergeSync::Start:
                row.edit = "0";
                row.advantage = 0;
                break;
            case MergeSync::End:
                row.advantage = row.max;
                row.edit = AdvantageText(row.advantage);
                break;
            case MergeSync::SameDifference:
                row.advantage = row.max / 2;
                row.edit = AdvantageText(row.advantage);
                break;
            case MergeSync::Manual:
                break;
        }
    }
}

bool MergeParametersModel::CheckEdit(int row, std::string_view typed) {
    Row& r = rows_[Index(row)];
    r.edit = KeepAdvantageText(typed);
    const std::uint64_t ms = ParseMilliseconds(r.edit);
    r.advantage = static_cast<std::uint32_t>(std::min<std::uint64_t>(ms, 0xFFFFFFFFu));
    return ms <= r.max;
}

MergeAdvantages MergeParametersModel::Advantages() const {
    MergeAdvantages out{};
    for (int i = 0; i < kRows; ++i) out[Index(i)] = rows_[Index(i)].used ? rows_[Index(i)].advantage : 0;
    return out;
}

}  // namespace vra
