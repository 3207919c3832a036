// The control-adapter base on a trivial adapter of the test's own: taking a
// control over and giving everything back, raw windows of both kinds, adapters
// freed under their own messages (Wine checks the heap), the frame object
// driving its adapters, and the shared drawing helpers.
#include "tests/skin/support/AdapterFixture.h"

#include "classlib/ExtCtrls.h"
#include "classlib/portable/SysUtils.h"
#include "skin/SkinWindowMessages.h"
#include "skin/adapters/AdapterDraw.h"
#include "skin/adapters/SkinControl.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinElements.h"
#include "skin/kernel/WindowHook.h"
#include "tests/support/GdiObjectCount.h"

#include <stdexcept>
#include <string>

namespace frametest {
namespace {

constexpr COLORREF Green = RGB(0, 160, 0);

// Paints its window green and lets a test act before the control's procedure.
class TTestAdapter : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    // False consumes the message.
    std::function<bool(TTestAdapter&, TMessage&)> OnBefore;
    int Painted = 0;
    bool Throw = false;

protected:
    bool BeforeProc(TMessage& Message) override
    {
        const TToken life = Token();
        if (OnBefore && !OnBefore(*this, Message)) return false;
        return life.Alive() && TSkinControl::BeforeProc(Message);
    }
    void PaintControl(HDC DC, const RECT& Rect) override
    {
        ++Painted;
        if (Throw) throw std::runtime_error("paint failed");
        FillColor(DC, Rect, static_cast<TColor>(Green));
    }
};

// Counts the messages that reach the control's own WindowProc.
struct TSeen {
    int PaintOn = 0;
    int Query = 0;
};
void CountBehind(TControl& Control, TSeen& Seen)
{
    Control.WindowProc = [old = Control.WindowProc, &Seen](TMessage& M) {
        if (M.Msg == WM_SKIN_PAINTON) ++Seen.PaintOn;
        if (M.Msg == WM_SKIN_QUERY) ++Seen.Query;
        old(M);
    };
}

// A pixel of the window as a WM_PAINT with a DC paints it (the adapter paints after the control).
COLORREF WindowPixel(HWND Window, int X, int Y)
{
    return frameharness::TWindowCapture::Paint(Window, [Window](HDC DC) {
               ::SendMessageW(Window, WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
           }).Pixel(X, Y);
}

// A shown, skinned form with a push button, its frame object and skin.
class AdapterBaseTest : public AdapterTest {
protected:
    void SetUp() override
    {
        AdapterTest::SetUp();
        Made = MakeSkinnedControl();
        SkinForm = Frame(Made.Form->Handle());
        ASSERT_NE(SkinForm, nullptr);
        Data = SkinForm->SkinData();
    }

    TSkinnedControl Made;
    TWinSkinForm* SkinForm = nullptr;
    TSkinData* Data = nullptr;
};

TEST_F(AdapterBaseTest, AnAdapterTakesAControlOverAndGivesEverythingBack)
{
    TButton& button = *Made.Control;
    const HWND w = button.Handle();
    const TWndMethod original = button.WindowProc;
    TSeen seen;
    CountBehind(button, seen);
    const auto ownProc = button.WindowProc.target_type().name();
    button.SetColor(RGB(1, 2, 3));
    ASSERT_TRUE(button.ParentBackground());
    const int listed = SkinForm->ControlCount();

    auto* adapter = new TTestAdapter(&button);
    ASSERT_TRUE(adapter->InitSkin(SkinForm, Data, true));
    EXPECT_EQ(SkinForm->ControlCount(), listed + 1);
    EXPECT_EQ(::SendMessageA(w, WM_SKIN_QUERY, 0, 0), 1);
    EXPECT_EQ(seen.Query, 0);
    EXPECT_EQ(button.Color(), Data->FButtonFaceColor);
    EXPECT_FALSE(button.ParentBackground());
    EXPECT_EQ(adapter->Mode(), 1);
    EXPECT_EQ(WindowPixel(w, 4, 4), Green);

    // Never twice: the same adapter again changes nothing, a second one is refused.
    EXPECT_TRUE(adapter->InitSkin(SkinForm, Data, true));
    auto* second = new TTestAdapter(&button);
    EXPECT_FALSE(second->InitSkin(SkinForm, Data, false));
    delete second;
    EXPECT_EQ(SkinForm->ControlCount(), listed + 1);
    EXPECT_EQ(FindSkinObject(w), adapter);
    EXPECT_EQ(::SendMessageW(w, WM_GETTEXTLENGTH, 0, 0), 6);

    // Painting off (0 or negative) and on again, without the control ever
    // hearing of the switch; while off every message goes straight through.
    for (const WPARAM off : {WPARAM(0), static_cast<WPARAM>(-5)}) {
        ::SendMessageA(w, WM_SKIN_PAINTON, off, 0);
        EXPECT_FALSE(adapter->PaintOn());
        EXPECT_EQ(::SendMessageA(w, WM_SKIN_QUERY, 0, 0), 0);
    }
    const int painted = adapter->Painted;
    ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(adapter->Painted, painted);
    ::SendMessageA(w, WM_SKIN_PAINTON, 1, 0);
    EXPECT_GT(adapter->Painted, painted);
    EXPECT_EQ(seen.PaintOn, 0);
    EXPECT_EQ(seen.Query, 2);

    // A paint that raises is swallowed by PaintWindow; HandlePaint still ends the paint.
    adapter->Throw = true;
    ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    TMessage paint{WM_PAINT, 0, 0, 0};
    ::InvalidateRect(w, nullptr, FALSE);
    EXPECT_THROW(adapter->HandlePaint(paint), std::runtime_error);
    EXPECT_FALSE(::GetUpdateRect(w, nullptr, FALSE));
    adapter->Throw = false;

    // Unskinning gives back the WindowProc, the colour and ParentBackground.
    SkinForm->FreeControls();
    Pump();
    EXPECT_EQ(SkinForm->ControlCount(), 0);
    EXPECT_EQ(FindSkinObject(w), nullptr);
    EXPECT_STREQ(button.WindowProc.target_type().name(), ownProc);
    EXPECT_EQ(button.Color(), RGB(1, 2, 3));
    EXPECT_TRUE(button.ParentBackground());
    EXPECT_EQ(::SendMessageA(w, WM_SKIN_QUERY, 0, 0), 0);

    // With xoParentBackGround the skin leaves ParentBackground alone; set
    // while skinned, what was taken still comes back.
    adapter = new TTestAdapter(&button);
    ASSERT_TRUE(adapter->InitSkin(SkinForm, Data, true));
    Data->SetOptions(Data->Options() | SkinBit(xoParentBackGround));
    SkinForm->FreeControls();
    EXPECT_TRUE(button.ParentBackground());
    adapter = new TTestAdapter(&button);
    ASSERT_TRUE(adapter->InitSkin(SkinForm, Data, true));
    EXPECT_TRUE(button.ParentBackground());
    EXPECT_EQ(adapter->Mode(), 0);
    SkinForm->FreeControls();

    ExpectNothingLeftAfter(
        300, [&] { (new TTestAdapter(&button))->InitSkin(SkinForm, Data, true); }, [&] { SkinForm->FreeControls(); });
    button.WindowProc = original;  // the counter's captures end with the test
}

TEST_F(AdapterBaseTest, PropertiesByNameAnswerAbsentInsteadOfRaising)
{
    TButton& button = *Made.Control;
    EXPECT_EQ(GetOrdPropByName(&button, "Width"), 120);
    EXPECT_EQ(GetOrdPropByName(&button, "NoSuchProperty"), -1);
    EXPECT_EQ(GetOrdPropByName(&button, "Align"), -1);  // an enumeration
    EXPECT_EQ(GetOrdPropByName(nullptr, "Width"), -1);
    EXPECT_EQ(GetEnumPropByName(&button, "Align"), "alNone");
    EXPECT_EQ(GetTextPropByName(&button, "NoSuchProperty"), L"");
    EXPECT_NE(GetObjectPropByName(&button, "Font", TFont::StaticClassInfo()), nullptr);
    EXPECT_EQ(GetObjectPropByName(&button, "Font", TControl::StaticClassInfo()), nullptr);
    EXPECT_NO_THROW(SetPropByName(&button, "Transparent", "True"));
    EXPECT_NO_THROW(SetPropByName(&button, "Align", "alNowhere"));
    SetPropByName(&button, "Width", "90");
    EXPECT_EQ(button.Width(), 90);
    EXPECT_THROW(SetPropByName(&button, "Width", "wide"), EConvertError);

    // A popup: WS_POPUP, or a child of the desktop window itself.
    const HWND onDesktop = ::CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 10, 10, ::GetDesktopWindow(), nullptr,
                                             ::GetModuleHandleW(nullptr), nullptr);
    EXPECT_TRUE(IsPopupWindow(onDesktop));
    EXPECT_FALSE(IsPopupWindow(button.Handle()));
    ::DestroyWindow(onDesktop);
}

TEST_F(AdapterBaseTest, RawWindowsOfBothKindsKeepTheirTextAndTheirProcedures)
{
    const HWND parent = Made.Form->Handle();
    const size_t windows = HookedWindowCount();
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const HWND wide = ::CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 10, 60, 100, 20, parent, nullptr,
                                        instance, nullptr);
    const HWND ansi = ::CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 10, 90, 100, 20, parent, nullptr,
                                        instance, nullptr);
    ASSERT_TRUE(wide != nullptr && ansi != nullptr);

    const std::wstring chinese = L"\x8bfb\x5361\x5668";  // 读卡器
    const std::string gb2312 = "\xb6\xc1\xbf\xa8\xc6\xf7";
    for (const HWND w : {wide, ansi}) {
        auto* adapter = new TTestAdapter(SkinForm);
        ASSERT_TRUE(adapter->InitSkinHandle(w, Data, SkinForm));
        EXPECT_EQ(adapter->Unicode(), w == wide);
        // Never twice: again, or by another adapter, is refused (it would call itself).
        EXPECT_FALSE(adapter->InitSkinHandle(w, Data, SkinForm));
        auto* second = new TTestAdapter(SkinForm);
        EXPECT_FALSE(second->InitSkinHandle(w, Data, SkinForm));
        second->Free();
        EXPECT_EQ(SkinForm->FindControlByHandle(w), adapter);
    }
    ::SendMessageW(wide, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chinese.c_str()));
    wchar_t wideText[16] = {};
    ::SendMessageW(wide, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(wideText));
    EXPECT_EQ(std::wstring(wideText), chinese);
    EXPECT_EQ(GetWindowTextWide(wide), chinese);
    ::SendMessageA(ansi, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(gb2312.c_str()));
    char ansiText[16] = {};
    ::SendMessageA(ansi, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(ansiText));
    EXPECT_EQ(std::string(ansiText), gb2312);
    EXPECT_EQ(::SendMessageA(ansi, WM_GETTEXTLENGTH, 0, 0), 6);

    // Someone subclasses after us: letting go leaves their procedure working
    // and ours a mere pass-through; nothing answers for the skin any more.
    int thirdSeen = 0;
    static int* counter = nullptr;
    static WNDPROC thirdOld = nullptr;
    counter = &thirdSeen;
    thirdOld = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        wide, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND W, UINT M, WPARAM WP, LPARAM LP) -> LRESULT {
            if (M == WM_APP) ++*counter;
            return ::CallWindowProcW(thirdOld, W, M, WP, LP);
        })));
    SkinForm->FreeControls();
    Pump();
    EXPECT_EQ(::SendMessageW(wide, WM_SKIN_QUERY, 0, 0), 0);
    ::SendMessageW(wide, WM_APP, 0, 0);
    EXPECT_EQ(thirdSeen, 1);
    ::SendMessageW(wide, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chinese.c_str()));
    EXPECT_EQ(GetWindowTextWide(wide), chinese);
    ::DestroyWindow(wide);
    ::DestroyWindow(ansi);
    EXPECT_EQ(HookedWindowCount(), windows);
}

