// The optional user32 functions and the caption text helpers.
#include "skin/SkinApi.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Puts the bound entries back however the test ends.
class TEntriesGuard {
public:
    ~TEntriesGuard()
    {
        SkinGetScrollBarInfoEntry = FScroll;
        SkinTrackMouseEventEntry = FTrack;
    }

private:
    TGetScrollBarInfoFunc FScroll = SkinGetScrollBarInfoEntry;
    TTrackMouseEventFunc FTrack = SkinTrackMouseEventEntry;
};

std::vector<TRACKMOUSEEVENT> gTracked;

BOOL WINAPI RecordTrack(LPTRACKMOUSEEVENT Track)
{
    gTracked.push_back(*Track);
    return TRUE;
}

BOOL WINAPI FillScrollInfo(HWND, LONG ObjectId, PSCROLLBARINFO Info)
{
    Info->dxyLineButton = static_cast<int>(ObjectId);
    return TRUE;
}

} // namespace

TEST(SkinApi, OptionalFunctionsAreBoundCalledAsAskedAndHarmlessWhenMissing)
{
    EXPECT_NE(SkinGetScrollBarInfoEntry, nullptr);
    EXPECT_NE(SkinTrackMouseEventEntry, nullptr);
    EXPECT_NE(SkinGetComboBoxInfo, nullptr);
    const TEntriesGuard guard;
    const HWND desktop = ::GetDesktopWindow();

    // Present: the wrappers pass their arguments on.
    gTracked.clear();
    SkinTrackMouseEventEntry = RecordTrack;
    SkinGetScrollBarInfoEntry = FillScrollInfo;
    SkinTrackMouseLeave(desktop);
    ASSERT_EQ(gTracked.size(), 1u);
    EXPECT_EQ(gTracked[0].cbSize, sizeof(TRACKMOUSEEVENT));
    EXPECT_EQ(gTracked[0].dwFlags, static_cast<DWORD>(TME_LEAVE));
    EXPECT_EQ(gTracked[0].hwndTrack, desktop);
    SCROLLBARINFO info{};
    EXPECT_TRUE(SkinGetScrollBarInfo(desktop, OBJID_VSCROLL, &info));
    EXPECT_EQ(info.dxyLineButton, static_cast<int>(OBJID_VSCROLL));

    // Missing: nothing is called and the info is left alone.
    SkinTrackMouseEventEntry = nullptr;
    SkinGetScrollBarInfoEntry = nullptr;
    SkinTrackMouseLeave(desktop);
    EXPECT_EQ(gTracked.size(), 1u);
    info = SCROLLBARINFO{};
    info.cbSize = 1234;
    EXPECT_FALSE(SkinGetScrollBarInfo(desktop, OBJID_VSCROLL, &info));
    EXPECT_EQ(info.cbSize, 1234u);
    EXPECT_EQ(info.dxyLineButton, 0);
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
    const bool platform = SkinNTPlatform;
    for (bool nt : {true, false}) {
        SkinNTPlatform = nt;
        RECT wide{0, 0, 0, 0}, narrow{0, 0, 0, 0};
        EXPECT_GT(DrawTextWide(dc, L"WWWWWWWW", wide, DT_CALCRECT | DT_SINGLELINE), 0) << nt;
        DrawTextWide(dc, L"ii", narrow, DT_CALCRECT | DT_SINGLELINE);
        EXPECT_GT(wide.right, narrow.right) << nt;
        EXPECT_GT(wide.bottom, 0) << nt;
    }
    SkinNTPlatform = platform;
    ::DeleteDC(dc);
}
