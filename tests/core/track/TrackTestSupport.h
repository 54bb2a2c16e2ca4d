#pragma once
// Builds track paths from layouts and segment descriptions for the tests.
#include "core/decode/KtException.h"
#include "core/decode/KtObjectFactory.h"
#include "core/decode/KtTrack.h"
#include "core/track/TrackPath.h"

#include "simkit/track/PtfBuilder.h"
#include "simkit/track/TrackLayout.h"
#include "support/track/RecordingDisplay.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace vra::testing {

using simkit::ExpectedPiece;
using simkit::New;
using simkit::SegmentDesc;
using simkit::TrackDesc;
using simkit::TrackLayout;
using Op = simkit::RecordingDisplay::Op;

inline CountedPtr<KtTrack> Decode(const simkit::Ref<TrackDesc>& track) {
    return KtObjectFactory::ReadTrackImage(simkit::PtfBuilder::Build(track));
}

inline std::unique_ptr<TrackPath> PathOf(const simkit::Ref<TrackDesc>& track, std::filesystem::path folder = {}) {
    return std::make_unique<TrackPath>(Decode(track), std::move(folder));
}

inline std::unique_ptr<TrackPath> PathOf(const TrackLayout& layout, std::filesystem::path folder = {}) {
    return PathOf(layout.Describe(), std::move(folder));
}

inline std::unique_ptr<TrackPath> PathOf(std::vector<SegmentDesc> segments) {
    TrackDesc track;
    for (auto& s : segments) track.segments.push_back(New(std::move(s)));
    return PathOf(New(std::move(track)));
}

// The text of the KtException that f throws, or "" when it throws none.
inline std::string ThrownText(const std::function<void()>& f) {
    try {
        f();
    } catch (const KtException& e) {
        return e.what();
    }
    return "";
}

constexpr double kTol = 1e-6;
inline Point2D At(double x, double y) {
    return {x, y};
}

#define EXPECT_POINT_NEAR(actual, expected)                   \
    do {                                                      \
        const ::vra::Point2D a_ = (actual), e_ = (expected);  \
        EXPECT_NEAR(a_.x, e_.x, ::vra::testing::kTol) << "x"; \
        EXPECT_NEAR(a_.y, e_.y, ::vra::testing::kTol) << "y"; \
    } while (0)

}  // namespace vra::testing