TEST_F(AdapterBaseTest, AnAdapterFreedUnderItsOwnMessageGoesWhenTheMessageReturns)
{
    TButton& button = *Made.Control;

    // A modal loop inside the adapter's message unskins the window: the
    // adapter lets go at once and goes when its message returns.
    auto* adapter = new TTestAdapter(&button);
    ASSERT_TRUE(adapter->InitSkin(SkinForm, Data, false));
    bool outOfService = false;
    adapter->OnBefore = [&](TTestAdapter& A, TMessage& M) {
        if (M.Msg != WM_APP) return true;
        RunAction(Data, saUnskinAll);
        outOfService = !A.Token().Alive() && FindSkinObject(button.WindowHandle()) == nullptr;
        Pump();
        return true;
    };
    ::SendMessageW(button.Handle(), WM_APP, 0, 0);
    EXPECT_TRUE(outOfService);
    EXPECT_EQ(FindSkinObject(button.Handle()), nullptr);
    RunAction(Data, saSkinAll);
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(Made.Form->Handle()); }));
    SkinForm = Frame(Made.Form->Handle());
    ASSERT_NE(SkinForm, nullptr);

    // A handler frees the very control (and so the adapter) under the adapter's message.
    auto* doomed = new TButton(Made.Form);
    doomed->SetParent(Made.Form);
    doomed->SetBounds(20, 100, 80, 24);
    adapter = new TTestAdapter(doomed);
    ASSERT_TRUE(adapter->InitSkin(SkinForm, Data, true));
    adapter->OnBefore = [doomed](TTestAdapter&, TMessage& M) {
        if (M.Msg == WM_APP) delete doomed;
        return true;
    };
    const int listed = SkinForm->ControlCount();
    ::SendMessageW(doomed->Handle(), WM_APP, 0, 0);
    EXPECT_EQ(SkinForm->ControlCount(), listed - 1);

    // A click handler releases its form: form, controls and adapters go once
    // the message is done, and nothing is left registered.
    auto* clicked = new TTestAdapter(&button);
    ASSERT_TRUE(clicked->InitSkin(SkinForm, Data, true));
    clicked->OnBefore = [&button](TTestAdapter&, TMessage& M) {
        if (M.Msg != WM_LBUTTONUP) return true;
        button.Click();
        return false;
    };
    TForm* form = Made.Form;
    button.OnClick = [form](TObject*) { form->Release(); };
    std::erase(Forms, form);
    ::SendMessageW(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_EQ(HookedWindowCount(), 0u);
    EXPECT_EQ(BoundWindowCount(), 0);
}

