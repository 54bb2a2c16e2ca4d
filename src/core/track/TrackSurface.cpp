#include "core/track/TrackSurface.h"

namespace vra {

TrackSurface::TrackSurface(std::int32_t code) : code_(code), colourClass_(ColourClassOf(code)) {}

std::int32_t TrackSurface::ColourClassOf(std::int32_t code) {
    switch (code) {
        case 1:
            return 1;
        case 2:
            return 2;
        case 3:
        case 12:
            return 3;
        case 4:
        case 10:
            return 4;
        case 5:
            return 5;
        case 6:
            return 6;
        case 7:
            return 7;
        case 8:
            return 8;
        default:
            return 11;
    }
}

}  // namespace vra
