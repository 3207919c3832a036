// Window frame art: the four borders with the rounded title, the title
// buttons, the MDI child buttons, the menu bar, popup menus and the
// system-menu glyphs.
#include "SkinArt.h"

namespace {

constexpr int TitleCellWidth = 40;
constexpr int SideHeight = TitleHeight + 10;

// The top of a window as wide as one title cell plus both side borders, so
// the corners are cut once and each strip takes its own columns of it.
TArtImage WindowTop(TRgb title, TRgb frame)
{
    TArtImage top(TitleCellWidth + 2, SideHeight, frame);
    top.FillRect(0, 0, top.Width(), TitleHeight, clMagenta);
    top.FillRound(0, 0, top.Width(), TitleHeight, TitleRadius, title, crTop);
    return top;
}

TArtImage Columns(const TArtImage& source, int x, int w, int h)
{
    TArtImage part(w, h, TRgb{});
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px) part.SetPixel(px, py, source.Pixel(x + px, py));
    return part;
}

void AddBorders(std::vector<TArtFile>& files)
{
    const TArtImage active = WindowTop(clTitleActive, clFrameActive);
    const TArtImage inactive = WindowTop(clTitleInactive, clFrameInactive);
    const int right = TitleCellWidth + 1;
    files.push_back({"left.bmp", JoinCells({Columns(active, 0, 1, SideHeight), Columns(inactive, 0, 1, SideHeight)})});
    files.push_back({"right.bmp",
                     JoinCells({Columns(active, right, 1, SideHeight), Columns(inactive, right, 1, SideHeight)})});
    files.push_back({"title.bmp", JoinCells({Columns(active, 1, TitleCellWidth, TitleHeight),
                                             Columns(inactive, 1, TitleCellWidth, TitleHeight)},
                                            true)});
    files.push_back({"bottom.bmp", JoinCells({TArtImage(16, 1, clFrameActive), TArtImage(16, 1, clFrameInactive)}, true)});
    files.push_back({"textback.bmp", JoinCells({TArtImage(16, TitleHeight, clTitleActive),
                                                TArtImage(16, TitleHeight, clTitleInactive)})});
}

enum class TTitleGlyph { tgClose, tgMaximize, tgRestore, tgMinimize };

// A 10 x 10 glyph with its top-left corner at (x, y); Back is what lies
// behind it, needed where one shape covers another.
void DrawTitleGlyph(TArtImage& cell, int x, int y, TTitleGlyph glyph, TRgb colour, TRgb back)
{
    switch (glyph) {
    case TTitleGlyph::tgClose:
        cell.Line(x, y, x + 9, y + 9, colour);
        cell.Line(x + 9, y, x, y + 9, colour);
        cell.Line(x + 1, y, x + 9, y + 8, colour);
        cell.Line(x + 8, y, x, y + 8, colour);
        break;
    case TTitleGlyph::tgMaximize:
        cell.FrameRect(x, y, 10, 10, colour);
        cell.HLine(x, y + 1, 10, colour);
        break;
    case TTitleGlyph::tgRestore:
        cell.FrameRect(x + 2, y, 8, 8, colour);
        cell.FillRect(x, y + 2, 8, 8, back);
        cell.FrameRect(x, y + 2, 8, 8, colour);
        cell.HLine(x, y + 3, 8, colour);
        break;
    case TTitleGlyph::tgMinimize:
        cell.FillRect(x, y + 5, 10, 2, colour);
        break;
    }
}

// Cells: 1 normal, 2 pressed, 3 hot, 4 inactive window.
TArtImage TitleButton(TTitleGlyph glyph, TRgb hot, TRgb pressed)
{
    constexpr int w = 30, h = 22, gx = 10, gy = 6;
    std::vector<TArtImage> cells;
    const struct {
        TRgb Back;
        bool Filled;
        TRgb Glyph;
    } states[] = {{clMagenta, false, clTitleGlyph},
                  {pressed, true, clTitleGlyph},
                  {hot, true, clTitleGlyph},
                  {clMagenta, false, clTitleGlyphInactive}};
    for (const auto& s : states) {
        TArtImage cell(w, h, clMagenta);
        if (s.Filled) cell.FillRound(0, 0, w, h, 4, s.Back);
        DrawTitleGlyph(cell, gx, gy, glyph, s.Glyph, s.Back);
        cells.push_back(cell);
    }
    return JoinCells(cells);
}

