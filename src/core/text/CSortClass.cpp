#include "core/text/CSortClass.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace vra {

namespace {

unsigned char FoldCase(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

}  // namespace

CSortClass::CSortClass(std::vector<std::string> columnTexts, Kind kind) : texts_(std::move(columnTexts)), kind_(kind) {
    if (kind_ == Kind::Integer) {
        numbers_.reserve(texts_.size());
        for (const auto& t : texts_) numbers_.push_back(LeadingInt(t));
    }
}

std::vector<std::size_t> CSortClass::Sort(bool ascending) const {
    std::vector<std::size_t> order(texts_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    auto less = [&](std::size_t a, std::size_t b) {
        if (kind_ == Kind::Text)
            return (ascending ? CompareTextAscending(texts_[a], texts_[b])
                              : CompareTextDescending(texts_[a], texts_[b])) < 0;
        return (ascending ? CompareIntAscending(numbers_[a], numbers_[b])
                          : CompareIntDescending(numbers_[a], numbers_[b])) < 0;
    };
    std::stable_sort(order.begin(), order.end(), less);
    return order;
}

int CSortClass::CompareTextAscending(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int d = int(FoldCase(a[i])) - int(FoldCase(b[i]));
        if (d != 0) return d;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int CSortClass::CompareTextDescending(std::string_view a, std::string_view b) {
    return CompareTextAscending(b, a);
}

int CSortClass::CompareIntAscending(std::int32_t a, std::int32_t b) {
    return a == b ? 0 : (a > b ? 1 : -1);
}

int CSortClass::CompareIntDescending(std::int32_t a, std::int32_t b) {
    return a == b ? 0 : (a < b ? 1 : -1);
}

std::int32_t CSortClass::LeadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n' ||
                               text[i] == '\v' || text[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), kLimit);
    if (negative) value = -value;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace vra
