#include "simkit/track/TrackFolderWriter.h"

#include "core/base/FileUtil.h"

#include "simkit/track/DatContainerWriter.h"
#include "simkit/track/ImplodeWriter.h"
#include "simkit/track/RaceLineWriter.h"
#include "simkit/track/TrackLayout.h"

#include <fmt/format.h>

#include <system_error>

namespace vra::simkit {

std::string TrackIniText(const std::string& displayName, double lengthMetres) {
    return fmt::format("[TRACK]\r\ntrack_name = {}\r\ntrack_type = road\r\ntrack_length = {:.6f} km\r\n", displayName,
                       lengthMetres / 1000.0);
}

std::filesystem::path WriteTrackFolder(const std::filesystem::path& tracksDir, const std::string& folderName,
                                       const TrackLayout& layout, const TrackFolderOptions& options) {
    const std::filesystem::path folder = tracksDir / folderName;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return {};
    const std::vector<std::uint8_t> stream = layout.PtfImage();
    bool ok = true;
    if (options.loosePtf) {
        ok = WriteLoosePtf(folder / (folderName + ".ptf"), stream);
    } else {
        // Other entries come first, as in the simulation's own containers.
        const std::string notes = "surface textures of " + folderName;
        DatContainerWriter dat;
        dat.stored("readme.txt", std::vector<std::uint8_t>(notes.begin(), notes.end()));
        std::vector<std::uint8_t> imploded = ImplodeWriter::WithCopies(stream);
        // Equal sizes would mark the entry as stored; literals are always longer.
        if (imploded.size() == stream.size()) imploded = ImplodeWriter::Literals(stream);
        dat.raw(folderName + ".ptf", std::move(imploded), static_cast<std::uint32_t>(stream.size()));
        ok = dat.write(folder / (folderName + ".dat"));
    }
    if (ok && options.raceLine) ok = RaceLineWriter::ForLayout(layout).write(folder / "raceline.lp");
    if (ok && options.trackIni)
        ok = WriteFileAtomic(folder / "track.ini", TrackIniText(folderName, layout.TotalLength()));
    return ok ? folder : std::filesystem::path{};
}

}  // namespace vra::simkit
