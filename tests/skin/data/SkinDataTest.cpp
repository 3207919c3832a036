// The skin component: loading skins built in memory, the defaults of keys a
// skin leaves out, failed loads that keep the skin in use, SkinFile, the
// manager's call site, streaming from a description, and the default skin.
#include "skin/data/WinSkinData.h"
#include "tests/skin/support/AllocationCount.h"
#include "tests/skin/support/SkinTestData.h"
#include "classlib/Handles.h"
#include "classlib/portable/DescriptionReader.h"
#include "skin/portable/BmpFile.h"
#include "skin/portable/SkinValues.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

using skintest::Bytes;

TBytes Stored(const std::vector<uint8_t>& Container)
{
    TBytes out;
    skintest::PutLE(out, static_cast<uint32_t>(Container.size()), 4);
    out.insert(out.end(), Container.begin(), Container.end());
    return out;
}

std::vector<uint8_t> Skin(const std::string& Ini, std::vector<TSkinEntry> Bitmaps = {})
{
    Bitmaps.insert(Bitmaps.begin(), TSkinEntry{"skin.ini", Bytes(Ini)});
    return PackSkin(Bitmaps);
}

TColor Rgb(int r, int g, int b)
{
    return r | g << 8 | b << 16;
}

// Version messages are recorded instead of shown.
struct TSkinDataTest : ::testing::Test {
    std::vector<std::string> Messages;
    void SetUp() override
    {
        SetSkinMessageHook([this](const std::string& Text) { Messages.push_back(Text); });
    }
    void TearDown() override
    {
        SetSkinMessageHook(nullptr);
        SetSkinManagerHook(nullptr);
    }
};

const char* kFullIni =
    "[TitlebarSkin]\r\nSkinName=Full\r\n"
    "[Personality]\r\nTop=top.bmp\r\nTopTopHeight=7\r\nTopBotHeight=8\r\nTopFrame=0\r\nTopStretch=5\r\nTopTrans=0\r\n"
    "Left=LEFT.BMP\r\nLeftTopHeight=12abc\r\nLeftBotHeight=0x10\r\nBottom=absent.bmp\r\nRight=dir\\right.bmp\r\n"
    "RightBotHeight=$20\r\nTextShift=4\r\nActiveTextR=1\r\nActiveTextG=2\r\nActiveTextB=3\r\nInActiveTextR=9\r\n"
    "menuBar=bar.bmp\r\nTileMenu=3\r\n"
    "[Colours]\r\nButtonFace=10,20,30,\r\nButtonText=1 2 3\r\nMenu=\r\n"
    "[Colour1]\r\ncolor=4,5,6,\r\n[Colour2]\r\n[Customcolors]\r\nColor3=7,8,9,\r\n"
    "[Fonts]\r\nFontHeight=oops\r\n"
    "[Buttons]\r\nBitmap=button.bmp\r\nTile=2\r\nNormalColour2=\r\nPressedColour2=40,50,60,\r\n"
    "CheckButton=check.bmp\r\nRadioButtonFrame=-2\r\n"
    "[ButtonClose]\r\nAction=1\r\nAlign=1\r\nButtonImage=close.bmp\r\n"
    "[ButtonWide]\r\nAction=-2\r\nVisibility=0\r\nButtonImage=close.bmp\r\n"
    "[ButtonHidden]\r\nAction=-1\r\nButtonImage=close.bmp\r\n"
    "[ButtonShown]\r\nAction=-1\r\nVisibility=0\r\n"
    "[ButtonSysMenu]\r\nAction=3\r\nButtonImage=close.bmp\r\n"
    "[ButtonSysMenu2]\r\nAction=3\r\nframe=3\r\nButtonImage=close.bmp\r\n"
    "[Button.Radio]\r\nAction=1\r\n"
    "[Tabs]\r\nImage=tabs.bmp\r\nFrame=7\r\nBorder=tabs.bmp\r\n"
    "[Headerbar]\r\nImage=tabs.bmp\r\nFrame=7\r\n"
    "[Tab.Pane]\r\nImage=tabs.bmp\r\nLeftWidth=10\r\nTopHeight=2\r\n"
    "[Progress]\r\nBitmap=tabs.bmp\r\nStyle=1\r\nTile=9\r\n"
    "[Progress.Chunk]\r\nImage=tabs.bmp\r\nFrame=-4\r\n"
    "[SunkEdge]\r\nImage=sunk.bmp\r\nLeftWidth=3\r\nTopHeight=3\r\nRightWidth=3\r\nBottomHeight=3\r\n"
    "[ComboButton]\r\nImage=combo.bmp\r\nLeftWidth=2\r\n"
    "[HorzScrollThumb]\r\nImage=tabs.bmp\r\nFrameCount=0\r\n"
    "[GroupBox]\r\nImage=tabs.bmp\r\nBackgroundLeftShift=6\r\n"
    "[StatusBarEdges]\r\nTrans=1\r\n";

