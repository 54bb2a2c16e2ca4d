#pragma once
// The removable and optical volumes of the machine, where replay discs are
// found. The GUI lists the mounted volumes; tests use a scripted fake.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vra {

struct Volume {
    std::filesystem::path root;  // mount root; empty for a drive without a disc
    std::string device;          // "/dev/sr0"
    std::string name;            // volume name (label), file-system bytes
    std::string fileSystem;      // "iso9660", "udf", "vfat" ...
    bool ready = false;          // a readable medium is mounted
};

class Volumes {
public:
    virtual ~Volumes() = default;
    // Every removable or optical volume, drives without a disc included.
    virtual std::vector<Volume> List() = 0;
};

// The text a volume is listed with: root, volume name and bracketed
// file-system name, or the device and "[No Disk in Drive]".
std::string VolumeEntryText(const Volume& volume);
// The label a database keeps of its disc: volume name + " [" + file system + "]".
std::string VolumeLabel(const Volume& volume);
// Whether two file-system names are of one family, so that a label written
// on another system ("CDFS", "FAT32", "NTFS") still finds its disc here.
bool SameFileSystemFamily(std::string_view a, std::string_view b);
// Whether a ready volume is the disc a database label names: the volume name
// exactly, the file system by family.
bool VolumeMatchesLabel(const Volume& volume, std::string_view label);

}  // namespace vra
