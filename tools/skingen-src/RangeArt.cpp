// Art of the controls that show a position in a range: scroll bars, track
// bars with their channels and thumbs, and up-down buttons.
#include "SkinArt.h"

namespace {

constexpr int ScrollSize = 17; // the platform's scroll-bar thickness

struct TStateLook {
    TRgb Back;
    TRgb Glyph;
};

// Arrow cells in the order normal, pressed, disabled, hot.
const TStateLook ArrowLooks[] = {{clTrack, clGlyph},
                                 {clEdge, clText},
                                 {clTrack, clEdgeSoft},
                                 {Rgb(222, 227, 233), Rgb(60, 72, 86)}};

TArtImage ArrowCell(TDirection direction, const TStateLook& look)
{
    TArtImage cell(ScrollSize, ScrollSize, look.Back);
    const bool vertical = direction == TDirection::dUp || direction == TDirection::dDown;
    cell.Chevron(vertical ? 5 : 6, vertical ? 6 : 5, 4, direction, look.Glyph);
    return cell;
}

// Three short lines across the thumb, lighter than the thumb beneath.
TArtImage GripCell(TRgb colour, bool vertical)
{
    TArtImage cell(ScrollSize, ScrollSize, clMagenta);
    for (int i = 0; i < 3; ++i) cell.VLine(6 + 2 * i, 6, 5, colour);
    return vertical ? cell.Transposed() : cell;
}

// The 23 cells: left, right, up and down arrows (4 states each), horizontal
// and vertical grips (normal, pressed, hot), and the size-box corner.
TArtImage ScrollbarStrip()
{
    std::vector<TArtImage> cells;
    for (const TDirection d : {TDirection::dLeft, TDirection::dRight, TDirection::dUp, TDirection::dDown})
        for (const TStateLook& look : ArrowLooks) cells.push_back(ArrowCell(d, look));
    const TRgb grips[] = {Rgb(226, 230, 235), Rgb(170, 180, 191), Rgb(205, 211, 218)};
    for (const bool vertical : {false, true})
        for (const TRgb colour : grips) cells.push_back(GripCell(colour, vertical));
    TArtImage corner(ScrollSize, ScrollSize, clTrack);
    for (int row = 0; row < 3; ++row)
        for (int col = 2 - row; col < 3; ++col) corner.FillRect(6 + col * 3, 6 + row * 3, 2, 2, clThumb);
    cells.push_back(corner);
    return JoinCells(cells);
}

// Track cells: 1 enabled, 2 pressed, 3 disabled, 4 hot.
TArtImage ScrollTrack()
{
    return JoinCells({TArtImage(ScrollSize, ScrollSize, clTrack), TArtImage(ScrollSize, ScrollSize, Rgb(226, 230, 235)),
                      TArtImage(ScrollSize, ScrollSize, Rgb(246, 247, 249)),
                      TArtImage(ScrollSize, ScrollSize, Rgb(231, 234, 238))});
}

// A slim rounded thumb. Cells: 1 normal, 2 pressed, 3 hot.
TArtImage ScrollThumb(bool vertical)
{
    std::vector<TArtImage> cells;
    for (const TRgb colour : {clThumb, clThumbPressed, clThumbHot}) {
        TArtImage cell(ScrollSize, ScrollSize, clMagenta);
        cell.FillRound(1, 4, ScrollSize - 2, 9, 4, colour);
        cells.push_back(vertical ? cell.Transposed() : cell);
    }
    return JoinCells(cells);
}

TArtImage FlippedRows(const TArtImage& image)
{
    TArtImage result(image.Width(), image.Height(), TRgb{});
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) result.SetPixel(x, image.Height() - 1 - y, image.Pixel(x, y));
    return result;
}

struct TThumbLook {
    TRgb Border;
    TRgb Fill;
    TRgb Core; // equals Fill except for the focused look
};

// The track-bar adapter always draws cell 2, so cell 2 is the resting look;
// the others are 1 hot, 3 pressed, 4 disabled, 5 focused.
const TThumbLook ThumbLooks[] = {{clAccent, clAccentHot, clAccentHot},
                                 {clAccentPressed, clAccent, clAccent},
                                 {Rgb(36, 72, 112), clAccentPressed, clAccentPressed},
                                 {clEdge, Rgb(208, 214, 221), Rgb(208, 214, 221)},
                                 {clAccentPressed, clAccentLight, clAccent}};

constexpr int ThumbWidth = 11, ThumbLength = 20;

TArtImage RoundThumb(const TThumbLook& look)
{
    TArtImage cell(ThumbWidth, ThumbLength, clMagenta);
    cell.FillRoundFramed(0, 0, ThumbWidth, ThumbLength, 3, look.Border, look.Fill);
    cell.FillRound(2, 2, ThumbWidth - 4, ThumbLength - 4, 2, look.Core);
    return cell;
}

