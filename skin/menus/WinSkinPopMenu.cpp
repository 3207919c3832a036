// The popup-menu skinner.
#include "skin/menus/WinSkinPopMenu.h"

#include "skin/SkinWindowMessages.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/menus/PopupMenuHost.h"
#include "classlib/Handles.h"

namespace {

// The skin's ring around a popup: its non-client border on Windows.
constexpr int kRingWidth = 3;
#ifndef MN_GETHMENU
constexpr UINT MN_GETHMENU = 0x01E1;
#endif
// Not in every header set: a DC of the window's own class and style.
constexpr DWORD kDcxUseStyle = 0x00010000;

// Restores a DC's state (clipping, modes) on every path.
class TSavedDC {
public:
    explicit TSavedDC(HDC DC) noexcept : FDC(DC), FSaved(::SaveDC(DC)) {}
    ~TSavedDC()
    {
        if (FSaved != 0) ::RestoreDC(FDC, FSaved);
    }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;
    bool Valid() const noexcept { return FSaved != 0; }

private:
    HDC FDC;
    int FSaved;
};

}  // namespace

TWinSkinPopMenu::TWinSkinPopMenu()
    : FHook(*this, [](TSkinObject& O, TMessage& M) { static_cast<TWinSkinPopMenu&>(O).SkinWndProc(M); }),
      FBackground(std::make_unique<TBitmap>())
{
    FBackground->SetPixelFormat(TPixelFormat::pf24bit);
}

// Never left installed as a window procedure once freed.
TWinSkinPopMenu::~TWinSkinPopMenu()
{
    Unskin();
}

bool TWinSkinPopMenu::InitSkin(HWND Window, TSkinData* Data)
{
    FHandle = Window;
    FSkinData = Data;
    FMenuBarMark = false;
    FMenuHandle = nullptr;
    return FHook.Attach(Window);
}

void TWinSkinPopMenu::Unskin()
{
    if (!FHook.Attached()) return;
    FHook.Detach();
    FBackground->SetSize(0, 0);
}

HMENU TWinSkinPopMenu::MenuHandle()
{
    if (FMenuHandle == nullptr && FHandle != nullptr && ::IsWindow(FHandle))
        FMenuHandle = reinterpret_cast<HMENU>(::SendMessageW(FHandle, MN_GETHMENU, 0, 0));
    return FMenuHandle;
}

bool TWinSkinPopMenu::SkinAvailable() const
{
    return FSkinData != nullptr && !FSkinData->FNotLoaded && FSkinData->FMenuBackground != nullptr &&
           !FSkinData->FMenuBackground->FBitmap->Empty();
}

bool TWinSkinPopMenu::HasNonClientArea() const
{
    RECT window{}, client{};
    if (!::GetWindowRect(FHandle, &window) || !::GetClientRect(FHandle, &client)) return false;
    return window.right - window.left != client.right || window.bottom - window.top != client.bottom;
}

POINT TWinSkinPopMenu::ClientOrigin() const
{
    RECT window{};
    POINT origin{0, 0};
    if (!::GetWindowRect(FHandle, &window) || !::ClientToScreen(FHandle, &origin)) return {0, 0};
    return {origin.x - window.left, origin.y - window.top};
}

bool TWinSkinPopMenu::RenderBackground()
{
    RECT r{};
    if (!SkinAvailable() || !::GetWindowRect(FHandle, &r)) return false;
    const RECT size{0, 0, r.right - r.left, r.bottom - r.top};
    if (FBackground->Width() == size.right && FBackground->Height() == size.bottom &&
        FBackgroundGeneration == FSkinData->Generation())
        return true;
    const TDataSkinObject& e = *FSkinData->FMenuBackground;
    std::unique_ptr<TBitmap> rendered =
        CreateSkinPartBitmap(size, *e.FBitmap, MarginsOf(e), {.Index = 1, .Count = 1, .Tile = e.FTile != 0});
    if (!rendered) return false;
    FBackground = std::move(rendered);
    FBackgroundGeneration = FSkinData->Generation();
    return true;
}

