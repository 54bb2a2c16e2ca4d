// Decodes the input as a track's object stream. Any outcome but a decoded
// track or a KtException (a crash, a hang, another exception) is a finding.
#include "core/decode/KtException.h"
#include "core/decode/KtObjectFactory.h"
#include "core/decode/KtTrack.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        auto track = vra::KtObjectFactory::ReadTrackImage(std::span<const std::uint8_t>(data, size));
        if (track) {
            // Walk what the geometry walks.
            for (const auto& segment : track->GetSegments())
                for (const auto& f : segment->GetFSections()) (void)f->GetStartOffset();
        }
    } catch (const vra::KtException&) {}
    return 0;
}
