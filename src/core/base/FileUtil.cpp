#include "core/base/FileUtil.h"

#include <algorithm>
#include <system_error>

namespace vra {

namespace fs = std::filesystem;

BinaryFile::BinaryFile(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return;
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return;
    if (std::fseek(file_, 0, SEEK_END) == 0) {
        const long end = std::ftell(file_);
        if (end >= 0) size_ = static_cast<std::uint64_t>(end);
    }
    std::fseek(file_, 0, SEEK_SET);
}

BinaryFile::~BinaryFile() {
    if (file_) std::fclose(file_);
}

BinaryFile::BinaryFile(BinaryFile&& other) noexcept : file_(other.file_), size_(other.size_) {
    other.file_ = nullptr;
    other.size_ = 0;
}

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept {
    if (this != &other) {
        if (file_) std::fclose(file_);
        file_ = other.file_;
        size_ = other.size_;
        other.file_ = nullptr;
        other.size_ = 0;
    }
    return *this;
}

bool BinaryFile::seek(std::uint64_t offset) {
    if (!file_ || offset > size_) return false;
    return std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0;
}

std::uint64_t BinaryFile::tell() const {
    if (!file_) return 0;
    const long pos = std::ftell(file_);
    return pos < 0 ? 0 : static_cast<std::uint64_t>(pos);
}

bool BinaryFile::read(std::span<std::uint8_t> out) {
    if (!file_) return false;
    if (out.empty()) return true;
    return std::fread(out.data(), 1, out.size(), file_) == out.size();
}

bool BinaryFile::readAt(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (!file_ || offset > size_ || out.size() > size_ - offset) return false;
    return seek(offset) && read(out);
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const fs::path& path, std::uint64_t maxBytes) {
    BinaryFile file(path);
    if (!file.isOpen() || file.size() > maxBytes) return std::nullopt;
    std::vector<std::uint8_t> data(static_cast<std::size_t>(file.size()));
    if (!file.read(data)) return std::nullopt;
    return data;
}

bool IsPlainName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

static char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::string ToUpperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::optional<fs::path> FindCaseInsensitive(const fs::path& dir, std::string_view name) {
    std::error_code ec;
    if (name.empty()) return std::nullopt;
    const fs::path exact = dir / fs::path(std::string(name));
    if (fs::exists(exact, ec)) return exact;
    std::optional<fs::path> found;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (EqualsIgnoreCase(entry, name)) {
            // Several spellings of one name: take the first in name order, so the
            // choice does not depend on the directory's order.
            if (!found || entry < found->filename().string()) found = it->path();
        }
    }
    return found;
}

std::optional<fs::path> ResolveCaseInsensitive(const fs::path& base, std::string_view relative) {
    fs::path current = base;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = relative.find_first_of("/\\", start);
        if (end == std::string_view::npos) end = relative.size();
        const std::string_view part = relative.substr(start, end - start);
        if (!part.empty()) {
            auto next = FindCaseInsensitive(current, part);
            if (!next) return std::nullopt;
            current = *next;
        }
        start = end + 1;
    }
    return current;
}

}  // namespace vra
