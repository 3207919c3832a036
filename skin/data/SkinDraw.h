// The skin drawing primitives: cells of skin strips drawn nine-part, stretched,
// centred or in three parts onto bitmaps and device contexts, transparent
// drawing with one key colour, regions from bitmaps, and the shared off-screen
// ScratchBitmap. A strip without the asked cell, an empty or negative target
// or margins beyond the cell draw nothing (or are clamped); nothing reads or
// writes outside a bitmap. GUI thread only.
#pragma once

#include <windows.h>

#include "classlib/Canvas.h"
#include "skin/portable/BmpFile.h"
#include "skin/portable/ImgUtil.h"
#include "skin/portable/SkinCells.h"

#include <cstdint>
#include <memory>
#include <span>

class TControl;
class TDataSkinObject;

// The painters' shared off-screen bitmap (stretch mode COLORONCOLOR), from
// program start to program end; null after that.
extern TBitmap* ScratchBitmap;

// The strips of a loaded skin: DrawSkinPart may keep its renderings of their
// cells (per cell, margins, flags and size) until Owner drops them. The
// strips' pixels must not change meanwhile.
void KeepSkinPartRenderings(const void* Owner, std::span<const TBitmap* const> Strips);
// Forgets Owner's strips and every rendering made from them.
void DropSkinPartRenderings(const void* Owner);
// Renderings kept at present.
int KeptSkinPartRenderings();

// Margins are widths (Left, Top, Right, Bottom).
TSkinRect MarginsOf(const TDataSkinObject& Element);

// Which cell of a strip a primitive draws, and how. Call sites name the
// fields ({.Index = 2, .Count = e.FFrame, .Transparent = true}) so that two
// flags cannot trade places unnoticed; a primitive ignores the flags it has
// no use for.
struct TStripCell {
    int Index = 1;             // 1..Count
    int Count = 1;
    bool Transparent = false;  // magenta pixels left out
    bool Tile = false;         // the centre repeated, not stretched
    bool Vertical = false;     // cells stacked, not side by side
};

// A new W x H bitmap holding the nine-part rendering of the cell (magenta
// where there is no such cell); the caller owns it.
std::unique_ptr<TBitmap> CreateSkinPartBitmap(const RECT& Rect, TBitmap& Bitmap, const TSkinRect& Margins,
                                              const TStripCell& Cell);
// The same rendering drawn at Rect, opaque or with magenta left out.
void DrawSkinPart(HDC DC, const RECT& Rect, TBitmap& Bitmap, const TSkinRect& Margins, const TStripCell& Cell);
// What DrawSkinPart and DrawSkinCellCentered draw on Target's own DC, written
// into Target's pixels without a device context (the same pixels, clipped
// to Target): for composing images in memory.
void DrawSkinPartInto(TBitmap& Target, const RECT& Rect, TBitmap& Bitmap, const TSkinRect& Margins,
                      const TStripCell& Cell);
void DrawSkinCellCenteredInto(TBitmap& Target, const RECT& Rect, TBitmap& Bitmap, const TStripCell& Cell);
// Left piece, the middle repeated across at its own width, right piece; only
// the left and right margins count.
void DrawSkinBar(TCanvas& Canvas, const RECT& Rect, TBitmap& Bitmap, const TSkinRect& Margins, const TStripCell& Cell);
// The whole cell of a horizontal strip stretched to Rect.
void DrawSkinCell(HDC DC, const RECT& Rect, TBitmap& Bitmap, const TStripCell& Cell);
// The cell of a horizontal strip at its own size, centred on Rect (a larger
// cell overflows it on every side).
void DrawSkinCellCentered(HDC DC, const RECT& Rect, TBitmap& Bitmap, const TStripCell& Cell);
// Left piece, stretched middle, right piece, straight into the DC; a cell
// wider than Rect is stretched whole.
void DrawSkinCellThreePart(HDC DC, const RECT& Rect, TBitmap& Bitmap, const TSkinRect& Margins,
                           const TStripCell& Cell);
// Fills Rect with Color (system colours resolved).
void FillColor(HDC DC, const RECT& Rect, TColor Color);
// Bitmap's top-left W x H pixels at Rect, pixels of TransparentColour left out.
void DrawTransparentBitmap(HDC DC, const RECT& Rect, TBitmap& Bitmap, TColor TransparentColour);
// A region (the caller owns it) of the pixels that are not within the key
// colour's ranges (key to key + tolerance per channel), shifted by the offsets.
HRGN CreateRegionFromBitmap(TBitmap& Bitmap, int XOffset, int YOffset, TColor KeyColour, uint8_t RedTolerance,
                            uint8_t GreenTolerance, uint8_t BlueTolerance);
// What Control's parent draws behind Control, painted into DC.
void PaintControlToDC(TControl* Control, HDC DC);
// Src of Bitmap repeated unscaled over Dest from its top-left corner; the
// last column and row overflow Dest. Only the tiles within Canvas's clip box
// are drawn, so any Dest costs at most the target's size.
void TileBitmap(TCanvas& Canvas, const RECT& Dest, TBitmap& Bitmap, const RECT& Src);

inline int MinInt(int A, int B)
{
    return A < B ? A : B;
}

// A Windows bitmap file (or a bitmap resource without its file header) into
// Bitmap as 24 bits per pixel; false, with Bitmap emptied and Error (when
// given) saying why, when it cannot be read.
bool LoadBitmapFromBmp(std::span<const uint8_t> File, TBitmap& Bitmap, TBmpError* Error = nullptr);
bool LoadBitmapFromDib(std::span<const uint8_t> Dib, TBitmap& Bitmap, TBmpError* Error = nullptr);
// The program's bitmap resource of that name; false, Bitmap emptied, without one.
bool LoadBitmapResource(const char* Name, TBitmap& Bitmap);
