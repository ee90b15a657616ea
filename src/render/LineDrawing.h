// The alternate (line-drawing) character set, drawn as vector shapes that
// join from cell to cell at every cell size: each line runs along the same
// pixel track in every cell, so a horizontal line continues into its
// neighbours and a vertical line into the rows above and below.
//
// The printable codes 33..126 each have a piece (the README has the table);
// the codes host software uses for boxes are
//   ","  horizontal   "."  vertical     "/"  crossing
//   "r"  upper-left   "t"  upper-right  "f"  lower-left   "g"  lower-right
//   "5"  left tee     "6"  right tee    "7"  top tee      "8"  bottom tee
//   "c"  solid block
// Heavy lines are the Shift of the light code on a US keyboard ("<" ">" "?"
// "%" "^" "&" "*", "R" "T" "F" "G"); double lines are "m" "n" "i" "j" "k" "l"
// "o" "p" "q" "s" "u".
#pragma once

#include <QColor>
#include <QRect>

#include <cstdint>

class QPainter;

namespace kalvor::render {

enum class PieceKind : std::uint8_t {
    None,     // not a line-drawing code: the base set's character is drawn
    Lines,    // arms from the centre to the edges: Left, Right, Up, Down hold weights
    Dashed,   // Left: 0 horizontal, 1 vertical; Right: weight
    Rounded,  // Left: 0 right+down, 1 left+down, 2 right+up, 3 left+up
    Blocks,   // Left: quadrant mask, 1 upper-left, 2 upper-right, 4 lower-left, 8 lower-right
    Shade,    // Left: 1 light, 2 medium, 3 dark
    Triangle, // Left: 0 pointing left, 1 right, 2 up, 3 down
    Diagonal, // Left: 1 rising, 2 falling, 3 both
    Edge,     // Left: 0 bottom, 1 top, 2 left, 3 right
    Marker,   // Left: a MarkerShape
};

enum LineWeight : std::uint8_t { kNoLine = 0, kLight = 1, kHeavy = 2, kDouble = 3 };

enum MarkerShape : std::uint8_t {
    kBullet,
    kDiamond,
    kRing,
    kOutlineDiamond,
    kSquare,
    kOutlineSquare,
    kMiddleDot,
    kHorizontalBar,
    kVerticalBar,
};

struct LinePiece {
    PieceKind Kind = PieceKind::None;
    std::uint8_t Left = 0;
    std::uint8_t Right = 0;
    std::uint8_t Up = 0;
    std::uint8_t Down = 0;
    char16_t Looks = 0; // the Unicode character the piece resembles
};

// The piece of an alternate-set code; Kind None for codes without one.
const LinePiece& LinePieceFor(unsigned char code);

// Pixel tracks of the lines in a cell `width` x `height` device pixels.
struct LineMetrics {
    int Light = 1;        // thickness of a light line
    int Heavy = 3;        // thickness of a heavy line
    int DoubleOffset = 2; // distance of each line of a double line from the centre
    int CentreX = 4;      // column of the centre track
    int CentreY = 8;      // row of the centre track
};
LineMetrics LineMetricsFor(int width, int height);

// The half-open span [First, First + Size) of a track of `thickness`
// centred on `centre`.
struct Track {
    int First = 0;
    int Size = 0;
    int End() const { return First + Size; }
};
Track TrackAt(int centre, int thickness);

// Draws the piece of `code` into `cell` (device pixels): the cell is filled
// with `fill` first, the shape drawn in `ink`. Returns false (and draws
// nothing) when the code has no piece.
bool DrawLinePiece(QPainter& painter, const QRect& cell, unsigned char code, QColor ink, QColor fill);

} // namespace kalvor::render