std::vector<TSkinEntry> FullBitmaps()
{
    return {{"top.bmp", skintest::MakeBmp24(30, 40, 1)},   {"left.bmp", skintest::MakeBmp24(4, 30, 2)},
            {"right.bmp", skintest::MakeBmp24(4, 30, 3)},  {"bar.bmp", skintest::MakeBmp24(20, 40, 4)},
            {"button.bmp", skintest::MakeBmp24(100, 20, 5)}, {"check.bmp", skintest::MakeBmp24(96, 16, 6)},
            {"close.bmp", skintest::MakeBmp24(57, 19, 7)}, {"tabs.bmp", skintest::MakeBmp24(50, 10, 8)},
            {"sunk.bmp", skintest::MakeBmp24(80, 21, 9)},  {"combo.bmp", skintest::MakeBmp24(68, 21, 10)}};
}

} // namespace

TEST_F(TSkinDataTest, AFreshComponentCarriesItsDefaults)
{
    TSkinData data(nullptr);
    EXPECT_TRUE(data.NotLoaded());
    EXPECT_EQ(data.DisableTag(), 99);
    EXPECT_EQ(data.Options(), SkinBit(xoPreview) | SkinBit(xoToolbarBK));
    EXPECT_EQ(GetSetProp(data, "SkinControls").find("xcMenuItem"), std::string::npos);
    EXPECT_EQ(data.Skin3rd()->Count(), 117);
    EXPECT_EQ(GetStrProp(data, "Version"), "4.11.07.25");
    SetStrProp(data, "Version", "1.0");
    SetStrProp(data, "SkinStore", "(Good)");
    EXPECT_EQ(GetStrProp(data, "Version"), "4.11.07.25");
    EXPECT_EQ(GetStrProp(data, "SkinStore"), "(none)");
    ASSERT_TRUE(data.FTitle && data.FButtons && data.FBorderTop);
    EXPECT_EQ(data.FTitle->FName, "Title");
    EXPECT_EQ(data.FTabs, nullptr);
    EXPECT_EQ(GetBinaryProp(data, "SkinStream"), (TBytes{0, 0, 0, 0}));
}

TEST_F(TSkinDataTest, KeysASkinLeavesOutTakeTheirDefaults)
{
    TSkinData data(nullptr);
    SetBinaryProp(data, "SkinStream", Stored(Skin("[TitlebarSkin]\r\nSkinName=Bare\r\n")));
    ASSERT_FALSE(data.NotLoaded()) << data.LoadError();
    EXPECT_EQ(data.FSkinName, "Bare");
    // Colours: system colours, resolved only when drawn.
    EXPECT_EQ(data.FWindowTextColor, static_cast<TColor>(0xFF000008));
    EXPECT_EQ(data.FButtonFaceColor, static_cast<TColor>(0xFF00000F));
    EXPECT_EQ(data.FMenubarColor, data.FButtonFaceColor);
    EXPECT_EQ(data.FButtonlightColor, static_cast<TColor>(0xFF000014));
    EXPECT_EQ(data.FTitleTextNoActiveColor, static_cast<TColor>(0xFF000013));
    EXPECT_EQ(data.FCustomColors[9], 0xFFFFFF);
    EXPECT_TRUE(data.FColourList.empty());
    // Always-present elements.
    EXPECT_EQ(data.FButtons->FFrame, 5);
    EXPECT_EQ(data.FButtons->FNormalColour, -1);
    EXPECT_EQ(data.FButtons->FNormalColour2, data.FButtonTextColor);
    EXPECT_FALSE(data.FButtons->FHasNormalColour2);
    EXPECT_EQ(data.FButtons->FRadioButtonFrame, 4);
    EXPECT_EQ(data.FTitle->FFontHeight, 14);
    EXPECT_EQ(data.FTitle->FFrame, 2);
    EXPECT_EQ(data.FTitle->FActiveText, kSkinNoTextColour);
    EXPECT_EQ(data.FBorderTop->FFrame, 1);
    EXPECT_EQ(data.FBorderTop->FTile, 1);
    EXPECT_EQ(data.FBorderTop->FTrans, 1);
    EXPECT_TRUE(data.FBorderTop->FBitmap->Empty());
    // Optional elements do not exist; the fallbacks and composed ones do.
    EXPECT_EQ(data.FTabs, nullptr);
    EXPECT_EQ(data.FMenuBar, nullptr);
    ASSERT_NE(data.FTrack, nullptr);
    EXPECT_EQ(data.FTrack->FLeftWidth, 3);
    EXPECT_EQ(data.FTrack->FFrame, 1);
    ASSERT_NE(data.FComboArrow, nullptr);
    EXPECT_TRUE(data.FComboArrow->FBitmap->Empty());
    ASSERT_NE(data.FToolbarGradient, nullptr);
    EXPECT_EQ(data.FToolbarGradient->FBitmap->Height(), 40);
    ASSERT_EQ(data.FSysButtons.size(), 3u);
    EXPECT_EQ(data.FSysButtons[0]->FAction, 7);
    EXPECT_EQ(data.FSysButtons[2]->FFrame, 4);
    EXPECT_NE(data.FFaceBrush.Get(), nullptr);
}

