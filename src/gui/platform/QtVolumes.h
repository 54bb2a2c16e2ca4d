#pragma once
// The machine's removable and optical volumes from the mounted file systems:
// optical drives (/dev/sr*), disks whose block device says it is removable,
// and whatever is mounted under /media, /run/media or /mnt (loop-mounted
// disc images included). Optical drives without a disc are listed too.

#include "core/platform/Volumes.h"

#include <string>

namespace vra {

class QtVolumes : public Volumes {
public:
    std::vector<Volume> List() override;

    // Whether a mounted device at root counts as removable.
    static bool IsRemovable(const std::string& device, const std::string& root);
};

}  // namespace vra
