// tb-skinsheet SKIN OUT.bmp: loads a packed skin through TSkinData and draws
// its main cells with the engine's own primitives onto one sheet (a window
// frame active and inactive, title buttons, push buttons, check and radio
// glyphs, scroll bar, tabs, menus and the other elements), saved as a
// 24-bit BMP for review. Exit status 1 when the skin does not load.
#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/portable/BmpFile.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int SheetWidth = 1000, MaxSheetHeight = 1400, LabelWidth = 150, Gap = 8;

class TSheet {
public:
    explicit TSheet(TSkinData& ASkin) : Skin(ASkin)
    {
        Bitmap.SetPixelFormat(TPixelFormat::pf24bit);
        Bitmap.Canvas()->SetBrushColor(SkinColorToRGB(Skin.FButtonFaceColor));
        Bitmap.SetSize(SheetWidth, MaxSheetHeight);
        DC = Bitmap.Canvas()->Handle();
        ::SelectObject(DC, ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetBkMode(DC, TRANSPARENT);
    }

    void Draw()
    {
        Windows();
        TitleButtons();
        PushButtons();
        Glyphs();
        ScrollParts();
        Tabs();
        Menus();
        Others();
    }

    bool Save(const char* Path)
    {
        TImageView view = PixelsOf(Bitmap);
        view.Height = std::min(Y + Gap, Bitmap.Height());
        const std::vector<uint8_t> out = EncodeBmpFile(view);
        std::ofstream file(Path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
        return static_cast<bool>(file);
    }

private:
    void Text(int Left, int Top, const std::string& S, TColor Colour)
    {
        ::SetTextColor(DC, static_cast<COLORREF>(SkinColorToRGB(Colour)));
        ::TextOutA(DC, Left, Top, S.data(), static_cast<int>(S.size()));
    }

    // Starts a row: its label at the left, cells from X.
    void Row(const std::string& Label)
    {
        Y += Gap;
        X = LabelWidth;
        RowHeight = 16;
        Text(Gap, Y + 2, Label, Skin.FWindowTextColor);
    }

    void EndRow()
    {
        Y += RowHeight;
        X = LabelWidth;
    }

    // Every cell of E's strip, each drawn nine-part at W x H (0: the cell's
    // size), magenta left out where the element says so or Transparent is set.
    void Cells(const TDataSkinObject* E, int W, int H, bool Vertical, bool Tile, bool Transparent = false)
    {
        if (E == nullptr || E->FBitmap->Empty()) return;
        TSkinCell cell;
        if (!StripCell(E->FBitmap->Width(), E->FBitmap->Height(), 1, E->FFrame, Vertical, cell)) return;
        const int w = W > 0 ? W : cell.Width, h = H > 0 ? H : cell.Height;
        for (int i = 1; i <= E->FFrame; ++i) {
            if (X + w > SheetWidth - Gap) {
                Y += RowHeight + 4;
                X = LabelWidth;
            }
            DrawSkinPart(DC, RECT{X, Y, X + w, Y + h}, *E->FBitmap, MarginsOf(*E),
                         {.Index = i,
                          .Count = E->FFrame,
                          .Transparent = Transparent || E->FTrans != 0,
                          .Tile = Tile,
                          .Vertical = Vertical});
            X += w + Gap;
            RowHeight = std::max(RowHeight, h);
        }
    }

    void Window(int Left, int Top, int W, int H, int Cell)
    {
        const TDataSkinBorder &l = *Skin.FBorderLeft, &r = *Skin.FBorderRight, &t = *Skin.FBorderTop,
                              &b = *Skin.FBorderBottom;
        const int bl = l.FBitmap->Width() / l.FFrame, br = r.FBitmap->Width() / r.FFrame;
        const int th = t.FBitmap->Height() / t.FFrame, bb = b.FBitmap->Height() / b.FFrame;
        // Composed off the sheet, then copied with magenta left out as the window region would.
        TBitmap frame;
        frame.Canvas()->SetBrushColor(SkinColorToRGB(Skin.FButtonFaceColor));
        frame.SetSize(W, H);
        HDC f = frame.Canvas()->Handle();
        const auto part = [&](const TDataSkinBorder& E, RECT R, bool Vertical) {
            DrawSkinPart(f, R, *E.FBitmap, MarginsOf(E),
                         {.Index = E.FFrame > 1 ? Cell : 1,
                          .Count = E.FFrame,
                          .Tile = E.FTile != 1,
                          .Vertical = Vertical});
        };
        part(l, {0, 0, bl, H}, false);
        part(r, {W - br, 0, W, H}, false);
        part(b, {bl, H - bb, W - br, H}, true);
        part(t, {bl, 0, W - br, th}, true);
        for (const auto& button : Skin.FSysButtons) {
            if (button->FBitmap->Empty() || button->FAlign > 1 || button->FVisibility == 1) continue;
            TSkinCell c;
            if (!StripCell(button->FBitmap->Width(), button->FBitmap->Height(), 1, button->FFrame, false, c)) continue;
            const int x = button->FAlign == 1 ? W - button->FXcoord : button->FXcoord;
            const int state = Cell == 1 || button->FFrame < 4 ? 1 : 4;
            DrawSkinPart(f, RECT{x, button->FYcoord, x + c.Width, button->FYcoord + c.Height}, *button->FBitmap,
                         TSkinRect{},
                         {.Index = std::min(state, button->FFrame), .Count = button->FFrame, .Transparent = true});
        }
        ::SelectObject(f, ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetBkMode(f, TRANSPARENT);
        const TColor text = Cell == 1 ? Skin.FTitleTextActiveColor : Skin.FTitleTextNoActiveColor;
        ::SetTextColor(f, static_cast<COLORREF>(SkinColorToRGB(text)));
        const std::string caption = "Tagbench V4.0";
        ::TextOutA(f, bl + Skin.FTitle->FLeftWidth, (th - 13) / 2, caption.data(), static_cast<int>(caption.size()));
        DrawTransparentBitmap(DC, RECT{Left, Top, Left + W, Top + H}, frame, clKeyMagenta);
    }

    void Windows()
    {
        Row("window: active, inactive");
        Window(X, Y, 320, 110, 1);
        Window(X + 320 + 2 * Gap, Y, 320, 110, 2);
        RowHeight = 110;
        EndRow();
    }

    void TitleButtons()
    {
        for (const auto& button : Skin.FSysButtons) {
            if (button->FBitmap->Empty()) continue;
            Row((button->FName.empty() ? std::string("MDI BUTTON") : button->FName) + " x" +
                std::to_string(button->FFrame));
            // Title buttons on the active title, where their normal cells are meant to be seen.
            const TDataSkinBorder& top = *Skin.FBorderTop;
            const int w = button->FBitmap->Width() + Gap * button->FFrame, h = button->FBitmap->Height();
            if (button->FAlign <= 1)
                DrawSkinPart(DC, RECT{X - 4, Y - 3, X + w, Y + h + 3}, *top.FBitmap, MarginsOf(top),
                             {.Index = 1,
                              .Count = top.FFrame,
                              .Transparent = true,
                              .Tile = top.FTile != 1,
                              .Vertical = true});
            Cells(button.get(), 0, 0, false, false, true);
            EndRow();
        }
    }

    void PushButtons()
    {
        Row("push button states");
        const TDataSkinButton& b = *Skin.FButtons;
        const char* states[] = {"normal", "pressed", "disabled", "hot", "focused"};
        const TColor colours[] = {b.FNormalColour2, b.FPressedColour2, Skin.FButtonShadowColor, b.FMouseOverColour2,
                                  b.FNormalColour2};
        const int x0 = X;
        Cells(&b, 96, 26, false, b.FTile != 0);
        for (int i = 0; i < 5 && !b.FBitmap->Empty(); ++i) {
            const std::string s = states[i];
            SIZE size{};
            ::GetTextExtentPoint32A(DC, s.data(), static_cast<int>(s.size()), &size);
            Text(x0 + i * (96 + Gap) + (96 - size.cx) / 2, Y + (26 - size.cy) / 2, s, colours[i]);
        }
        EndRow();
    }

    // Glyph strips are drawn at their cells' own size, centred in a box.
    void GlyphRow(const std::string& Label, TBitmap& Strip, int Count)
    {
        Row(Label + " x" + std::to_string(Count));
        for (int i = 1; i <= Count && !Strip.Empty(); ++i) {
            DrawSkinCellCentered(DC, RECT{X, Y, X + 20, Y + 20}, Strip,
                                 {.Index = i, .Count = Count, .Transparent = true});
            X += 20 + Gap;
        }
        RowHeight = 20;
        EndRow();
    }

    void Glyphs()
    {
        GlyphRow("check box", *Skin.FButtons->FCheckButton, Skin.FButtons->FCheckButtonFrame);
        GlyphRow("radio button", *Skin.FButtons->FRadioButton, Skin.FButtons->FRadioButtonFrame);
    }

    void ScrollParts()
    {
        Row("scroll bar cells");
        Cells(Skin.FScrollbar.get(), 0, 0, false, false);
        EndRow();
        Row("scroll: horz, vert");
        Cells(Skin.FHorzScroll.get(), 0, 0, false, false);
        Cells(Skin.FVertScroll.get(), 0, 0, false, false);
        EndRow();
        Row("scroll thumbs");
        if (const TDataSkinObject* t = Skin.FHorzScrollThumb.get()) Cells(t, 80, t->FBitmap->Height(), false, false);
        if (const TDataSkinObject* t = Skin.FVertScrollThumb.get())
            Cells(t, t->FBitmap->Width() / t->FFrame, 60, false, false);
        EndRow();
    }

    void Tabs()
    {
        Row("tabs");
        Cells(Skin.FTabs.get(), 90, 24, false, false);
        EndRow();
        Row("tab pane");
        Cells(Skin.FTabPane.get(), 300, 60, false, false);
        EndRow();
    }

    void Menus()
    {
        Row("menu bar: active, inactive");
        if (const TDataSkinObject* m = Skin.FMenuBar.get())
            Cells(m, 300, m->FBitmap->Height() / m->FFrame, true, false);
        EndRow();
        Row("menu item cells");
        if (const TDataSkinObject* m = Skin.FMenuItem.get()) Cells(m, 140, 22, false, m->FTile != 0);
        EndRow();
        Row("menu background");
        Cells(Skin.FMenuBackground.get(), 140, 70, false, false);
        X += Gap;
        for (int i = 0; Skin.FMenuImages != nullptr && i < ImageList_GetImageCount(Skin.FMenuImages); ++i)
            ImageList_Draw(Skin.FMenuImages, i, DC, X + i * 24, Y + 4, ILD_TRANSPARENT);
        EndRow();
    }

    void Others()
    {
        const struct {
            const char* Label;
            const TDataSkinObject* Element;
            int W, H;
        } rows[] = {
            {"progress, chunk", Skin.FProgress.get(), 120, 16},   {"", Skin.FProgressChunk.get(), 40, 12},
            {"group box, edge", Skin.FGroupBox.get(), 80, 24},    {"", Skin.FGroupBoxEdge.get(), 80, 40},
            {"combo button", Skin.FComboButton.get(), 0, 0},      {"sunken edge", Skin.FSunkEdge.get(), 80, 22},
            {"status bar", Skin.FStatusBarEdges.get(), 100, 20},  {"header bar", Skin.FHeaderbar.get(), 100, 20},
            {"tool bars", Skin.FToolBars.get(), 60, 24},          {"extra images", Skin.FExtraImages.get(), 0, 0},
            {"track, track vert", Skin.FTrack.get(), 120, 0},      {"", Skin.FTrackVert.get(), 0, 60},
            {"track thumbs", Skin.FThumbHorz.get(), 0, 0},         {"", Skin.FThumbVert.get(), 0, 0},
            {"up-down", Skin.FUpDownHorz.get(), 0, 0},             {"", Skin.FUpDownVert.get(), 0, 0},
        };
        bool first = true;
        for (const auto& r : rows) {
            if (*r.Label != '\0') {
                if (!first) EndRow();
                first = false;
                Row(r.Label);
            }
            Cells(r.Element, r.W, r.H, false, r.Element != nullptr && r.Element->FTile != 0);
        }
        EndRow();
    }

    TSkinData& Skin;
    TBitmap Bitmap;
    HDC DC = nullptr;
    int X = LabelWidth, Y = 0, RowHeight = 0;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: tb-skinsheet SKIN OUT.bmp\n");
        return 2;
    }
    SetSkinMessageHook([](const std::string& Text) { std::fprintf(stderr, "skin message: %s\n", Text.c_str()); });
    TSkinData skin(nullptr);
    skin.SetSkinFile(argv[1]);
    if (skin.NotLoaded()) {
        std::fprintf(stderr, "%s: the skin did not load: %s\n", argv[1], skin.LoadError().c_str());
        return 1;
    }
    TSheet sheet(skin);
    sheet.Draw();
    if (!sheet.Save(argv[2])) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
