#include "gui/export/SitePicture.h"

#include "core/base/FileUtil.h"
#include "core/decode/KtObjectFactory.h"
#include "core/decode/KtTrackFile.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/track/TrackPath.h"
#include "gui/map/TrackmapBitmap.h"

#include <unistd.h>

namespace vra {

namespace {

// The simulation's tracks folder, found ignoring case.
std::filesystem::path TracksFolder(const std::string& simFolder) {
    const std::filesystem::path base(simFolder);
    if (auto found = ResolveCaseInsensitive(base, "tracks")) return *found;
    return base / "tracks";
}

}  // namespace

RgbImage ToRgbImage(const QImage& image) {
    RgbImage out;
    if (image.isNull()) return out;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    out.width = rgb.width();
    out.height = rgb.height();
    const std::size_t row = static_cast<std::size_t>(out.width) * 3;
    out.pixels.resize(row * static_cast<std::size_t>(out.height));
    for (int y = 0; y < out.height; ++y)
        std::copy_n(rgb.constScanLine(y), row, out.pixels.data() + row * static_cast<std::size_t>(y));
    return out;
}

std::optional<RgbImage> ViewTrackPicture::TrackPicture() {
    const std::optional<QImage> image = TrackmapBitmap::Render(doc_, slots_, doc_.BMPSizeInPixel());
    if (!image) return std::nullopt;
    return ToRgbImage(*image);
}

DecodedTrackPicture::~DecodedTrackPicture() = default;

std::unique_ptr<DecodedTrackPicture> DecodedTrackPicture::Decode(const std::string& simFolder,
                                                                 const std::string& trackName, int size,
                                                                 std::string& error) {
    std::unique_ptr<DecodedTrackPicture> picture(new DecodedTrackPicture);
    picture->size_ = size;
    KtObjectFactory::Instance().Clear();
    try {
        KtTrackFile file(TracksFolder(simFolder), trackName);
        file.Parse();
        picture->path_ = std::make_unique<TrackPath>(file.GetTrack(), file.TrackFolder());
    } catch (const std::exception& e) {
        error = e.what();
        KtObjectFactory::Instance().Clear();
        return nullptr;
    }
    return picture;
}

std::optional<RgbImage> DecodedTrackPicture::TrackPicture() {
    const int n = size_;
    if (!path_ || n <= 0) return std::nullopt;
    // The picture (4 bytes a pixel while drawn, 3 when kept) must leave the
    // machine half its memory: the system promises more than it has.
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0 &&
        std::uint64_t(n) * std::uint64_t(n) * 7 > std::uint64_t(pages) * std::uint64_t(pageSize) / 2)
        return std::nullopt;
    const std::optional<QImage> image = TrackmapBitmap::RenderTrack(*path_, n);
    if (!image) return std::nullopt;
    return ToRgbImage(*image);
}

}  // namespace vra
