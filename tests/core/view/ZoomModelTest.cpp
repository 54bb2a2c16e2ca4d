#include "core/view/ZoomModel.h"

#include <gtest/gtest.h>

#include <cstdlib>

using vra::PanDirection;
using vra::ZoomCursor;
using vra::ZoomMode;
using vra::ZoomModel;
using vra::ZoomPoint;
using vra::ZoomRect;
using vra::ZoomResult;
using vra::ZoomSize;

namespace {

constexpr int kCanvas = 10000;

// A square map canvas in a 500 x 400 window, fitted as the map view starts.
ZoomModel FittedCanvas(ZoomMode mode = ZoomMode::Off) {
    ZoomModel m;
    m.SetZoomSizes({kCanvas, kCanvas});
    m.SetClientSize({500, 400});
    EXPECT_EQ(m.ZoomFull({500, 400}), ZoomResult::Changed);
    m.SetZoomMode(mode);
    return m;
}

// The canvas at scale 1 in the same window, scrolled to position.
ZoomModel ScrolledCanvas(ZoomPoint position) {
    ZoomModel m;
    m.SetZoomSizes({kCanvas, kCanvas});
    m.SetClientSize({500, 400});
    m.ScrollTo(position);
    return m;
}

ZoomResult Drag(ZoomModel& m, ZoomPoint from, ZoomPoint to) {
    m.LeftButtonDown(from);
    m.MouseMove(to);
    return m.LeftButtonUp(to);
}

ZoomResult Click(ZoomModel& m, ZoomPoint at) {
    m.LeftButtonDown(at);
    return m.LeftButtonUp(at);
}

::testing::AssertionResult Near(ZoomPoint actual, ZoomPoint expected, int tolerance) {
    if (std::abs(actual.x - expected.x) <= tolerance && std::abs(actual.y - expected.y) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ") is not within " << tolerance
                                         << " of (" << expected.x << ", " << expected.y << ")";
}

}  // namespace

TEST(ZoomModelSizes, StepsDefaultToTenthsAndAnEmptyDocumentStaysUsable) {
    ZoomModel m;
    m.SetZoomSizes({kCanvas, 8000}, {0, -200}, {0, 5});
    EXPECT_EQ(m.PageSize(), (ZoomSize{1000, 200})) << "given steps are taken as positive";
    EXPECT_EQ(m.LineSize(), (ZoomSize{100, 5}));
    m.SetClientSize({500, 400});
    ASSERT_EQ(m.ZoomByFactor(2.0f), ZoomResult::Changed);
    EXPECT_EQ(m.PageSize(), (ZoomSize{2000, 200})) << "defaulted steps scale with the document";

    m.SetZoomSizes({0, -5});
    EXPECT_EQ(m.LogicalSize(), (ZoomSize{1, 1}));
    EXPECT_EQ(m.LogicalToClient(m.ClientToLogical({50, 50})).x, 50);
}

TEST(ZoomModelFit, FitsTheWholeDocumentCentredAndComesBackToIt) {
    ZoomModel m = FittedCanvas(ZoomMode::In);
    EXPECT_EQ(m.DeviceSize(), (ZoomSize{400, 400}));
    EXPECT_FLOAT_EQ(m.Scale(), 0.04f);
    EXPECT_FALSE(m.HasHorizontalBar() || m.HasVerticalBar());
    EXPECT_EQ(m.Origin(), (ZoomPoint{50, 0})) << "the narrower document stands in the middle";
    EXPECT_EQ(m.ClientToLogical({50, 0}), (ZoomPoint{0, 0}));
    EXPECT_EQ(m.LogicalToClient(ZoomPoint{kCanvas, kCanvas}), (ZoomPoint{450, 400}));
    EXPECT_EQ(m.GetLogicalCenterPoint(), (ZoomPoint{5000, 5000}));

    for (int i = 0; i < 5; ++i) Click(m, {300, 100});
    ASSERT_TRUE(m.HasVerticalBar());
    ASSERT_EQ(m.ZoomFull({500, 400}), ZoomResult::Changed);
    EXPECT_EQ(m.DeviceSize(), (ZoomSize{400, 400}));
    EXPECT_EQ(m.ScrollPosition(), (ZoomPoint{0, 0}));
    EXPECT_EQ(m.ZoomFull({0, 400}), ZoomResult::Unchanged) << "a window without area fits nothing";
}

TEST(ZoomModelZoomIn, AClickOrATinyBandZoomsInByAQuarterAroundThePoint) {
    ZoomModel m = FittedCanvas(ZoomMode::In);
    // Client (250, 200) lies on logical (5000, 5000) in the fitted window.
    Click(m, {250, 200});
    EXPECT_FLOAT_EQ(m.Scale(), 0.05f);
    // The float scale is 0.049999997 (0.04f x 1.25f): 10000 x it, truncated.
    EXPECT_EQ(m.DeviceSize(), (ZoomSize{499, 499}));
    EXPECT_TRUE(Near(m.ClientToLogical({250, 200}), {5000, 5000}, 20));

    // A click off centre brings that point to the middle of the window.
    Click(m, {250, 150});
    EXPECT_FLOAT_EQ(m.Scale(), 0.0625f);
    EXPECT_TRUE(Near(m.ClientToLogical({250, 200}), {5000, 4000}, 20));

    ZoomModel band = FittedCanvas(ZoomMode::In);
    Drag(band, {250, 200}, {258, 205});
    EXPECT_FLOAT_EQ(band.Scale(), 0.05f) << "a band under ten pixels is a click";

    ZoomModel none = FittedCanvas();
    EXPECT_FALSE(none.LeftButtonDown({10, 10}));
    EXPECT_FALSE(none.Capturing());
    EXPECT_EQ(none.LeftButtonUp({10, 10}), ZoomResult::Unchanged) << "without a tool a click does nothing";
}

TEST(ZoomModelZoomIn, ADraggedBandFillsTheWindowOnItsTighterAxis) {
    ZoomModel m = FittedCanvas(ZoomMode::In);
    // (150, 100) .. (250, 200) on screen is logical (2500, 2500) .. (5000, 5000).
    m.LeftButtonDown({150, 100});
    EXPECT_EQ(m.Cursor(), ZoomCursor::Cross);
    EXPECT_TRUE(m.MouseMove({250, 200}));
    EXPECT_TRUE(m.RubberBandVisible());
    EXPECT_EQ(m.RubberBand(), (ZoomRect{2500, 2500, 5000, 5000}));
    EXPECT_EQ(m.LeftButtonUp({250, 200}), ZoomResult::Changed);
    EXPECT_FALSE(m.RubberBandVisible());
    EXPECT_EQ(m.Cursor(), ZoomCursor::Magnifier);

    // 2500 logical units fill the 400 pixel height (plus one, as the window
    // edge is counted inclusively).
    EXPECT_NEAR(m.Scale(), 401.0 / 2500.0, 1e-6);
    EXPECT_TRUE(Near(m.GetLogicalCenterPoint(), {3750, 3750}, 5));
    EXPECT_TRUE(Near(m.ClientToLogical({250, 0}), {3750, 2500}, 10));
    EXPECT_TRUE(Near(m.ClientToLogical({250, 399}), {3750, 5000}, 10));

    // Dragged upwards it zooms the same; a flat band leaves it to the other axis.
    ZoomModel up = FittedCanvas(ZoomMode::In);
    EXPECT_EQ(Drag(up, {250, 200}, {150, 100}), ZoomResult::Changed);
    EXPECT_FLOAT_EQ(up.Scale(), m.Scale());
    EXPECT_EQ(up.ScrollPosition(), m.ScrollPosition());
    ZoomModel flat = FittedCanvas(ZoomMode::In);
    EXPECT_EQ(Drag(flat, {150, 100}, {150, 200}), ZoomResult::Changed);
    EXPECT_NEAR(flat.Scale(), 401.0 / 2500.0, 1e-6);
}

TEST(ZoomModelZoomOut, EachClickDividesTheScaleUntilTheDocumentWouldVanish) {
    ZoomModel m = FittedCanvas(ZoomMode::Out);
    EXPECT_FALSE(m.LeftButtonDown({250, 200})) << "zooming out needs no drag";
    EXPECT_EQ(m.LeftButtonUp({250, 200}), ZoomResult::Changed);
    EXPECT_FLOAT_EQ(m.Scale(), 0.032f);
    Click(m, {250, 200});
    EXPECT_FLOAT_EQ(m.Scale(), 0.0256f);
    // 0.04f / 1.25f / 1.25f is 0.0255999975 in float: 255.99997 pixels, truncated.
    EXPECT_EQ(m.DeviceSize(), (ZoomSize{255, 255}));
    EXPECT_EQ(m.Origin(), (ZoomPoint{122, 72}));

    int changed = 0;
    while (m.ZoomOutByFactor(ZoomModel::kClickFactor) == ZoomResult::Changed && changed < 1000) ++changed;
    EXPECT_LT(changed, 1000);
    EXPECT_GE(m.DeviceSize().cx, 1);
    EXPECT_GE(m.DeviceSize().cy, 1);
    const float smallest = m.Scale();
    EXPECT_EQ(m.ZoomOutByFactor(ZoomModel::kClickFactor), ZoomResult::Unchanged);
    EXPECT_FLOAT_EQ(m.Scale(), smallest);
}

TEST(ZoomModelLimit, ZoomingBeyondTheCapIsRefusedAndKeepsTheZoom) {
    ZoomModel m = FittedCanvas(ZoomMode::In);
    ZoomResult last = ZoomResult::Changed;
    for (int clicks = 0; last == ZoomResult::Changed && clicks < 200; ++clicks) last = Click(m, {250, 200});
    ASSERT_EQ(last, ZoomResult::TooLarge);
    EXPECT_LE(m.DeviceSize().cx, ZoomModel::kMaxDeviceExtent);
    EXPECT_GT(m.DeviceSize().cx, ZoomModel::kMaxDeviceExtent / 2) << "the cap is not reached early";

    const float scale = m.Scale();
    const ZoomSize device = m.DeviceSize();
    const ZoomPoint scroll = m.ScrollPosition();
    EXPECT_EQ(m.ZoomByFactor({100, 100}, 10.0f), ZoomResult::TooLarge);
    EXPECT_EQ(m.ZoomByFactor(ZoomModel::kClickFactor), ZoomResult::TooLarge);
    EXPECT_FLOAT_EQ(m.Scale(), scale);
    EXPECT_EQ(m.DeviceSize(), device);
    EXPECT_EQ(m.ScrollPosition(), scroll);

    EXPECT_EQ(m.ZoomOutByFactor(ZoomModel::kClickFactor), ZoomResult::Changed) << "zooming out still works";
}

TEST(ZoomModelLimit, ATinyBandCannotJumpPastTheCap) {
    ZoomModel m = FittedCanvas();
    ASSERT_EQ(m.ZoomByFactor({5000, 5000}, 100.0f), ZoomResult::Changed);  // 4 px per unit
    // 3 units are 12 pixels: a real band, asking for about 167 px per unit.
    EXPECT_EQ(m.DoZoomIn({5000, 5000, 5003, 5003}), ZoomResult::Changed);
    EXPECT_EQ(m.DoZoomIn({5000, 5000, 5001, 5001}), ZoomResult::Changed) << "under 10 px: a click";
    const ZoomSize before = m.DeviceSize();
    m.SetClientSize({4000, 4000});
    EXPECT_EQ(m.DoZoomIn({5000, 5000, 5002, 5002}), ZoomResult::TooLarge);
    EXPECT_EQ(m.DeviceSize(), before);
}

TEST(ZoomModelCentre, CentringAndResizingKeepTheScrollInRange) {
    ZoomModel m = ScrolledCanvas({0, 0});
    m.CenterOnLogicalPoint({5000, 5000});
    EXPECT_EQ(m.ScrollPosition(), (ZoomPoint{4750, 4800}));
    m.CenterOnLogicalPoint({100, 9990});
    EXPECT_EQ(m.ScrollPosition(), (ZoomPoint{0, kCanvas - 400}));
    m.SetClientSize({kCanvas - 100, kCanvas - 200});
    EXPECT_EQ(m.ScrollPosition(), (ZoomPoint{0, 200}));
    m.SetClientSize({kCanvas + 200, kCanvas - 200});
    EXPECT_EQ(m.Origin(), (ZoomPoint{100, -200}));

    // A canvas shown at 0.4 pixels per unit in the middle of a larger window:
    // a pixel either side of its corner is 2.5 units away, which rounds away
    // from the corner on both sides, as the map's own conversions do.
    ZoomModel centred;
    centred.SetZoomSizes({kCanvas, kCanvas});
    centred.SetClientSize({5000, 5000});
    ASSERT_EQ(centred.ZoomFull({4000, 4000}), ZoomResult::Changed);
    ASSERT_EQ(centred.Origin(), (ZoomPoint{500, 500}));
    EXPECT_EQ(centred.ClientToLogical({501, 501}), (ZoomPoint{3, 3}));
    EXPECT_EQ(centred.ClientToLogical({499, 499}), (ZoomPoint{-3, -3}));
}

TEST(ZoomModelPan, DraggingMovesTheMapWithTheMouseUpToTheEdges) {
    ZoomModel m = ScrolledCanvas({1000, 1000});
    m.SetSecondaryMode(true);
    EXPECT_EQ(m.Cursor(), ZoomCursor::OpenHand);
    const ZoomPoint grabbed = m.ClientToLogical({100, 100});
    m.LeftButtonDown({100, 100});
    EXPECT_EQ(m.Cursor(), ZoomCursor::ClosedHand);
    EXPECT_TRUE(m.MouseMove({160, 130}));
    EXPECT_EQ(m.ScrollPosition(), (ZoomPoint{940, 970}));
    EXPECT_TRUE(m.MouseMove({60, 70}));
    EXPECT_EQ(m.ScrollPosition(), (ZoomPoint{1040, 1030}));
    EXPECT_EQ(m.ClientToLogical({60, 70}), grabbed) << "the grabbed point stays under the mouse";
    EXPECT_EQ(m.LeftButtonUp({60, 70}), ZoomResult::Unchanged);
    EXPECT_EQ(m.Cursor(), ZoomCursor::OpenHand);
    EXPECT_FALSE(m.MouseMove({0, 0})) << "no drag after release";

    ZoomModel edge = ScrolledCanvas({10, 10});
    edge.SetSecondaryMode(true);
    edge.LeftButtonDown({100, 100});
    EXPECT_TRUE(edge.MouseMove({300, 300}));
    EXPECT_EQ(edge.ScrollPosition(), (ZoomPoint{0, 0}));
    EXPECT_FALSE(edge.MouseMove({400, 400})) << "already at the edge";
}

TEST(ZoomModelPan, WithOnlyOneScrollBarNothingPans) {
    ZoomModel m;
    m.SetZoomSizes({kCanvas, 300});
    m.SetClientSize({500, 400});
    ASSERT_TRUE(m.HasHorizontalBar());
    ASSERT_FALSE(m.HasVerticalBar());
    EXPECT_FALSE(m.PanStep(PanDirection::Right, 50));
    m.SetSecondaryMode(true);
    m.LeftButtonDown({100, 100});
    EXPECT_FALSE(m.MouseMove({50, 100}));
    EXPECT_EQ(m.ScrollPosition(), (ZoomPoint{0, 0}));
}

TEST(ZoomModelPrint, FitsThePageKeepingTheAspect) {
    using vra::PageFit;
    // A square document on a portrait page: centred vertically.
    EXPECT_EQ(ZoomModel::FitToPage({kCanvas, kCanvas}, {4800, 6600}), (PageFit{{4800, 4800}, {0, 900}}));
    // On a landscape page it stands at the right edge.
    EXPECT_EQ(ZoomModel::FitToPage({kCanvas, kCanvas}, {6600, 4800}), (PageFit{{4800, 4800}, {1800, 0}}));
    // Same aspect: the whole page.
    EXPECT_EQ(ZoomModel::FitToPage({2000, 1000}, {600, 300}), (PageFit{{600, 300}, {0, 0}}));
    EXPECT_EQ(ZoomModel::FitToPage({kCanvas, kCanvas}, {0, 300}), (PageFit{{0, 300}, {0, 0}}));
}