TEST_F(TSkinDataTest, EveryValueTypeIsReadWithItsRules)
{
    TSkinData data(nullptr);
    SetBinaryProp(data, "SkinStream", Stored(Skin(kFullIni, FullBitmaps())));
    ASSERT_FALSE(data.NotLoaded()) << data.LoadError();

    // Integers: malformed gives the default, hexadecimal in both forms.
    EXPECT_EQ(data.FBorderLeft->FTopHeight, 0);
    EXPECT_EQ(data.FBorderLeft->FBottomHeight, 16);
    EXPECT_EQ(data.FBorderRight->FBottomHeight, 32);
    EXPECT_EQ(data.FTitle->FFontHeight, 14);
    // Borders: top margins become left and right; frame counts at least 1.
    EXPECT_EQ(data.FBorderTop->FLeftWidth, 7);
    EXPECT_EQ(data.FBorderTop->FRightWidth, 8);
    EXPECT_EQ(data.FBorderTop->FTopHeight, 0);
    EXPECT_EQ(data.FBorderTop->FFrame, 1);
    EXPECT_EQ(data.FBorderTop->FTile, 1);
    EXPECT_EQ(data.FBorderTop->FTrans, 0);
    EXPECT_EQ(data.FBorderTop->FBitmap->Width(), 30);
    // Bitmap names: upper-case extension, missing entry, path part.
    EXPECT_TRUE(data.FBorderLeft->FBitmap->Empty());
    EXPECT_TRUE(data.FBorderBottom->FBitmap->Empty());
    EXPECT_EQ(data.FBorderRight->FBitmap->Height(), 30);
    // Colours.
    EXPECT_EQ(data.FButtonFaceColor, Rgb(10, 20, 30));
    EXPECT_EQ(data.FMenubarColor, Rgb(10, 20, 30));
    EXPECT_EQ(data.FButtonTextColor, Rgb(1, 2, 3));
    EXPECT_EQ(data.FMenuColor, static_cast<TColor>(0xFF000004));
    EXPECT_EQ(data.FColourList, (std::vector<TColor>{Rgb(4, 5, 6), static_cast<TColor>(0xFF000008)}));
    EXPECT_EQ(data.FCustomColors[3], Rgb(7, 8, 9));
    EXPECT_EQ(data.FTitle->FActiveText, Rgb(1, 2, 3));
    EXPECT_EQ(data.FTitle->FInActiveText, kSkinNoTextColour);
    EXPECT_EQ(data.FTitle->FLeftWidth, 4);
    // Buttons.
    EXPECT_EQ(data.FButtons->FTile, 0);
    EXPECT_FALSE(data.FButtons->FHasNormalColour2);
    EXPECT_EQ(data.FButtons->FNormalColour2, Rgb(1, 2, 3));
    EXPECT_TRUE(data.FButtons->FHasPressedColour2);
    EXPECT_EQ(data.FButtons->FPressedColour2, Rgb(40, 50, 60));
    EXPECT_EQ(data.FButtons->FCheckButtonFrame, 6);
    EXPECT_EQ(data.FButtons->FRadioButtonFrame, 1);
    // Title buttons: the hidden one is dropped, the rest in text order, then the MDI three.
    std::vector<std::string> names;
    for (const auto& b : data.FSysButtons) names.push_back(b->FName);
    EXPECT_EQ(names, (std::vector<std::string>{"BUTTONCLOSE", "BUTTONWIDE", "BUTTONSHOWN", "BUTTONSYSMENU",
                                                "BUTTONSYSMENU2", "", "", ""}));
    EXPECT_EQ(data.FSysButtons[0]->FFrame, 3);  // 57 x 19
    EXPECT_EQ(data.FSysButtons[0]->FCombineOp, -1);
    EXPECT_EQ(data.FSysButtons[1]->FFrame, 6);  // negative action
    EXPECT_EQ(data.FSysButtons[2]->FVisibility1, -1);
    EXPECT_TRUE(data.FSysButtons[3]->FBitmap->Empty());
    EXPECT_EQ(data.FSysButtons[4]->FBitmap->Width(), 57);
    // Optional elements and imposed frame counts.
    ASSERT_TRUE(data.FTabs && data.FHeaderbar && data.FTabPane && data.FProgress && data.FProgressChunk);
    EXPECT_EQ(data.FTabs->FFrame, 5);
    EXPECT_FALSE(data.FTabs->FBitmap2->Empty());
    EXPECT_EQ(data.FHeaderbar->FFrame, 7);
    EXPECT_EQ(data.FTabPane->FLeftWidth, 4);
    EXPECT_EQ(data.FTabPane->FTopHeight, 2);
    EXPECT_EQ(data.FProgress->FFrame, 1);
    EXPECT_EQ(data.FProgress->FTile, 1);
    EXPECT_EQ(data.FProgressChunk->FFrame, 1);
    EXPECT_EQ(data.FHorzScrollThumb->FFrame, 1);
    ASSERT_NE(data.FGroupBox, nullptr);
    EXPECT_EQ(data.FGroupBox->FBackgroundLeftShift, 6);
    EXPECT_EQ(data.FStatusBarEdges, nullptr); // no image key
    ASSERT_NE(data.FMenuBar, nullptr);
    EXPECT_EQ(data.FMenuBar->FTile, 1);
    EXPECT_EQ(data.FMenuBar->FLeftWidth, 1);
    EXPECT_EQ(data.FMenuBar->FFrame, 2);
    // The composed combo image: four 50 x 21 states in both elements.
    ASSERT_TRUE(data.FComboButton && data.FSunkEdge && data.FComboArrow);
    const int bw = ::GetSystemMetrics(SM_CXHSCROLL) + 2;
    EXPECT_EQ(data.FComboButton->FStyle, 2);
    EXPECT_EQ(data.FComboButton->FBitmap->Width(), 200);
    EXPECT_EQ(data.FComboButton->FRightWidth, bw + 2);
    EXPECT_EQ(data.FSunkEdge->FLeftWidth, bw + 2);
    EXPECT_EQ(data.FComboButton->FBitmap->Canvas()->Pixel(10, 10), clKeyMagenta); // the edit part is cut out
    EXPECT_EQ(data.FSunkEdge->FBitmap->Canvas()->Pixel(39, 10), clKeyMagenta);    // mirrored
    EXPECT_EQ(data.FComboArrow->FBitmap->Width(), 68);
    EXPECT_EQ(data.FComboArrow->FFrame, 4);
    // The base colour comes from the top border's strip.
    EXPECT_EQ(data.FBaseColor, data.FBorderTop->FBitmap->Canvas()->Pixel(10, 13));
}

