// The child-control dispatch, table-driven: one control of every class the
// rules name (other libraries' classes by name), raw child windows of every
// class and style row, each with the kind it must get (or none), through a
// maker that records the kind; then the real table, where a kind without a
// maker leaves its control native.
#include "tests/skin/support/AdapterFixture.h"

#include "classlib/Buttons.h"
#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/StdCtrls.h"
#include "classlib/portable/TypInfo.h"
#include "skin/SkinWindowMessages.h"
#include "skin/adapters/AdapterTable.h"
#include "skin/adapters/SkinControl.h"

#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <vector>

// Controls of other libraries, as the dispatch sees them: a class name.
#define NAMED_CONTROL(Cls, Base, Name)                                                             \
    class Cls : public Base {                                                                      \
    public:                                                                                        \
        DECLARE_CLASS_INFO()                                                                       \
        using Base::Base;                                                                          \
    };                                                                                             \
    const TClassInfo& Cls::StaticClassInfo()                                                       \
    {                                                                                              \
        static const TClassInfo info = TClassBuilder<Cls>(Name, Base::StaticClassInfo()).Build(); \
        return info;                                                                               \
    }

NAMED_CONTROL(TTestUpDown, TWinControl, "TUpDown")
NAMED_CONTROL(TTestMediaPlayer, TWinControl, "TMediaPlayer")
NAMED_CONTROL(TTestRzCheckBox, TWinControl, "TRzCheckBox")
NAMED_CONTROL(TTestTabSet, TWinControl, "TTabSet")
NAMED_CONTROL(TTestRadioGroup, TWinControl, "TLMDRadioGroup")
NAMED_CONTROL(TTestNilButton, TButton, "TNilButton")

class TTestDCEdit : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    using TWinControl::TWinControl;
    int NumButtons() const noexcept { return 1; }
    void SetNumButtons(int) noexcept {}
};
const TClassInfo& TTestDCEdit::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTestDCEdit>("TDCEdit", TWinControl::StaticClassInfo())
                                       .Integer("NumButtons", &TTestDCEdit::NumButtons, &TTestDCEdit::SetNumButtons)
                                       .Build();
    return info;
}

