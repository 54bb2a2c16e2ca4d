#include "core/base/KeptFile.h"

#include <algorithm>
#include <mutex>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace vra {

namespace {

using Identity = std::pair<unsigned long long, unsigned long long>;

struct Registry {
    std::mutex mutex;
    std::vector<Identity> kept;
};

Registry& Kept() {
    static Registry registry;
    return registry;
}

class KeptFileCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "kept file"; }
    std::string message(int) const override { return std::string(kOutputIsReplayText); }
};

const std::error_category& Category() {
    static const KeptFileCategory category;
    return category;
}

}  // namespace

KeptFile::KeptFile(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
    device_ = st.st_dev;
    inode_ = st.st_ino;
    kept_ = true;
    Registry& registry = Kept();
    const std::lock_guard lock(registry.mutex);
    registry.kept.emplace_back(device_, inode_);
}

KeptFile::~KeptFile() {
    if (!kept_) return;
    Registry& registry = Kept();
    const std::lock_guard lock(registry.mutex);
    const auto it = std::find(registry.kept.begin(), registry.kept.end(), Identity(device_, inode_));
    if (it != registry.kept.end()) registry.kept.erase(it);
}

bool KeptFile::IsKept(const struct stat& st) {
    if (!S_ISREG(st.st_mode)) return false;
    Registry& registry = Kept();
    const std::lock_guard lock(registry.mutex);
    return std::find(registry.kept.begin(), registry.kept.end(), Identity(st.st_dev, st.st_ino)) != registry.kept.end();
}

std::error_code KeptFileError() {
    return {1, Category()};
}

bool IsKeptFileError(std::error_code error) {
    return error.category() == Category();
}

}  // namespace vra
