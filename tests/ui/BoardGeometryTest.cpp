#include "ui/BoardGeometry.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using Point = BoardGeometry::Point;

BoardGeometry layout(int width, int height, int n) {
    return BoardGeometry(BoardGeometry::Rect{0, 0, width, height}, n);
}

TEST(BoardGeometryTest, LaysOutTenByTenInEightHundredBySixHundred) {
    const BoardGeometry g = layout(800, 600, 10);
    EXPECT_EQ(g.cellSize(), 26);
    EXPECT_EQ(g.origin(), (Point{96, 124}));
    EXPECT_EQ(g.cellCenter(9, 9), (Point{703, 475}));
    EXPECT_EQ(g.hitLimit(), 507);
    // The label ring: 96 - 22.52 - 45.03 = 28.45 is truncated.
    EXPECT_EQ(g.cellCenter(-1, -1), (Point{28, 85}));
}

TEST(BoardGeometryTest, LayoutFollowsTheClientOffsetAndTheNarrowerSide) {
    // 300 / 30.310875 = 9.9 gives s = 9; centre (160, 520); half = 40.5;
    // 160 - 70.15 - 35.07 = 54.78 and 520 - 60.75 = 459.25.
    const BoardGeometry tall(BoardGeometry::Rect{10, 20, 310, 1020}, 10);
    EXPECT_EQ(tall.cellSize(), 9);
    EXPECT_EQ(tall.origin(), (Point{54, 459}));
}

TEST(BoardGeometryTest, TinyOrDegenerateAreasHaveNoCellsToHit) {
    const BoardGeometry tiny = layout(20, 15, 10);
    EXPECT_EQ(tiny.cellSize(), 0);
    EXPECT_EQ(tiny.cellCenter(0, 0), tiny.cellCenter(9, 9));
    EXPECT_EQ(tiny.cellFromPoint(tiny.origin().x, tiny.origin().y), (Hex::Coord{10, 10}));
    EXPECT_EQ(layout(-50, -50, 10).cellSize(), 0);
    EXPECT_EQ(layout(800, 600, 0).cellFromPoint(400, 300), (Hex::Coord{0, 0}));
}

TEST(BoardGeometryTest, CornersOfACell) {
    // s = 26, h = 13, w = 22.51665.
    const std::array<Point, 6> expected = {Point{73, 111},  Point{96, 98},  Point{118, 111},
                                           Point{118, 137}, Point{96, 150}, Point{73, 137}};
    EXPECT_EQ(layout(800, 600, 10).corners(Point{96, 124}), expected);
}

TEST(BoardGeometryTest, SideOwnersAlongTheEdgesAndAtTheCorners) {
    using Owners = std::array<int, 6>;
    EXPECT_EQ(BoardGeometry::sideOwners(2, 2, 5), (Owners{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(BoardGeometry::sideOwners(0, 2, 5), (Owners{0, 1, 1, 0, 0, 0}));
    EXPECT_EQ(BoardGeometry::sideOwners(4, 2, 5), (Owners{0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(BoardGeometry::sideOwners(2, 0, 5), (Owners{2, 0, 0, 0, 0, 2}));
    EXPECT_EQ(BoardGeometry::sideOwners(2, 4, 5), (Owners{0, 0, 2, 2, 0, 0}));
    EXPECT_EQ(BoardGeometry::sideOwners(0, 0, 5), (Owners{2, 1, 1, 0, 0, 2}));
    EXPECT_EQ(BoardGeometry::sideOwners(4, 4, 5), (Owners{0, 0, 2, 2, 1, 1}));
    // The acute corners: Player 1 keeps the shared side at the top right, Player 2 at the
    // bottom left.
    EXPECT_EQ(BoardGeometry::sideOwners(0, 4, 5), (Owners{0, 1, 1, 2, 0, 0}));
    EXPECT_EQ(BoardGeometry::sideOwners(4, 0, 5), (Owners{2, 0, 0, 0, 1, 2}));
}

TEST(BoardGeometryTest, HitsOnlyStrictlyInsideTheInscribedCircle) {
    // 220 wide gives s = 7 and the limit (3 * 49) / 4 = 36 = 6 * 6.
    const BoardGeometry g = layout(220, 600, 10);
    ASSERT_EQ(g.hitLimit(), 36);
    const Point c = g.cellCenter(5, 5);
    EXPECT_EQ(g.cellFromPoint(c.x, c.y), (Hex::Coord{5, 5}));
    EXPECT_EQ(g.cellFromPoint(c.x + 5, c.y), (Hex::Coord{5, 5}));
    EXPECT_EQ(g.cellFromPoint(c.x + 6, c.y), (Hex::Coord{10, 10}));
    EXPECT_EQ(g.cellFromPoint(c.x - 6, c.y), (Hex::Coord{10, 10}));
    EXPECT_EQ(g.cellFromPoint(0, 0), (Hex::Coord{10, 10}));
}

TEST(BoardGeometryTest, EqualDistancesPickTheLowerColumnThenRow) {
    // s = 7, limit 36; cells (0, 0) at (25, 989), (1, 0) at (31, 999), (0, 1) at (37, 989).
    const BoardGeometry g = layout(88, 2000, 3);
    ASSERT_EQ(g.cellCenter(0, 0), (Point{25, 989}));
    ASSERT_EQ(g.cellCenter(1, 0), (Point{31, 999}));
    ASSERT_EQ(g.cellCenter(0, 1), (Point{37, 989}));
    // d = 34 to (0, 0) and to (1, 0): same column, the lower row.
    EXPECT_EQ(g.cellFromPoint(28, 994), (Hex::Coord{0, 0}));
    // d = 34 to (1, 0) and to (0, 1): the lower column, though its row is higher.
    EXPECT_EQ(g.cellFromPoint(34, 994), (Hex::Coord{1, 0}));
}

} // namespace
