#pragma once
// Decoding helpers: build an image from a description, read its root with a
// fresh factory, and catch the message.
#include "core/decode/KtException.h"
#include "core/decode/KtObjectFactory.h"
#include "core/decode/PtfCursor.h"

#include "simkit/track/PtfBuilder.h"

#include <fmt/format.h>

#include <functional>
#include <string>

namespace vra::test {

using Image = std::vector<std::uint8_t>;

// The root object of an image read by a typed reader, and how many bytes the read took.
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

// A default description of D with the fields a case needs set by tweak.
template <typename D, typename F>
std::shared_ptr<D> Made(F tweak) {
    auto d = simkit::New<D>();
    tweak(*d);
    return d;
}

// The error of reading the image of a description D as a root.
template <typename D, typename T>
std::string ReadError(const std::shared_ptr<D>& d, bool (KtObjectFactory::*read)(PtfCursor&, CountedPtr<T>&)) {
    return ErrorOf([&] { ReadRoot(simkit::PtfBuilder::Build(simkit::Ref<D>(d)), read); });
}

// The text ThrowKtException builds around a detail.
inline std::string Frame(const char* source, int line, const std::string& detail) {
    return fmt::format("Error reported in {} near line {}\nError message:\n{}", source, line, detail);
}

}  // namespace vra::test

using namespace vra;
using namespace vra::simkit;
using namespace vra::test;