namespace frametest {
namespace {

// Records the kind it was made for.
class TKindAdapter : public TSkinControl {
public:
    TKindAdapter(TComponent* AOwner, TAdapterKind AKind) : TSkinControl(AOwner), Kind(AKind) {}
    TAdapterKind Kind;
};

TSkinControl* MakeKind(TComponent* Owner, const TAdapterRequest& Request)
{
    return new TKindAdapter(Owner, Request.Kind);
}

std::string KindOf(const TSkinControl* Adapter)
{
    const auto* made = dynamic_cast<const TKindAdapter*>(Adapter);
    return made != nullptr ? AdapterKindName(made->Kind) : Adapter != nullptr ? "other" : "none";
}

bool TabKind(const std::string& Kind)
{
    return Kind == "tab" || Kind == "tabbtn" || Kind == "tab31" || Kind == "advpage";
}

bool BoxKind(const std::string& Kind)
{
    return Kind == "tabsheet" || Kind == "groupbox" || Kind == "box" || Kind == "statusbar" || Kind == "objimage";
}

bool ButtonKind(const std::string& Kind)
{
    return Kind == "button" || Kind == "bitbutton" || Kind == "menubutton" || Kind == "checkbox" ||
           Kind == "radiobutton";
}

template <class T>
T* Place(TForm* Form, TWinControl* Parent, int Y, const char* Caption = "x")
{
    auto* control = new T(Form);
    control->SetParent(Parent);
    control->SetBounds(4, Y, 60, 20);
    control->SetCaption(Caption);
    return control;
}

struct TRow {
    TControl* Control;
    std::string Expected;
};

TEST_F(AdapterTest, EachControlGetsTheKindItsClassCallsFor)
{
    const TSkinnedForm made = MakeForm();
    TForm* form = made.Form;
    form->SetBounds(20, 20, 700, 600);
    TSkinData& data = *made.Data;
    data.SetSkinControls(data.SkinControls() & ~SkinBit(xcBitBtn));
    data.Skin3rd()->Add("TNilButton=nil");
    data.OnSkinControl = [](TComponent*, TSkinData*, TControl*, TControl* Control, const std::string& Class,
                            TComponent*& Skinned) {
        if (Control->Name() == "Handled" && Class == "TPANEL") Skinned = new TKindAdapter(Control, TAdapterKind::akBoxH);
    };

    auto* pages = Place<TPageControl>(form, form, 0);
    pages->SetBounds(300, 0, 300, 200);
    auto* sheet = new TTabSheet(form);
    sheet->SetParent(pages);
    auto* buttonPages = Place<TPageControl>(form, form, 0);
    buttonPages->SetBounds(300, 210, 300, 100);
    buttonPages->SetStyle(TTabStyle::tsButtons);
    auto* group = Place<TGroupBox>(form, form, 340);
    group->SetBounds(300, 340, 200, 100);
    auto* radioGroup = Place<TTestRadioGroup>(form, form, 450);
    radioGroup->SetBounds(300, 450, 150, 60);
    auto* offGroup = Place<TTestRadioGroup>(form, form, 520);
    offGroup->SetBounds(460, 450, 150, 60);
    offGroup->SetTag(99);
    auto* handled = Place<TPanel>(form, form, 540);
    handled->SetName("Handled");
    auto* taggedButton = Place<TButton>(form, form, 500);
    taggedButton->SetTag(99);
    auto* panel = Place<TPanel>(form, form, 470);
    auto* offButton = Place<TRadioButton>(form, offGroup, 4);
    const std::vector<TRow> rows = {
        {pages, "tab"},
        {sheet, "tabsheet"},
        {buttonPages, "tabbtn"},
        {Place<TCheckBox>(form, form, 0), "checkbox"},
        {Place<TRadioButton>(form, form, 24), "radiobutton"},
        {group, "groupbox"},
        {Place<TButton>(form, group, 20), "button"},
        {panel, "box"},
        {Place<TStatusBar>(form, form, 48), "statusbar"},
        {Place<TComboBox>(form, form, 72), "combobox"},
        {Place<TMemo>(form, form, 96), "scrollbar"},
        {Place<TBitBtn>(form, form, 120), "none"},  // xcBitBtn is off, and a bit button is no plain button then
        {Place<TButton>(form, form, 144), "button"},
        {Place<TEdit>(form, form, 168), "edit"},
        {Place<TLabel>(form, form, 192), "none"},
        {taggedButton, "none"},
        {Place<TTestUpDown>(form, form, 216), "updown"},
        {Place<TTestMediaPlayer>(form, form, 240), "mediaplayer"},
        {Place<TTestRzCheckBox>(form, form, 264), "objimage"},
        {Place<TTestTabSet>(form, form, 288), "tab31"},
        {Place<TTestDCEdit>(form, form, 312), "combobox"},
        {Place<TTestNilButton>(form, form, 336), "none"},
        {radioGroup, "groupbox"},
        {Place<TRadioButton>(form, radioGroup, 4), "radiobutton"},
        {Place<TLabel>(form, radioGroup, 30), "none"},  // only windowed children are a group's buttons
        {offGroup, "none"},
        {offButton, "none"},
        {handled, "boxh"},
    };
    std::vector<std::string> ownProcs;
    std::vector<TColor> ownColors;
    for (const TRow& row : rows) {
        ownProcs.push_back(row.Control->WindowProc.target_type().name());
        ownColors.push_back(row.Control->Color());
    }

    TWinSkinForm* frame = nullptr;
    {
        const TAdapterMakerOverride recording(&MakeKind);
        frame = ShowSkinned(form);
        ASSERT_NE(frame, nullptr);
        for (const TRow& row : rows)
            EXPECT_EQ(KindOf(frame->FindControl(row.Control)), row.Expected) << row.Control->ClassName();
        // The disabled group's button is kept out without losing its own Tag.
        EXPECT_EQ(offButton->Tag(), 0);
        EXPECT_EQ(panel->Color(), data.FButtonFaceColor);

        const int listed = frame->ControlCount();
        for (int i = 0; i < 3; ++i) ::SendMessageW(form->Handle(), WM_SKIN_ACTIVATE, 0, kSkinActivateParam);
        EXPECT_EQ(frame->ControlCount(), listed);
        auto* doomed = Place<TEdit>(form, form, 560);
        ::SendMessageW(form->Handle(), WM_SKIN_ACTIVATE, 0, kSkinActivateParam);
        EXPECT_EQ(frame->ControlCount(), listed + 1);
        delete doomed;
        EXPECT_EQ(frame->ControlCount(), listed);

        RunAction(made.Data, saUnskinAll);
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_STREQ(rows[i].Control->WindowProc.target_type().name(), ownProcs[i].c_str())
                << rows[i].Control->ClassName();
            EXPECT_EQ(rows[i].Control->Color(), ownColors[i]) << rows[i].Control->ClassName();
        }
    }