TEST_F(TSkinDataTest, AFailedLoadKeepsTheSkinInUse)
{
    TSkinData data(nullptr);
    const std::vector<uint8_t> good = Skin(kFullIni, FullBitmaps());
    SetBinaryProp(data, "SkinStream", Stored(good));
    ASSERT_FALSE(data.NotLoaded());
    const TDataSkinTitle* title = data.FTitle.get();
    const TDataSkinBorder* tabs = data.FTabs.get();

    std::vector<uint8_t> wrongVersion = CompressContainer(BuildUnpacked({{"skin.ini", Bytes("[TitlebarSkin]")}}, 19999));
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        TSkinLoadResult result;
    } cases[] = {
        {"damaged", skintest::RandomBytes(300, 5), TSkinLoadResult::lrContainer},
        {"cut short", std::vector<uint8_t>(good.begin(), good.begin() + static_cast<ptrdiff_t>(good.size() / 2)),
         TSkinLoadResult::lrContainer},
        {"wrong version", wrongVersion, TSkinLoadResult::lrContainer},
        {"no ini", PackSkin({{"top.bmp", skintest::MakeBmp24(4, 4, 1)}}), TSkinLoadResult::lrNoIni},
    };
    for (const auto& c : cases) {
        SetBinaryProp(data, "SkinStream", Stored(c.bytes));
        EXPECT_TRUE(data.NotLoaded()) << c.what;
        EXPECT_EQ(data.LastLoadResult(), c.result) << c.what;
        EXPECT_EQ(data.FTitle.get(), title) << c.what;
        EXPECT_EQ(data.FTabs.get(), tabs) << c.what;
        EXPECT_EQ(data.FSkinName, "Full") << c.what;
        EXPECT_EQ(data.SkinStream(), good) << c.what;
        if (c.bytes == wrongVersion) {
            EXPECT_EQ(data.ContainerResult(), TSkinReadResult::srOlderVersion);
        }
    }
    EXPECT_EQ(Messages, (std::vector<std::string>{TSkinReader::OlderSkinText}));

    // A count larger than the bytes that follow it.
    TBytes shortStream = Stored(good);
    shortStream.resize(100);
    SetBinaryProp(data, "SkinStream", shortStream);
    EXPECT_TRUE(data.NotLoaded());
    EXPECT_EQ(data.FTitle.get(), title);

    SetBinaryProp(data, "SkinStream", Stored(good));
    EXPECT_FALSE(data.NotLoaded());
}

