// The button, check-box and radio-button adapters in a Wine virtual desktop
// with injected mouse and keys: clicks counted, states read back from the
// screen against the skin's cells, raw dialog buttons, timers, and click
// handlers that free the button or unskin the form in a modal loop.
#include "tests/skin/support/AdapterFixture.h"

#include "classlib/Buttons.h"
#include "classlib/Handles.h"
#include "skin/adapters/SkinButton.h"
#include "skin/adapters/SkinCheck.h"
#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinElements.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace frametest {
namespace {

using frameharness::TWindowCapture;

template <class T>
T* Add(TForm* Form, int X, int Y, int W, int H, const std::string& Caption)
{
    auto* control = new T(Form);
    control->SetParent(Form);
    control->SetBounds(X, Y, W, H);
    control->SetCaption(Caption);
    return control;
}

POINT Centre(HWND Window, int DX = 0)
{
    RECT r{};
    ::GetWindowRect(Window, &r);
    return {(r.left + r.right) / 2 + DX, (r.top + r.bottom) / 2};
}

void ClickAt(POINT P)
{
    frameharness::MouseMoveTo(P);
    frameharness::MousePress(frameharness::TMouseButton::Left);
    frameharness::MouseRelease(frameharness::TMouseButton::Left);
    frameharness::PumpFor(50);
}

void PressSpace()
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = VK_SPACE;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
    frameharness::PumpFor(50);
}

TWindowCapture Shot(HWND Window)
{
    Pump();
    return TWindowCapture::Take(Window);
}

// Pixels in which two captures of one window differ.
int Differing(const TWindowCapture& A, const TWindowCapture& B)
{
    int n = 0;
    for (int y = 0; y < A.Height(); ++y)
        for (int x = 0; x < A.Width(); ++x) n += A.Pixel(x, y) != B.Pixel(x, y) ? 1 : 0;
    return n;
}

// A strip of Count solid cells, 13 x 13, each of its own colour.
COLORREF CellColour(int Index)
{
    return RGB(20 * Index, 250 - 20 * Index, 90);
}
std::unique_ptr<TBitmap> SolidStrip(int Count)
{
    auto strip = std::make_unique<TBitmap>();
    strip->SetPixelFormat(TPixelFormat::pf24bit);
    strip->SetSize(13 * Count, 13);
    for (int i = 1; i <= Count; ++i) {
        const TGdiObject brush(::CreateSolidBrush(CellColour(i)));
        const RECT cell{13 * (i - 1), 0, 13 * i, 13};
        ::FillRect(strip->Canvas()->Handle(), &cell, static_cast<HBRUSH>(brush.Get()));
    }
    return strip;
}

