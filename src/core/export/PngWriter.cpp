#include "core/export/PngWriter.h"

#include "core/base/OutputSink.h"

#include <csetjmp>
#include <png.h>

namespace vra {

namespace {

struct Target {
    OutputSink* out;
    bool failed = false;
};

void WriteBytes(png_structp png, png_bytep data, png_size_t size) {
    auto* target = static_cast<Target*>(png_get_io_ptr(png));
    if (!target->out->write(std::span<const std::uint8_t>(data, size))) {
        target->failed = true;
        png_error(png, "write failed");
    }
}

void Flush(png_structp) {}

// libpng would print its complaints; a failed write is told by the caller.
// An error handler that returned would get them printed all the same: it
// goes back to the encoder's setjmp itself.
[[noreturn]] void QuietError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void QuietWarning(png_structp, png_const_charp) {}

// Runs the encoder; kept apart from objects with destructors, which a
// longjmp out of libpng must not skip.
bool Encode(png_structp png, png_infop info, const RgbImage& image, Target& target) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &target, WriteBytes, Flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::size_t stride = static_cast<std::size_t>(image.width) * 3;
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, const_cast<png_bytep>(image.pixels.data() + stride * static_cast<std::size_t>(y)));
    png_write_end(png, info);
    return !target.failed;
}

}  // namespace

bool PngWriter::Write(const RgbImage& image, OutputSink& out) {
    if (!image.Valid()) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, QuietWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    Target target{&out};
    const bool ok = Encode(png, info, image, target);
    png_destroy_write_struct(&png, &info);
    return ok;
}

}  // namespace vra