TEST_F(TSkinDataTest, AnAllocationFailureInTheLoadLeavesTheComponentNotLoadedWithAReason)
{
    // Small when stored, large unpacked: a black 300 x 300 tab strip.
    TImage black(300, 300);
    const TBytes large = Stored(Skin("[TitlebarSkin]\r\nSkinName=Large\r\n[Tabs]\r\nImage=top.bmp\r\n",
                                     {{"top.bmp", EncodeBmpFile(black.View())}}));
    ASSERT_LT(large.size(), 16u * 1024);
    int failed = 0;
    // Limits from below the unpacked size to above every request: each load
    // applies or fails whole, and reading the description goes on.
    for (size_t limit = 16 * 1024; limit <= 4 * 1024 * 1024; limit *= 2) {
        TSkinData data(nullptr);
        SetBinaryProp(data, "SkinStream", Stored(Skin("[TitlebarSkin]\r\nSkinName=Small\r\n")));
        {
            TAllocationFailure failure(limit);
            EXPECT_NO_THROW(SetBinaryProp(data, "SkinStream", large)) << limit;
        }
        if (!data.NotLoaded()) {
            EXPECT_EQ(data.FSkinName, "Large") << limit;
            continue;
        }
        ++failed;
        EXPECT_EQ(data.LastLoadResult(), TSkinLoadResult::lrFailed) << limit;
        EXPECT_FALSE(data.LoadError().empty()) << limit;
        EXPECT_EQ(data.FSkinName, "Small") << limit;
    }
    EXPECT_GT(failed, 0);
    TSkinData data(nullptr);
    SetBinaryProp(data, "SkinStream", large);
    EXPECT_FALSE(data.NotLoaded()) << data.LoadError();
}

