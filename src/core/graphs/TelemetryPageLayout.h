#pragma once
// The printed telemetry page: its eight areas and font sizes from the page
// size, the texts of the lap table, and the rule by which up to three
// secondary graphs are chosen.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vra {

struct PageRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    PageRect Inset(int d) const { return {left + d, top + d, right - d, bottom - d}; }
    friend bool operator==(const PageRect&, const PageRect&) = default;
};

enum PageArea { kTitleArea, kPrimaryArea, kLapTableArea, kMapArea, kSecondary1, kSecondary2, kSecondary3, kFooterArea };

struct TelemetryPageLayout {
    // width x height: the printable page in device pixels.
    TelemetryPageLayout(int width, int height);

    int P(int n) const { return static_cast<int>(static_cast<std::int64_t>(height) * n / 100); }
    bool Framed(int area) const { return area != kTitleArea && area != kFooterArea; }
    // The area shrunk by its inset: where its content goes.
    PageRect Content(int area) const {
        return areas[static_cast<std::size_t>(area)].Inset(insets[static_cast<std::size_t>(area)]);
    }

    int width, height;
    int y45, y57, y77, ymap, y97;
    std::array<PageRect, 8> areas;
    std::array<int, 8> insets;
    // Tenths of a point.
    int titleFont, footerFont, headingFont, rowFont, graphTitleFont;
};

// "1m23.456s( 86.273)": the lap time and the average speed over the track
// length, in km/h or (speedUnit 1) mph.
std::string LapTableTimeText(std::uint32_t lapWord, double trackLength, int speedUnit);

// The secondary graphs of the selection dialog's ticked boxes (print
// indexes in box order): the first three, and whether there were more.
struct SecondarySelection {
    std::array<int, 3> selections{-1, -1, -1};
    int count = 0;
    bool TooMany() const { return count > 3; }
};
SecondarySelection SelectSecondaryGraphs(const std::vector<int>& tickedPrintIndexes);

}  // namespace vra
