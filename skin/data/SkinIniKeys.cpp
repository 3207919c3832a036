// The skin loader: every section and key of a skin's ini text with its type
// and default, the frame counts it imposes and the images it composes.
#include "skin/data/SkinIniKeys.h"

#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinDraw.h"
#include "skin/portable/BmpFile.h"
#include "skin/portable/SkinValues.h"

#include <algorithm>

namespace {

std::string UpperCaseAZ(std::string_view Text)
{
    std::string out(Text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
    return out;
}

class TLoader {
public:
    TLoader(TSkinSet& ASkin, const TSkinIni& AIni, const TSkinReader& AReader) : S(ASkin), Ini(AIni), Reader(AReader) {}

    std::string Refused;

    void Run()
    {
        S.FSkinName = Ini.ReadString("TitlebarSkin", "SkinName");
        ReadBorders();
        ReadColours();
        ReadSysButtons();
        ReadButtons();
        ReadTitle();
        ReadOptional();
        if (!S.FTrack) S.FTrack = ResourceObject("TRACK");
        if (!S.FTrackVert) S.FTrackVert = ResourceObject("TRACKVERT");
        SetDefaultFrames();
        MakeComboButton();
        MakeComboArrow();
        MakeToolbarGradient();
        S.FBaseColor = GetBaseColor(S);
        S.FFaceBrush.Reset(::CreateSolidBrush(static_cast<COLORREF>(SkinColorToRGB(S.FButtonFaceColor))));
    }

private:
    // A bitmap value names a container entry; anything else empties Target.
    // An entry that is no bitmap empties it too, and is listed in Refused.
    void LoadSkinBitmap(const std::string& Value, TBitmap& Target)
    {
        std::string entry;
        std::vector<uint8_t> bytes;
        if (SkinBitmapEntry(Value, entry)) Reader.GetFile(entry, bytes);
        TBmpError error = TBmpError::beNone;
        if (bytes.empty()) {
            Target.SetSize(0, 0);
            return;
        }
        // Counted before decoding, at every use: a skin that names one
        // entry many times pays for each copy.
        FPixels += std::min(BmpFilePixels(bytes), kMaxSkinPixels + 1);
        if (FPixels > kMaxSkinPixels) throw ESkinTooLarge();
        if (!LoadBitmapFromBmp(bytes, Target, &error))
            Refused += (Refused.empty() ? "" : "; ") + entry + ": " + BmpErrorText(error);
    }

    void ReadMargins(TDataSkinObject& E, const std::string& Section)
    {
        E.FLeftWidth = Ini.ReadInteger(Section, "LeftWidth", 0);
        E.FRightWidth = Ini.ReadInteger(Section, "RightWidth", 0);
        E.FTopHeight = Ini.ReadInteger(Section, "TopHeight", 0);
        E.FBottomHeight = Ini.ReadInteger(Section, "BottomHeight", 0);
    }

    void ReadStateColours(TDataSkinObject& E, const std::string& Section)
    {
        E.FNormalColour = Ini.ReadInteger(Section, "NormalColour", -1);
        E.FMouseOverColour = Ini.ReadInteger(Section, "MouseOverColour", -1);
        E.FPressedColour = Ini.ReadInteger(Section, "PressedColour", -1);
        E.FNormalColour2 = Ini.ReadColour(Section, "NormalColour2", S.FButtonTextColor);
        E.FMouseOverColour2 = Ini.ReadColour(Section, "MouseOverColour2", S.FButtonTextColor);
        E.FPressedColour2 = Ini.ReadColour(Section, "PressedColour2", S.FButtonTextColor);
    }

    // The element exists only when its image key has a value.
    template <class T>
    std::unique_ptr<T> ReadObjectAs(const std::string& Section, bool WithFrame)
    {
        const std::string image = Ini.ReadString(Section, "Image");
        if (image.empty()) return nullptr;
        auto e = std::make_unique<T>(Section);
        LoadSkinBitmap(image, *e->FBitmap);
        e->FStyle = Ini.ReadInteger(Section, "Style", 0);
        ReadMargins(*e, Section);
        if (WithFrame) e->FFrame = Ini.ReadInteger(Section, "Frame", 0);
        e->FTrans = Ini.ReadInteger(Section, "Trans", 0);
        e->FTile = Ini.ReadInteger(Section, "Tile", 0);
        if (e->FTile > 1) e->FTile = 0;
        ReadStateColours(*e, Section);
        return e;
    }

    std::unique_ptr<TDataSkinObject> ReadObject(const std::string& Section)
    {
        return ReadObjectAs<TDataSkinObject>(Section, true);
    }

    // SecondKey empty: the element has no second image.
    std::unique_ptr<TDataSkinBorder> ReadBorderObject(const std::string& Section, const char* SecondKey)
    {
        auto e = ReadObjectAs<TDataSkinBorder>(Section, false);
        if (e && SecondKey != nullptr) {
            const std::string second = Ini.ReadString(Section, SecondKey);
            if (!second.empty()) LoadSkinBitmap(second, *e->FBitmap2);
        }
        return e;
    }

    std::unique_ptr<TDataSkinBorder> ReadBitmapObject(const std::string& Section)
    {
        const std::string image = Ini.ReadString(Section, "Bitmap");
        if (image.empty()) return nullptr;
        auto e = std::make_unique<TDataSkinBorder>(Section);
        LoadSkinBitmap(image, *e->FBitmap);
        e->FStyle = Ini.ReadInteger(Section, "Style", 0);
        ReadMargins(*e, Section);
        e->FTrans = Ini.ReadInteger(Section, "Trans", 0);
        e->FTile = std::min(Ini.ReadInteger(Section, "Tile", 0), 1);
        return e;
    }

    std::unique_ptr<TDataSkinBoxLabel> ReadBoxLabel(const std::string& Section)
    {
        auto e = ReadObjectAs<TDataSkinBoxLabel>(Section, true);
        if (e) {
            e->FBackgroundAlignment = Ini.ReadInteger(Section, "BackgroundAlignment", 0);
            e->FBackgroundLeftShift = Ini.ReadInteger(Section, "BackgroundLeftShift", 0);
            e->FBackgroundRightShift = Ini.ReadInteger(Section, "BackgroundRightShift", 0);
        }
        return e;
    }

    void ReadBorders()
    {
        const std::pair<const char*, TDataSkinBorder*> borders[] = {
            {"Left", S.FBorderLeft.get()}, {"Right", S.FBorderRight.get()},
            {"Top", S.FBorderTop.get()},   {"Bottom", S.FBorderBottom.get()}};
        for (const auto& [name, e] : borders) {
            const std::string n = name;
            const int first = Ini.ReadInteger("Personality", n + "TopHeight", 0);
            const int second = Ini.ReadInteger("Personality", n + "BotHeight", 0);
            const bool sides = n == "Left" || n == "Right";
            e->FTopHeight = sides ? first : 0;
            e->FBottomHeight = sides ? second : 0;
            e->FLeftWidth = sides ? 0 : first;
            e->FRightWidth = sides ? 0 : second;
            e->FFrame = AtLeastOneFrame(Ini.ReadInteger("Personality", n + "Frame", 1));
            e->FTile = std::min(Ini.ReadInteger("Personality", n + "Stretch", 1), 1);
            e->FTrans = Ini.ReadInteger("Personality", n + "Trans", 1);
            LoadSkinBitmap(Ini.ReadString("Personality", n), *e->FBitmap);
        }
    }

    void ReadColours()
    {
        const auto c = [&](const char* Key, TColor Default) { return Ini.ReadColour("Colours", Key, Default); };
        S.FWindowTextColor = c("WindowText", SkinSysColor(0x08));
        S.FButtonFaceColor = c("ButtonFace", SkinSysColor(0x0F));
        S.FScrollbarColor = c("Scrollbar", SkinSysColor(0x00));
        S.FHilightTextColor = c("HilightText", SkinSysColor(0x0E));
        S.FHilightColor = c("Hilight", SkinSysColor(0x0D));
        S.FMenubarColor = c("Menubar", S.FButtonFaceColor);
        S.FMenuColor = c("Menu", SkinSysColor(0x04));
        S.FMenuTextColor = c("MenuText", SkinSysColor(0x07));
        S.FButtonTextColor = c("ButtonText", SkinSysColor(0x12));
        S.FButtonHilightColor = c("ButtonHilight", SkinSysColor(0x14));
        S.FButtonlightColor = c("Buttonlight", SkinSysColor(0x14));
        S.FButtonShadowColor = c("ButtonShadow", SkinSysColor(0x10));
        S.FButtonDkShadowColor = c("ButtonDkShadow", SkinSysColor(0x15));
        S.FMenuBarTextColor = c("MenuBarText", SkinSysColor(0x07));
        S.FTitleTextActiveColor = c("TitleTextActive", SkinSysColor(0x09));
        S.FTitleTextNoActiveColor = c("TitleTextNoActive", SkinSysColor(0x13));

        S.FColourList.clear();
        for (const std::string& section : Ini.Sections()) {
            const std::string upper = UpperCaseAZ(section);
            if (upper.starts_with("COLOUR") && upper != "COLOURS")
                S.FColourList.push_back(Ini.ReadColour(section, "color", SkinSysColor(0x08)));
        }
        for (int i = 0; i < 10; ++i)
            S.FCustomColors[static_cast<size_t>(i)] = Ini.ReadColour("Customcolors", "Color" + std::to_string(i), 0xFFFFFF);
    }

    void ReadSysButtons()
    {
        std::vector<std::string> kept;
        for (const std::string& section : Ini.Sections()) {
            const std::string upper = UpperCaseAZ(section);
            if (upper == "BUTTONS" || upper == "BUTTON.RADIO" || upper == "BUTTON.CHECKBOX" || upper == "BUTTON" ||
                !upper.starts_with("BUTTON"))
                continue;
            if (Ini.ReadInteger(section, "Action", 0) == -1 && Ini.ReadInteger(section, "Visibility", -1) != 0) continue;
            kept.push_back(section);
        }
        S.FSysButtons.clear();
        for (const std::string& section : kept) {
            auto e = std::make_unique<TDataSkinSysButton>(UpperCaseAZ(section));
            e->FAction = Ini.ReadInteger(section, "Action", 0);
            e->FAlign = Ini.ReadInteger(section, "Align", 0);
            e->FXcoord = Ini.ReadInteger(section, "Xcoord", 0);
            e->FYcoord = Ini.ReadInteger(section, "Ycoord", 0);
            e->FVisibility = Ini.ReadInteger(section, "Visibility", 0);
            e->FVisibility1 = Ini.ReadInteger(section, "Visibility1", e->FAction == -1 ? -1 : 0);
            e->FCombineOp = Ini.ReadInteger(section, "CombineOp", -1);
            const int frame = Ini.ReadInteger(section, "frame", 0);
            LoadSkinBitmap(Ini.ReadString(section, "ButtonImage"), *e->FBitmap);
            e->FFrame = SysButtonFrames(frame, e->FAction, e->FBitmap->Width(), e->FBitmap->Height());
            // The system-menu buttons draw the window icon unless the skin counts their cells.
            if (frame == 0 && (e->FAction == taSysMenu || e->FAction == taIcon)) e->FBitmap->SetSize(0, 0);
            S.FSysButtons.push_back(std::move(e));
        }
        const size_t k = S.FSysButtons.size();
        for (const TTitleAction action : {taMDIMinimize, taMDIRestore, taMDIClose}) {
            auto e = std::make_unique<TDataSkinSysButton>("");
            e->FAction = action;
            e->FAlign = sbaInMenuBar;
            e->FVisibility = e->FVisibility1 = sbvInMenuBar;
            e->FFrame = 4;
            S.FSysButtons.push_back(std::move(e));
        }
        ReadMDIButtons(k);
    }

    // One image of twelve cells: four states for each of the three buttons.
    void ReadMDIButtons(size_t First)
    {
        TBitmap image;
        LoadSkinBitmap(Ini.ReadString("MDICONTROLS", "Image"), image);
        if (image.Empty()) return;
        const int a = image.Width() / 12, h = image.Height();
        for (int i = 0; i < 3; ++i) {
            TDataSkinSysButton& e = *S.FSysButtons[First + static_cast<size_t>(i)];
            e.FBitmap->SetPixelFormat(TPixelFormat::pf24bit);
            e.FBitmap->SetSize(4 * a, h);
            if (!e.FBitmap->Empty())
                StretchPixels(PixelsOf(image), {4 * a * i, 0, 4 * a * (i + 1), h}, PixelsOf(*e.FBitmap), {0, 0, 4 * a, h});
            e.FXcoord = (a + 4) * (3 - i);
        }
    }

    void ReadButtons()
    {
        TDataSkinButton& b = *S.FButtons;
        const std::string section = "Buttons";
        b.FLeftWidth = Ini.ReadInteger(section, "LeftWidth", 0);
        b.FRightWidth = Ini.ReadInteger(section, "RightWidth", 0);
        b.FTopHeight = Ini.ReadInteger(section, "TopHeight", 0);
        b.FBottomHeight = Ini.ReadInteger(section, "BottomHeight", 0);
        b.FTrans = Ini.ReadInteger(section, "Trans", 0);
        LoadSkinBitmap(Ini.ReadString(section, "Bitmap"), *b.FBitmap);
        b.FTile = Ini.ReadInteger(section, "Tile", 0);
        if (b.FTile > 1) b.FTile = 0;
        LoadSkinBitmap(Ini.ReadString(section, "CheckButton"), *b.FCheckButton);
        LoadSkinBitmap(Ini.ReadString(section, "RadioButton"), *b.FRadioButton);
        b.FRadioButtonFrame = Ini.ReadInteger(section, "RadioButtonFrame", 0);
        b.FCheckButtonFrame = Ini.ReadInteger(section, "CheckButtonFrame", 0);
        b.FHasNormalColour2 = Ini.HasValue(section, "NormalColour2");
        b.FHasMouseOverColour2 = Ini.HasValue(section, "MouseOverColour2");
        b.FHasPressedColour2 = Ini.HasValue(section, "PressedColour2");
        ReadStateColours(b, section);
    }

    void ReadTitle()
    {
        TDataSkinTitle& t = *S.FTitle;
        const std::string section = "Personality";
        LoadSkinBitmap(Ini.ReadString(section, "TextBack"), *t.FBitmap);
        t.FLeftWidth = Ini.ReadInteger(section, "TextShift", 0);
        t.FTopHeight = Ini.ReadInteger(section, "TextShiftVert", 0);
        t.FRightWidth = Ini.ReadInteger(section, "TextRightClip", 0);
        t.FBottomHeight = 0;
        t.FTextAlignment = Ini.ReadInteger(section, "TextAlignment", 0);
        t.FTextBackground = Ini.ReadInteger(section, "Textbackground", 0);
        t.FFontHeight = Ini.ReadInteger("Fonts", "FontHeight", 14);
        t.FTXTBackLeft = Ini.ReadInteger(section, "TXTBackleft", 0);
        t.FTXTBackRight = Ini.ReadInteger(section, "TXTBackRight", 0);
        t.FActiveText = t.FInActiveText = kSkinNoTextColour;
        Ini.ReadRGB(section, "ActiveText", t.FActiveText);
        Ini.ReadRGB(section, "InActiveText", t.FInActiveText);
    }

    std::unique_ptr<TDataSkinObject> ReadMenuBar()
    {
        const std::string image = Ini.ReadString("Personality", "menuBar");
        if (image.empty()) return nullptr;
        auto e = std::make_unique<TDataSkinObject>("Personality");
        LoadSkinBitmap(image, *e->FBitmap);
        e->FTile = std::min(Ini.ReadInteger("Personality", "TileMenu", 1), 1);
        e->FLeftWidth = Ini.ReadInteger("Personality", "TileLeftMenu", 1);
        e->FRightWidth = Ini.ReadInteger("Personality", "TileRightMenu", 1);
        return e;
    }

    void ReadOptional()
    {
        S.FProgress = ReadBitmapObject("Progress");
        S.FProgressChunk = ReadObject("Progress.Chunk");
        S.FMenuBar = ReadMenuBar();
        S.FGroupBoxEdge = ReadObject("GroupBoxEdge");
        S.FGroupBox = ReadBoxLabel("GroupBox");
        S.FTabs = ReadBorderObject("Tabs", "Border");
        S.FStatusBarEdges = ReadObject("StatusBarEdges");
        S.FTabPane = ReadObject("Tab.Pane");
        if (S.FTabPane)
            for (int32_t* m : {&S.FTabPane->FLeftWidth, &S.FTabPane->FTopHeight, &S.FTabPane->FRightWidth,
                               &S.FTabPane->FBottomHeight})
                *m = std::min(*m, 4);
        S.FToolBars = ReadObject("ToolBars");
        S.FComboButton = ReadBorderObject("ComboButton", nullptr);
        S.FSunkEdge = ReadObject("SunkEdge");
        if (S.FComboButton && !S.FComboButton->FBitmap->Empty()) {
            S.FComboButton->FBitmap2->Assign(*S.FComboButton->FBitmap);
            S.FComboButton->FBitmap2->SetPixelFormat(TPixelFormat::pf24bit);
            MirrorBitmap(*S.FComboButton->FBitmap2);
        }
        S.FExtraImages = ReadObject("ExtraImages");
        S.FHeaderbar = ReadObject("Headerbar");
        S.FMenuItem = ReadObject("MenuItem");
        S.FMenuBackground = ReadObject("MenuBackground");
        S.FScrollbar = ReadObject("Scrollbar");
        S.FHorzScroll = ReadObject("HorzScroll");
        S.FVertScroll = ReadObject("VertScroll");
        S.FHorzScrollThumb = ReadObject("HorzScrollThumb");
        S.FVertScrollThumb = ReadObject("VertScrollThumb");
        S.FThumbHorz = ReadObject("Trackbar.ThumbHorz");
        S.FThumbVert = ReadObject("Trackbar.ThumbVert");
        S.FThumbLeft = ReadObject("Trackbar.ThumbLeft");
        S.FThumbRight = ReadObject("Trackbar.ThumbRight");
        S.FThumbUp = ReadObject("Trackbar.ThumbUp");
        S.FThumbDown = ReadObject("Trackbar.ThumbDown");
        S.FUpDownHorz = ReadBorderObject("UpDown.Horz", "GlyphImage");
        S.FUpDownVert = ReadBorderObject("UpDown.Vert", "GlyphImage");
        S.FTrack = ReadObject("Track");
        S.FTrackVert = ReadObject("TRACKVERT");
    }

    static std::unique_ptr<TDataSkinObject> ResourceObject(const char* Name)
    {
        auto e = std::make_unique<TDataSkinObject>(Name);
        LoadBitmapResource(Name, *e->FBitmap);
        e->FLeftWidth = e->FTopHeight = e->FRightWidth = e->FBottomHeight = 3;
        e->FFrame = 1;
        return e;
    }

    void SetDefaultFrames()
    {
        const auto set = [](const auto& E, int Frames) {
            if (E) E->FFrame = Frames;
        };
        TDataSkinButton& b = *S.FButtons;
        b.FFrame = 5;
        b.FRadioButtonFrame = GlyphFrames(b.FRadioButtonFrame, b.FRadioButton->Width(), b.FRadioButton->Height());
        b.FCheckButtonFrame = GlyphFrames(b.FCheckButtonFrame, b.FCheckButton->Width(), b.FCheckButton->Height());
        S.FTitle->FFrame = 2;
        if (S.FProgress) S.FProgress->FFrame = S.FProgress->FStyle != 0 ? 1 : 2;
        set(S.FMenuBar, 2);
        set(S.FGroupBoxEdge, 2);
        set(S.FToolBars, 5);
        set(S.FTabs, 5);
        set(S.FTabPane, 1);
        set(S.FGroupBox, 1);
        set(S.FMenuBackground, 1);
        set(S.FStatusBarEdges, 3);
        set(S.FComboButton, 4);
        set(S.FSunkEdge, 4);
        set(S.FExtraImages, 5);
        set(S.FMenuItem, 5);
        if (S.FHeaderbar && S.FHeaderbar->FFrame == 0) S.FHeaderbar->FFrame = 5;
        set(S.FScrollbar, 23);
        set(S.FHorzScroll, 4);
        set(S.FVertScroll, 4);
        set(S.FUpDownHorz, 8);
        set(S.FUpDownVert, 8);
        for (const auto* e : {&S.FThumbHorz, &S.FThumbVert, &S.FThumbLeft, &S.FThumbRight, &S.FThumbUp, &S.FThumbDown})
            set(*e, 5);
        set(S.FHorzScrollThumb, AtLeastOneFrame(Ini.ReadInteger("HorzScrollThumb", "FrameCount", 3)));
        set(S.FVertScrollThumb, AtLeastOneFrame(Ini.ReadInteger("VertScrollThumb", "FrameCount", 3)));
        // Counts kept from the skin still have to give a cell size.
        for (const auto* e : {&S.FHeaderbar, &S.FProgressChunk, &S.FTrack, &S.FTrackVert})
            if (*e) (*e)->FFrame = AtLeastOneFrame((*e)->FFrame);
    }

    void MakeComboButton()
    {
        if (!S.FSunkEdge || !S.FComboButton) return;
        TDataSkinObject& sunk = *S.FSunkEdge;
        TDataSkinBorder& combo = *S.FComboButton;
        const int frames = sunk.FFrame;
        const int bw = ::GetSystemMetrics(SM_CXHSCROLL) + 2;

        // Composed in memory: device-context drawing with masks costs more than the rest of the load.
        TBitmap strip, cell;
        for (TBitmap* b : {&strip, &cell}) {
            b->SetPixelFormat(TPixelFormat::pf24bit);
            b->Canvas()->SetBrushColor(clKeyMagenta);
        }
        strip.SetSize(50 * frames, 21);
        cell.SetSize(50, 21);
        const RECT button{50 - bw, 0, 50, 21};
        for (int s = 1; s <= frames; ++s) {
            const TImageView pixels = PixelsOf(cell);
            FillPixels(pixels, {0, 0, 50, 21}, clKeyMagenta);
            DrawSkinPartInto(cell, RECT{0, 0, 50, 21}, *sunk.FBitmap, MarginsOf(sunk),
                             {.Index = s, .Count = frames, .Transparent = sunk.FTrans != 0});
            DrawSkinPartInto(cell, button, *combo.FBitmap, MarginsOf(combo),
                             {.Index = s, .Count = combo.FFrame, .Transparent = true});
            if (S.FExtraImages)
                DrawSkinCellCenteredInto(cell, button, *S.FExtraImages->FBitmap,
                                         {.Index = s, .Count = S.FExtraImages->FFrame, .Transparent = true});
            FillPixels(pixels, {2, 2, 49 - bw, 18}, clKeyMagenta);
            CopyPixels(pixels, PixelsOf(strip), 50 * (s - 1), 0, false);
        }
        combo.FStyle = 2;
        combo.FLeftWidth = 2;
        combo.FTopHeight = sunk.FTopHeight;
        combo.FRightWidth = bw + 2;
        combo.FBottomHeight = sunk.FBottomHeight;
        combo.FBitmap->Assign(strip);
        MirrorBitmap(strip);
        sunk.FBitmap->Assign(strip);
        sunk.FLeftWidth = bw + 2;
        sunk.FRightWidth = 2;
    }

    void MakeComboArrow()
    {
        if (!S.FComboArrow) S.FComboArrow = std::make_unique<TDataSkinObject>("ComboxArrow");
        TDataSkinObject& arrow = *S.FComboArrow;
        if (!S.FSunkEdge) {
            if (!S.FComboButton) return;
            arrow.FBitmap->Assign(*S.FComboButton->FBitmap);
            if (!arrow.FBitmap->Empty()) ReplaceKeyColor(*arrow.FBitmap, SkinColorToRGB(S.FButtonFaceColor));
            arrow.FFrame = S.FComboButton->FFrame;
        } else if (S.FComboButton && S.FComboButton->FStyle == 2) {
            const int frames = S.FSunkEdge->FFrame;
            TBitmap& button = *S.FComboButton->FBitmap;
            arrow.FBitmap->SetPixelFormat(TPixelFormat::pf24bit);
            arrow.FBitmap->SetSize(17 * frames, 17);
            const int w = button.Width() / frames;
            for (int i = 0; i < frames; ++i)
                StretchPixels(PixelsOf(button), {w * (i + 1) - 19, 2, w * (i + 1) - 2, 19}, PixelsOf(*arrow.FBitmap),
                              {17 * i, 0, 17 * (i + 1), 17});
            arrow.FFrame = frames;
        }
    }

    void MakeToolbarGradient()
    {
        const TColor base = SkinColorToRGB(GetBaseColor(S));
        TColor end = BlendColors(0x808080, base, 150);
        const TColor start = BlendColors(S.FButtonFaceColor, 0xFFFFFF, 150);
        const int saturation = ColorSaturation(base);
        if (saturation > 110) end = BlendColors(base, 0xFFFFFF, (225 - saturation) * 25 / 140 + 50);
        if (!S.FToolbarGradient) S.FToolbarGradient = std::make_unique<TDataSkinObject>("Toolbar");
        TBitmap& b = *S.FToolbarGradient->FBitmap;
        b.SetSize(10, 40);
        GradientFillRect(b.Canvas()->Handle(), RECT{0, 0, 10, 40}, start, end, 1);
        S.FToolbarGradient->FFrame = 1;
    }

    TSkinSet& S;
    const TSkinIni& Ini;
    const TSkinReader& Reader;
    int64_t FPixels = 0;  // decoded so far
};

} // namespace

ESkinTooLarge::ESkinTooLarge()
    : ESkinError("too large: the skin's bitmaps hold more than " + std::to_string(kMaxSkinPixels) + " pixels")
{
}

TSkinSet::TSkinSet()
    : FTitle(std::make_unique<TDataSkinTitle>("Title")),
      FButtons(std::make_unique<TDataSkinButton>("Buttons")),
      FBorderLeft(std::make_unique<TDataSkinBorder>("Left")),
      FBorderRight(std::make_unique<TDataSkinBorder>("Right")),
      FBorderTop(std::make_unique<TDataSkinBorder>("Top")),
      FBorderBottom(std::make_unique<TDataSkinBorder>("Bottom"))
{
    FCustomColors.fill(0xFFFFFF);
}

std::string ApplyIni(TSkinSet& Skin, const TSkinIni& Ini, const TSkinReader& Reader)
{
    TLoader loader(Skin, Ini, Reader);
    loader.Run();
    return loader.Refused;
}

std::string OversizedFramePart(const TSkinSet& Skin, int ScreenWidth, int ScreenHeight)
{
    const int maxWidth = ScreenWidth / 8, maxHeight = ScreenHeight / 8;
    const auto cells = [](const TDataSkinObject& E) { return E.FFrame > 0 ? E.FFrame : 1; };
    const auto tooWide = [&](const char* What, int Width) {
        return Width > maxWidth ? "too large: the " + std::string(What) + " is " + std::to_string(Width) +
                                      " pixels wide, more than an eighth of the screen (" + std::to_string(maxWidth) + ")"
                                : std::string();
    };
    const auto tooHigh = [&](const char* What, int Height) {
        return Height > maxHeight ? "too large: the " + std::string(What) + " is " + std::to_string(Height) +
                                        " pixels high, more than an eighth of the screen (" +
                                        std::to_string(maxHeight) + ")"
                                  : std::string();
    };
    std::string why = tooWide("left border", Skin.FBorderLeft->FBitmap->Width() / cells(*Skin.FBorderLeft));
    if (why.empty()) why = tooWide("right border", Skin.FBorderRight->FBitmap->Width() / cells(*Skin.FBorderRight));
    if (why.empty()) why = tooHigh("title", Skin.FBorderTop->FBitmap->Height() / cells(*Skin.FBorderTop));
    if (why.empty()) why = tooHigh("bottom border", Skin.FBorderBottom->FBitmap->Height() / cells(*Skin.FBorderBottom));
    for (const auto& b : Skin.FSysButtons) {
        if (why.empty()) why = tooWide("title button", b->FBitmap->Width() / cells(*b));
        if (why.empty()) why = tooHigh("title button", b->FBitmap->Height());
    }
    return why;
}

std::vector<const TBitmap*> SkinStrips(const TSkinSet& Skin)
{
    std::vector<const TBitmap*> strips;
    const auto add = [&](const auto& Element) {
        const TDataSkinObject* e = Element.get();
        if (e == nullptr) return;
        strips.push_back(e->FBitmap.get());
        if (auto* b = dynamic_cast<const TDataSkinBorder*>(e)) strips.push_back(b->FBitmap2.get());
        if (auto* b = dynamic_cast<const TDataSkinButton*>(e)) {
            strips.push_back(b->FCheckButton.get());
            strips.push_back(b->FRadioButton.get());
        }
    };
    const auto addAll = [&](const auto&... Elements) { (add(Elements), ...); };
    addAll(Skin.FTitle, Skin.FButtons, Skin.FBorderLeft, Skin.FBorderRight, Skin.FBorderTop, Skin.FBorderBottom,
           Skin.FTabs, Skin.FUpDownHorz, Skin.FUpDownVert, Skin.FComboButton, Skin.FProgress, Skin.FGroupBox,
           Skin.FSunkEdge, Skin.FExtraImages, Skin.FComboArrow, Skin.FGroupBoxEdge, Skin.FToolbarGradient,
           Skin.FToolBars, Skin.FProgressChunk, Skin.FStatusBarEdges, Skin.FTabPane, Skin.FHeaderbar, Skin.FMenuBar,
           Skin.FMenuItem, Skin.FMenuBackground, Skin.FScrollbar, Skin.FHorzScroll, Skin.FVertScroll,
           Skin.FHorzScrollThumb, Skin.FVertScrollThumb, Skin.FThumbHorz, Skin.FThumbVert, Skin.FTrack,
           Skin.FTrackVert, Skin.FThumbLeft, Skin.FThumbRight, Skin.FThumbUp, Skin.FThumbDown);
    for (const auto& b : Skin.FSysButtons) add(b);
    return strips;
}

TColor GetBaseColor(const TSkinSet& Skin)
{
    TBitmap& top = *Skin.FBorderTop->FBitmap;
    if (top.Empty() || Skin.FBorderTop->FFrame < 1) return Skin.FButtonFaceColor;
    return top.Canvas()->Pixel(top.Width() / 3, top.Height() / Skin.FBorderTop->FFrame / 3);
}