TEST_F(TSkinDataTest, ASkinOverThePixelBudgetIsRefusedBeforeItsBitmapsAreDecoded)
{
    // 8 bits run-length coded, one colour: 1024 x 1100 pixels in a few kilobytes.
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 1100; ++y) {
        for (int x = 0; x < 1024; x += 255) pixels.insert(pixels.end(), {static_cast<uint8_t>(std::min(255, 1024 - x)), 1});
        pixels.insert(pixels.end(), {0, 0});
    }
    pixels.insert(pixels.end(), {0, 1});
    std::vector<uint8_t> wide{'B', 'M'};
    for (uint32_t v : {0u, 0u, 14u + 40 + 8, 40u, 1024u, 1100u}) skintest::PutLE(wide, v, 4);
    skintest::PutLE(wide, 1, 2);
    skintest::PutLE(wide, 8, 2);
    for (uint32_t v : {1u, 0u, 0u, 0u, 2u, 0u}) skintest::PutLE(wide, v, 4);
    wide.insert(wide.end(), {0, 0, 0, 0, 0, 0, 255, 0});
    wide.insert(wide.end(), pixels.begin(), pixels.end());
    ASSERT_EQ(kMaxSkinPixels, 2 * 1024 * 1024);  // each bitmap within it, two past it

    TSkinData data(nullptr);
    SetBinaryProp(data, "SkinStream", Stored(Skin("[TitlebarSkin]\r\nSkinName=Small\r\n")));
    const TBytes two = Stored(Skin("[Tabs]\r\nImage=a.bmp\r\n[Headerbar]\r\nImage=b.bmp\r\n",
                                   {{"a.bmp", wide}, {"b.bmp", wide}}));
    const TBytes twice = Stored(Skin("[Tabs]\r\nImage=a.bmp\r\n[Headerbar]\r\nImage=a.bmp\r\n", {{"a.bmp", wide}}));
    for (const TBytes* over : {&two, &twice}) {
        size_t requested = 0;
        {
            TAllocationCount count;
            SetBinaryProp(data, "SkinStream", *over);
            requested = count.Bytes();
        }
        EXPECT_EQ(data.LastLoadResult(), TSkinLoadResult::lrTooLarge);
        EXPECT_TRUE(data.LoadError().starts_with("too large")) << data.LoadError();
        EXPECT_EQ(data.FSkinName, "Small");
        // Refused from the headers: not even one of them was decoded.
        if (over == &two) {
            EXPECT_LT(requested, 1024u * 1100 * 3);
        }
    }
    SetBinaryProp(data, "SkinStream",
                  Stored(Skin("[TitlebarSkin]\r\nSkinName=Wide\r\n[Tabs]\r\nImage=a.bmp\r\n", {{"a.bmp", wide}})));
    EXPECT_FALSE(data.NotLoaded()) << data.LoadError();
    EXPECT_EQ(data.FTabs->FBitmap->Width(), 1024);
}

TEST_F(TSkinDataTest, BitmapsOfOtherFormsLoadAndOnesNotDecodedAreReported)
{
    // 4 x 1, 8 bits run-length coded: one run of four pixels of colour 1 (red).
    const auto bitmap = [](uint32_t Compression, std::vector<uint8_t> Pixels) {
        std::vector<uint8_t> f{'B', 'M'};
        for (uint32_t v : {0u, 0u, 14u + 40 + 8, 40u, 4u, 1u}) skintest::PutLE(f, v, 4);
        skintest::PutLE(f, 1, 2);
        skintest::PutLE(f, 8, 2);
        for (uint32_t v : {Compression, 0u, 0u, 0u, 2u, 0u}) skintest::PutLE(f, v, 4);
        for (uint8_t b : {0, 0, 0, 0, 0, 0, 255, 0}) f.push_back(b);
        f.insert(f.end(), Pixels.begin(), Pixels.end());
        return f;
    };
    TSkinData data(nullptr);
    SetBinaryProp(data, "SkinStream",
                  Stored(Skin("[Personality]\r\nTop=top.bmp\r\nLeft=left.bmp\r\n",
                              {{"top.bmp", bitmap(1, {4, 1, 0, 1})}, {"left.bmp", bitmap(5, {0x89, 'P'})}})));
    ASSERT_FALSE(data.NotLoaded()) << data.LoadError();
    EXPECT_EQ(data.LastLoadResult(), TSkinLoadResult::lrLoaded);
    ASSERT_EQ(data.FBorderTop->FBitmap->Width(), 4);
    EXPECT_EQ(data.FBorderTop->FBitmap->Canvas()->Pixel(3, 0), Rgb(255, 0, 0));
    EXPECT_TRUE(data.FBorderLeft->FBitmap->Empty());
    EXPECT_EQ(data.LoadError(), std::string("left.bmp: ") + BmpErrorText(TBmpError::beCompression));
}

