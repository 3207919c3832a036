// The media player's overlay panel and its adapter: buttons by the player's
// published sets, composed off screen and copied once; the left button passed
// on to the player, the release too wherever it happens.
#include "skin/adapters/SkinMediaPlayer.h"

#include "classlib/Canvas.h"
#include "classlib/portable/TypInfo.h"
#include "skin/adapters/AdapterDraw.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinElements.h"
#include "skin/data/WinSkinData.h"

#include <memory>
#include <string>
#include <utility>

namespace {

// The names the player's sets use, in TMPBtnType order.
constexpr const wchar_t* kButtonNames[kMPButtonCount] = {L"btPlay", L"btPause", L"btStop",   L"btNext", L"btPrev",
                                                        L"btStep", L"btBack",  L"btRecord", L"btEject"};

// The resource names of the images: "<kind>_<button>", in image and TMPBtnType order.
constexpr const char* kImageKinds[kMPImageCount] = {"EN", "DI", "CL"};
constexpr const char* kImageButtons[kMPButtonCount] = {"MPPLAY", "MPPAUSE", "MPSTOP",   "MPNEXT", "MPPREV",
                                                      "MPSTEP", "MPBACK",  "MPRECORD", "MPEJECT"};
// The images' transparent colour (red 128, green 128, blue 0).
constexpr TColor kImageKey = 0x008080;

bool Named(const std::wstring& Set, int Index)
{
    return Set.find(kButtonNames[Index]) != std::wstring::npos;
}

}  // namespace

const TClassInfo& TWMediaPlayer::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TWMediaPlayer>("TWMediaPlayer", TCustomPanel::StaticClassInfo()).Build();
    return info;
}

TWMediaPlayer::TWMediaPlayer()
    : TCustomPanel(nullptr),
      FHook(*this, [](TSkinObject& O, TMessage& M) { static_cast<TWMediaPlayer&>(O).HandleMessage(M); })
{
    LoadImages();
    FHook.Attach(*this);
}

void TWMediaPlayer::LoadImages()
{
    for (int i = 0; i < kMPButtonCount; ++i)
        for (int k = 0; k < kMPImageCount; ++k)
            LoadBitmapResource((std::string(kImageKinds[k]) + "_" + kImageButtons[i]).c_str(), FImages[i][k]);
}

