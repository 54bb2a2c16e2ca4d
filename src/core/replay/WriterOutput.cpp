#include "core/replay/WriterOutput.h"

#include "core/base/FileUtil.h"

namespace vra {

bool WriteThroughFile(const std::filesystem::path& path, const std::function<bool(OutputSink&)>& produce) {
    MemorySink memory;
    if (!produce(memory)) return false;
    return WriteFileAtomic(path, memory.bytes());
}

}  // namespace vra
