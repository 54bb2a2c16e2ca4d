#include "gui/export/SitePicture.h"

#include "core/decode/KtObjectFactory.h"
#include "core/decode/KtTrackFile.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/track/TrackPath.h"
#include "gui/map/TrackmapBitmap.h"

#include <new>
#include <utility>

namespace vra {

RgbImage ToRgbImage(const QImage& image) {
    RgbImage out;
    if (image.isNull()) return out;
    const bool direct = image.format() == QImage::Format_RGB32;
    const QImage rgb = direct ? image : image.convertToFormat(QImage::Format_RGB888);
    out.width = rgb.width();
    out.height = rgb.height();
    const std::size_t row = static_cast<std::size_t>(out.width) * 3;
    out.pixels.resize(row * static_cast<std::size_t>(out.height));
    for (int y = 0; y < out.height; ++y) {
        std::uint8_t* to = out.pixels.data() + row * static_cast<std::size_t>(y);
        if (!direct) {
            std::copy_n(rgb.constScanLine(y), row, to);
            continue;
        }
        const auto* from = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < out.width; ++x, to += 3) {
            to[0] = std::uint8_t(qRed(from[x]));
            to[1] = std::uint8_t(qGreen(from[x]));
            to[2] = std::uint8_t(qBlue(from[x]));
        }
    }
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
        KtTrackFile file(KtTrackFile::TracksFolder(simFolder), trackName);
        file.Parse();
        picture->path_ = std::make_unique<TrackPath>(file.GetTrack(), file.TrackFolder());
    } catch (const std::exception& e) {
        error = e.what();
        KtObjectFactory::Instance().Clear();
        return nullptr;
    }
    return picture;
}

bool DecodedTrackPicture::Make() {
    made_ = draw();
    return made_.has_value();
}

std::optional<RgbImage> DecodedTrackPicture::TrackPicture() {
    if (made_) return std::exchange(made_, std::nullopt);
    return draw();
}

std::optional<RgbImage> DecodedTrackPicture::draw() const {
    const int n = size_;
    // Drawn, the picture is kept at 3 bytes a pixel for the page.
    if (!path_ || !TrackmapBitmap::FitsMemory(n, std::uint64_t(n) * std::uint64_t(n) * 3)) return std::nullopt;
    const std::optional<QImage> image = TrackmapBitmap::RenderTrack(*path_, n);
    if (!image) return std::nullopt;
    try {
        RgbImage rgb = ToRgbImage(*image);
        if (!rgb.Valid()) return std::nullopt;
        return rgb;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace vra
