#include "core/platform/Volumes.h"

#include "core/base/FileUtil.h"

#include <array>

namespace vra {

namespace {

// Names a file system goes by on the systems that write databases.
constexpr std::array<std::array<std::string_view, 4>, 5> kFamilies{{
    {"cdfs", "iso9660", "", ""},
    {"udf", "", "", ""},
    {"fat", "fat32", "vfat", "msdos"},
    {"ntfs", "ntfs3", "fuseblk", ""},
    {"exfat", "", "", ""},
}};

int FamilyOf(std::string_view fs) {
    for (std::size_t f = 0; f < kFamilies.size(); ++f)
        for (std::string_view n : kFamilies[f])
            if (!n.empty() && EqualsIgnoreCase(n, fs)) return static_cast<int>(f);
    return -1;
}

}  // namespace

std::string VolumeEntryText(const Volume& volume) {
    if (!volume.ready) return volume.device + " [No Disk in Drive]";
    return volume.root.string() + " " + VolumeLabel(volume);
}

std::string VolumeLabel(const Volume& volume) {
    return volume.name + " [" + volume.fileSystem + "]";
}

bool SameFileSystemFamily(std::string_view a, std::string_view b) {
    if (EqualsIgnoreCase(a, b)) return true;
    const int fa = FamilyOf(a);
    return fa >= 0 && fa == FamilyOf(b);
}

bool VolumeMatchesLabel(const Volume& volume, std::string_view label) {
    if (!volume.ready) return false;
    // The file-system name is the last bracketed part; the volume name may
    // hold brackets and blanks of its own.
    if (label.size() < 3 || label.back() != ']') return false;
    const std::size_t open = label.rfind(" [");
    if (open == std::string_view::npos) return false;
    const std::string_view name = label.substr(0, open);
    const std::string_view fs = label.substr(open + 2, label.size() - open - 3);
    return name == volume.name && SameFileSystemFamily(fs, volume.fileSystem);
}

}  // namespace vra
