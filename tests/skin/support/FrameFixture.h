// Skinned windows for the frame tests: the default skin packed from
// skins/default, class-library forms carrying a skin component, plain Win32
// windows of the test's own class, and helpers that read the frame back
// (hit tests, the non-client area painted into a bitmap, the skin's cells).
#pragma once

#include "classlib/Forms.h"
#include "skin/data/WinSkinData.h"
#include "skin/manager/WinSkinDlg.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/frame/WinSkinMenu.h"
#include "tests/skin/support/FrameHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

// The tests' seam into a frame object's private state.
struct TWinSkinFormTestAccess {
    using F = TWinSkinForm;
    static const auto& Buttons(const F& Frame) { return Frame.FTitle.FSysButtons; }
    static TWinSysButton* SysButtonAt(const F& Frame, POINT P) { return Frame.FTitle.SysButtonAt(P); }
    static TNCObject* HotObject(const F& Frame) { return Frame.FTitle.FHotObject; }
    static TFrameWindowState WindowState(const F& Frame) { return Frame.FWindowState; }
    static bool Active(const F& Frame) { return Frame.FActive; }
    static bool Dialog(const F& Frame) { return Frame.FClass.Dialog; }
    static TFrameKind FrameKind(const F& Frame) { return Frame.FClass.FrameKind; }
    static int BorderLeft(const F& Frame) { return Frame.FShape.FBorderLeft; }
    static int TitleHeight(const F& Frame) { return Frame.FShape.FTitleHeight; }
    static int BorderBottom(const F& Frame) { return Frame.FShape.FBorderBottom; }
    static int RegionWidth(const F& Frame) { return Frame.FShape.FRegionWidth; }
    static int RegionHeight(const F& Frame) { return Frame.FShape.FRegionHeight; }
    static HRGN Region(const F& Frame) { return Frame.FShape.FRegion; }
    static const RECT& FrameRect(const F& Frame) { return Frame.FShape.FFrameRect; }
    static TFont& CaptionFont(const F& Frame) { return *Frame.FTitle.FCaptionFont; }
    static const TWinSkinSysMenu* SysMenu(const F& Frame) { return Frame.FMenus->FSysMenuPopup.get(); }
    static TWinSkinMenu* MenuBar(const F& Frame) { return Frame.FMenus->FMenuBar.get(); }
    static void ForgetRightClick(F& Frame) { Frame.FMenus->FLastRightClick = ::GetTickCount() - Frame.FMenus->FDoubleClickTime - 1; }
};

namespace frametest {

using Access = TWinSkinFormTestAccess;

// The default skin as stored in a description (count + container).
const TBytes& DefaultSkinStream();

inline void Pump()
{
    frameharness::PumpFor(0);
}
inline bool PumpUntil(const std::function<bool()>& Done, DWORD TimeoutMs = 5000)
{
    return frameharness::PumpUntil(Done, TimeoutMs);
}

// Runs a skin action of Data's now instead of on the manager's timer.
void RunAction(TSkinData* Data, TSkinAction Action);

// A window's pixels as the frame object paints its non-client area (through
// WM_SKIN_PRINTNC), which also lays its title buttons out.
frameharness::TWindowCapture SkinPrint(HWND Window);

// The pixel at (X, Y) of cell Index (1-based) of Count cells of a strip.
COLORREF CellPixel(TBitmap& Strip, int Index, int Count, bool Vertical, int X, int Y);

// A form of the class library with a skin component of its own.
struct TSkinnedForm {
    TForm* Form = nullptr;
    TSkinData* Data = nullptr;
};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A 400 x 300 form at (50, 50) whose skin component is read as a stored
    // description would read it (Loaded at the end). Not shown.
    TSkinnedForm MakeForm(TSkinFormType Type = TSkinFormType::sfMainform, bool WithSkin = true);
    // Shows the form and waits until its frame object is active.
    TWinSkinForm* ShowSkinned(TForm* Form);
    // A top-level window of the test's own class (DefWindowProc, or Proc).
    HWND MakeWindow(DWORD Style, DWORD ExStyle = 0, WNDPROC Proc = nullptr, HWND Parent = nullptr);
    static TWinSkinForm* Frame(HWND Window) { return FindSkinForm(Window); }
    // The frame's first title button of that kind (0 close, 1 maximize, 2 minimize, 3 icon).
    static TWinSysButton* Button(const TWinSkinForm& Frame, int Action);
    static bool IsActiveFrame(HWND Window);
    // WM_NCHITTEST at a point in window coordinates.
    static LRESULT HitTest(HWND Window, int X, int Y);
    // Screen point of a point in window coordinates, as lParam.
    static LPARAM ScreenPoint(HWND Window, int X, int Y);

    std::vector<TForm*> Forms;
    std::vector<HWND> Windows;
};

}  // namespace frametest
