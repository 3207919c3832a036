#include "ControlsFixture.h"

#include "classlib/portable/DescriptionReader.h"
#include "classlib/portable/TypInfo.h"

void TTestForm::FormShow(TObject*)
{
    ++Shows;
    CompleteAtShow = !InState(csLoading) && FindComponent("Status") != nullptr;
}

void TTestForm::Edit1KeyPress(TObject*, char& Key)
{
    if (Key != 8 && (Key < '0' || Key > '9')) Key = 0;
}

void TTestForm::Edit1Exit(TObject*)
{
    Edit1->SetText(IntToHex(StrToInt(Edit1->Text()), 2));
}

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
                                       .Field("Label1", &TTestForm::Label1)
                                       .Field("Label2", &TTestForm::Label2)
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
                     "      object Label2: TLabel\n        Left = 200\n        Top = 40\n        Width = 50\n        Height = 40\n"
                     "        Caption = 'a label of several words'\n        WordWrap = True\n      end\n"
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

void Controls::SetUp()
{
    Application->Initialize();
    RegisterComponentClass(TTestForm::StaticClassInfo());
    SetMessageBoxHook([this](HWND, const std::wstring& text, const std::wstring& caption, UINT flags) {
        Boxes.push_back({text, caption, flags});
        return IDOK;
    });
    Form = std::make_unique<TTestForm>(nullptr);
    ReadDescription(*Form, kForm);
}

void Controls::TearDown()
{
    if (Form) Form.release()->Free();
    Pump();
    SetMessageBoxHook(nullptr);
    EXPECT_EQ(BoundWindowCount(), 0);
}

void Controls::ShowForm()
{
    Form->Show();
    Pump();
}
