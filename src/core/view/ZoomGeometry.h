#pragma once

// Integer geometry of the zoom model: logical units of the document and
// device pixels of the window share these plain types.

namespace vra {

struct ZoomSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const ZoomSize&, const ZoomSize&) = default;
};

struct ZoomPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ZoomPoint&, const ZoomPoint&) = default;
};

struct ZoomRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const ZoomRect&, const ZoomRect&) = default;
};

// The zoom tool of a map window: off, zoom in on a click or a dragged box,
// zoom out on a click.
enum class ZoomMode { Off, In, Out };

// Where a document lands on a printed page: the extent it is stretched to and
// the origin of its top-left corner, both in page pixels.
struct PageFit {
    ZoomSize extent;
    ZoomPoint origin;
    friend bool operator==(const PageFit&, const PageFit&) = default;
};

}  // namespace vra
