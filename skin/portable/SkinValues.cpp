// Colour texts, bitmap entry names and frame-count rules of the skin loader.
#include "SkinValues.h"

#include <algorithm>
#include <limits>

TColor ParseColor(std::string_view Text)
{
    size_t first = 0, last = Text.size();
    while (first < last && static_cast<unsigned char>(Text[first]) <= 0x20) ++first;
    while (last > first && static_cast<unsigned char>(Text[last - 1]) <= 0x20) --last;
    Text = Text.substr(first, last - first);

    int parts[3] = {0, 0, 0};
    int stored = 0;
    int64_t value = 0;
    bool collecting = false, overflow = false;
    const auto take = [&] {
        if (!collecting || overflow) return; // a number too large keeps collecting
        if (stored < 3) parts[stored++] = static_cast<int>(value & 0xFF);
        collecting = false;
        value = 0;
    };
    for (char c : Text) {
        if (c >= '0' && c <= '9') {
            collecting = true;
            if (!overflow) {
                value = value * 10 + (c - '0');
                overflow = value > std::numeric_limits<int32_t>::max();
            }
        } else {
            take();
        }
    }
    if (stored == 2) take();
    return static_cast<TColor>(parts[0] | parts[1] << 8 | parts[2] << 16);
}

TColor ColourFromRGB(int32_t Red, int32_t Green, int32_t Blue, TColor Keep)
{
    if (Red < 0 || Green < 0 || Blue < 0) return Keep;
    return static_cast<TColor>((Red & 0xFF) | (Green & 0xFF) << 8 | (Blue & 0xFF) << 16);
}

bool SkinBitmapEntry(std::string_view Value, std::string& Entry)
{
    Entry.clear();
    const size_t cut = Value.find_last_of("\\/:");
    const std::string_view name = cut == std::string_view::npos ? Value : Value.substr(cut + 1);
    const size_t dot = name.rfind('.');
    if (name.empty() || dot == std::string_view::npos || name.substr(dot) != ".bmp") return false;
    Entry.assign(name);
    return true;
}

int64_t SkinBitmapPixels(const TSkinReader& Reader)
{
    // Each entry counts at most just past the budget: a thousand huge
    // headers cannot overflow the sum.
    int64_t pixels = 0;
    for (int i = 0; i < Reader.Count(); ++i)
        if (Reader.Names(i).ends_with(".bmp")) pixels += std::min(BmpFilePixels(Reader.Entry(i)), kMaxSkinPixels + 1);
    return pixels;
}

int SysButtonFrames(int32_t FrameRead, int32_t Action, int StripWidth, int StripHeight)
{
    if (FrameRead != 0) return AtLeastOneFrame(FrameRead);
    int frames = 6;
    if (StripWidth > 0 && StripHeight > 0)
        frames = static_cast<double>(StripWidth) / StripHeight <= 3.8 ? 3 : 6;
    if (Action < 0) frames = 6;
    return frames;
}

int GlyphFrames(int32_t FrameRead, int StripWidth, int StripHeight)
{
    if (FrameRead != 0) return AtLeastOneFrame(FrameRead);
    const int cell = StripHeight >= 16 ? 16 : 13;
    const int frames = StripWidth / cell;
    return frames < 4 ? 4 : frames;
}
