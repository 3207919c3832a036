// The skin gallery's own controls (GalleryControls.h).
#include "GalleryControls.h"

#include "classlib/Handles.h"
#include "classlib/portable/TypInfo.h"

#include <windowsx.h>

#include <array>
#include <string_view>

// --- TGalleryListBox

const TClassInfo& TGalleryListBox::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TGalleryListBox>("TListBox", TWinControl::StaticClassInfo()).Build();
    return info;
}

TGalleryListBox::TGalleryListBox(TComponent* AOwner) : TWinControl(AOwner)
{
    SetTabStop(true);
    SetColor(clWindow);
}

void TGalleryListBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.SysClassName = L"LISTBOX";
    Params.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TGalleryListBox::CreateWnd()
{
    TWinControl::CreateWnd();
    const HWND window = WindowHandle();
    for (const std::wstring& item : Items) ::SendMessageW(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    ::SendMessageW(window, LB_SETCURSEL, 0, 0);
}

// --- TGalleryMediaPlayer

const TClassInfo& TGalleryMediaPlayer::StaticClassInfo()
{
    using T = TGalleryMediaPlayer;
    static const TClassInfo info = TClassBuilder<T>("TMediaPlayer", TCustomControl::StaticClassInfo())
                                       .String("VisibleButtons", &T::VisibleButtons, &T::VisibleButtons)
                                       .String("EnabledButtons", &T::EnabledButtons, &T::EnabledButtons)
                                       .String("ColoredButtons", &T::ColoredButtons, &T::ColoredButtons)
                                       .Build();
    return info;
}

TGalleryMediaPlayer::TGalleryMediaPlayer(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 240, 30);
}

namespace {

// The player's buttons in the order its button sets name them, with the
// caption each shows without a skin.
constexpr std::array<std::pair<std::string_view, const wchar_t*>, 9> kPlayerButtons{{{"btPlay", L"Play"},
                                                                                     {"btPause", L"Pause"},
                                                                                     {"btStop", L"Stop"},
                                                                                     {"btNext", L"Next"},
                                                                                     {"btPrev", L"Prev"},
                                                                                     {"btStep", L"Step"},
                                                                                     {"btBack", L"Back"},
                                                                                     {"btRecord", L"Rec"},
                                                                                     {"btEject", L"Eject"}}};

bool Names(const std::string& Set, std::string_view Button)
{
    for (size_t at = Set.find(Button); at != std::string::npos; at = Set.find(Button, at + 1)) {
        const size_t end = at + Button.size();
        if (end == Set.size() || Set[end] == ',' || Set[end] == ']') return true;
    }
    return false;
}

}  // namespace

void TGalleryMediaPlayer::Paint()
{
    const HDC dc = Canvas()->Handle();
    const RECT client = ClientRect();
    int visible = 0;
    for (const auto& button : kPlayerButtons) visible += Names(VisibleButtons, button.first) ? 1 : 0;
    const TGdiObject face(::CreateSolidBrush(ColorToRGB(Color())));
    ::FillRect(dc, &client, static_cast<HBRUSH>(face.Get()));
    if (visible == 0) return;
    const int width = client.right / visible;
    const TSelectObject font(dc, Font()->Handle());
    ::SetBkMode(dc, TRANSPARENT);
    int left = 0;
    for (const auto& [name, caption] : kPlayerButtons) {
        if (!Names(VisibleButtons, name)) continue;
        RECT r{left, 0, left + width, client.bottom};
        const bool enabled = Enabled() && Names(EnabledButtons, name);
        ::DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH);
        ::SetTextColor(dc, ::GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        ::DrawTextW(dc, caption, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        left += width;
    }
}

// --- TSidePageControl

void TSidePageControl::CreateParams(TCreateParams& Params)
{
    TPageControl::CreateParams(Params);
    Params.Style |= TCS_VERTICAL | TCS_MULTILINE | (FRight ? TCS_BOTTOM : 0);
}

// --- TGalleryMemo

void TGalleryMemo::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_CONTEXTMENU && OnContextMenu) {
        const std::function<void(POINT)> show = OnContextMenu;
        show({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
        Message.Result = 0;
        return;
    }
    TMemo::WndProc(Message);
}

// --- TGalleryListView

void TGalleryListView::CreateWnd()
{
    TTestListView::CreateWnd();
    for (const auto& [title, width] : {std::pair{L"Row", 110}, {L"Tag", 120}, {L"Count", 80}})
        AddColumn(title, width);
    AddRows(FRows);
    const HWND window = WindowHandle();
    ::SendMessageW(window, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < FRows; ++i) {
        wchar_t tag[16];
        ::wsprintfW(tag, L"%010X", 0xBC614E + 7 * i);
        std::wstring count = std::to_wstring(i % 37 + 1);
        LVITEMW item{};
        item.iSubItem = 1;
        item.pszText = tag;
        ::SendMessageW(window, LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 2;
        item.pszText = count.data();
        ::SendMessageW(window, LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    ::SendMessageW(window, WM_SETREDRAW, TRUE, 0);
}
