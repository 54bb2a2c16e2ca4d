#pragma once
// The whole track map with chosen driving lines as a square picture, drawn
// with its own image and display so that it never disturbs the window's
// map, and saved as a 4-bit BMP file. It needs no window: the batch modes
// call it as the map command does.

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>

namespace vra {

class CRpyGraphDoc;
class MFCDisplay;
class Prompts;
class TrackPath;

class TrackmapBitmap {
public:
    static constexpr int kMargin = 5;

    // The map in n x n pixels: the surfaces, then the lines of the given
    // slots in their colours, fitted with margins of 5. nullopt without a
    // track, or when a picture that large cannot be had.
    static std::optional<QImage> Render(const CRpyGraphDoc& document, std::span<const int> lineSlots, int n);
    // The track's surfaces in n x n pixels on white, fitted with margins of
    // 5, in exact colours; over then draws through the same display. nullopt
    // when a picture that large cannot be had.
    static std::optional<QImage> RenderTrack(const TrackPath& path, int n,
                                             const std::function<void(MFCDisplay&)>& over = {});
    // Whether an n x n map can be drawn (4 bytes a pixel) while keptBytes
    // more are held for it: together they must leave the machine half its
    // memory. The system promises far more than it has, and drawing into a
    // picture larger than what is free would end the program instead of
    // failing the allocation.
    static bool FitsMemory(int n, std::uint64_t keptBytes);
};

// Draws and writes the map at path. A picture too large for memory or for
// the file's size fields, and a failed write, are told to the user; an
// existing file then stays as it was. True when the file was written.
bool RenderTrackmapToBmp(const CRpyGraphDoc& document, std::span<const int> lineSlots,
                         const std::filesystem::path& path, Prompts& prompts);

}  // namespace vra