TEST_F(TSkinDataTest, SkinFileReplacesTheSkinOnlyWhenItLoads)
{
    std::vector<std::pair<TSkinData*, TSkinDataEvent>> events;
    SetSkinManagerHook([&](TSkinData& d, TSkinDataEvent e) { events.emplace_back(&d, e); });
    TSkinData data(nullptr);
    SetBinaryProp(data, "SkinStream", Stored(Skin("[TitlebarSkin]\r\nSkinName=First\r\n")));
    const TDataSkinTitle* title = data.FTitle.get();

    SetStrProp(data, "SkinFile", "Z:\\no\\such\\skin.skn");
    EXPECT_FALSE(data.NotLoaded());  // the skin in use stays in use
    EXPECT_EQ(data.LastLoadResult(), TSkinLoadResult::lrNoFile);
    EXPECT_EQ(data.FTitle.get(), title);
    EXPECT_EQ(data.FSkinName, "First");
    EXPECT_TRUE(events.empty());

    // Past the file limit: said to be too large, not unreadable.
    char dir0[MAX_PATH] = {}, huge[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir0);
    ::GetTempFileNameA(dir0, "skn", 0, huge);
    {
        const TFileHandle file(::CreateFileA(huge, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        LARGE_INTEGER end{};
        end.QuadPart = 65 * 1024 * 1024;
        ASSERT_TRUE(::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.Get()));
    }
    data.SetSkinFile(huge);
    std::remove(huge);
    EXPECT_EQ(data.LastLoadResult(), TSkinLoadResult::lrTooLarge);
    EXPECT_TRUE(data.LoadError().starts_with("too large")) << data.LoadError();
    EXPECT_EQ(data.FSkinName, "First");
    EXPECT_TRUE(events.empty());

    const std::vector<uint8_t> second = Skin("[TitlebarSkin]\r\nSkinName=Second\r\n");
    char dir[MAX_PATH] = {}, path[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    ::GetTempFileNameA(dir, "skn", 0, path);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(second.data()), static_cast<std::streamsize>(second.size()));
    data.SetSkinFile(path);
    EXPECT_FALSE(data.NotLoaded()) << data.LoadError();
    EXPECT_EQ(data.FSkinName, "Second");
    EXPECT_EQ(data.SkinStream(), second);
    EXPECT_EQ(events, (std::vector<std::pair<TSkinData*, TSkinDataEvent>>{{&data, TSkinDataEvent::sdSkinReplaced}}));
    std::remove(path);
}

TEST_F(TSkinDataTest, TheManagerHearsOfEveryChangeAndOfTheEndFirst)
{
    std::vector<TSkinDataEvent> events;
    bool intactAtRemoval = false;
    SetSkinManagerHook([&](TSkinData& d, TSkinDataEvent e) {
        events.push_back(e);
        if (e == TSkinDataEvent::sdRemoved) intactAtRemoval = d.FTitle && d.Skin3rd()->Count() == 117;
    });
    auto data = std::make_unique<TSkinData>(nullptr);
    SetBinaryProp(*data, "SkinStream", Stored(Skin("[TitlebarSkin]\r\n")));
    data->SetActive(true);
    data->SetActive(true);
    data->SetActive(false);
    data.reset();
    EXPECT_EQ(events, (std::vector<TSkinDataEvent>{TSkinDataEvent::sdActiveChanged, TSkinDataEvent::sdActiveChanged,
                                                   TSkinDataEvent::sdRemoved}));
    EXPECT_TRUE(intactAtRemoval);

    // A main-form component that did not load asks for no skinning.
    events.clear();
    TSkinData unloaded(nullptr);
    unloaded.SetActive(true);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(unloaded.Active());
}

namespace {

class THost : public TComponent {
public:
    DECLARE_CLASS_INFO()
    using TComponent::TComponent;
    ~THost() override { DestroyComponents(); }
};

const TClassInfo& THost::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<THost>("THost", TComponent::StaticClassInfo()).Build();
    return info;
}

std::string Description(const TBytes& Stream, bool Active = true)
{
    std::string hex;
    char buf[3];
    for (uint8_t b : Stream) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        hex += buf;
    }
    return "object Host: THost\n  object SkinData1: TSkinData\n    Active = " + std::string(Active ? "True" : "False") +
           "\n    SkinControls = [xcMainMenu, xcMenuItem, xcButton, xcScrollbar]\n"
           "    Skin3rd.Strings = (\n      'TMine=edit')\n    SkinStream = {\n      " +
           hex + "}\n  end\nend\n";
}

} // namespace