TEST_F(AdapterBaseTest, TheFrameObjectDrivesItsAdapters)
{
    TButton& button = *Made.Control;
    const HWND window = Made.Form->Handle();
    auto* adapter = new TTestAdapter(&button);
    ASSERT_TRUE(adapter->InitSkin(SkinForm, Data, true));

    // The hot adapter hears the mouse leave when the window goes inactive.
    int left = 0;
    adapter->OnBefore = [&left](TTestAdapter&, TMessage& M) {
        if (M.Msg == CM_MOUSELEAVE) ++left;
        return true;
    };
    SkinForm->SetHotControl(adapter);
    ::SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(left, 1);
    EXPECT_EQ(SkinForm->HotControl(), nullptr);

    // A skin change re-applies the skin colour.
    button.SetColor(RGB(9, 9, 9));
    ::SendMessageW(window, WM_SKIN_RESKIN, 0, 0);
    EXPECT_EQ(button.Color(), Data->FButtonFaceColor);

    // Activations keep one adapter a control; a destroyed window's adapter
    // is purged by the next one.
    const int listed = SkinForm->ControlCount();
    for (int i = 0; i < 3; ++i) ::SendMessageW(window, WM_SKIN_ACTIVATE, 0, kSkinActivateParam);
    EXPECT_EQ(SkinForm->ControlCount(), listed);
    adapter->OnBefore = nullptr;
    ::SendMessageW(button.Handle(), WM_SKIN_PAINTON, 0, 0);  // the window goes while painting is off
    button.DestroyHandle();
    EXPECT_EQ(adapter->SkinState(), asDestroyed);
    EXPECT_EQ(SkinForm->ControlCount(), listed);
    ::SendMessageW(window, WM_SKIN_ACTIVATE, 0, kSkinActivateParam);
    EXPECT_EQ(SkinForm->FindControl(&button), nullptr);
    EXPECT_EQ(SkinForm->ControlCount(), listed - 1);

    // A control freed with its adapter attached (its window goes while the
    // object is only a TWinControl) leaves nothing listed or registered.
    auto* edit = new TEdit(Made.Form);
    edit->SetParent(Made.Form);
    auto* second = new TTestAdapter(edit);
    ASSERT_TRUE(second->InitSkin(SkinForm, Data, true));
    delete edit;
    EXPECT_EQ(SkinForm->ControlCount(), listed - 1);
}