void TWMediaPlayer::Attach(TWinControl& Player, TSkinData& SkinData)
{
    FMediaPlayer = &Player;
    FSkinData = &SkinData;
    SetTag(SkinData.DisableTag());
    SetVisible(Player.Visible() && HasStrip());
    SetBounds(Player.Left(), Player.Top(), Player.Width(), Player.Height());
    SetParent(Player.Parent());
    // Over the player, which was made earlier and would lie on top otherwise.
    if (HandleAllocated())
        ::SetWindowPos(WindowHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWMediaPlayer::Detach()
{
    FMediaPlayer = nullptr;
    if (HandleAllocated()) ::ShowWindow(WindowHandle(), SW_HIDE);
}

void TWMediaPlayer::FollowPlayer()
{
    if (FMediaPlayer == nullptr) return;
    SetBounds(FMediaPlayer->Left(), FMediaPlayer->Top(), FMediaPlayer->Width(), FMediaPlayer->Height());
    SetVisible(FMediaPlayer->Visible() && HasStrip());
}

bool TWMediaPlayer::HasStrip() const
{
    const TDataSkinButton* buttons = FSkinData != nullptr ? FSkinData->FButtons.get() : nullptr;
    return buttons != nullptr && !buttons->FBitmap->Empty() && buttons->FFrame > 0;
}

void TWMediaPlayer::ReadButtons()
{
    const std::wstring visible = GetTextPropByName(FMediaPlayer, "VisibleButtons");
    const std::wstring enabled = GetTextPropByName(FMediaPlayer, "EnabledButtons");
    const std::wstring colored = GetTextPropByName(FMediaPlayer, "ColoredButtons");
    FVisibleCount = 0;
    for (int i = 0; i < kMPButtonCount; ++i) {
        FButtons[i] = {Named(visible, i), Named(enabled, i), Named(colored, i)};
        if (FButtons[i].IsVisible) ++FVisibleCount;
    }
    FButtonWidth = FVisibleCount > 0 ? ClientWidth() / FVisibleCount : 0;
}

int TWMediaPlayer::ButtonAt(int X)
{
    ReadButtons();
    int left = 0;
    for (int i = 0; i < kMPButtonCount; ++i) {
        if (!FButtons[i].IsVisible) continue;
        if (X >= left && X <= left + FButtonWidth) return i;
        left += FButtonWidth;
    }
    return kMPNoButton;
}

void TWMediaPlayer::PaintWindow(HDC DC)
{
    ReadButtons();
    const RECT client = ClientRect();
    const TColor face = FSkinData != nullptr ? FSkinData->FButtonFaceColor : Color();
    if (FVisibleCount == 0 || !HasStrip() || client.right <= 0 || client.bottom <= 0) {
        FillColor(DC, client, face);
        return;
    }
    const TDataSkinButton& buttons = *FSkinData->FButtons;
    FImage.SetSize(client.right, client.bottom);
    const HDC dc = FImage.Canvas()->Handle();
    FillColor(dc, client, face);
    int left = 0;
    for (int i = 0; i < kMPButtonCount; ++i) {
        if (!FButtons[i].IsVisible) continue;
        TLooks looks = FPressed && i == FPressedIndex ? lkPressed : 0;
        if (!FButtons[i].IsEnabled) looks |= lkDisabled;
        const RECT r{left, 0, left + FButtonWidth, client.bottom};
        DrawSkinState(dc, r, &buttons, kButtonCells.Cell(looks, buttons.FFrame), buttons.FFrame);
        DrawImage(dc, r, i, looks == lkPressed);  // a disabled button shows no press
        left += FButtonWidth;
    }
    ::BitBlt(DC, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}

void TWMediaPlayer::DrawImage(HDC DC, const RECT& Rect, int Index, bool Pressed)
{
    const TButtonState& state = FButtons[Index];
    TBitmap& image = FImages[Index][!state.IsEnabled ? 1 : state.IsColored ? 2 : 0];
    if (image.Empty()) return;
    const int shift = Pressed ? 1 : 0;
    const int x = Rect.left + (Rect.right - Rect.left - image.Width()) / 2 + shift;
    const int y = Rect.top + (Rect.bottom - Rect.top - image.Height()) / 2 + shift;
    DrawTransparentBitmap(DC, {x, y, x + image.Width(), y + image.Height()}, image, kImageKey);
}

void TWMediaPlayer::MouseButton(TMessage& Message)
{
    const bool press = Message.Msg != WM_LBUTTONUP;
    // A disabled player takes no press; the release of one it took still
    // reaches it, wherever it lands.
    const bool enabled = FMediaPlayer != nullptr && FMediaPlayer->Enabled();
    if (press && !enabled) {
        FHook.CallDefault(Message);
        return;
    }
    const bool forward = enabled || FPressed;
    FPressed = press;
    if (!FHook.CallDefault(Message)) return;
    FHitIndex = ButtonAt(static_cast<short>(LOWORD(Message.LParam)));
    FPressedIndex = FHitIndex;
    // Held while pressed, so that the release reaches the player wherever it
    // happens and the player never stays pressed.
    if (press) ::SetCapture(WindowHandle());
    else if (::GetCapture() == WindowHandle()) ::ReleaseCapture();
    Invalidate();
    // Last: the player's handlers may free it, this panel with it.
    if (forward && FMediaPlayer != nullptr) FMediaPlayer->Perform(Message.Msg, Message.WParam, Message.LParam);
}

void TWMediaPlayer::HandleMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        Message.Result = 1;  // the paint covers every pixel
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
        MouseButton(Message);
        return;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(Message.LParam) != WindowHandle() && FPressed) {
            FPressed = false;
            Invalidate();
        }
        break;
    default:
        break;
    }
    FHook.CallDefault(Message);
}

TSkinMP::~TSkinMP()
{
    ReleasePanel();
}

bool TSkinMP::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor)
{
    if (Attached()) return true;
    if (!TSkinControl::InitSkin(Form, SkinData, ChangeColor)) return false;
    auto* player = dynamic_cast<TWinControl*>(Control());
    if (player == nullptr || player->Parent() == nullptr) return true;
    auto panel = std::make_unique<TWMediaPlayer>();
    panel->Attach(*player, *SkinData);
    panel->FreeNotification(this);
    FPlayer = panel.release();
    return true;
}

void TSkinMP::ReleasePanel()
{
    TWMediaPlayer* panel = std::exchange(FPlayer, nullptr);
    if (panel == nullptr) return;
    panel->RemoveFreeNotification(this);
    panel->Detach();
    panel->FreeDeferred();
}

void TSkinMP::Unskin()
{
    TSkinControl::Unskin();
    ReleasePanel();
}

void TSkinMP::UpdateSkin()
{
    TSkinControl::UpdateSkin();
    if (FPlayer == nullptr) return;
    FPlayer->FollowPlayer();
    FPlayer->Invalidate();
}

bool TSkinMP::BeforeProc(TMessage& Message)
{
    // The player's window goes (perhaps with the player): the panel may not outlive it.
    if (Message.Msg == WM_NCDESTROY) ReleasePanel();
    return TSkinControl::BeforeProc(Message);
}

void TSkinMP::AfterProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED:
    case CM_VISIBLECHANGED:
        if (FPlayer != nullptr) FPlayer->FollowPlayer();
        return;
    default:
        TSkinControl::AfterProc(Message);
    }
}

void TSkinMP::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent == FPlayer) FPlayer = nullptr;
    TSkinControl::Notification(AComponent, Operation);
}
