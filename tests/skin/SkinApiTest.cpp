// The optional user32 functions and the caption text helpers.
#include "skin/SkinApi.h"

#include <gtest/gtest.h>

TEST(SkinApi, OptionalFunctionsAreBoundAndHarmlessWhenMissing)
{
    EXPECT_NE(SkinGetScrollBarInfoEntry, nullptr);
    EXPECT_NE(SkinTrackMouseEventEntry, nullptr);
    EXPECT_NE(SkinGetComboBoxInfo, nullptr);

    const auto scroll = SkinGetScrollBarInfoEntry;
    const auto track = SkinTrackMouseEventEntry;
    SkinGetScrollBarInfoEntry = nullptr;
    SkinTrackMouseEventEntry = nullptr;
    SCROLLBARINFO info{};
    info.cbSize = 1234;
    EXPECT_FALSE(SkinGetScrollBarInfo(::GetDesktopWindow(), OBJID_VSCROLL, &info));
    EXPECT_EQ(info.cbSize, 1234u);
    SkinTrackMouseLeave(::GetDesktopWindow());
    SkinGetScrollBarInfoEntry = scroll;
    SkinTrackMouseEventEntry = track;
}

TEST(SkinApi, TextHelpers)
{
    EXPECT_EQ(AnsiToWide(""), L"");
    EXPECT_EQ(AnsiToWide("Title: 1"), L"Title: 1");
    const wchar_t* text = L"caption";
    EXPECT_EQ(WideCopy(text, -1), L"caption");
    EXPECT_EQ(WideCopy(text, 3), L"cap");
    EXPECT_EQ(WideCopy(text, 50), L"caption");
    EXPECT_EQ(WideCopy(text, 0), L"");
    EXPECT_EQ(WideCopy(nullptr, 4), L"");
    EXPECT_EQ(FindLibraryControl(nullptr), nullptr);
    EXPECT_EQ(FindLibraryControl(::GetDesktopWindow()), nullptr);

    HDC dc = ::CreateCompatibleDC(nullptr);
    for (bool nt : {true, false}) {
        SkinNTPlatform = nt;
        RECT wide{0, 0, 0, 0}, narrow{0, 0, 0, 0};
        EXPECT_GT(DrawTextWide(dc, L"WWWWWWWW", wide, DT_CALCRECT | DT_SINGLELINE), 0) << nt;
        DrawTextWide(dc, L"ii", narrow, DT_CALCRECT | DT_SINGLELINE);
        EXPECT_GT(wide.right, narrow.right) << nt;
        EXPECT_GT(wide.bottom, 0) << nt;
    }
    SkinNTPlatform = true;
    ::DeleteDC(dc);
}
