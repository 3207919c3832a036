// The visual layer driven through its windows: description to live controls,
// dispatch and WindowProc replacement, handle lookup, control behaviour and
// the message boxes.
#include "classlib/Buttons.h"
#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "classlib/Text.h"
#include "classlib/portable/DescriptionReader.h"
#include "classlib/portable/TypInfo.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TBox {
    std::wstring Text, Caption;
    UINT Flags;
};

class TTestForm : public TForm {
public:
    DECLARE_CLASS_INFO()
    using TForm::TForm;

    void FormShow(TObject*) { ++Shows; }
    void Check1Click(TObject*) { ++CheckClicks; }
    void Radio1Click(TObject*) { ++RadioClicks; }
    void Combo1Change(TObject*) { ++Changes; }
    void Edit1KeyPress(TObject*, char& Key)
    {
        if (Key != 8 && (Key < '0' || Key > '9')) Key = 0;
    }
    void Edit1Exit(TObject*) { Edit1->SetText(IntToHex(StrToInt(Edit1->Text()), 2)); }
    void Button1Click(TObject*) { ++ButtonClicks; }

    TEdit* Edit1 = nullptr;
    TComboBox* Combo1 = nullptr;
    TCheckBox* Check1 = nullptr;
    TRadioButton* Radio1 = nullptr;
    TRadioButton* Radio2 = nullptr;
    TBitBtn* Button1 = nullptr;
    TPageControl* Pages = nullptr;
    TTabSheet* Sheet1 = nullptr;
    TTabSheet* Sheet2 = nullptr;
    TMemo* Memo1 = nullptr;
    int Shows = 0, CheckClicks = 0, RadioClicks = 0, Changes = 0, ButtonClicks = 0;
};

const TClassInfo& TTestForm::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTestForm>("TTestForm", TForm::StaticClassInfo())
                                       .Field("Edit1", &TTestForm::Edit1)
                                       .Field("Combo1", &TTestForm::Combo1)
                                       .Field("Check1", &TTestForm::Check1)
                                       .Field("Radio1", &TTestForm::Radio1)
                                       .Field("Radio2", &TTestForm::Radio2)
                                       .Field("Button1", &TTestForm::Button1)
                                       .Field("Pages", &TTestForm::Pages)
                                       .Field("Sheet1", &TTestForm::Sheet1)
                                       .Field("Sheet2", &TTestForm::Sheet2)
                                       .Field("Memo1", &TTestForm::Memo1)
                                       .Method("FormShow", &TTestForm::FormShow)
                                       .Method("Check1Click", &TTestForm::Check1Click)
                                       .Method("Radio1Click", &TTestForm::Radio1Click)
                                       .Method("Combo1Change", &TTestForm::Combo1Change)
                                       .Method("Edit1KeyPress", &TTestForm::Edit1KeyPress)
                                       .Method("Edit1Exit", &TTestForm::Edit1Exit)
                                       .Method("Button1Click", &TTestForm::Button1Click)
                                       .Build();
    return info;
}

// GB2312 "打开" in the caption of the button.
const char kForm[] = "object TestForm: TTestForm\n"
                     "  Width = 400\n  Height = 300\n  Caption = 'Test'\n  Color = clBtnFace\n"
                     "  Font.Charset = GB2312_CHARSET\n  Font.Height = -13\n  Font.Name = #203#206#204#229\n"
                     "  Position = poScreenCenter\n  BorderIcons = [biSystemMenu]\n  OnShow = FormShow\n"
                     "  object Pages: TPageControl\n    Align = alClient\n    ActivePage = Sheet2\n"
                     "    object Sheet1: TTabSheet\n      Caption = 'one'\n"
                     "      object Edit1: TEdit\n        Left = 8\n        Top = 8\n        Text = '01'\n"
                     "        MaxLength = 3\n        OnKeyPress = Edit1KeyPress\n        OnExit = Edit1Exit\n      end\n"
                     "      object Combo1: TComboBox\n        Left = 8\n        Top = 40\n        Text = 'AUTO'\n"
                     "        ItemIndex = 0\n        Items.Strings = (\n          'AUTO'\n          'COM1')\n"
                     "        OnChange = Combo1Change\n      end\n"
                     "      object Check1: TCheckBox\n        Left = 8\n        Top = 70\n        Caption = 'c'\n"
                     "        Checked = True\n        OnClick = Check1Click\n      end\n"
                     "      object Radio1: TRadioButton\n        Left = 8\n        Top = 90\n        OnClick = Radio1Click\n      end\n"
                     "      object Radio2: TRadioButton\n        Left = 8\n        Top = 110\n        Checked = True\n      end\n"
                     "      object Button1: TBitBtn\n        Left = 8\n        Top = 130\n        Caption = #180#242#191#170\n"
                     "        OnClick = Button1Click\n      end\n"
                     "      object Memo1: TMemo\n        Left = 8\n        Top = 160\n        ScrollBars = ssVertical\n      end\n"
                     "      object Label1: TLabel\n        Left = 200\n        Top = 8\n        Caption = 'label'\n      end\n"
                     "    end\n"
                     "    object Sheet2: TTabSheet\n      Caption = 'two'\n"
                     "      object Box: TGroupBox\n        Caption = 'box'\n"
                     "        object Panel1: TPanel\n        end\n      end\n    end\n  end\n"
                     "  object Status: TStatusBar\n  end\n"
                     "end\n";

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring ClassOf(HWND wnd)
{
    wchar_t name[64] = {};
    GetClassNameW(wnd, name, 64);
    return name;
}

class Controls : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        RegisterClass(TTestForm::StaticClassInfo());
        SetMessageBoxHook([this](HWND, const std::wstring& text, const std::wstring& caption, UINT flags) {
            Boxes.push_back({text, caption, flags});
            return IDOK;
        });
        Form = std::make_unique<TTestForm>(nullptr);
        ReadDescription(*Form, kForm);
    }
    void TearDown() override
    {
        Form.reset();
        Pump();
        SetMessageBoxHook(nullptr);
        EXPECT_EQ(BoundWindowCount(), 0);
    }
    void ShowForm()
    {
        Form->Show();
        Pump();
    }

    std::unique_ptr<TTestForm> Form;
    std::vector<TBox> Boxes;
};

} // namespace

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
    EXPECT_EQ(GetObjectProp(*Form->Button1, "Glyph"), nullptr);
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

TEST_F(Controls, MemoLinesLiveInTheWindow)
{
    ShowForm();
    TStrings& lines = *Form->Memo1->Lines();
    lines.Add("a");
    lines.Add("b");
    EXPECT_EQ(Form->Memo1->Text(), "a\r\nb");
    EXPECT_EQ(lines.Count(), 2);
    EXPECT_NE(GetWindowLongW(Form->Memo1->WindowHandle(), GWL_STYLE) & WS_VSCROLL, 0);
    lines.Clear();
    EXPECT_EQ(lines.Count(), 0);
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