// Pointing up: a tip of six rows over a body with rounded lower corners.
TArtImage PointedThumb(const TThumbLook& look)
{
    TArtImage cell(ThumbWidth, ThumbLength, clMagenta);
    cell.Triangle(0, 0, 6, TDirection::dUp, look.Border);
    cell.FillRound(0, 6, ThumbWidth, ThumbLength - 6, 2, look.Border, crBottomLeft | crBottomRight);
    cell.Triangle(1, 1, 5, TDirection::dUp, look.Fill);
    cell.FillRound(1, 6, ThumbWidth - 2, ThumbLength - 7, 1, look.Fill, crBottomLeft | crBottomRight);
    cell.FillRound(2, 7, ThumbWidth - 4, ThumbLength - 9, 1, look.Core);
    return cell;
}

TArtImage ThumbStrip(TArtImage (*shape)(const TThumbLook&), bool flip, bool transpose)
{
    std::vector<TArtImage> cells;
    for (const TThumbLook& look : ThumbLooks) {
        TArtImage cell = shape(look);
        if (flip) cell = FlippedRows(cell);
        if (transpose) cell = cell.Transposed();
        cells.push_back(cell);
    }
    return JoinCells(cells);
}

// Up-down buttons: cells 1-4 the first arrow, 5-8 the second, each normal,
// pressed, disabled, hot; the glyph strip has the same layout.
void AddUpDownArt(std::vector<TArtFile>& files)
{
    const struct {
        TRgb Border, Fill, Glyph;
    } looks[] = {{clEdge, clControl, clGlyph},
                 {clEdgeStrong, clControlPressed, clText},
                 {clEdgeSoft, clControlDisabled, clGlyphDisabled},
                 {clEdgeStrong, clControlHot, clAccent}};
    std::vector<TArtImage> boxes, glyphs, sideBoxes, sideGlyphs;
    for (const bool second : {false, true})
        for (const auto& look : looks) {
            TArtImage box(16, 11, clMagenta);
            box.FillRoundFramed(0, 0, 16, 11, 2, look.Border, look.Fill,
                                second ? crBottomLeft | crBottomRight : unsigned(crTop));
            TArtImage glyph(9, 7, clMagenta);
            glyph.Chevron(1, 1, 4, second ? TDirection::dDown : TDirection::dUp, look.Glyph);
            boxes.push_back(box);
            glyphs.push_back(glyph);
            sideBoxes.push_back(box.Transposed());
            sideGlyphs.push_back(glyph.Transposed());
        }
    files.push_back({"updownvert.bmp", JoinCells(boxes)});
    files.push_back({"updownvertglyph.bmp", JoinCells(glyphs)});
    files.push_back({"updownhorz.bmp", JoinCells(sideBoxes)});
    files.push_back({"updownhorzglyph.bmp", JoinCells(sideGlyphs)});
}

} // namespace

TArtImage TrackChannel(int Length, int Thickness, bool Vertical, bool RoundEnds)
{
    // Channels are copied opaque, so rounded ends blend into the face colour.
    TArtImage channel(Length, Thickness, RoundEnds ? clFace : clMenuBorder);
    if (RoundEnds)
        channel.FillRoundFramed(0, 0, Length, Thickness, Thickness / 2, clMenuBorder, clChannel);
    else
        channel.FillRect(1, 1, Length - 2, Thickness - 2, clChannel);
    return Vertical ? channel.Transposed() : channel;
}

void AddRangeArt(std::vector<TArtFile>& Files)
{
    Files.push_back({"scrollbar.bmp", ScrollbarStrip()});
    Files.push_back({"hscroll.bmp", ScrollTrack()});
    Files.push_back({"vscroll.bmp", ScrollTrack()});
    Files.push_back({"hthumb.bmp", ScrollThumb(false)});
    Files.push_back({"vthumb.bmp", ScrollThumb(true)});
    Files.push_back({"thumbhorz.bmp", ThumbStrip(RoundThumb, false, false)});
    Files.push_back({"thumbvert.bmp", ThumbStrip(RoundThumb, false, true)});
    Files.push_back({"thumbleft.bmp", ThumbStrip(PointedThumb, false, true)});
    Files.push_back({"thumbright.bmp", ThumbStrip(PointedThumb, true, true)});
    Files.push_back({"thumbup.bmp", ThumbStrip(PointedThumb, false, false)});
    Files.push_back({"thumbdown.bmp", ThumbStrip(PointedThumb, true, false)});
    AddUpDownArt(Files);
    Files.push_back({"track.bmp", TrackChannel(16, 6, false, true)});
    Files.push_back({"trackvert.bmp", TrackChannel(16, 6, true, true)});
}