TBitmap* TWinSkinPopMenu::Background()
{
    return FHook.Attached() && RenderBackground() ? FBackground.get() : nullptr;
}

// The background's outer ring only: what lies inside it is the menu's.
void TWinSkinPopMenu::DrawRing(HDC DC)
{
    const int w = FBackground->Width(), h = FBackground->Height();
    const TSavedDC saved(DC);
    if (!saved.Valid()) return;
    ::ExcludeClipRect(DC, kRingWidth, kRingWidth, w - kRingWidth, h - kRingWidth);
    ::BitBlt(DC, 0, 0, w, h, FBackground->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TWinSkinPopMenu::SkinWndProc(TMessage& Message)
{
    if (Message.Msg == WM_SKIN_QUERY) {
        Message.Result = 1;
        return;
    }
    if (PopupMenuHost == nullptr || !PopupMenuHost->Active()) {
        FHook.CallDefault(Message);
        return;
    }
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        WMEraseBkgnd(Message);
        return;
    case WM_NCPAINT:
        WMNCPaint(Message);
        return;
    case WM_PAINT:
        WMPaint(Message);
        return;
    case WM_PRINT:
        WMPrint(Message);
        return;
    default:
        FHook.CallDefault(Message);
        return;
    }
}

void TWinSkinPopMenu::WMPrint(TMessage& Message)
{
    const auto dc = reinterpret_cast<HDC>(Message.WParam);
    if (dc == nullptr || !RenderBackground()) {
        FHook.CallDefault(Message);
        return;
    }
    const int w = FBackground->Width(), h = FBackground->Height();
    // The caller's clipping and modes are its own: restored on every path.
    const TSavedDC saved(dc);
    ::BitBlt(dc, 0, 0, w, h, FBackground->Canvas()->Handle(), 0, 0, SRCCOPY);
    ::SetBkMode(dc, TRANSPARENT);
    ::IntersectClipRect(dc, kRingWidth, kRingWidth, w - kRingWidth, h - kRingWidth);
    FHook.CallDefault(Message);
}

void TWinSkinPopMenu::WMNCPaint(TMessage& Message)
{
    if (!HasNonClientArea() || !RenderBackground()) {
        FHook.CallDefault(Message);
        return;
    }
    // wParam 1 means the whole frame, with no region to limit the DC to.
    const auto region = reinterpret_cast<HRGN>(Message.WParam);
    const TWindowDC dc(FHandle, Message.WParam == 1 ? ::GetWindowDC(FHandle)
                                                   : ::GetDCEx(FHandle, region, DCX_WINDOW | DCX_INTERSECTRGN | kDcxUseStyle));
    if (dc.Get() != nullptr)
        ::BitBlt(dc.Get(), 0, 0, FBackground->Width(), FBackground->Height(), FBackground->Canvas()->Handle(), 0, 0,
                 SRCCOPY);
    Message.Result = 0;
}

// A popup without a non-client area draws its own frame in the client area:
// the skin's ring goes over it once the menu has painted.
void TWinSkinPopMenu::WMPaint(TMessage& Message)
{
    if (HasNonClientArea() || !RenderBackground()) {
        FHook.CallDefault(Message);
        return;
    }
    const TToken life = Token();
    if (!FHook.CallDefault(Message) || !life.Alive() || !FHook.Attached()) return;
    const TWindowDC dc(FHandle, ::GetWindowDC(FHandle));
    if (dc.Get() != nullptr) DrawRing(dc.Get());
}

void TWinSkinPopMenu::WMEraseBkgnd(TMessage& Message)
{
    if (!SkinAvailable() || !(FSkinData->Options() & SkinBit(xoMenuBG))) FHook.CallDefault(Message);
    Message.Result = 1;
}
