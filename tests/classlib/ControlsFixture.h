// The test form of the visual layer's tests: a description using every
// control kind, read into a TTestForm whose handlers count what they see, and
// a fixture that records message boxes instead of showing them.
#pragma once

#include "classlib/Buttons.h"
#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

struct TBox {
    std::wstring Text, Caption;
    UINT Flags;
};

class TTestForm : public TForm {
public:
    DECLARE_CLASS_INFO()
    using TForm::TForm;

    void FormShow(TObject*);
    void Check1Click(TObject*) { ++CheckClicks; }
    void Radio1Click(TObject*) { ++RadioClicks; }
    void Combo1Change(TObject*) { ++Changes; }
    void Edit1KeyPress(TObject*, char& Key);
    void Edit1Exit(TObject*);
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
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    int Shows = 0, CheckClicks = 0, RadioClicks = 0, Changes = 0, ButtonClicks = 0;
    // OnShow found the whole description read.
    bool CompleteAtShow = false;
};

// The test form's description, GB2312.
extern const char kForm[];

void Pump();
std::wstring ClassOf(HWND wnd);

class Controls : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void ShowForm();

    std::unique_ptr<TTestForm> Form;
    std::vector<TBox> Boxes;
};
