// The visual layer driven through its windows: description to live controls,
// dispatch and WindowProc replacement, handle lookup, control behaviour and
// the message boxes.
#include "ControlsFixture.h"

#include "classlib/Text.h"
#include "classlib/portable/DescriptionReader.h"
#include "classlib/portable/TypInfo.h"
#include "tests/support/GdiObjectCount.h"

#include <commctrl.h>

#include <stdexcept>
#include <utility>

TEST_F(Controls, DescriptionBuildsTheControlTreeWithoutWindowsUntilShown)
{
    EXPECT_FALSE(Form->HandleAllocated());
    EXPECT_EQ(Form->Edit1->Parent(), Form->Sheet1);
    EXPECT_EQ(Form->Sheet1->PageControl(), Form->Pages);
    EXPECT_EQ(Form->Pages->ActivePage(), Form->Sheet2);
    EXPECT_EQ(Form->Edit1->Font()->Height(), -13);  // taken from the form
    EXPECT_EQ(Form->Combo1->ItemIndex(), 0);
    EXPECT_EQ(Form->Shows, 0);
    ShowForm();
    EXPECT_EQ(Form->Shows, 1);
    EXPECT_TRUE(IsWindowVisible(Form->WindowHandle()));
    RECT r;
    GetWindowRect(Form->WindowHandle(), &r);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 400) / 2);
    EXPECT_EQ(GetWindowLongW(Form->WindowHandle(), GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_TRUE(IsWindowUnicode(Form->Edit1->WindowHandle()));
    EXPECT_FALSE(IsWindowVisible(Form->Sheet1->WindowHandle()));
    EXPECT_TRUE(IsWindowVisible(Form->Sheet2->WindowHandle()));
    Form->Sheet1->Show();
    EXPECT_EQ(Form->Pages->ActivePage(), Form->Sheet1);
    EXPECT_TRUE(IsWindowVisible(Form->Sheet1->WindowHandle()));
    RECT client;
    GetClientRect(Form->WindowHandle(), &client);
    EXPECT_EQ(Form->Pages->Width(), client.right);  // aligned to the client
    EXPECT_EQ(Form->FindComponent("Status")->ClassName(), "TStatusBar");
    Form->Hide();
    Form->Show();
    EXPECT_EQ(Form->Shows, 2);
}

TEST_F(Controls, WindowsAreNamedAfterTheirClassAndFoundFromTheirHandle)
{
    ShowForm();
    const struct {
        TWinControl* Control;
        const wchar_t* Class;
    } cases[] = {
        {Form->Edit1, L"TEdit"},          {Form->Combo1, L"TComboBox"},   {Form->Check1, L"TCheckBox"},
        {Form->Radio1, L"TRadioButton"},  {Form->Button1, L"TBitBtn"},    {Form->Pages, L"TPageControl"},
        {Form->Sheet1, L"TTabSheet"},     {Form->Memo1, L"TMemo"},        {Form.get(), L"TTestForm"},
        {static_cast<TWinControl*>(Form->FindComponent("Panel1")), L"TPanel"},
        {static_cast<TWinControl*>(Form->FindComponent("Box")), L"TGroupBox"},
        {static_cast<TWinControl*>(Form->FindComponent("Status")), L"TStatusBar"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Control->Name()));
        const HWND wnd = c.Control->WindowHandle();
        ASSERT_NE(wnd, nullptr);
        EXPECT_EQ(ClassOf(wnd), c.Class);
        EXPECT_EQ(FindControl(wnd), c.Control);
        EXPECT_EQ(GetPropA(wnd, ControlAtomName()), c.Control);
    }
    EXPECT_EQ(FindControl(GetDesktopWindow()), nullptr);
    EXPECT_EQ(FindControl(nullptr), nullptr);
    EXPECT_EQ(TextToWide(WideToText(L"x")), L"x");
    wchar_t caption[16] = {};
    GetWindowTextW(Form->Button1->WindowHandle(), caption, 16);
    EXPECT_STREQ(caption, L"\u6253\u5f00");
}

