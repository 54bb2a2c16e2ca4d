// The race-line reader on any bytes, over a road course built once: it must
// end with points or a KtException, and every point it keeps is finite.
#include "core/decode/KtException.h"
#include "core/decode/KtObjectFactory.h"
#include "core/decode/KtTrack.h"
#include "core/ptf/LpLine.h"
#include "core/track/TrackPath.h"

#include "simkit/track/PtfBuilder.h"
#include "simkit/track/TrackLayout.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

namespace {

const vra::TrackPath& Path() {
    static const auto path = [] {
        const auto image = vra::simkit::PtfBuilder::Build(vra::simkit::TrackLayout::RoadCourse().Describe());
        return std::make_unique<vra::TrackPath>(vra::KtObjectFactory::ReadTrackImage(image));
    }();
    return *path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vra::LpLine line(Path());
    try {
        line.LoadFrom(std::span<const std::uint8_t>(data, size));
    } catch (const vra::KtException&) {
        if (!line.Points().empty()) std::abort();
        return 0;
    }
    if (line.Points().size() > size / 24) std::abort();
    for (const vra::Point2D& p : line.Points())
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) std::abort();
    return 0;
}
