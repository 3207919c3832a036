// Pixel work of the skin drawing primitives: the geometry of a cell in a
// strip, stretched and tiled copies between images, and the nine-part
// rendering of a cell. Every copy is clipped to both images, so no argument
// can make them read or write outside the pixels.
#pragma once

#include "skin/portable/ImgUtil.h"

// Four widths (margins) or four coordinates (rectangles), as the caller says.
struct TSkinRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};

struct TSkinCell {
    int X = 0, Y = 0, Width = 0, Height = 0;
};

// Cell Index (1..Count) of a strip; false when Count or Index is out of range
// or the cell would be empty.
bool StripCell(int StripWidth, int StripHeight, int Index, int Count, bool Vertical, TSkinCell& Cell);

// Source rectangle stretched onto the target rectangle, nearest pixel (as the
// colour-on-colour stretch mode), clipped to both images.
void StretchPixels(const TImageView& Source, const TSkinRect& From, const TImageView& Target, const TSkinRect& To);
// Source rectangle repeated unscaled over To from its top-left corner; the
// last row and column are cut at To's edges.
void TilePixels(const TImageView& Source, const TSkinRect& From, const TImageView& Target, const TSkinRect& To);

// Fills the rectangle (clipped to the image) with one plain RGB colour.
void FillPixels(const TImageView& Target, const TSkinRect& To, TColor Colour);
// Source's pixels onto Target with Source's top-left corner at (X, Y),
// clipped to Target; with Keyed, pixels of exactly the key colour are left out.
void CopyPixels(const TImageView& Source, const TImageView& Target, int X, int Y, bool Keyed,
                TColor Key = clKeyMagenta);

// Cell Index of Strip drawn nine-part style over the whole of Target: corners
// at their size, edges stretched along their length, the centre stretched or
// tiled. A pair of opposite margins whose sum exceeds the target is dropped;
// margins are first limited to the cell. A piece whose source is empty (the
// margins take the whole cell) is filled with magenta, the transparent colour. False, leaving Target as it was,
// when the strip has no such cell.
bool RenderNinePart(const TImageView& Strip, const TImageView& Target, TSkinRect Margins, int Index, int Count,
                    bool Tile, bool Vertical);
