// Control art: push buttons with their check-box and radio glyphs, progress,
// group box, tabs, status bar, tool bar, the edit and combo-box frame and
// its button, and the header bar.
#include "SkinArt.h"

namespace {

struct TBoxLook {
    TRgb Border;
    TRgb Fill;
};

// Push buttons. Cells: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused.
TArtImage PushButtons()
{
    constexpr int s = 24, r = 3;
    const TBoxLook looks[] = {{clEdge, clControl},
                              {clEdgeStrong, clControlPressed},
                              {clEdgeSoft, clControlDisabled},
                              {clEdgeStrong, clControlHot}};
    std::vector<TArtImage> cells;
    for (const TBoxLook& look : looks) {
        TArtImage cell(s, s, clMagenta);
        cell.FillRoundFramed(0, 0, s, s, r, look.Border, look.Fill);
        cells.push_back(cell);
    }
    TArtImage focused(s, s, clMagenta);
    focused.FillRoundFramed(0, 0, s, s, r, clAccent, Rgb(170, 195, 222));
    focused.FillRound(2, 2, s - 4, s - 4, r - 1, clControl);
    cells.push_back(focused);
    return JoinCells(cells);
}

enum class TMark { mNone, mCheck, mMixed, mDot };

// One 16 x 16 glyph cell: a box (or circle) in a look, with its mark.
TArtImage GlyphCell(bool round, const TBoxLook& look, TMark mark, TRgb markColour)
{
    TArtImage cell(16, 16, clMagenta);
    if (round) {
        cell.FillCircle(8, 8, 7, look.Border);
        cell.FillCircle(8, 8, 6, look.Fill);
    } else {
        cell.FillRoundFramed(1, 1, 14, 14, 2, look.Border, look.Fill);
    }
    switch (mark) {
    case TMark::mNone: break;
    case TMark::mCheck:
        for (int i = 0; i < 3; ++i) cell.FillRect(4 + i, 7 + i, 1, 2, markColour);
        for (int i = 0; i < 6; ++i) cell.FillRect(6 + i, 9 - i, 1, 2, markColour);
        break;
    case TMark::mMixed: cell.FillRect(4, 7, 8, 2, markColour); break;
    case TMark::mDot: cell.FillCircle(8, 8, 3, markColour); break;
    }
    return cell;
}

// Each mark in four states: normal, hot, pressed, disabled. Check boxes
// have unchecked, checked and mixed (12 cells), radio buttons unchecked and
// checked (8 cells): cells 1, 4, 5, 8, 9 and 12 are the ones the adapters
// pick for their states.
TArtImage GlyphStrip(bool round)
{
    const TBoxLook clear[] = {{Rgb(143, 155, 168), clWhite},
                              {clAccent, Rgb(236, 242, 248)},
                              {clAccentPressed, clControlHot},
                              {clEdgeSoft, clControlDisabled}};
    const TBoxLook marked[] = {{clAccent, clAccent},
                               {clAccentHot, clAccentHot},
                               {clAccentPressed, clAccentPressed},
                               {clEdge, clEdge}};
    std::vector<TArtImage> cells;
    for (const TBoxLook& look : clear) cells.push_back(GlyphCell(round, look, TMark::mNone, clWhite));
    for (const TBoxLook& look : marked)
        cells.push_back(GlyphCell(round, look, round ? TMark::mDot : TMark::mCheck, clWhite));
    if (!round)
        for (const TBoxLook& look : marked) cells.push_back(GlyphCell(round, look, TMark::mMixed, clWhite));
    return JoinCells(cells);
}

void AddButtonArt(std::vector<TArtFile>& files)
{
    files.push_back({"button.bmp", PushButtons()});
    files.push_back({"checkbox.bmp", GlyphStrip(false)});
    files.push_back({"radio.bmp", GlyphStrip(true)});
}

void AddProgressArt(std::vector<TArtFile>& files)
{
    // Cells: 1 track, 2 fill.
    TArtImage track(12, 12, clMagenta), fill(12, 12, clMagenta);
    track.FillRoundFramed(0, 0, 12, 12, 3, clEdge, clControl);
    fill.FillRound(0, 0, 12, 12, 3, clAccent);
    files.push_back({"progress.bmp", JoinCells({track, fill})});

    TArtImage chunk(10, 12, clMagenta);
    chunk.FillRound(1, 2, 8, 8, 2, clAccent);
    files.push_back({"progresschunk.bmp", chunk});
}

void AddBoxArt(std::vector<TArtFile>& files)
{
    // Cells: 1 enabled, 2 disabled; the inside shows the parent.
    TArtImage edge(16, 16, clMagenta), edgeOff(16, 16, clMagenta);
    edge.FillRoundFramed(0, 0, 16, 16, 3, clEdge, clMagenta);
    edgeOff.FillRoundFramed(0, 0, 16, 16, 3, clEdgeSoft, clMagenta);
    files.push_back({"groupboxedge.bmp", JoinCells({edge, edgeOff})});
    files.push_back({"groupbox.bmp", TArtImage(16, 16, clFace)});

    // Status panels. Cells: 1 lowered, 2 raised, 3 flat.
    TArtImage lowered(12, 12, Rgb(236, 238, 241)), raised(12, 12, Rgb(248, 249, 251)), flat(12, 12, clFace);
    lowered.FrameRect(0, 0, 12, 12, clEdge);
    raised.FrameRect(0, 0, 12, 12, clEdgeSoft);
    flat.VLine(11, 2, 8, clEdgeSoft);
    files.push_back({"statusbar.bmp", JoinCells({lowered, raised, flat})});
}

void AddTabArt(std::vector<TArtFile>& files)
{
    // Cells: 1 normal, 2 selected, 3 hot, 4 disabled, 5 selected with focus.
    // A selected tab is white, open at the bottom onto the pane.
    constexpr int s = 24;
    auto tab = [](TRgb border, TRgb fill, bool open) {
        TArtImage cell(s, s, clMagenta);
        cell.FillRoundFramed(0, 0, s, s + 1, 3, border, fill, crTop);
        if (!open) cell.HLine(0, s - 1, s, clEdge);
        return cell;
    };
    TArtImage selected = tab(clEdge, clWhite, true);
    selected.FillRound(1, 0, s - 2, 2, 1, clAccent, crTop);
    TArtImage focused = tab(clAccent, clWhite, true);
    focused.FillRound(1, 0, s - 2, 2, 1, clAccent, crTop);
    files.push_back({"tabs.bmp", JoinCells({tab(clEdge, clControl, false), selected,
                                            tab(clEdge, Rgb(236, 242, 248), false),
                                            tab(clEdgeSoft, clControlDisabled, false), focused})});
    TArtImage pane(16, 16, clWhite);
    pane.FrameRect(0, 0, 16, 16, clEdge);
    files.push_back({"tabborder.bmp", pane});
    files.push_back({"tabpane.bmp", pane});
}

void AddToolBarArt(std::vector<TArtFile>& files)
{
    // Flat tool buttons. Cells: 1 normal, 2 pressed, 3 disabled, 4 hot,
    // 5 focused.
    constexpr int s = 24;
    std::vector<TArtImage> cells(5, TArtImage(s, s, clMagenta));
    cells[0].FillRound(0, 0, s, s, 3, clFace);
    cells[1].FillRoundFramed(0, 0, s, s, 3, clEdgeStrong, clControlPressed);
    cells[2].FillRound(0, 0, s, s, 3, clControlDisabled);
    cells[3].FillRoundFramed(0, 0, s, s, 3, Rgb(170, 190, 210), clControlHot);
    cells[4].FillRoundFramed(0, 0, s, s, 3, clAccent, clFace);
    files.push_back({"toolbars.bmp", JoinCells(cells)});
}

// Edit and combo-box frame, combo button and its arrow. State cells:
// 1 normal, 2 pressed, 3 disabled, 4 hot or focused.
void AddComboArt(std::vector<TArtFile>& files)
{
    const TBoxLook frames[] = {{clEdge, clWhite}, {clAccentPressed, clWhite}, {clEdgeSoft, clControlDisabled},
                               {clAccent, clWhite}};
    std::vector<TArtImage> sunk;
    for (const TBoxLook& look : frames) {
        TArtImage cell(20, 20, clMagenta);
        cell.FillRoundFramed(0, 0, 20, 20, 2, look.Border, look.Fill);
        sunk.push_back(cell);
    }
    files.push_back({"sunkedge.bmp", JoinCells(sunk)});

    // The button keeps a one-pixel ring clear so the frame shows through.
    constexpr int w = 18, h = 21;
    std::vector<TArtImage> buttons(4, TArtImage(w, h, clMagenta));
    buttons[0].VLine(1, 4, h - 8, clEdgeSoft);
    buttons[1].FillRect(1, 1, w - 2, h - 2, clControlPressed);
    buttons[3].FillRect(1, 1, w - 2, h - 2, Rgb(228, 236, 245));
    buttons[3].VLine(1, 1, h - 2, clEdgeSoft);
    files.push_back({"combobutton.bmp", JoinCells(buttons)});

    // Cells 1-4: the drop arrow in the four states; cell 5: the size grip.
    const TRgb arrows[] = {clGlyph, clText, clGlyphDisabled, clAccent};
    std::vector<TArtImage> extra;
    for (const TRgb colour : arrows) {
        TArtImage cell(12, 12, clMagenta);
        cell.Chevron(2, 4, 4, TDirection::dDown, colour);
        extra.push_back(cell);
    }
    TArtImage grip(12, 12, clMagenta);
    for (int row = 0; row < 3; ++row)
        for (int col = 2 - row; col < 3; ++col) grip.FillRect(3 + col * 3, 3 + row * 3, 2, 2, clThumbHot);
    extra.push_back(grip);
    files.push_back({"extraimages.bmp", JoinCells(extra)});
}

void AddHeaderArt(std::vector<TArtFile>& files)
{
    // Cells: 1 normal, 2 hot.
    TArtImage normal(24, 22, Rgb(246, 247, 249)), hot(24, 22, Rgb(233, 239, 246));
    normal.HLine(0, 21, 24, clEdge);
    normal.VLine(23, 4, 14, clEdgeSoft);
    hot.HLine(0, 20, 24, clAccentLight);
    hot.HLine(0, 21, 24, clAccent);
    hot.VLine(23, 4, 14, clEdgeSoft);
    files.push_back({"headerbar.bmp", JoinCells({normal, hot})});
}

} // namespace

void AddControlArt(std::vector<TArtFile>& Files)
{
    AddButtonArt(Files);
    AddProgressArt(Files);
    AddBoxArt(Files);
    AddTabArt(Files);
    AddToolBarArt(Files);
    AddComboArt(Files);
    AddHeaderArt(Files);
}