TEST_F(TSkinDataTest, StreamingFromADescription)
{
    RegisterComponentClass(TSkinData::StaticClassInfo());
    std::vector<TSkinDataEvent> events;
    SetSkinManagerHook([&](TSkinData&, TSkinDataEvent e) { events.push_back(e); });
    {
        THost host(nullptr);
        ReadDescription(host, Description(Stored(Skin("[TitlebarSkin]\r\nSkinName=Stored\r\n"))));
        auto* data = static_cast<TSkinData*>(host.FindComponent("SkinData1"));
        ASSERT_NE(data, nullptr);
        EXPECT_FALSE(data->NotLoaded());
        EXPECT_TRUE(data->Active());
        EXPECT_EQ(data->FSkinName, "Stored");
        EXPECT_EQ(data->Skin3rd()->Count(), 1);
        // Menu items give way to the main menu.
        EXPECT_EQ(data->SkinControls() & SkinBit(xcMenuItem), 0u);
        EXPECT_NE(data->SkinControls() & SkinBit(xcMainMenu), 0u);
    }
    // Setting Active while reading starts nothing; Loaded tells the manager once.
    EXPECT_EQ(events, (std::vector<TSkinDataEvent>{TSkinDataEvent::sdLoaded, TSkinDataEvent::sdRemoved}));

    // A skin that cannot be loaded does not stop the form: it comes up unskinned.
    for (const TBytes& stream : {Stored(skintest::RandomBytes(64, 9)), TBytes{0, 0, 0, 0}, TBytes{0xFF, 0xFF, 0xFF, 0xFF}}) {
        THost host(nullptr);
        ASSERT_NO_THROW(ReadDescription(host, Description(stream)));
        auto* data = static_cast<TSkinData*>(host.FindComponent("SkinData1"));
        ASSERT_NE(data, nullptr);
        EXPECT_TRUE(data->NotLoaded());
        EXPECT_FALSE(data->Active());
    }
}

TEST_F(TSkinDataTest, FormFilter)
{
    TSkinData data(nullptr);
    bool doSkin = true;
    data.DoFormSkin(nullptr, "SysMonthCal32", doSkin);
    EXPECT_FALSE(doSkin);
    doSkin = true;
    data.DoFormSkin(nullptr, "TfrPreview", doSkin);
    EXPECT_TRUE(doSkin); // xcFastReport is off by default
    data.SetSkinControls(data.SkinControls() | SkinBit(xcFastReport));
    data.DoFormSkin(nullptr, "TfrPreview", doSkin);
    EXPECT_FALSE(doSkin);
    int asked = 0;
    data.OnFormSkin = [&](TObject* Sender, const std::string&, bool&) { asked += Sender == &data; };
    doSkin = true;
    data.DoFormSkin(reinterpret_cast<HWND>(8), "SysMonthCal32", doSkin);
    EXPECT_TRUE(doSkin);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(data.FAskWindow, reinterpret_cast<HWND>(8));
}

TEST_F(TSkinDataTest, TheDefaultSkinGivesEveryKeyTheLoaderReads)
{
    const std::filesystem::path dir = std::filesystem::path(TB_SOURCE_DIR) / "skins" / "default";
    std::error_code ec;
    if (!std::filesystem::exists(dir / "skin.ini", ec)) GTEST_SKIP() << "no default skin at " << dir.string();
    std::vector<std::string> skipped;
    const std::vector<uint8_t> packed = PackSkin(CollectSkinFolder(dir, skipped));
    TSkinKeyLog log;
    TSkinData data(nullptr);
    data.KeyLog = &log;
    SetBinaryProp(data, "SkinStream", Stored(packed));
    ASSERT_FALSE(data.NotLoaded()) << data.LoadError();
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadSkin(packed));
    std::vector<uint8_t> ini;
    std::string name;
    reader.FindFile(".ini", ini, name);
    TQuickIni parsed;
    parsed.LoadFromStream(&ini);
    std::string missing;
    for (const std::string& key : MissingSkinKeys(log, parsed)) missing += key + "\n";
    EXPECT_EQ(missing, "") << "keys the default skin leaves to their defaults";
}
