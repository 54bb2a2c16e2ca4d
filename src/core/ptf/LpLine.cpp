#include "core/ptf/LpLine.h"

#include "core/base/ByteCursor.h"
#include "core/base/FileUtil.h"
#include "core/decode/PtfReadContext.h"
#include "core/track/CoreDisplay.h"
#include "core/track/TrackPath.h"

#include <algorithm>
#include <cmath>

namespace vra {

namespace {

constexpr const char* kSource = "ptf\\LpLine";
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kRecordSize = 24;
// A race line of 3000 km; records beyond it are not read.
constexpr std::uint64_t kMaxRecords = 1'000'000;

}  // namespace

bool LpLine::Load() {
    const auto file = FindCaseInsensitive(path_->TrackFolder(), "raceline.lp");
    BinaryFile in;
    if (file) in = BinaryFile(*file);
    if (!in.isOpen()) PtfReadContext::ThrowKtException(kSource, 28, "raceline.lp failed to open");
    const std::uint64_t wanted = std::min<std::uint64_t>(in.size(), kHeaderSize + kRecordSize * kMaxRecords);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(wanted));
    if (!in.readAt(0, bytes)) PtfReadContext::ThrowKtException(kSource, 28, "raceline.lp failed to open");
    return LoadFrom(bytes);
}

bool LpLine::LoadFrom(std::span<const std::uint8_t> data) {
    points_.clear();
    ByteCursor cur(data);
    std::uint32_t count = 0;
    // A file too short for its header holds no records.
    if (!cur.skip(4) || !cur.u32(count) || !cur.skip(8)) return true;

    std::vector<Point2D> points;
    const std::uint64_t available = std::min<std::uint64_t>(cur.remaining() / kRecordSize, kMaxRecords);
    const std::uint64_t records = std::min<std::uint64_t>(count, available);
    points.reserve(static_cast<std::size_t>(records));
    for (std::uint64_t i = 0; i < records; ++i) {
        float offset = 0.0f;
        cur.f32(offset);
        cur.skip(kRecordSize - 4);
        const double t = kSpacing * static_cast<double>(i);
        const std::int32_t k = path_->FindPieceAtDistance(t);
        if (k == -1) PtfReadContext::ThrowKtException(kSource, 51, "s_idx == -1");
        // A broken record puts no point on the map; the line goes on with the
        // next one.
        if (!std::isfinite(offset)) continue;
        const Segment& piece = path_->PieceAt(k);
        points.push_back(piece.PositionAt(t - piece.StartDistance(), offset));
    }
    points_ = std::move(points);
    return true;
}

void LpLine::Draw(CoreDisplay& display) const {
    display.DrawColourPolyline(points_);
}

}  // namespace vra
