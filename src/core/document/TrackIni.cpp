#include "core/document/TrackIni.h"

#include "core/base/FileUtil.h"
#include "core/text/ReplayNames.h"
#include "core/track/TrackLimits.h"

#include <charconv>
#include <cmath>
#include <string>

namespace vra {

namespace {

constexpr double kMetresPerMile = 1609.344;
// No real track.ini comes near this; a larger file is not a track.ini.
constexpr std::uint64_t kMaxTrackIniBytes = 1u << 20;

}  // namespace

double ParseTrackIniLength(std::string_view text) {
    const std::size_t key = text.find("track_length");
    if (key == std::string_view::npos) return 0.0;
    const std::size_t equals = text.find('=', key);
    if (equals == std::string_view::npos) return 0.0;
    const std::size_t unit = text.find('m', equals);
    if (unit == std::string_view::npos) return 0.0;
    std::string_view value = text.substr(equals + 1, unit - equals - 1);
    // The number is read as the C library reads one: after any white space
    // and with an optional plus sign, which from_chars alone refuses.
    while (!value.empty() && std::string_view(" \t\n\v\f\r").find(value.front()) != std::string_view::npos)
        value.remove_prefix(1);
    std::string_view digits = value;
    if (digits.starts_with('+')) digits.remove_prefix(1);
    double number = 0.0;
    // from_chars reads the leading number and ignores the locale.
    if (std::from_chars(digits.data(), digits.data() + digits.size(), number).ec != std::errc()) return 0.0;
    const double metres = value.ends_with('k') ? number * 1000.0 : number * kMetresPerMile;
    // from_chars also reads "-5", "nan", "inf" and "1e308": none is the
    // length of a track, so the file states none.
    if (!std::isfinite(metres) || metres <= 0.0 || metres > kMaxTrackLengthMetres) return 0.0;
    return metres;
}

std::optional<double> ReadTrackIniLength(std::string_view simFolder, std::string_view trackName) {
    // The name comes from a replay file: it must name one folder, not a path.
    if (simFolder.empty() || !IsPlainName(trackName)) return std::nullopt;
    const auto tracks = FindCaseInsensitive(std::filesystem::path(std::string(simFolder)), "tracks");
    const auto folder = tracks ? FindReplayNamed(*tracks, trackName) : std::nullopt;
    const auto file = folder ? FindCaseInsensitive(*folder, "track.ini") : std::nullopt;
    if (!file) return std::nullopt;
    const auto bytes = ReadWholeFile(*file, kMaxTrackIniBytes);
    if (!bytes) return std::nullopt;
    return ParseTrackIniLength(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

}  // namespace vra
