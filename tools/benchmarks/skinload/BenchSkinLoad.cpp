// Loading a skin into TSkinData (unpack, parse, build every element) against
// decoding the same container alone; the GDI objects the loaded skin holds;
// DrawSkinPart of the loaded skin's 600 x 30 title cell against one BitBlt of
// the same area, with its rendering kept (cached) and, the same drawing, with
// the skin's renderings dropped so that each draw renders anew (uncached).
// Each time prints as the least, median and greatest of its runs.
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/portable/BmpFile.h"
#include "tools/skinpack-src/SkinPacker.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

void PutLE(std::vector<uint8_t>& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A 24-bit strip of bevelled gradients with a magenta key here and there.
std::vector<uint8_t> Strip(int w, int h, unsigned seed)
{
    TImage image(w, h);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = image.ScanLine(h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const bool key = (x % 29 == 0) && y < 2;
            const int edge = std::min({x % 40, 39 - x % 40, y, h - 1 - y}) < 3 ? 40 : 0;
            *row++ = static_cast<uint8_t>(key ? 255 : 120 + y * 60 / h + edge + static_cast<int>(rng() % 3));
            *row++ = static_cast<uint8_t>(key ? 0 : 90 + edge);
            *row++ = static_cast<uint8_t>(key ? 255 : 60 + y * 30 / h + edge);
        }
    }
    return EncodeBmpFile(image.View());
}

// A skin with every element the loader knows, at sizes a real skin uses.
std::vector<TSkinEntry> SyntheticSkin()
{
    struct TPart {
        const char* Section;
        const char* Key;
        int W, H;
        const char* Extra;
    };
    const TPart parts[] = {
        {"Buttons", "Bitmap", 150, 23, "CheckButton=check.bmp\r\nRadioButton=radio.bmp\r\nLeftWidth=4\r\nRightWidth=4\r\n"},
        {"Tabs", "Image", 150, 22, "Border=tabsborder.bmp\r\n"}, {"Tab.Pane", "Image", 30, 30, ""},
        {"ToolBars", "Image", 100, 22, ""}, {"ComboButton", "Image", 68, 21, ""}, {"SunkEdge", "Image", 80, 21, ""},
        {"ExtraImages", "Image", 80, 16, ""}, {"Headerbar", "Image", 100, 20, ""}, {"MenuItem", "Image", 100, 20, ""},
        {"MenuBackground", "Image", 40, 40, ""}, {"Scrollbar", "Image", 391, 17, ""}, {"HorzScroll", "Image", 68, 17, ""},
        {"VertScroll", "Image", 68, 17, ""}, {"HorzScrollThumb", "Image", 51, 17, ""},
        {"VertScrollThumb", "Image", 51, 17, ""}, {"Trackbar.ThumbHorz", "Image", 55, 20, ""},
        {"Trackbar.ThumbVert", "Image", 100, 11, ""}, {"UpDown.Horz", "Image", 128, 16, "GlyphImage=glyph.bmp\r\n"},
        {"UpDown.Vert", "Image", 128, 16, "GlyphImage=glyph.bmp\r\n"}, {"GroupBox", "Image", 30, 20, ""},
        {"GroupBoxEdge", "Image", 30, 30, ""}, {"StatusBarEdges", "Image", 30, 20, ""}, {"Progress", "Bitmap", 40, 16, ""},
        {"Progress.Chunk", "Image", 10, 14, ""}, {"Track", "Image", 16, 4, ""}, {"TRACKVERT", "Image", 4, 16, ""},
    };
    std::vector<TSkinEntry> entries{{"skin.ini", {}}};
    std::string ini = "[TitlebarSkin]\r\nSkinName=Bench\r\n[Personality]\r\nTop=top.bmp\r\nTopTopHeight=40\r\n"
                      "TopBotHeight=40\r\nTopFrame=2\r\nBottom=bottom.bmp\r\nBottomFrame=2\r\nLeft=left.bmp\r\nLeftFrame=2\r\n"
                      "Right=right.bmp\r\nRightFrame=2\r\nmenuBar=menubar.bmp\r\nTextBack=textback.bmp\r\n"
                      "[Colours]\r\nButtonFace=212,208,200,\r\nWindowText=0,0,0,\r\n[MDICONTROLS]\r\nImage=mdi.bmp\r\n";
    unsigned seed = 1;
    const auto add = [&](const std::string& name, int w, int h) { entries.push_back({name, Strip(w, h, seed++)}); };
    add("top.bmp", 200, 60);
    add("bottom.bmp", 200, 8);
    add("left.bmp", 8, 60);
    add("right.bmp", 8, 60);
    add("menubar.bmp", 60, 40);
    add("textback.bmp", 40, 30);
    add("mdi.bmp", 192, 16);
    add("check.bmp", 96, 16);
    add("radio.bmp", 96, 16);
    add("tabsborder.bmp", 40, 10);
    add("glyph.bmp", 64, 8);
    for (const TPart& p : parts) {
        const std::string file = std::string(p.Section) + ".bmp";
        ini += "[" + std::string(p.Section) + "]\r\n" + p.Key + "=" + file + "\r\nLeftWidth=3\r\nRightWidth=3\r\n" + p.Extra;
        add(file, p.W, p.H);
    }
    for (int i = 0; i < 4; ++i) {
        ini += "[Button" + std::to_string(i) + "]\r\nAction=" + std::to_string(i) + "\r\nAlign=1\r\nXcoord=" +
               std::to_string(20 * i + 24) + "\r\nButtonImage=title" + std::to_string(i) + ".bmp\r\nframe=4\r\n";
        add("title" + std::to_string(i) + ".bmp", 76, 19);
    }
    entries[0].Bytes.assign(ini.begin(), ini.end());
    return entries;
}