// The colour of the glyph's middle: at the left, or at the right for text on the left.
COLORREF GlyphColour(HWND Box, bool AtRight = false, bool Radio = false)
{
    ::RedrawWindow(Box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const TWindowCapture shot = Shot(Box);
    const int x = AtRight ? shot.Width() - (Radio ? 1 : 0) - 7 : 6;
    return shot.Pixel(x, shot.Height() / 2);
}

class ButtonAdapterTest : public AdapterTest {
protected:
    // The top edge's middle pixel of the button as shown, and of the [Buttons] cell.
    static COLORREF ShownEdge(HWND Button)
    {
        const TWindowCapture shot = Shot(Button);
        return shot.Pixel(shot.Width() / 2, 1);
    }
    static COLORREF CellEdge(TSkinData* Data, int Cell)
    {
        TBitmap& strip = *Data->FButtons->FBitmap;
        return CellPixel(strip, Cell, Data->FButtons->FFrame, false, strip.Width() / Data->FButtons->FFrame / 2, 1);
    }
};

TEST_F(ButtonAdapterTest, ButtonsClickOnceForAPressAndReleaseOnThemOrForSpaceAndShowEachState)
{
    const TSkinnedForm made = MakeForm();
    auto* button = Add<TButton>(made.Form, 20, 20, 101, 25, "push");
    auto* bit = Add<TBitBtn>(made.Form, 20, 60, 101, 25, "bit||two");
    auto* other = Add<TButton>(made.Form, 20, 150, 101, 25, "other");
    int clicks = 0, bitClicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    bit->OnClick = [&](TObject*) { ++bitClicks; };
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    ASSERT_NE(dynamic_cast<TSkinButton*>(FindSkinObject(button->Handle())), nullptr);
    ASSERT_NE(dynamic_cast<TSkinBitButton*>(FindSkinObject(bit->Handle())), nullptr);
    for (int cell = 2; cell <= 5; ++cell) ASSERT_NE(CellEdge(made.Data, cell), CellEdge(made.Data, 1)) << cell;
    const HWND b = button->Handle();
    other->SetFocus();
    EXPECT_EQ(ShownEdge(b), CellEdge(made.Data, bcNormal));

    frameharness::MouseMoveTo(Centre(b));
    EXPECT_EQ(ShownEdge(b), CellEdge(made.Data, bcHot));
    frameharness::MousePress(frameharness::TMouseButton::Left);
    EXPECT_EQ(ShownEdge(b), CellEdge(made.Data, bcPressed));
    EXPECT_EQ(clicks, 0);
    frameharness::MouseRelease(frameharness::TMouseButton::Left);
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(::GetFocus(), b);
    frameharness::MouseMoveTo(Centre(other->Handle()));
    EXPECT_EQ(ShownEdge(b), CellEdge(made.Data, bcFocused));

    // Pressed, dragged off and released elsewhere: no click.
    frameharness::MouseDrag(Centre(b), Centre(other->Handle()), 4);
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(ShownEdge(b), CellEdge(made.Data, bcFocused));

    PressSpace();
    EXPECT_EQ(clicks, 2);
    ClickAt(Centre(bit->Handle()));
    EXPECT_EQ(bitClicks, 1);

    button->SetEnabled(false);
    EXPECT_EQ(ShownEdge(b), CellEdge(made.Data, bcDisabled));
    ClickAt(Centre(b));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(WideReplaceFirst(L"a||b||c", L"||", L"\r\n"), L"a\r\nb||c");
}

TEST_F(ButtonAdapterTest, WithoutTheStripAButtonTakesItsPressItselfAndClicksOnce)
{
    const TSkinnedForm made = MakeForm();
    auto* button = Add<TButton>(made.Form, 20, 20, 101, 25, "native");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    made.Data->FButtons->FBitmap->SetSize(0, 0);
    frame->UpdateSkin();
    const HWND b = button->Handle();
    frameharness::MouseMoveTo(Centre(b));
    frameharness::MousePress(frameharness::TMouseButton::Left);
    Pump();
    // The system's button shows the press it took.
    EXPECT_NE(::SendMessageW(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    frameharness::MouseRelease(frameharness::TMouseButton::Left);
    Pump();
    EXPECT_EQ(::SendMessageW(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonAdapterTest, ABitButtonsGlyphCellIsLaidOutAndGreyedWhenDisabled)
{
    const TSkinnedForm made = MakeForm();
    auto* bit = Add<TBitBtn>(made.Form, 20, 20, 101, 60, "");
    MakeTwoCellGlyph(*bit->Glyph());
    const auto& cells = GlyphCells;
    bit->SetNumGlyphs(2);
    bit->SetLayout(TButtonLayout::blGlyphTop);
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    // No caption: no spacing, the glyph centred both ways.
    const auto middle = [&] {
        ::RedrawWindow(bit->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return Shot(bit->Handle()).Pixel((101 - 16 + 1) / 2 + 8, (60 - 16) / 2 + 8);
    };
    EXPECT_EQ(middle(), cells[0]);
    const auto greyed = [](COLORREF Colour) {
        TBitmap pixel;
        pixel.SetPixelFormat(TPixelFormat::pf24bit);
        pixel.SetSize(1, 1);
        pixel.Canvas()->SetPixel(0, 0, static_cast<int32_t>(Colour));
        GrayBitmap(pixel);
        return static_cast<COLORREF>(pixel.Canvas()->Pixel(0, 0));
    };
    ASSERT_NE(greyed(cells[0]), greyed(cells[1]));
    bit->SetEnabled(false);
    EXPECT_EQ(middle(), greyed(cells[1]));
}

TEST_F(ButtonAdapterTest, ACaptionBreaksAtItsFirstDoubleBarBesideAGlyphAndBesideTheMenuArrow)
{
    const TSkinnedForm made = MakeForm();
    auto* other = Add<TButton>(made.Form, 20, 200, 101, 25, "other");
    auto* bit = Add<TBitBtn>(made.Form, 20, 20, 121, 60, "");
    MakeTwoCellGlyph(*bit->Glyph());
    bit->SetNumGlyphs(2);
    auto* menu = Add<TButton>(made.Form, 20, 100, 121, 60, "");
    menu->SetTag(made.Data->DisableTag());  // given its adapter below
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE((new TSkinMenuButton(menu))->InitSkin(frame, made.Data, false));
    other->SetFocus();
    for (TButton* button : {static_cast<TButton*>(bit), menu}) {
        const auto shown = [&](const std::string& Caption) {
            button->SetCaption(Caption);
            ::RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            return Shot(button->Handle());
        };
        const TWindowCapture broken = shown("ab\r\ncd");
        EXPECT_GT(Differing(broken, shown("")), 10) << button->ClassName();
        EXPECT_EQ(Differing(broken, shown("ab||cd")), 0) << button->ClassName();
    }
}

TEST_F(ButtonAdapterTest, CheckAndRadioGlyphsFollowStateAndStripAndClicksKeepTheirLogic)
{
    const TSkinnedForm made = MakeForm();
    TDataSkinButton& buttons = *made.Data->FButtons;
    buttons.FCheckButton = SolidStrip(12);
    buttons.FRadioButton = SolidStrip(8);
    auto* check = Add<TCheckBox>(made.Form, 20, 20, 150, 20, "check");
    auto* grayed = Add<TCheckBox>(made.Form, 20, 45, 150, 20, "grayed");
    grayed->SetAllowGrayed(true);
    auto* left = Add<TCheckBox>(made.Form, 20, 70, 150, 20, "left");
    left->SetAlignment(TLeftRight::taLeftJustify);
    auto* radio1 = Add<TRadioButton>(made.Form, 20, 100, 150, 20, "one");
    auto* radio2 = Add<TRadioButton>(made.Form, 20, 125, 150, 20, "two");
    int checkClicks = 0;
    check->OnClick = [&](TObject*) { ++checkClicks; };
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    const auto* adapter = dynamic_cast<TSkinCheckBox*>(FindSkinObject(check->Handle()));
    ASSERT_NE(adapter, nullptr);
    EXPECT_EQ(adapter->Mode(), cmFull);
    ASSERT_NE(dynamic_cast<TSkinRadioButton*>(FindSkinObject(radio1->Handle())), nullptr);

    EXPECT_EQ(GlyphColour(check->Handle()), CellColour(1));
    ClickAt(Centre(check->Handle()));
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(checkClicks, 1);
    EXPECT_EQ(GlyphColour(check->Handle()), CellColour(5));
    PressSpace();  // the click gave it the focus
    EXPECT_FALSE(check->Checked());
    EXPECT_EQ(checkClicks, 2);
    check->SetEnabled(false);
    EXPECT_EQ(GlyphColour(check->Handle()), CellColour(4));
    check->SetChecked(true);
    EXPECT_EQ(GlyphColour(check->Handle()), CellColour(8));

    // A grayed box: checked, grayed, unchecked by clicks; 9, and 12 disabled.
    ClickAt(Centre(grayed->Handle()));
    ClickAt(Centre(grayed->Handle()));
    EXPECT_EQ(grayed->State(), TCheckBoxState::cbGrayed);
    EXPECT_EQ(GlyphColour(grayed->Handle()), CellColour(9));
    grayed->SetEnabled(false);
    EXPECT_EQ(GlyphColour(grayed->Handle()), CellColour(12));

    left->SetChecked(true);
    EXPECT_EQ(GlyphColour(left->Handle(), true), CellColour(5));

    ClickAt(Centre(radio2->Handle()));
    EXPECT_TRUE(radio2->Checked());
    EXPECT_EQ(GlyphColour(radio2->Handle()), CellColour(5));
    ClickAt(Centre(radio1->Handle()));
    EXPECT_FALSE(radio2->Checked());
    EXPECT_EQ(GlyphColour(radio1->Handle()), CellColour(5));
    EXPECT_EQ(GlyphColour(radio2->Handle()), CellColour(1));

    // A four-cell strip: every state stays within it (indeterminate and
    // disabled, any BM_SETCHECK value).
    buttons.FCheckButton = SolidStrip(4);
    buttons.FCheckButtonFrame = 4;
    EXPECT_EQ(GlyphColour(grayed->Handle()), CellColour(4));
    EXPECT_EQ(CheckCell(4 + 2, false, true, 4, false), 4);
    EXPECT_EQ(CheckCell(0x10001, false, false, 4, false), 4);
    EXPECT_EQ(CheckCell(3, false, true, 8, true), 4);

    // A skin without the strip leaves the boxes to paint themselves.
    buttons.FCheckButton->SetSize(0, 0);
    EXPECT_NE(GlyphColour(check->Handle()), CellColour(8));
    EXPECT_EQ(adapter->Mode(), cmGlyphOnly);
}

LRESULT CALLBACK CommandRecorder(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
std::vector<std::pair<WPARAM, LPARAM>> gCommands;

LRESULT CALLBACK CommandRecorder(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_COMMAND) gCommands.emplace_back(WParam, LParam);
    return ::DefWindowProcW(Window, Msg, WParam, LParam);
}

TEST_F(ButtonAdapterTest, ARawDialogsPushButtonPostsItsClickAndKeepsItsTextOthersStayNative)
{
    const TSkinnedForm made = MakeForm();
    const HWND window = MakeWindow(WS_OVERLAPPEDWINDOW, 0, &CommandRecorder);
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const std::wstring chinese = L"\x4E2D\x6587";
    const auto child = [&](const wchar_t* Text, DWORD Style, int Id, int Y) {
        return ::CreateWindowExW(0, L"Button", Text, WS_CHILD | WS_VISIBLE | Style, 10, Y, 100, 25, window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), instance, nullptr);
    };
    const HWND push = child(chinese.c_str(), BS_PUSHBUTTON, 101, 10);
    const HWND group = child(L"group", BS_GROUPBOX, 102, 40);
    const HWND owner = child(L"owner", BS_OWNERDRAW, 103, 70);
    auto* frame = new TWinSkinForm(nullptr);
    frame->InitWindow(window, "plain", made.Data);
    frame->SkinChildWindows(window);
    EXPECT_NE(dynamic_cast<TSkinButton*>(FindSkinObject(push)), nullptr);
    EXPECT_EQ(FindSkinObject(group), nullptr);
    EXPECT_EQ(FindSkinObject(owner), nullptr);

    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);
    Pump();
    gCommands.clear();
    ClickAt(Centre(push));
    ASSERT_TRUE(PumpUntil([] { return !gCommands.empty(); }));
    Pump();
    ASSERT_EQ(gCommands.size(), 1u);
    EXPECT_EQ(gCommands[0].first, MAKEWPARAM(101, BN_CLICKED));
    EXPECT_EQ(gCommands[0].second, reinterpret_cast<LPARAM>(push));
    EXPECT_EQ(GetWindowTextWide(push), chinese);
    frame->Unskin();
    delete frame;
}

TEST_F(ButtonAdapterTest, TheApplicationsTimersReachASkinnedButtonThePressTimerDoesNot)
{
    const TSkinnedForm made = MakeForm();
    auto* button = Add<TButton>(made.Form, 20, 20, 101, 25, "timed");
    std::map<WPARAM, int> fired;
    const TWndMethod own = button->WindowProc;
    button->WindowProc = [&, own](TMessage& M) {
        if (M.Msg == WM_TIMER) ++fired[M.WParam];
        own(M);
    };
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    ASSERT_NE(dynamic_cast<TSkinButton*>(FindSkinObject(button->Handle())), nullptr);
    ::SetTimer(button->Handle(), 1, 10, nullptr);
    ::SetTimer(button->Handle(), 7, 10, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return fired[7] >= 3; }));
    ::KillTimer(button->Handle(), 7);
    EXPECT_EQ(fired[1], 0);
    EXPECT_FALSE(::KillTimer(button->Handle(), 1));  // killed at its first tick
}

TEST_F(ButtonAdapterTest, ClickHandlersMayFreeTheButtonOrUnskinTheFormInAMessageBox)
{
    const TSkinnedForm made = MakeForm();
    auto* doomed = Add<TButton>(made.Form, 20, 20, 101, 25, "doomed");
    auto* boxer = Add<TBitBtn>(made.Form, 20, 60, 101, 25, "box");
    constexpr UINT kUnskin = WM_APP + 5;
    doomed->OnClick = [&](TObject*) { delete std::exchange(doomed, nullptr); };
    bool returned = false;
    boxer->OnClick = [&](TObject*) {
        ::PostMessageW(made.Form->Handle(), kUnskin, 0, 0);
        ::MessageBoxW(made.Form->Handle(), L"unskinned meanwhile", L"box test", MB_OK);
        returned = true;
    };
    bool unskinned = false;
    const TWndMethod formProc = made.Form->WindowProc;
    made.Form->WindowProc = [&, formProc](TMessage& M) {
        if (M.Msg != kUnskin) return formProc(M);
        if (!std::exchange(unskinned, true)) RunAction(made.Data, saUnskinAll);
        // The box's own loop may hand the message on before the box is made:
        // ask again until it can be closed.
        if (const HWND box = ::FindWindowW(L"#32770", L"box test"))
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        else
            ::PostMessageW(made.Form->Handle(), kUnskin, 0, 0);
    };
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    const HWND boxerWindow = boxer->Handle();
    ClickAt(Centre(doomed->Handle()));
    EXPECT_EQ(doomed, nullptr);
    ClickAt(Centre(boxerWindow));
    ASSERT_TRUE(PumpUntil([&] { return returned; }));
    EXPECT_EQ(FindSkinObject(boxerWindow), nullptr);
    EXPECT_TRUE(::IsWindow(boxerWindow));
}

}  // namespace
}  // namespace frametest