// Only gives the icon button its size: the window's own icon is drawn there.
TArtImage SystemIcon()
{
    TArtImage icon(16, 16, clMagenta);
    icon.FillRound(1, 1, 14, 14, 3, clAccent);
    icon.FillRect(4, 5, 8, 2, clWhite);
    icon.FillRect(4, 9, 5, 2, clWhite);
    return icon;
}

// Twelve cells: minimize, restore and close of a maximized MDI child, each
// as 1 normal, 2 pressed, 3 disabled, 4 hot, on the menu bar.
TArtImage MdiControls()
{
    constexpr int w = 16, h = 14;
    std::vector<TArtImage> cells;
    for (const TTitleGlyph glyph : {TTitleGlyph::tgMinimize, TTitleGlyph::tgRestore, TTitleGlyph::tgClose})
        for (int state = 1; state <= 4; ++state) {
            TArtImage cell(w, h, clMagenta);
            TRgb back = clMagenta;
            if (state == 2) back = clControlPressed;
            if (state == 4) back = clControlHot;
            if (back != clMagenta) cell.FillRound(0, 0, w, h, 3, back);
            TArtImage glyphCell(10, 10, back);
            DrawTitleGlyph(glyphCell, 0, 0, glyph, state == 3 ? clGlyphDisabled : clTitleActive, back);
            cell.Draw(3, 2, glyphCell);
            cells.push_back(cell);
        }
    return JoinCells(cells);
}

} // namespace

void AddFrameArt(std::vector<TArtFile>& Files)
{
    AddBorders(Files);
    Files.push_back({"btnclose.bmp", TitleButton(TTitleGlyph::tgClose, clCloseHot, clClosePressed)});
    Files.push_back({"btnmax.bmp", TitleButton(TTitleGlyph::tgMaximize, clTitleHot, clTitlePressed)});
    Files.push_back({"btnrestore.bmp", TitleButton(TTitleGlyph::tgRestore, clTitleHot, clTitlePressed)});
    Files.push_back({"btnmin.bmp", TitleButton(TTitleGlyph::tgMinimize, clTitleHot, clTitlePressed)});
    Files.push_back({"sysicon.bmp", SystemIcon()});
    Files.push_back({"mdicontrols.bmp", MdiControls()});
}

void AddMenuArt(std::vector<TArtFile>& Files)
{
    Files.push_back({"menubar.bmp", JoinCells({TArtImage(24, 20, clMenubar), TArtImage(24, 20, clMenubarInactive)}, true)});

    // Cells: 1 normal (the popup background shows), 2 separator (its lower
    // rows are used for short separator items), 3 disabled highlight,
    // 4 selected, 5 checked highlight.
    constexpr int w = 24, h = 20;
    std::vector<TArtImage> items(5, TArtImage(w, h, clMagenta));
    items[1].HLine(2, 15, w - 4, clEdgeSoft);
    items[2].FillRound(1, 0, w - 2, h, 3, clControlDisabled);
    items[3].FillRound(1, 0, w - 2, h, 3, clAccent);
    items[4].FillRoundFramed(1, 0, w - 2, h, 3, clEdgeStrong, clAccentLight);
    Files.push_back({"menuitem.bmp", JoinCells(items)});

    TArtImage back(16, 16, clWhite);
    back.FrameRect(0, 0, 16, 16, clMenuBorder);
    Files.push_back({"menubackground.bmp", back});
}

TArtImage SystemMenuGlyphs()
{
    // Restore, maximize, minimize, close on white, which the image list
    // takes as transparent.
    TArtImage strip(64, 16, clWhite);
    const TTitleGlyph order[] = {TTitleGlyph::tgRestore, TTitleGlyph::tgMaximize, TTitleGlyph::tgMinimize,
                                 TTitleGlyph::tgClose};
    for (int i = 0; i < 4; ++i) DrawTitleGlyph(strip, 16 * i + 3, 3, order[i], clTitleActive, clWhite);
    return strip;
}