    // The real table: a kind without a maker leaves its control native.
    RunAction(made.Data, saSkinAll);
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(form->Handle()); }));
    frame = Frame(form->Handle());
    for (const TRow& row : rows) {
        if (TabKind(row.Expected) || BoxKind(row.Expected) || ButtonKind(row.Expected) || row.Expected == "boxh" ||
            row.Expected == "scrollbar")
            continue;
        const bool adapted = row.Expected == "combobox" || row.Expected == "edit" || row.Expected == "updown" ||
                             row.Expected == "mediaplayer";
        EXPECT_EQ(frame->FindControl(row.Control) != nullptr, adapted) << row.Control->ClassName();
    }
}

TEST_F(AdapterTest, RawChildWindowsAreMatchedByClassAndStyle)
{
    const TSkinnedForm made = MakeForm();
    const HWND window = MakeWindow(WS_OVERLAPPEDWINDOW);
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_USEREX_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    const HWND dialog = ::CreateWindowExW(0, L"#32770", L"", WS_CHILD, 0, 0, 100, 100, window, nullptr, instance, nullptr);
    struct TRawRow {
        const wchar_t* Class;
        DWORD Style;
        const char* Expected;
        HWND Parent = nullptr;
    };
    const std::vector<TRawRow> rows = {
        {L"Button", BS_PUSHBUTTON, "button"},
        {L"Button", BS_DEFPUSHBUTTON, "button"},
        {L"Button", BS_CHECKBOX, "checkbox"},
        {L"Button", BS_AUTOCHECKBOX, "checkbox"},
        {L"Button", BS_3STATE, "checkbox"},
        {L"Button", BS_AUTO3STATE, "checkbox"},
        {L"Button", BS_RADIOBUTTON, "radiobutton"},
        {L"Button", BS_AUTORADIOBUTTON, "radiobutton"},
        // The later kinds by what they are: push buttons, split buttons with an arrow.
        {L"Button", BS_USERBUTTON, "button"},
        {L"Button", BS_PUSHBOX, "button"},
        {L"Button", BS_SPLITBUTTON, "menubutton"},
        {L"Button", BS_DEFSPLITBUTTON, "menubutton"},
        {L"Button", BS_COMMANDLINK, "button"},
        {L"Button", BS_DEFCOMMANDLINK, "none"},
        {L"Button", BS_GROUPBOX, "none"},
        {L"Button", BS_OWNERDRAW, "none"},
        {L"Button", BS_PUSHBUTTON | BS_BITMAP, "none"},
        {L"ComboBox", CBS_SIMPLE, "none"},
        {L"ComboBox", CBS_DROPDOWNLIST, "combobox"},
        {L"ScrollBar", SBS_HORZ, "none"},
        {L"ScrollBar", SBS_VERT | WS_TABSTOP, "none"},
        {L"ScrollBar", SBS_SIZEGRIP, "sizer"},
        {L"ScrollBar", SBS_SIZEBOX | WS_TABSTOP, "sizer"},
        {L"SysTabControl32", 0, "tab"},
        {L"SysTabControl32", TCS_OWNERDRAWFIXED, "none"},
        {L"Edit", 0, "edit"},
        {L"ToolbarWindow32", 0, "none"},
        {L"SysTreeView32", 0, "none"},
        {L"Static", 0, "none"},
        {L"ComboBoxEx32", CBS_DROPDOWN, "none"},
        {L"Button", BS_PUSHBUTTON, "button", dialog},
    };
    std::vector<HWND> children;
    for (const TRawRow& row : rows) {
        const HWND parent = row.Parent != nullptr ? row.Parent : window;
        children.push_back(::CreateWindowExW(0, row.Class, L"x", WS_CHILD | row.Style, 0, 0, 80, 120, parent, nullptr,
                                             instance, nullptr));
        ASSERT_NE(children.back(), nullptr) << children.size();
    }

    const TAdapterMakerOverride recording(&MakeKind);
    auto* frame = new TWinSkinForm(nullptr);
    frame->InitWindow(window, "plain", made.Data);
    frame->SkinChildWindows(window);
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(KindOf(frame->FindControlByHandle(children[i])), rows[i].Expected) << i;
    EXPECT_EQ(KindOf(frame->FindControlByHandle(dialog)), "boxh");
    // A combo box with an edit part of its own: the inner combo box is skinned.
    const HWND inner = ::GetWindow(children[rows.size() - 2], GW_CHILD);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(KindOf(frame->FindControlByHandle(inner)), "combobox");
    const int listed = frame->ControlCount();
    frame->SkinChildWindows(window);
    EXPECT_EQ(frame->ControlCount(), listed);
    frame->Unskin();
    EXPECT_EQ(frame->ControlCount(), 0);
    delete frame;
    ::DestroyWindow(window);

    // A size grip made in a skinned window is skinned once it exists.
    const TSkinnedControl form = MakeSkinnedControl();
    const HWND grip = ::CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | SBS_SIZEGRIP, 0, 0, 16, 16,
                                        form.Form->Handle(), nullptr, instance, nullptr);
    Pump();
    EXPECT_EQ(KindOf(Frame(form.Form->Handle())->FindControlByHandle(grip)), "sizer");
}