struct TSpread {
    double Min = 0, Median = 0, Max = 0;
};

// Milliseconds of each of Runs calls of Body.
template <class F>
TSpread TimeEach(int runs, F&& body)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = TClock::now();
        body();
        times.push_back(std::chrono::duration<double, std::milli>(TClock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2], times.back()};
}

// NAME_min_UNIT, NAME_median_UNIT and NAME_max_UNIT, each time times Scale.
void Print(const char* Name, const char* Unit, const TSpread& S, double Scale, int Decimals)
{
    std::printf("%s_min_%s: %.*f\n", Name, Unit, Decimals, S.Min * Scale);
    std::printf("%s_median_%s: %.*f\n", Name, Unit, Decimals, S.Median * Scale);
    std::printf("%s_max_%s: %.*f\n", Name, Unit, Decimals, S.Max * Scale);
}

// Bitmaps, brush and image list a loaded skin holds (the emulator does not
// count GDI objects per process, so they are counted from the elements).
int HeldObjects(const TSkinData& Data)
{
    int n = (Data.FFaceBrush ? 1 : 0) + (Data.FMenuImages != nullptr ? 1 : 0);
    const auto bitmap = [&](const std::unique_ptr<TBitmap>& B) { n += B && B->Handle() != nullptr; };
    const auto element = [&](const TDataSkinObject* E) {
        if (E == nullptr) return;
        bitmap(E->FBitmap);
        if (auto* b = dynamic_cast<const TDataSkinBorder*>(E)) bitmap(b->FBitmap2);
        if (auto* b = dynamic_cast<const TDataSkinButton*>(E)) {
            bitmap(b->FCheckButton);
            bitmap(b->FRadioButton);
        }
    };
    const TDataSkinObject* elements[] = {Data.FTitle.get(), Data.FButtons.get(), Data.FBorderLeft.get(),
          Data.FBorderRight.get(), Data.FBorderTop.get(), Data.FBorderBottom.get(), Data.FTabs.get(),
          Data.FUpDownHorz.get(), Data.FUpDownVert.get(), Data.FComboButton.get(), Data.FProgress.get(),
          Data.FGroupBox.get(), Data.FSunkEdge.get(), Data.FExtraImages.get(), Data.FComboArrow.get(),
          Data.FGroupBoxEdge.get(), Data.FToolbarGradient.get(), Data.FToolBars.get(), Data.FProgressChunk.get(),
          Data.FStatusBarEdges.get(), Data.FTabPane.get(), Data.FHeaderbar.get(), Data.FMenuBar.get(),
          Data.FMenuItem.get(), Data.FMenuBackground.get(), Data.FScrollbar.get(), Data.FHorzScroll.get(),
          Data.FVertScroll.get(), Data.FHorzScrollThumb.get(), Data.FVertScrollThumb.get(), Data.FThumbHorz.get(),
          Data.FThumbVert.get(), Data.FTrack.get(), Data.FTrackVert.get(), Data.FThumbLeft.get(),
          Data.FThumbRight.get(), Data.FThumbUp.get(), Data.FThumbDown.get()};
    for (const TDataSkinObject* e : elements) element(e);
    for (const auto& b : Data.FSysButtons) element(b.get());
    bitmap(Data.FAppIcon);
    return n;
}

} // namespace

