// Value rules of the skin loader that need no drawing: colour texts, bitmap
// names of container entries and the frame counts imposed on strips. A frame
// count that leaves these functions is always at least 1.
#pragma once

#include "skin/portable/ImgUtil.h"
#include "skin/portable/SkinContainer.h"

#include <cstdint>
#include <string>
#include <string_view>

// System colours as the skin writes them: 0xFF0000nn, resolved when drawn.
constexpr TColor SkinSysColor(int Index)
{
    return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(Index & 0xFF));
}
// The title's text colours use this for "not given"; state colours use -1.
constexpr TColor kSkinNoTextColour = 0x1FFFFFFF;
constexpr TColor kSkinNoColour = -1;

// "255,0,255", "255 0 255": up to three decimal numbers, each taken modulo
// 256; a last number without a separator after it counts only as the blue.
TColor ParseColor(std::string_view Text);
// Red, green and blue each 0 or more (taken modulo 256), else Keep.
TColor ColourFromRGB(int32_t Red, int32_t Green, int32_t Blue, TColor Keep);

// The container entry a bitmap value names: the part after the last path
// separator or drive colon, which must end in ".bmp" exactly. False (and an
// empty Entry) for anything else.
bool SkinBitmapEntry(std::string_view Value, std::string& Entry);

// The pixels the container's bitmap entries declare in their headers, all
// together: what loading every one of them would decode.
int64_t SkinBitmapPixels(const TSkinReader& Reader);

// A frame count read from the skin, as drawing can use it.
inline int AtLeastOneFrame(int32_t Frame)
{
    return Frame < 1 ? 1 : Frame;
}
// A title button's frame count: a count the skin gives is kept; without one,
// 3 for a strip at most 3.8 times as wide as high, else 6, and 6 whenever the
// action is negative.
int SysButtonFrames(int32_t FrameRead, int32_t Action, int StripWidth, int StripHeight);
// Check-box and radio glyph strips without a count: one cell per 16 pixels
// (13 when the strip is lower than 16), at least 4.
int GlyphFrames(int32_t FrameRead, int StripWidth, int StripHeight);
