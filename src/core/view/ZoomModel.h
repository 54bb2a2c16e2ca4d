#pragma once

#include "core/view/ZoomGeometry.h"

#include <string_view>

namespace vra {

// What a zoom or pan request did. TooLarge means the request would have made
// the zoomed document larger than the program can address; nothing changed and
// the caller shows ZoomModel::kZoomLimitMessage.
enum class ZoomResult { Changed, Unchanged, TooLarge };

// The cursor the window should show for the current tool and drag.
enum class ZoomCursor { Arrow, Magnifier, Cross, OpenHand, ClosedHand };

// Directions of a pan step.
enum class PanDirection { Up = 1, Left = 2, Down = 3, Right = 4 };

// The zoom and scroll state of a scrolling map window, without any window:
// a fixed logical document size is shown at a device size that the zoom scale
// sets, scrolled by a device position inside a client area of a given size.
// The window feeds in its client size and mouse events and mirrors the scroll
// position and ranges into its scroll bars.
class ZoomModel {
public:
    static constexpr std::string_view kZoomLimitMessage = "Not enough memory to zoom more!\r\nPlease zoom out.";
    // No axis of the zoomed document may grow beyond this many pixels: scroll
    // bars and painters work in int, and the conversions multiply by it.
    static constexpr int kMaxDeviceExtent = 1 << 24;
    static constexpr float kClickFactor = 1.25f;

    ZoomModel() = default;

    // Sets the document size and the page and line steps (logical units; 0
    // means a tenth of the next larger size) and returns to scale 1.
    void SetZoomSizes(ZoomSize total, ZoomSize page = {}, ZoomSize line = {});
    // Recomputes the page and line steps from the remembered sizes.
    void UpdateViewport();

    // Client area of the window (scroll bars excluded); clamps the scroll.
    void SetClientSize(ZoomSize client);
    ZoomSize ClientSize() const { return client_; }

    ZoomSize LogicalSize() const { return logical_; }
    ZoomSize DeviceSize() const { return device_; }
    ZoomSize PageSize() const { return page_; }
    ZoomSize LineSize() const { return line_; }
    float Scale() const { return scale_; }

    // Scroll position in device pixels and its upper limits per axis.
    ZoomPoint ScrollPosition() const { return scroll_; }
    ZoomSize ScrollLimit() const;
    bool HasHorizontalBar() const { return ScrollLimit().cx > 0; }
    bool HasVerticalBar() const { return ScrollLimit().cy > 0; }
    void ScrollTo(ZoomPoint position);

    // Client position of the document's top-left corner: minus the scroll
    // position, or the centring offset when the document is smaller.
    ZoomPoint Origin() const;

    ZoomPoint ClientToLogical(ZoomPoint client) const;
    ZoomPoint LogicalToClient(ZoomPoint logical) const;
    ZoomRect LogicalToClient(const ZoomRect& logical) const;
    ZoomPoint GetLogicalCenterPoint() const;
    static ZoomRect NormalizeRect(ZoomRect r);

    // Fills the client area with the logical rectangle (a small one zooms in
    // by the click factor around its centre).
    ZoomResult DoZoomIn(ZoomRect logical);
    // Multiplies the scale by the factor and centres on the point (or keeps
    // the current centre).
    ZoomResult ZoomByFactor(float factor);
    ZoomResult ZoomByFactor(ZoomPoint logicalCenter, float factor);
    ZoomResult ZoomOutByFactor(float factor);
    ZoomResult ZoomOutByFactor(ZoomPoint logicalCenter, float factor);
    // Fits the whole document, aspect kept, into a client area of this size.
    ZoomResult ZoomFull(ZoomSize clientWithoutBars);
    void CenterOnLogicalPoint(ZoomPoint logical);

    // Moves the scroll position by amount pixels; false when nothing moved.
    bool PanStep(PanDirection direction, int amount);

    // Fits a document into a page keeping its aspect.
    static PageFit FitToPage(ZoomSize logical, ZoomSize page);

    // Tools and the mouse.
    void SetZoomMode(ZoomMode mode) { zoomMode_ = mode; }
    // The panning tool, independent of the zoom tool.
    void SetSecondaryMode(bool panning) { panMode_ = panning; }
    ZoomMode GetZoomMode() const { return zoomMode_; }
    bool PanMode() const { return panMode_; }
    bool Capturing() const { return drag_ != Drag::None; }
    // The rubber band in logical units while one is being dragged.
    ZoomRect RubberBand() const { return band_; }
    bool RubberBandVisible() const { return drag_ == Drag::Band; }
    ZoomCursor Cursor() const;

    // Left button events in client coordinates. Press and Move return whether
    // the window must repaint; Release returns what a zoom did.
    bool LeftButtonDown(ZoomPoint client);
    bool MouseMove(ZoomPoint client);
    ZoomResult LeftButtonUp(ZoomPoint client);

private:
    ZoomResult ApplyScale(double scale, const ZoomPoint* center);
    ZoomSize ScaledBase(double scale) const;
    bool Fits(double scale) const;

    ZoomSize logical_{1, 1};
    ZoomSize baseTotal_{1, 1};
    ZoomSize basePage_{};
    ZoomSize baseLine_{};
    ZoomSize device_{1, 1};
    ZoomSize page_{};
    ZoomSize line_{};
    ZoomSize client_{};
    ZoomPoint scroll_{};
    float scale_ = 1.0f;

    ZoomMode zoomMode_ = ZoomMode::Off;
    bool panMode_ = false;
    enum class Drag { None, Band, Pan };
    Drag drag_ = Drag::None;
    ZoomRect band_{};
    ZoomPoint lastPan_{};
};

}  // namespace vra