// Raises while it attaches, as an adapter whose images cannot be made does.
class TRaisingAdapter : public TSkinControl {
public:
    explicit TRaisingAdapter(TComponent* AOwner) : TSkinControl(AOwner) { ++Living; }
    ~TRaisingAdapter() override { --Living; }
    bool InitSkinHandle(HWND, TSkinData*, TAdapterHost*) override { throw std::runtime_error("no room for images"); }
    static inline int Living = 0;
};

TEST_F(AdapterTest, ARawWindowWhoseAdapterRaisesWhileAttachingStaysNativeAndTheWalkGoesOn)
{
    const TSkinnedForm made = MakeForm();
    const HWND window = MakeWindow(WS_OVERLAPPEDWINDOW);
    const auto child = [window](const wchar_t* Class) {
        return ::CreateWindowExW(0, Class, L"x", WS_CHILD, 0, 0, 80, 20, window, nullptr, ::GetModuleHandleW(nullptr),
                                 nullptr);
    };
    // The edit between two buttons, whichever way the walk goes.
    const HWND first = child(L"Button"), edit = child(L"Edit"), last = child(L"Button");
    const TAdapterMakerOverride raising([](TComponent* Owner, const TAdapterRequest& Request) -> TSkinControl* {
        if (Request.Kind == TAdapterKind::akEdit) return new TRaisingAdapter(Owner);
        return new TKindAdapter(Owner, Request.Kind);
    });
    auto* frame = new TWinSkinForm(nullptr);
    frame->InitWindow(window, "plain", made.Data);
    EXPECT_NO_THROW(frame->SkinChildWindows(window));
    EXPECT_EQ(frame->FindControlByHandle(edit), nullptr);
    EXPECT_EQ(TRaisingAdapter::Living, 0);
    for (HWND button : {first, last}) EXPECT_EQ(KindOf(frame->FindControlByHandle(button)), "button");
    delete frame;
    ::DestroyWindow(window);
}

}  // namespace
}  // namespace frametest
