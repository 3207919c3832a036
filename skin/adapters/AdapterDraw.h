// The drawing steps every adapter's PaintControl repeats, in one place: a
// state cell of a skin element, a caption (alone or after an image-list
// image), strip cells with magenta left out, centred text (the menu bar's
// buttons too) and small arrow glyphs. A missing element or bitmap, a strip
// without the asked cell or an inverted rectangle draws nothing; text colour
// and background mode are given back as they were.
#pragma once

#include <windows.h>

#include "skin/kernel/ImageListHandle.h"

#include <string_view>

class TBitmap;
class TDataSkinObject;
class TSkinControl;

enum class TTextAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
// Where DrawImageCaption puts the image and caption pair.
enum class TCaptionAlignment { caLeft = 0, caCenter = 1, caRight = 2 };
enum class TArrowKind { akUp = 0, akDown = 1, akLeft = 2, akRight = 3 };

// Cell Index (1..Count) of Element's strip drawn nine-part into Rect,
// magenta left out when the element is transparent.
void DrawSkinState(HDC DC, const RECT& Rect, const TDataSkinObject* Element, int Index, int Count);
// Caption in Rect: exactly DT_CENTER centres the text both ways (one pixel
// above the middle); other flags centre it vertically across Rect's width.
// Disabled text is drawn in the button-shadow colour.
void DrawControlCaption(const TSkinControl* Adapter, HDC DC, const RECT& Rect, std::wstring_view Caption,
                        bool Enabled, UINT Flags);
// Image ImageIndex of ImageList (none: -1 or no list) followed by Caption,
// single line with an ellipsis, the pair placed by Alignment.
void DrawImageCaption(const TSkinControl* Adapter, HDC DC, const RECT& Rect, HIMAGELIST ImageList, int ImageIndex,
                      std::wstring_view Caption, TCaptionAlignment Alignment);
// Flags plus DT_RTLREADING when the adapter's control reads right to left.
UINT AddRTLFlag(const TSkinControl* Adapter, UINT Flags);
// The shared ScratchBitmap's top-left corner copied into Rect.
void CopyScratchBitmap(HDC DC, const RECT& Rect);
// Cell Index of Count side-by-side cells of Bitmap stretched into Rect,
// magenta left out.
void DrawStripCellTransparent(HDC DC, const RECT& Rect, TBitmap& Bitmap, int Index, int Count);
// The window's font, or the system's GUI font when it has none.
HGDIOBJ ControlFont(HWND Window);
// Text centred in Rect, aligned within its own lines by Alignment.
void DrawCenteredText(HDC DC, const RECT& Rect, std::wstring_view Text, bool Enabled, TTextAlignment Alignment);
// A small arrow at (X, Y) in the DC's current pen.
void DrawArrowGlyph(HDC DC, int X, int Y, TArrowKind Kind);
