// The skin gallery's window as the program makes it, in a Wine virtual
// desktop: it starts skinned with every control it holds taken over by an
// adapter, and switching between the default skin and its inverted copy
// through the Skin menu, again and again, leaves the process's GDI objects
// and the thread's windows as they were.
#include "tools/gallery-src/GalleryForm.h"

#include "skin/SkinWindowMessages.h"
#include "skin/adapters/SkinBoxes.h"
#include "skin/adapters/SkinSpeedButton.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"
#include "tests/support/GdiObjectCount.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

bool PumpUntil(const std::function<bool()>& Done, DWORD TimeoutMs = 10000)
{
    const ULONGLONG deadline = ::GetTickCount64() + TimeoutMs;
    for (;;) {
        Application->ProcessMessages();
        if (Done()) return true;
        if (::GetTickCount64() >= deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

TWinSkinForm* ActiveFrame(HWND Window)
{
    TWinSkinForm* frame = FindSkinForm(Window);
    return frame != nullptr && frame->SkinState() == ssActive ? frame : nullptr;
}

// Every window of this thread, child windows included.
int ThreadWindows()
{
    int count = 0;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND Window, LPARAM Count) {
            ++*reinterpret_cast<int*>(Count);
            ::EnumChildWindows(
                Window, [](HWND, LPARAM Inner) { return ++*reinterpret_cast<int*>(Inner), TRUE; }, Count);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// The windowed controls the gallery made (not the skin engine's own windows
// laid over some of them), each answering that it is skinned; a panel's
// adapter only recolours it and never takes its messages, so a panel counts
// by its adapter in the frame's list.
void ExpectEveryControlSkinned(TGalleryForm& Gallery, TWinSkinForm& Frame)
{
    std::vector<TWinControl*> controls;
    Gallery.GetTabOrderList(controls);
    int mine = 0;
    for (TWinControl* control : controls) {
        if (control->Owner() != &Gallery) continue;
        ++mine;
        if (dynamic_cast<TSkinBox*>(Frame.FindControl(control)) != nullptr) continue;
        EXPECT_EQ(::SendMessageW(control->Handle(), WM_SKIN_QUERY, 0, 0), 1) << control->ClassName();
    }
    EXPECT_GT(mine, 40);
    ASSERT_FALSE(Gallery.SpeedButtons.empty());
    for (TSpeedButton* button : Gallery.SpeedButtons)
        EXPECT_NE(dynamic_cast<TSkinSpeedButton*>(Frame.FindControl(button)), nullptr) << button->Caption();
}

TEST(GalleryTest, StartsSkinnedThroughoutAndSkinSwitchesThroughItsMenuLeaveNothingBehind)
{
    InitSkinManagerUnit();
    Application->Initialize();
    RegisterGalleryClasses();
    TGalleryForm* gallery = CreateGallery();
    gallery->Show();
    const HWND window = gallery->Handle();
    ::SetForegroundWindow(window);
    ASSERT_TRUE(PumpUntil([&] { return ActiveFrame(window) != nullptr; }));
    Application->ProcessMessages();
    ExpectEveryControlSkinned(*gallery, *ActiveFrame(window));

    // Each switch as the menu item's command; the manager's refresh is run
    // at once rather than on its timer.
    const auto choose = [&](TMenuItem* Item) {
        ::SendMessageW(window, WM_COMMAND, Item->Command(), 0);
        ASSERT_TRUE(Item->Checked()) << Item->Caption() << ": " << gallery->SkinData1->LoadError();
        if (SkinManager->TimerRunning()) SkinManager->DoAction(nullptr);
        ASSERT_TRUE(PumpUntil([&] { return ActiveFrame(window) != nullptr && !SkinManager->TimerRunning(); }));
    };
    for (int i = 0; i < 2; ++i) {
        choose(gallery->InvertedSkinItem);
        choose(gallery->DefaultSkinItem);
    }
    const int gdiObjects = GdiObjectCount(), windows = ThreadWindows();
    ASSERT_GE(gdiObjects, 0) << kNoGdiObjectCount;
    for (int i = 0; i < 25; ++i) {
        choose(gallery->InvertedSkinItem);
        choose(gallery->DefaultSkinItem);
    }
    EXPECT_EQ(GdiObjectCount(), gdiObjects);
    EXPECT_EQ(ThreadWindows(), windows);
    ASSERT_NE(ActiveFrame(window), nullptr);
    ExpectEveryControlSkinned(*gallery, *ActiveFrame(window));

    gallery->Free();
    Application->ProcessMessages();
    FreeSkinManager();
}

}  // namespace
