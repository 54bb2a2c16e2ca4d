#include "gui/map/TrackmapBitmap.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/document/LapLinePlotter.h"
#include "core/document/TrackmapExport.h"
#include "core/export/DibSection.h"
#include "core/platform/Prompts.h"
#include "core/replay/GetRpyInfo.h"
#include "core/track/TrackPath.h"
#include "gui/map/MFCDisplay.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <unistd.h>

namespace vra {

namespace {

constexpr std::uint16_t kBitCount = 4;

// The file holds its size and the image's in 32-bit fields; and the picture
// is drawn, then kept at 4 bits a pixel.
bool FitsTheFile(int n) {
    if (n <= 0) return false;
    const std::uint64_t image = BytesPerLine(std::uint64_t(n), kBitCount) * std::uint64_t(n);
    if (image + 54 + 4 * 16 > std::numeric_limits<std::uint32_t>::max()) return false;
    return TrackmapBitmap::FitsMemory(n, image);
}

}  // namespace

bool TrackmapBitmap::FitsMemory(int n, std::uint64_t keptBytes) {
    if (n <= 0) return false;
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return true;
    const std::uint64_t drawn = std::uint64_t(n) * std::uint64_t(n) * 4;
    return drawn + keptBytes <= std::uint64_t(pages) * std::uint64_t(pageSize) / 2;
}

std::optional<QImage> TrackmapBitmap::RenderTrack(const TrackPath& path, int n,
                                                  const std::function<void(MFCDisplay&)>& over) {
    if (n <= 0) return std::nullopt;
    QImage image;
    try {
        image = QImage(n, n, QImage::Format_RGB32);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    if (image.isNull()) return std::nullopt;
    image.fill(Qt::white);

    MFCDisplay display;
    display.SetPalette(CRpyGraphDoc::Palette());
    display.FitToTrackEdges(path.EdgeBounds(), kMargin, kMargin, std::uint32_t(n), std::uint32_t(n));
    QPainter painter(&image);
    // Exact colours only: every pixel must find its own table entry.
    painter.setRenderHint(QPainter::Antialiasing, false);
    display.SetDC(&painter);
    path.DrawSurfaces(display);
    if (over) over(display);
    display.SetDC(nullptr);
    painter.end();
    return image;
}

std::optional<QImage> TrackmapBitmap::Render(const CRpyGraphDoc& document, std::span<const int> lineSlots, int n) {
    const TrackPath* path = document.GetTrackPath();
    if (!path || !document.TrackLoaded()) return std::nullopt;
    return RenderTrack(*path, n, [&](MFCDisplay& display) {
        for (int slot : lineSlots) {
            if (!document.IsSlotUsed(slot)) continue;
            const LapSlot& lap = document.Slot(slot);
            if (!lap.info) continue;
            const std::size_t end = std::size_t(std::max(lap.info->sampleCount, 0));
            display.DrawLapLine(lap.points, 2, end, lap.plotter ? lap.plotter->ColourIndex() : slot);
        }
    });
}

bool RenderTrackmapToBmp(const CRpyGraphDoc& document, std::span<const int> lineSlots,
                         const std::filesystem::path& path, Prompts& prompts) {
    if (!document.TrackLoaded() || !document.GetTrackPath()) {
        prompts.alert(kNoTrackLoadedText);
        return false;
    }
    const int n = document.BMPSizeInPixel();
    std::optional<QImage> image = FitsTheFile(n) ? TrackmapBitmap::Render(document, lineSlots, n) : std::nullopt;
    DibSection dib;
    bool made = false;
    if (image) {
        const std::array<Rgb, 16> table = TrackMapBitmapTable(CRpyGraphDoc::Palette());
        const auto* pixels = reinterpret_cast<const std::uint32_t*>(image->constBits());
        made = MakeIndexedBitmap(dib, n, n, kBitCount, table, {pixels, std::size_t(n) * std::size_t(n)});
    }
    if (!made) {
        prompts.alert(kBitmapMemoryText);
        return false;
    }
    image.reset();
    if (!dib.Save(path)) {
        prompts.alert(kErrorCreatingFileText);
        return false;
    }
    return true;
}

}  // namespace vra