TEST_F(AdapterBaseTest, ChildrenPaintedBehindAControlKeepTheirPlace)
{
    auto* group = new TGroupBox(Made.Form);
    group->SetParent(Made.Form);
    group->SetBounds(150, 10, 200, 150);
    auto* label = new TLabel(group);
    label->SetParent(group);
    label->SetBounds(10, 30, 120, 20);
    label->SetColor(RGB(0, 0, 255));
    auto* inner = new TButton(group);
    inner->SetParent(group);
    inner->SetBounds(5, 25, 150, 60);
    Pump();

    // The parent's image behind the button holds the label where it lies
    // within the button: from (5, 5) to (125, 25).
    const auto capture = frameharness::TWindowCapture::Paint(inner->Handle(), [&](HDC DC) {
        PaintControlToDC(inner, DC);
    });
    EXPECT_EQ(capture.Pixel(6, 6), RGB(0, 0, 255));
    EXPECT_EQ(capture.Pixel(124, 24), RGB(0, 0, 255));
    EXPECT_NE(capture.Pixel(126, 26), RGB(0, 0, 255));
}

TEST_F(AdapterBaseTest, TheDrawingHelpersDrawNothingForWhatIsMissingAndGiveTheDCBack)
{
    TBitmap target;
    target.SetPixelFormat(TPixelFormat::pf24bit);
    target.SetSize(60, 30);
    HDC dc = target.Canvas()->Handle();
    const RECT all{0, 0, 60, 30};
    const auto blank = [&] { FillColor(dc, all, RGB(1, 2, 3)); };
    const auto untouched = [&] {
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 60; ++x)
                if (static_cast<COLORREF>(target.Canvas()->Pixel(x, y)) != RGB(1, 2, 3)) return false;
        return true;
    };
    const TDataSkinObject& buttons = *Data->FButtons;
    TBitmap strip;
    strip.Assign(*buttons.FBitmap);
    for (const auto& [index, count] : {std::pair{0, 5}, {6, 5}, {1, 0}, {-1, 5}}) {
        blank();
        DrawSkinState(dc, all, &buttons, index, count);
        DrawStripCellTransparent(dc, all, strip, index, count);
        EXPECT_TRUE(untouched()) << index << " of " << count;
    }
    blank();
    DrawSkinState(dc, all, nullptr, 1, 5);
    DrawSkinState(dc, {10, 10, 5, 20}, &buttons, 1, buttons.FFrame);
    DrawImageCaption(nullptr, dc, all, nullptr, 3, L"", TCaptionAlignment::caCenter);
    EXPECT_TRUE(untouched());
    DrawSkinState(dc, all, &buttons, 1, buttons.FFrame);
    EXPECT_FALSE(untouched());

    // Disabled captions leave the DC's text colour and mode as they were.
    ::SetTextColor(dc, RGB(10, 20, 30));
    ::SetBkMode(dc, OPAQUE);
    DrawControlCaption(nullptr, dc, all, L"Off", false, DT_CENTER);
    DrawCenteredText(dc, all, L"Off", false, TTextAlignment::taCenter);
    DrawImageCaption(nullptr, dc, all, nullptr, -1, L"Off", TCaptionAlignment::caLeft);
    EXPECT_EQ(::GetTextColor(dc), RGB(10, 20, 30));
    EXPECT_EQ(::GetBkMode(dc), OPAQUE);
}

}  // namespace
}  // namespace frametest
