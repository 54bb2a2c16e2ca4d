#include "core/chart/ColourGrid.h"

#include <gtest/gtest.h>

namespace vra {
namespace {

TEST(ColourGrid, CellsAndPointsAreExactInverses) {
    const ColourGrid g(2, true, true, {60, 13});
    EXPECT_EQ(g.box(), 18);
    for (int i = 0; i < ColourGrid::kColours; ++i) {
        const Rect r = g.CellRect(i);
        EXPECT_EQ(g.CellAt({r.left, r.top}), i);
        EXPECT_EQ(g.CellAt({r.right - 1, r.bottom - 1}), i);
    }
    EXPECT_EQ(g.CellAt({g.automaticBox().left + 1, g.automaticBox().top + 1}), ColourGrid::kAutomatic);
    EXPECT_EQ(g.CellAt({g.customBox().left + 1, g.customBox().bottom - 1}), ColourGrid::kCustom);
    // Left of the grid lies no cell.
    EXPECT_EQ(g.CellAt({0, g.CellRect(0).top + 1}), ColourGrid::kNone);
    EXPECT_EQ(g.CellAt({-5, -5}), ColourGrid::kNone);
}

TEST(ColourGrid, KeysWalkTheGridAndTheBoxes) {
    const ColourGrid both(2, true, true, {60, 13});
    using K = ColourGrid::Key;
    EXPECT_EQ(both.Move(39, K::Right), ColourGrid::kCustom);
    EXPECT_EQ(both.Move(35, K::Down), ColourGrid::kCustom);
    EXPECT_EQ(both.Move(ColourGrid::kCustom, K::Down), ColourGrid::kAutomatic);
    EXPECT_EQ(both.Move(ColourGrid::kAutomatic, K::Down), 0);
    EXPECT_EQ(both.Move(3, K::Up), ColourGrid::kAutomatic);
    EXPECT_EQ(both.Move(ColourGrid::kCustom, K::Up), 39);
    EXPECT_EQ(both.Move(0, K::Left), ColourGrid::kAutomatic);
    EXPECT_EQ(both.Move(8, K::Left), 7);
    EXPECT_EQ(both.Move(7, K::Right), 8);
    const ColourGrid none(2, false, false, {});
    EXPECT_EQ(none.Move(39, K::Right), 0);
    EXPECT_EQ(none.Move(0, K::Left), 39);
    EXPECT_EQ(none.Move(2, K::Up), 39);
    EXPECT_EQ(none.Move(36, K::Down), 0);
}

TEST(ColourGrid, ChosenCellFollowsTheColour) {
    const ColourGrid both(2, true, true, {60, 13});
    EXPECT_EQ(both.CellFromColour(std::nullopt), ColourGrid::kAutomatic);
    EXPECT_EQ(both.CellFromColour(Rgb{255, 0, 0}), 16);
    EXPECT_EQ(both.CellFromColour(Rgb{1, 2, 3}), ColourGrid::kCustom);
    const ColourGrid none(2, false, false, {});
    EXPECT_EQ(none.CellFromColour(Rgb{1, 2, 3}), ColourGrid::kNone);
    EXPECT_EQ(ColourGrid::kTable[35].name, "Pale green ");
}

TEST(ColourGrid, PopupStaysOnTheScreen) {
    const ColourGrid g(2, true, true, {60, 13});
    const Rect screen{0, 0, 1000, 800};
    const ISize s = g.windowSize();
    EXPECT_EQ(g.Place({10, 100}, 20, screen), (Rect{10, 100, 10 + s.cx, 100 + s.cy}));
    // Near the bottom it opens above the button.
    EXPECT_EQ(g.Place({10, 790}, 20, screen).bottom, 770);
    EXPECT_EQ(g.Place({990, 100}, 20, screen).right, 1000);
    EXPECT_EQ(g.Place({-30, 100}, 20, screen).left, 0);
    EXPECT_EQ(s.cx, 8 * 18 + 4);
}

}  // namespace
}  // namespace vra
