#pragma once
// Where the replay writers and the text export put their bytes: an
// OutputSink. Commands write into a file that replaces its destination only
// when everything was written; tests and fuzz targets write into memory.

#include "core/base/AtomicFile.h"
#include "core/base/OutputSink.h"

#include <filesystem>
#include <functional>

namespace vra {

// Runs produce on a sink whose bytes replace the file at path only when
// produce returns true and every byte reached the disk; otherwise the file at
// path stays as it was and no temporary file is left. Returns whether the
// file was written.
inline bool WriteThroughFile(const std::filesystem::path& path, const std::function<bool(OutputSink&)>& produce) {
    return WriteFileAtomic(path, produce);
}

}  // namespace vra
