#pragma once
// The number of map points that building one track path may still create.
// A file can ask for far more points than any real track has (a corner
// hundreds of kilometres long, one boundary line shared many times over);
// the budget turns such a request into a refusal before anything is allocated.

#include <cstdint>

namespace vra {

class PointBudget {
public:
    // Real tracks need well under a million points.
    static constexpr std::uint64_t kTrackLimit = 20'000'000;

    // Points a track of this length may need: a fixed allowance for the
    // straights' few points each, and kMaxPointsPerMetre for every metre;
    // never more than kTrackLimit.
    static std::uint64_t LimitForLength(double metres);

    explicit PointBudget(std::uint64_t limit = kTrackLimit) : left_(limit) {}

    // Takes n points; throws KtException "track geometry is invalid" when
    // fewer are left.
    void Take(std::uint64_t n);
    std::uint64_t Left() const { return left_; }

private:
    std::uint64_t left_;
};

}  // namespace vra
