// The bitmap utilities on the class library's TBitmap, system-colour
// resolution and the gradient fill of a device context. The pixel work is
// the portable code in skin/portable/ImgUtil.h.
#pragma once

#include <windows.h>

#include "classlib/Canvas.h"
#include "skin/portable/ImgUtil.h"

// GetSysColor for a system-colour index.
TColor SysColorRGB(int Index);
// A system colour (negative) resolved to plain RGB; others are kept.
TColor SkinColorToRGB(TColor Colour);
TColor BlendColors(TColor Colour1, TColor Colour2, int Amount);

// The rows of a bitmap as a view (top row first).
TImageView PixelsOf(TBitmap& Bitmap);

void GrayBitmap(TBitmap& Bitmap);
void ReplaceKeyColor(TBitmap& Bitmap, TColor Colour);
void MirrorBitmap(TBitmap& Bitmap);
void FlipBitmap(TBitmap& Bitmap);
void RotateBitmapCCW(TBitmap& Bitmap);
void RotateBitmapCW(TBitmap& Bitmap);

// Direction 0: left to right, one column per entry; 1: top to bottom. The
// gradient always spans the whole Rect; only bands inside the clip box are
// drawn.
void GradientFillRect(HDC DC, const RECT& Rect, TColor Colour1, TColor Colour2, int Direction);