int main(int argc, char** argv)
{
    SetSkinMessageHook([](const std::string& Text) { std::fprintf(stderr, "skin message: %s\n", Text.c_str()); });
    std::vector<TSkinEntry> entries;
    bool fromDefault = false;
    if (argc > 1) {
        const std::filesystem::path dir = std::filesystem::path(argv[1]) / "skins" / "default";
        std::error_code ec;
        if (std::filesystem::exists(dir / "skin.ini", ec)) {
            std::vector<std::string> skipped;
            entries = CollectSkinFolder(dir, skipped);
            fromDefault = true;
        }
    }
    if (!fromDefault) entries = SyntheticSkin();
    const std::vector<uint8_t> container = PackSkin(entries);
    TBytes stored;
    PutLE(stored, static_cast<uint32_t>(container.size()), 4);
    stored.insert(stored.end(), container.begin(), container.end());

    const TSpread decode = TimeEach(100, [&] {
        TSkinReader reader;
        if (!reader.ReadSkin(container)) std::abort();
    });
    const TSpread construct = TimeEach(100, [] { TSkinData data(nullptr); });
    int failures = 0;
    const TSpread load = TimeEach(100, [&] {
        TSkinData data(nullptr);
        data.SetSkinStreamBytes(stored);
        failures += data.NotLoaded();
    });
    TSkinData held(nullptr);
    held.SetSkinStreamBytes(stored);

    // The loaded skin's title cell (the top border's first state, stacked, as
    // the frame draws it) at 600 x 30.
    TDataSkinBorder& top = *held.FBorderTop;
    TBitmap target, source;
    target.SetSize(600, 30);
    source.SetSize(600, 30);
    HDC dc = target.Canvas()->Handle(), src = source.Canvas()->Handle();
    const RECT rect{0, 0, 600, 30};
    constexpr int Reps = 200;
    const TStripCell titleCell{.Index = 1, .Count = top.FFrame, .Vertical = true};
    const auto drawTitle = [&](const TStripCell& Cell) {
        for (int i = 0; i < Reps; ++i) DrawSkinPart(dc, rect, *top.FBitmap, MarginsOf(top), Cell);
    };
    drawTitle(titleCell);
    const TSpread part = TimeEach(25, [&] { drawTitle(titleCell); });
    const TSpread partTiled = TimeEach(25, [&] {
        drawTitle({.Index = 1, .Count = top.FFrame, .Tile = true, .Vertical = true});
    });
    const int kept = KeptSkinPartRenderings();
    // The same drawing once the skin's renderings are dropped: nothing is kept,
    // each draw renders the cell again.
    DropSkinPartRenderings(&held);
    const TSpread partUncached = TimeEach(25, [&] { drawTitle(titleCell); });
    if (kept == 0 || KeptSkinPartRenderings() != 0) {
        std::printf("error: the cached drawing kept %d renderings, the uncached one %d\n", kept,
                    KeptSkinPartRenderings());
        return 1;
    }
    const TSpread blit = TimeEach(25, [&] {
        for (int i = 0; i < Reps; ++i) ::BitBlt(dc, 0, 0, 600, 30, src, 0, 0, SRCCOPY);
    });

    std::printf("skinload_source: %s\n", fromDefault ? "skins/default" : "synthetic");
    std::printf("skinload_container_bytes: %zu\n", container.size());
    std::printf("skinload_failures: %d\n", failures);
    Print("skinload_full", "ms", load, 1, 3);
    Print("skinload_decode", "ms", decode, 1, 3);
    Print("skinload_component_create", "ms", construct, 1, 3);
    std::printf("skinload_gdi_objects_held: %d\n", HeldObjects(held));
    const double perDraw = 1000.0 / Reps;
    Print("drawskinpart_600x30", "us", part, perDraw, 2);
    Print("drawskinpart_600x30_tiled", "us", partTiled, perDraw, 2);
    Print("drawskinpart_600x30_uncached", "us", partUncached, perDraw, 2);
    Print("bitblt_600x30", "us", blit, perDraw, 2);
    // Ratios of the medians.
    std::printf("skinload_full_vs_decode: %.2f\n", load.Median / decode.Median);
    std::printf("drawskinpart_vs_bitblt: %.2f\n", part.Median / blit.Median);
    std::printf("drawskinpart_uncached_vs_cached: %.2f\n", partUncached.Median / part.Median);
    std::printf("drawskinpart_uncached_vs_bitblt: %.2f\n", partUncached.Median / blit.Median);
    return 0;
}