TEST_F(Controls, WindowProcMayPutBackTheOldOneWhileItRuns)
{
    ShowForm();
    TCheckBox& box = *Form->Check1;
    const TWndMethod old = box.WindowProc;
    // The handler's captures must outlive its own call: the token counts them.
    const auto token = std::make_shared<int>(0);
    long seenCopies = 0;
    int calls = 0;
    auto install = [&] {
        box.WindowProc = [&, token, pad = std::string(64, 'x')](TMessage& m) {
            if (m.Msg != 0x3524) return old(m);
            ++calls;
            box.WindowProc = old;
            seenCopies = token.use_count();
            m.Result = static_cast<LRESULT>(pad.size());
        };
    };
    install();
    EXPECT_EQ(SendMessageW(box.WindowHandle(), 0x3524, 0, 0), 64);
    EXPECT_GE(seenCopies, 2);
    install();
    EXPECT_EQ(box.Perform(0x3524), 64);
    EXPECT_GE(seenCopies, 2);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(token.use_count(), 1);
    EXPECT_EQ(box.Perform(0x3524), 0);
}

TEST_F(Controls, ReplacedWindowProcSeesEveryMessageAndCanBePutBack)
{
    ShowForm();
    TCheckBox& box = *Form->Check1;
    const TWndMethod old = box.WindowProc;
    int seen = 0;
    box.WindowProc = [&](TMessage& m) {
        if (m.Msg == 0x3523) {
            m.Result = 1;
            return;
        }
        ++seen;
        old(m);
    };
    EXPECT_EQ(SendMessageW(box.WindowHandle(), 0x3523, 0, 0), 1);
    EXPECT_EQ(box.Perform(0x3523), 1);
    SendMessageW(box.WindowHandle(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_GT(seen, 0);
    EXPECT_FALSE(box.Checked());  // the original handling still ran
    box.WindowProc = old;
    EXPECT_EQ(SendMessageW(box.WindowHandle(), 0x3523, 0, 0), 0);
    box.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(box.WindowHandle()));
}

TEST_F(Controls, CheckBoxesAndRadioButtonsClickAndExclude)
{
    ShowForm();
    EXPECT_EQ(Form->CheckClicks, 0);  // stored state fires nothing
    EXPECT_EQ(SendMessageW(Form->Check1->WindowHandle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageW(Form->Check1->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(Form->Check1->Checked());
    EXPECT_EQ(Form->CheckClicks, 1);
    Form->Check1->SetChecked(true);  // set in code: OnClick too
    EXPECT_EQ(Form->CheckClicks, 2);

    SendMessageW(Form->Radio1->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(Form->Radio1->Checked());
    EXPECT_FALSE(Form->Radio2->Checked());
    EXPECT_EQ(SendMessageW(Form->Radio2->WindowHandle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(Form->RadioClicks, 1);
    Form->Radio1->SetChecked(false);
    EXPECT_EQ(Form->RadioClicks, 1);

    SendMessageW(Form->Button1->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Form->ButtonClicks, 1);
    Form->Button1->Click();
    EXPECT_EQ(Form->ButtonClicks, 2);
    EXPECT_EQ(GetOrdProp(*Form->Button1, "NumGlyphs"), 1);
    const auto* glyph = dynamic_cast<const TBitmap*>(GetObjectProp(*Form->Button1, "Glyph"));
    ASSERT_NE(glyph, nullptr);
    EXPECT_TRUE(glyph->Empty());
    EXPECT_EQ(GetEnumProp(*Form->Button1, "Layout"), "blGlyphLeft");
}

TEST_F(Controls, EditDropsRefusedKeysAndConvertsOnExit)
{
    ShowForm();
    Form->Sheet1->Show();
    const HWND edit = Form->Edit1->WindowHandle();
    SetWindowTextW(edit, L"");
    for (wchar_t c : std::wstring(L"1a\u6253" L"2"))
        SendMessageW(edit, WM_CHAR, c, 0);
    EXPECT_EQ(Form->Edit1->Text(), "12");
    SendMessageW(edit, WM_CHAR, L'3', 0);
    SendMessageW(edit, WM_CHAR, L'4', 0);
    EXPECT_EQ(Form->Edit1->Text(), "123");  // MaxLength 3
    SendMessageW(edit, WM_CHAR, 8, 0);
    EXPECT_EQ(Form->Edit1->Text(), "12");
    Form->Edit1->SetFocus();
    Form->Memo1->SetFocus();
    EXPECT_EQ(Form->Edit1->Text(), "0C");
    // Leaving again: "0C" is no decimal number; the error box reports it.
    Form->Edit1->SetFocus();
    Form->Memo1->SetFocus();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, L"'0C' is not a valid integer value");
    EXPECT_EQ(Boxes[0].Flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(Boxes[0].Caption, TextToWide(Application->Title()));
    EXPECT_EQ(Form->Edit1->Text(), "0C");
}

TEST_F(Controls, EditableComboReportsNoIndexForTypedTextAndChangesWhileTyping)
{
    ShowForm();
    TComboBox& combo = *Form->Combo1;
    EXPECT_EQ(combo.Text(), "AUTO");
    combo.SetItemIndex(1);
    EXPECT_EQ(combo.Text(), "COM1");
    EXPECT_EQ(Form->Changes, 0);
    SendMessageW(combo.WindowHandle(), CB_SETCURSEL, 0, 0);
    SendMessageW(Form->Sheet1->WindowHandle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo.WindowHandle()));
    EXPECT_EQ(combo.ItemIndex(), 0);
    EXPECT_EQ(combo.Text(), "AUTO");
    EXPECT_EQ(Form->Changes, 1);
    const HWND edit = GetWindow(combo.WindowHandle(), GW_CHILD);
    ASSERT_NE(edit, nullptr);
    SendMessageW(edit, WM_CHAR, L'x', 0);
    Pump();
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(Form->Changes, 2);
    combo.Items()->Clear();
    EXPECT_EQ(combo.Items()->Count(), 0);
    EXPECT_EQ(SendMessageW(combo.WindowHandle(), CB_GETCOUNT, 0, 0), 0);
    for (int i = 0; i < 3; ++i) combo.Items()->Add(std::to_string(i) + "second");
    combo.SetItemIndex(2);
    EXPECT_EQ(combo.Text(), "2second");
    EXPECT_THROW(combo.SetItemIndex(3), EListError);
}

TEST_F(Controls, MemoLinesKeepEmptyLinesWithAndWithoutAWindow)
{
    for (const bool shown : {false, true}) {
        SCOPED_TRACE(shown ? "window" : "no window");
        if (shown) ShowForm();
        TStrings& lines = *Form->Memo1->Lines();
        lines.Clear();
        lines.Add("");
        EXPECT_EQ(lines.Count(), 1);
        lines.Add("a");
        lines.Add("b");
        EXPECT_EQ(Form->Memo1->Text(), "\r\na\r\nb");
        EXPECT_EQ(lines.ToVector(), (std::vector<std::string>{"", "a", "b"}));
        lines.Insert(1, "i");
        lines.Delete(3);
        lines.Put(0, "p");
        EXPECT_EQ(lines.ToVector(), (std::vector<std::string>{"p", "i", "a"}));
        EXPECT_THROW(lines.Get(3), EListError);
        lines.Clear();
        EXPECT_EQ(lines.Count(), 0);
        EXPECT_EQ(Form->Memo1->Text(), "");
    }
    EXPECT_NE(GetWindowLongW(Form->Memo1->WindowHandle(), GWL_STYLE) & WS_VSCROLL, 0);
}

TEST_F(Controls, MemoLinesFollowALongLogAndWhatTheUserTypes)
{
    ShowForm();
    TStrings& lines = *Form->Memo1->Lines();
    const HWND memo = Form->Memo1->WindowHandle();
    constexpr int kLines = 5000;
    for (int i = 0; i < kLines; ++i) lines.Add("line " + std::to_string(i) + " \xb7\xa2\xcb\xcd");
    EXPECT_EQ(lines.Count(), kLines);
    EXPECT_EQ(lines.Get(kLines - 1), "line 4999 \xb7\xa2\xcb\xcd");
    EXPECT_EQ(Form->Memo1->Text().size(), lines.Text().size() - 2);
    // Typing changes a line without changing how many there are; replacing
    // one character keeps even the length.
    SendMessageW(memo, EM_SETSEL, 0, 0);
    SendMessageW(memo, WM_CHAR, L'x', 0);
    EXPECT_EQ(lines.Get(0), "xline 0 \xb7\xa2\xcb\xcd");
    SendMessageW(memo, EM_SETSEL, 0, 1);
    SendMessageW(memo, WM_CHAR, L'y', 0);
    EXPECT_EQ(lines.Get(0), "yline 0 \xb7\xa2\xcb\xcd");
    SendMessageW(memo, EM_SETSEL, 0, 0);
    SendMessageW(memo, WM_CHAR, L'\r', 0);
    EXPECT_EQ(lines.Count(), kLines + 1);
    EXPECT_EQ(lines.Get(0), "");
    lines.Add("end");
    EXPECT_EQ(lines.Get(kLines + 1), "end");
    Form->Memo1->SetText("one\r\ntwo");
    EXPECT_EQ(lines.ToVector(), (std::vector<std::string>{"one", "two"}));
}

TEST_F(Controls, ControlTakenOffItsParentKeepsTextAndChoiceForItsNextWindow)
{
    ShowForm();
    TEdit& edit = *Form->Edit1;
    TComboBox& combo = *Form->Combo1;
    SetWindowTextW(edit.WindowHandle(), L"42");
    combo.SetItemIndex(1);
    for (TWinControl* c : {static_cast<TWinControl*>(&edit), static_cast<TWinControl*>(&combo)}) c->SetParent(nullptr);
    EXPECT_FALSE(edit.HandleAllocated());
    EXPECT_FALSE(combo.HandleAllocated());
    EXPECT_EQ(edit.Text(), "42");
    EXPECT_EQ(combo.ItemIndex(), 1);
    for (TWinControl* c : {static_cast<TWinControl*>(&edit), static_cast<TWinControl*>(&combo)}) c->SetParent(Form->Sheet2);
    ASSERT_TRUE(edit.HandleAllocated());
    wchar_t text[16] = {};
    GetWindowTextW(edit.WindowHandle(), text, 16);
    EXPECT_STREQ(text, L"42");
    EXPECT_EQ(combo.ItemIndex(), 1);
    EXPECT_EQ(combo.Text(), "COM1");
}

TEST_F(Controls, LabelsFitTheirTextOnceReadUnlessWordWrapped)
{
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, Form->Label1->Font()->Handle());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, L"label", -1, &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(Form->Label1->Width(), r.right);
    EXPECT_EQ(Form->Label1->Height(), r.bottom);
    EXPECT_EQ(Form->Label2->Width(), 50);
    EXPECT_EQ(Form->Label2->Height(), 40);
}

TEST_F(Controls, AFormsNewColourIsPaintedInTheWindowsThatTakeIt)
{
    ShowForm();
    // The shown page's empty area shows the colour it takes from the form
    // through the page control.
    const HWND sheet = Form->Sheet2->WindowHandle();
    const auto shown = [&] {
        const HDC dc = GetDC(sheet);
        const COLORREF c = GetPixel(dc, 300, 150);
        ReleaseDC(sheet, dc);
        return c;
    };
    for (const TColor colour : {TColor{0x336699}, TColor{0x996633}}) {
        Form->SetColor(colour);
        Pump();
        EXPECT_EQ(shown(), ColorToRGB(colour));
    }
}

TEST_F(Controls, ComboIndexFollowsTheWindowButTypedTextIsNoChoice)
{
    ShowForm();
    Form->Sheet1->Show();
    TComboBox& combo = *Form->Combo1;
    const HWND wnd = combo.WindowHandle();
    const HWND edit = GetWindow(wnd, GW_CHILD);
    ASSERT_NE(edit, nullptr);
    combo.Items()->Add("COM3");
    // Typed text equal to an entry is still typed text.
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (wchar_t c : std::wstring(L"COM3")) SendMessageW(edit, WM_CHAR, c, 0);
    EXPECT_EQ(combo.Text(), "COM3");
    EXPECT_EQ(combo.ItemIndex(), -1);
    // A choice made from outside the class library.
    SendMessageW(wnd, CB_SETCURSEL, 2, 0);
    EXPECT_EQ(combo.ItemIndex(), 2);
    // Renaming the chosen entry keeps it chosen; inserting before it moves it.
    combo.Items()->Put(2, "COM4");
    EXPECT_EQ(combo.ItemIndex(), 2);
    EXPECT_EQ(combo.Text(), "COM4");
    combo.Items()->Insert(0, "first");
    EXPECT_EQ(combo.ItemIndex(), 3);
    combo.Items()->Delete(3);
    EXPECT_EQ(combo.ItemIndex(), -1);
    // Typing with the list open, then Enter, picks the entry the list shows.
    SendMessageW(wnd, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, L'C', 0);
    SendMessageW(edit, WM_CHAR, L'O', 0);
    EXPECT_EQ(combo.ItemIndex(), -1);
    const int changes = Form->Changes;
    SendMessageW(wnd, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_EQ(SendMessageW(wnd, CB_GETDROPPEDSTATE, 0, 0), FALSE);
    EXPECT_EQ(combo.ItemIndex(), 2);
    EXPECT_EQ(combo.Text(), "COM1");
    EXPECT_EQ(Form->Changes, changes + 1);
}

TEST_F(Controls, ComboListOpensLikeThatOfABoxMadeWithItsListHeightAlsoWhenFilledInOneUpdate)
{
    ShowForm();
    Form->Sheet1->Show();
    TComboBox& combo = *Form->Combo1;
    // A box made directly the usual way: its window height includes the list.
    const HWND parent = Form->Sheet1->WindowHandle();
    const HWND direct = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL,
                                        200, 40, combo.Width(), 21 + 8 * 16, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(direct, nullptr);
    SendMessageW(direct, WM_SETFONT, reinterpret_cast<WPARAM>(combo.Font()->Handle()), FALSE);
    // The list draws nothing while an update lasts (pairs nest) and catches up at its end.
    combo.Items()->BeginUpdate();
    combo.Items()->BeginUpdate();
    for (int i = 0; i < 30; ++i) {
        combo.Items()->Add(std::to_string(i));
        SendMessageW(direct, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(i).c_str()));
    }
    combo.Items()->EndUpdate();
    combo.Items()->EndUpdate();
    // The open list's height and how far its scroll bar reaches.
    const auto opened = [](HWND box) {
        SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        RECT r{};
        SCROLLINFO scroll{};
        scroll.cbSize = sizeof scroll;
        scroll.fMask = SIF_RANGE | SIF_PAGE;
        if (GetComboBoxInfo(box, &info)) {
            GetWindowRect(info.hwndList, &r);
            GetScrollInfo(info.hwndList, SB_VERT, &scroll);
        }
        SendMessageW(box, CB_SHOWDROPDOWN, FALSE, 0);
        return std::pair{r.bottom - r.top, scroll.nMax};
    };
    const auto expected = opened(direct);
    EXPECT_GT(expected.first, 6 * static_cast<int>(SendMessageW(direct, CB_GETITEMHEIGHT, 0, 0)));
    EXPECT_EQ(expected.second, 29);
    const std::pair ours{expected.first, combo.Items()->Count() - 1};
    EXPECT_EQ(opened(combo.WindowHandle()), ours);
    EXPECT_EQ(opened(combo.WindowHandle()), ours);  // and again, once sized
    RECT r;
    GetWindowRect(combo.WindowHandle(), &r);
    EXPECT_EQ(r.bottom - r.top, combo.Height());
    DestroyWindow(direct);
}

TEST_F(Controls, EditableComboIsEnteredAndLeftAsOneControl)
{
    ShowForm();
    Form->Sheet1->Show();
    TComboBox& combo = *Form->Combo1;
    int enters = 0, exits = 0;
    combo.OnEnter = [&](TObject*) { ++enters; };
    combo.OnExit = [&](TObject*) { ++exits; };
    const HWND edit = GetWindow(combo.WindowHandle(), GW_CHILD);
    Form->Memo1->SetFocus();
    combo.SetFocus();
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(exits, 0);
    Form->Check1->SetFocus();
    EXPECT_EQ(exits, 1);
    SetFocus(edit);
    EXPECT_EQ(enters, 2);
    Form->Memo1->SetFocus();
    EXPECT_EQ(enters, 2);
    EXPECT_EQ(exits, 2);
}

TEST_F(Controls, NotificationsWithoutAHeaderAreNotRead)
{
    ShowForm();
    const HWND pages = Form->Pages->WindowHandle();
    // 0xBC4E is CN_NOTIFY; others send it with a plain number.
    for (HWND wnd : {Form->WindowHandle(), pages, Form->Sheet2->WindowHandle()}) {
        SendMessageW(wnd, WM_NOTIFY, 0, 0);
        SendMessageW(wnd, 0xBC4E, 0, 16802);
        SendMessageW(wnd, 0xBC4E, 0, 0x7FFF0000);
    }
    EXPECT_EQ(Form->Pages->Perform(CN_NOTIFY, 0, 16802), 0);
    EXPECT_EQ(Form->Pages->ActivePage(), Form->Sheet2);
    int changes = 0;
    Form->Pages->OnChange = [&](TObject*) { ++changes; };
    SendMessageW(pages, TCM_SETCURSEL, 0, 0);
    NMHDR hdr{pages, 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(Form->WindowHandle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
    EXPECT_EQ(Form->Pages->ActivePage(), Form->Sheet1);
    EXPECT_EQ(changes, 1);
}

TEST_F(Controls, StatusBarPanelsAreTheSystemBarsPartsWithTheirTextsBordersAndMode)
{
    ShowForm();
    auto* bar = new TStatusBar(Form.get());
    bar->SetParent(Form.get());
    const HWND wnd = bar->Handle();
    EXPECT_TRUE(SendMessageW(wnd, SB_ISSIMPLE, 0, 0)) << "no panels: the simple text";
    for (int i = 0; i < 3; ++i) bar->Panels()->Add()->SetWidth(40 + i);
    EXPECT_FALSE(SendMessageW(wnd, SB_ISSIMPLE, 0, 0));
    bar->Panels()->Items(1)->SetAlignment(TAlignment::taCenter);
    bar->Panels()->Items(1)->SetText("mid");
    bar->Panels()->Items(2)->SetBevel(TStatusPanelBevel::pbRaised);
    int edges[4] = {};
    ASSERT_EQ(SendMessageW(wnd, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 3);
    EXPECT_EQ(edges[0], 40);
    EXPECT_EQ(edges[1], 81);
    EXPECT_EQ(edges[2], -1);  // the last panel takes the rest
    wchar_t text[16] = {};
    SendMessageW(wnd, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"\tmid");
    EXPECT_EQ(HIWORD(SendMessageW(wnd, SB_GETTEXTLENGTHW, 2, 0)), SBT_POPOUT);
    bar->SetSimplePanel(true);
    EXPECT_TRUE(SendMessageW(wnd, SB_ISSIMPLE, 0, 0));
    EXPECT_THROW(bar->Panels()->Items(3), ERangeError);
}

namespace {

// A key press as the application's loop takes it, with Ctrl and Shift held
// or not (posted input carries no key state of its own).
void PressKey(HWND Focus, WPARAM Key, bool Ctrl, bool Shift)
{
    BYTE keys[256];
    ASSERT_TRUE(GetKeyboardState(keys));
    keys[VK_CONTROL] = Ctrl ? 0x80 : 0;
    keys[VK_SHIFT] = Shift ? 0x80 : 0;
    ASSERT_TRUE(SetKeyboardState(keys));
    ASSERT_TRUE(PostMessageW(Focus, WM_KEYDOWN, Key, 1));
    ASSERT_TRUE(PostMessageW(Focus, WM_KEYUP, Key, 0xC0000001));
    Application->ProcessMessages();
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
    ASSERT_TRUE(SetKeyboardState(keys));
}

} // namespace

TEST_F(Controls, CtrlTabSwitchesPagesRoundTheEndAndTabStillMovesTheFocus)
{
    ShowForm();
    TPageControl& pages = *Form->Pages;
    int changes = 0;
    pages.OnChange = [&](TObject*) { ++changes; };
    const auto shown = [&](TTabSheet* page) {
        EXPECT_EQ(pages.ActivePage(), page);
        const auto index = static_cast<LRESULT>(page->PageIndex());
        EXPECT_EQ(SendMessageW(pages.WindowHandle(), TCM_GETCURSEL, 0, 0), index);
        EXPECT_EQ(SendMessageW(pages.WindowHandle(), TCM_GETCURFOCUS, 0, 0), index);
        for (TTabSheet* p : {Form->Sheet1, Form->Sheet2})
            EXPECT_EQ(IsWindowVisible(p->WindowHandle()) != 0, p == page) << p->Name();
    };
    // Other test programs on the same display may take the activation away
    // between presses: each press first puts the focus where it is meant to be.
    const auto pressAt = [](TWinControl& At, bool Ctrl, bool Shift) {
        At.SetFocus();
        PressKey(At.WindowHandle(), VK_TAB, Ctrl, Shift);
    };
    pressAt(pages, true, false);  // from the last page round to the first
    shown(Form->Sheet1);
    pressAt(pages, true, true);
    shown(Form->Sheet2);
    pressAt(pages, true, true);
    shown(Form->Sheet1);
    EXPECT_EQ(changes, 3);

    // From inside a page the focus goes to the tab strip, not into the hidden page.
    pressAt(*Form->Edit1, true, false);
    shown(Form->Sheet2);
    EXPECT_EQ(GetFocus(), pages.WindowHandle());
    EXPECT_EQ(changes, 4);

    // A plain Tab moves the focus and leaves the page.
    pressAt(pages, true, false);
    pressAt(*Form->Edit1, false, false);
    shown(Form->Sheet1);
    EXPECT_NE(GetFocus(), Form->Edit1->WindowHandle());
    EXPECT_TRUE(IsChild(Form->Sheet1->WindowHandle(), GetFocus()));
    EXPECT_EQ(changes, 5);
}

TEST_F(Controls, MessageBoxesGoThroughOneFunction)
{
    Application->SetTitle("Tagbench");
    ShowMessage("suss");
    AppMessageBox(nullptr, "\xb7\xa2\xcb\xcd\xca\xa7\xb0\xdc", "cap", MB_OK | MB_ICONWARNING);
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[0].Text, L"suss");
    EXPECT_EQ(Boxes[0].Caption, L"Tagbench");
    EXPECT_EQ(Boxes[0].Flags, static_cast<UINT>(MB_OK));
    EXPECT_EQ(Boxes[1].Text, L"\u53d1\u9001\u5931\u8d25");
    Application->SetTitle("");
    EXPECT_EQ(Application->Title(), "classlib_controls_test");
}

TEST_F(Controls, OwnershipFreesControlsAndTheirWindowsInAnyOrder)
{
    ShowForm();
    const int before = BoundWindowCount();
    const HWND sheet = Form->Sheet2->WindowHandle();
    delete Form->Sheet2;  // with its group box and panel
    EXPECT_FALSE(IsWindow(sheet));
    EXPECT_EQ(Form->FindComponent("Panel1"), nullptr);
    EXPECT_EQ(Form->Pages->PageCount(), 1);
    EXPECT_EQ(Form->Pages->ActivePage(), Form->Sheet1);
    EXPECT_EQ(BoundWindowCount(), before - 3);
    for (int i = 0; i < 50; ++i) {
        auto* edit = new TEdit(Form.get());
        edit->SetParent(Form->Sheet1);
        EXPECT_TRUE(edit->HandleAllocated());  // the parent has a window
        delete edit;
    }
    EXPECT_EQ(BoundWindowCount(), before - 3);
}

TEST_F(Controls, ErrorsInAFormDescriptionLeaveNoWindowOrComponent)
{
    TTestForm form(nullptr);
    std::string bad = kForm;
    bad.replace(bad.find("ScrollBars = ssVertical"), 23, "ScrollBars = ssDiagonal");
    try {
        ReadDescription(form, bad);
        ADD_FAILURE();
    } catch (const EReadError& e) {
        EXPECT_NE(e.Message().find("Memo1.ScrollBars"), std::string::npos) << e.Message();
    }
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_EQ(form.ControlCount(), 0);
    EXPECT_EQ(form.Edit1, nullptr);
}

TEST_F(Controls, SpeedButtonsTakeTheMouseFromTheirParentAndStayDownByGroup)
{
    const auto add = [this](int X) {
        auto* button = new TSpeedButton(Form.get());
        button->SetParent(Form.get());
        button->SetBounds(X, 200, 30, 20);
        button->SetGroupIndex(1);
        return button;
    };
    TSpeedButton* first = add(300);
    TSpeedButton* second = add(340);
    int clicks = 0;
    first->OnClick = [&](TObject*) { ++clicks; };
    const HWND form = Form->Handle();
    const auto send = [form](UINT Msg, int X, int Y) {
        SendMessageW(form, Msg, Msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(X, Y));
    };
    const auto click = [&](int X) {
        send(WM_LBUTTONDOWN, X, 210);
        send(WM_LBUTTONUP, X, 210);
    };

    send(WM_LBUTTONDOWN, 310, 210);
    EXPECT_TRUE(first->Pressed());
    EXPECT_EQ(GetCapture(), form);
    // Dragged off: the press shows no more and the release clicks nothing.
    send(WM_MOUSEMOVE, 310, 260);
    EXPECT_FALSE(first->Pressed());
    send(WM_LBUTTONUP, 310, 260);
    EXPECT_NE(GetCapture(), form);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(first->Down());

    click(310);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(first->Down());
    click(350);
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(first->Down());
    click(350);
    EXPECT_TRUE(second->Down());  // one of the group stays down
    second->SetAllowAllUp(true);
    click(350);
    EXPECT_FALSE(second->Down());
    click(310);
    first->SetGroupIndex(0);
    EXPECT_FALSE(first->Down());

    // Freed by its own click: the parent forgets it.
    first->OnClick = [&](TObject*) { delete std::exchange(first, nullptr); };
    click(310);
    EXPECT_EQ(first, nullptr);
    send(WM_MOUSEMOVE, 310, 210);
    click(310);
    second->SetEnabled(false);
    click(350);
    EXPECT_FALSE(second->Down());
    second->SetEnabled(true);

    // Hidden or taken away under the mouse: told the mouse left.
    int leaves = 0;
    const TWndMethod own = second->WindowProc;
    second->WindowProc = [&leaves, own](TMessage& Message) {
        if (Message.Msg == CM_MOUSELEAVE) ++leaves;
        own(Message);
    };
    send(WM_MOUSEMOVE, 350, 210);
    second->Hide();
    EXPECT_EQ(leaves, 1);
    second->Show();
    send(WM_MOUSEMOVE, 351, 210);
    second->SetParent(nullptr);
    EXPECT_EQ(leaves, 2);
    second->WindowProc = own;

    // A label leaves the mouse to its parent's window.
    auto* label = new TLabel(Form.get());
    label->SetParent(Form.get());
    label->SetCaption("label");
    label->SetBounds(240, 200, 50, 20);
    int downs = 0;
    Form->OnMouseDown = [&downs](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    click(label->Left() + 2);
    EXPECT_EQ(downs, 1);
    Form->OnMouseDown = nullptr;
}

TEST_F(Controls, APainterThatRaisesStillEndsItsPaint)
{
    class TFailingPaint : public TCustomControl {
    public:
        using TCustomControl::TCustomControl;
        int Paints = 0;

    protected:
        void Paint() override
        {
            ++Paints;
            throw std::runtime_error("paint failed");
        }
    };
    ShowForm();
    auto* control = new TFailingPaint(Form.get());
    control->SetParent(Form.get());
    control->SetBounds(0, 0, 40, 40);
    const HWND w = control->Handle();
    ::UpdateWindow(w);
    const int before = GdiObjectCount();
    ASSERT_GE(before, 0) << kNoGdiObjectCount;
    for (int i = 0; i < 20; ++i) {
        ::InvalidateRect(w, nullptr, TRUE);
        ::UpdateWindow(w);
    }
    EXPECT_GE(control->Paints, 20);
    // Every paint gave its device context back.
    EXPECT_LT(GdiObjectCount() - before, 5);
}
