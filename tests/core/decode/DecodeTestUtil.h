#pragma once
// Decoding helpers for the track-decoder tests: build an image from a
// description, read its root with a fresh factory, and catch the message.

#include "decode/KtException.h"
#include "decode/KtObjectFactory.h"
#include "decode/PtfCursor.h"
#include "track/PtfBuilder.h"

#include <fmt/format.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vra::test {

using Image = std::vector<std::uint8_t>;

// The root object of an image read by a typed reader; consumed tells how
// many bytes the read took.
template <typename T>
struct Root {
    CountedPtr<T> object;
    bool found = false;
    std::size_t consumed = 0;
};

template <typename T>
Root<T> ReadRoot(const Image& image, bool (KtObjectFactory::*read)(PtfCursor&, CountedPtr<T>&)) {
    KtObjectFactory factory;
    PtfCursor pos(image, factory);
    Root<T> root;
    root.found = (factory.*read)(pos, root.object);
    root.consumed = pos.Offset();
    return root;
}

// The text of the KtException that f throws, or "" when it throws none.
inline std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const KtException& e) {
        return e.what();
    }
    return "";
}

// Offset of the first header value of a root object whose class name has
// the given length: id, class id, name length, name.
inline std::size_t RootHeaderOffset(std::size_t classNameLength) { return 12 + classNameLength; }

// The text ThrowKtException builds around a detail.
inline std::string Frame(const char* source, int line, const std::string& detail) {
    return fmt::format("Error reported in {} near line {}\nError message:\n{}", source, line, detail);
}

}  // namespace vra::test

// Every decoder test reads built streams the same way.
using namespace vra;
using namespace vra::simkit;
using vra::test::ErrorOf;
using vra::test::Frame;
using vra::test::Image;
using vra::test::ReadRoot;
