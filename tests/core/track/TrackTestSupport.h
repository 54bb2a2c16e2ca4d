#pragma once
// Builds track paths from layouts and segment descriptions for the tests.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "decode/KtObjectFactory.h"
#include "decode/KtTrack.h"
#include "track/PtfBuilder.h"
#include "track/TrackLayout.h"
#include "track/TrackPath.h"

namespace vra::testing {

using simkit::New;
using simkit::Ref;
using simkit::SegmentDesc;
using simkit::TrackDesc;
using simkit::TrackLayout;

inline Ref<TrackDesc> TrackOf(std::vector<SegmentDesc> segments) {
    TrackDesc track;
    for (auto& s : segments) track.segments.push_back(New(std::move(s)));
    return New(std::move(track));
}

inline CountedPtr<KtTrack> Decode(const Ref<TrackDesc>& track) {
    const std::vector<std::uint8_t> image = simkit::PtfBuilder::Build(track);
    return KtObjectFactory::ReadTrackImage(image);
}

inline std::unique_ptr<TrackPath> PathOf(const Ref<TrackDesc>& track, std::filesystem::path folder = {}) {
    return std::make_unique<TrackPath>(Decode(track), std::move(folder));
}

inline std::unique_ptr<TrackPath> PathOf(const TrackLayout& layout, std::filesystem::path folder = {}) {
    return PathOf(layout.Describe(), std::move(folder));
}

inline std::unique_ptr<TrackPath> PathOf(std::vector<SegmentDesc> segments) {
    return PathOf(TrackOf(std::move(segments)));
}

constexpr double kTol = 1e-6;

inline Point2D At(double x, double y) { return {x, y}; }

#define EXPECT_POINT_NEAR(actual, expected)                   \
    do {                                                      \
        const ::vra::Point2D a_ = (actual);                   \
        const ::vra::Point2D e_ = (expected);                 \
        EXPECT_NEAR(a_.x, e_.x, ::vra::testing::kTol) << "x"; \
        EXPECT_NEAR(a_.y, e_.y, ::vra::testing::kTol) << "y"; \
    } while (0)

}  // namespace vra::testing
