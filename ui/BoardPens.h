#pragma once

#include <QPen>

// The pens of the board picture, made from settings colour values.

// A solid pen of the given width with round ends and joins, as wide pens are drawn on the
// board: edge sides, paths and the winning chain.
QPen solidPen(int color, int width);

// The pen of the plain hexagon sides, 2 pixels wide. A round cap of radius 1 differs from a
// square one in a few corner pixels only, but makes Qt build a curve for each of the board's
// thousands of side strokes, which doubles the time of a full repaint.
QPen borderPen(int color);

// The 1-pixel black pen that outlines hexagons and stones.
QPen outlinePen();
