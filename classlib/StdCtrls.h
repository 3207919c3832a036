// The standard controls: labels, edits, memos, editable combo boxes, group
// boxes, push buttons, check boxes and radio buttons. Each windowed one is a
// superclass named after its class ("TEdit" of "Edit", "TCheckBox" of "Button").
#pragma once

#include "Controls.h"
#include "classlib/portable/StringList.h"

#include <memory>
#include <vector>

// Word-wrapped or single-line text drawn on the parent; AutoSize (default)
// fits a single-line label to its text.
class TLabel : public TGraphicControl {
public:
    DECLARE_CLASS_INFO()
    explicit TLabel(TComponent* AOwner);

    bool WordWrap() const noexcept { return FWordWrap; }
    void SetWordWrap(bool value);
    bool AutoSize() const noexcept { return FAutoSize; }
    void SetAutoSize(bool value);
    void Paint(HDC DC) override;

protected:
    void TextChanged() override;
    void FontChanged() override;
    void Loaded() override;

private:
    void AdjustSize();

    bool FWordWrap = false;
    bool FAutoSize = true;
};

class TCustomEdit : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    explicit TCustomEdit(TComponent* AOwner);

    int32_t MaxLength() const noexcept { return FMaxLength; }
    void SetMaxLength(int32_t value);
    void SelectAll();
    // Whether the user has changed the text (typing, pasting, deleting) since
    // it was last set; false while there is no window.
    bool Modified() const;
    void SetModified(bool value);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    virtual void Change();

private:
    int32_t FMaxLength = 0;
};

class TEdit : public TCustomEdit {
public:
    DECLARE_CLASS_INFO()
    using TCustomEdit::TCustomEdit;
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
extern const TEnumInfo kScrollStyleInfo;

// bsSingle: the sunken client edge; bsNone: no border.
enum class TBorderStyle { bsNone, bsSingle };
extern const TEnumInfo kBorderStyleInfo;

class TCustomMemo : public TCustomEdit {
public:
    DECLARE_CLASS_INFO()
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    // Lines as the user sees them without wrapping (split at line breaks).
    // Adding at the end costs the new line only, however long the text is.
    TStrings* Lines() const noexcept { return FLines.get(); }
    TScrollStyle ScrollBars() const noexcept { return FScrollBars; }
    void SetScrollBars(TScrollStyle value) { FScrollBars = value; }
    TBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    // Takes effect at once: the window's frame is changed in place.
    void SetBorderStyle(TBorderStyle value);
    // Tab typed into the text; otherwise (the default) it moves the focus on.
    bool WantTabs() const noexcept { return FWantTabs; }
    void SetWantTabs(bool value) noexcept { FWantTabs = value; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void TextChanged() override;

private:
    friend class TMemoStrings;
    std::unique_ptr<TStrings> FLines;
    TScrollStyle FScrollBars = TScrollStyle::ssNone;
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
    bool FWantTabs = false;
};

class TMemo : public TCustomMemo {
public:
    DECLARE_CLASS_INFO()
    using TCustomMemo::TCustomMemo;
};

// The editable kind: the user may type any text; ItemIndex is then -1 until
// an entry is chosen again (from the list, by CB_SETCURSEL or SetItemIndex),
// even when the typed text equals an entry. Otherwise ItemIndex is the
// window's selection. OnChange fires on a choice from the list and on every
// edit while typing. OnEnter and OnExit see the combo box as one control,
// whether its own window or the edit inside it has the focus.
enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList };
extern const TEnumInfo kComboBoxStyleInfo;

class TCustomComboBox : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    // csSimple shows its list always, within the control's height. Takes
    // effect when the window is made.
    TComboBoxStyle Style() const noexcept { return FStyle; }
    void SetStyle(TComboBoxStyle value) { FStyle = value; }

    TStrings* Items() const noexcept { return FItems.get(); }
    int32_t ItemIndex() const noexcept;
    // -1 clears the choice; the text then stays as it is.
    void SetItemIndex(int32_t value);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    void Loaded() override;
    int WindowHeight(int AHeight) const override;
    void BoundsChanged() override;
    virtual void Change();

private:
    friend class TComboBoxStrings;
    void SetListRedraw(bool On);
    std::unique_ptr<TStrings> FItems;
    TComboBoxStyle FStyle = TComboBoxStyle::csDropDown;
    int32_t FItemIndex = -1;  // the choice while there is no window
    bool FTyped = false;      // text typed since the last choice
    // The height with the list the window was made without (0: none owed).
    // Made at its visible height, a combo box does not lay out its edit and
    // list again at once; it gets the list's height when the list first opens.
    int FOwedHeight = 0;
};

class TComboBox : public TCustomComboBox {
public:
    DECLARE_CLASS_INFO()
    using TCustomComboBox::TCustomComboBox;
};

class TCustomGroupBox : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    explicit TCustomGroupBox(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& Params) override;
    void PaintWindow(HDC DC) override;
    void AlignControls(RECT& Rect) override;
};

class TGroupBox : public TCustomGroupBox {
public:
    DECLARE_CLASS_INFO()
    using TCustomGroupBox::TCustomGroupBox;
};

// Base of the system button kinds; BN_CLICKED reaches Clicked.
class TButtonControl : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    explicit TButtonControl(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    virtual void Clicked() { Click(); }
};

class TButton : public TButtonControl {
public:
    DECLARE_CLASS_INFO()
    explicit TButton(TComponent* AOwner);
};

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
extern const TEnumInfo kCheckBoxStateInfo;
// Where the caption is: taRightJustify right of the box (the usual place).
enum class TLeftRight { taLeftJustify, taRightJustify };
extern const TEnumInfo kLeftRightInfo;

// State changes fire OnClick (a click on the box moves it on: unchecked,
// checked, and grayed only with AllowGrayed), except while the control is
// being read from its description.
class TCustomCheckBox : public TButtonControl {
public:
    DECLARE_CLASS_INFO()
    explicit TCustomCheckBox(TComponent* AOwner);

    bool Checked() const noexcept { return FState == TCheckBoxState::cbChecked; }
    void SetChecked(bool value) { SetState(value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
    TCheckBoxState State() const noexcept { return FState; }
    void SetState(TCheckBoxState value);
    bool AllowGrayed() const noexcept { return FAllowGrayed; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }
    TLeftRight Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TLeftRight value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Clicked() override;

private:
    TCheckBoxState FState = TCheckBoxState::cbUnchecked;
    bool FAllowGrayed = false;
    TLeftRight FAlignment = TLeftRight::taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
public:
    DECLARE_CLASS_INFO()
    using TCustomCheckBox::TCustomCheckBox;
};

// Becoming checked unchecks the radio buttons of the same parent and fires
// OnClick; becoming unchecked fires nothing. The radio buttons of a parent
// are one group for the keyboard, as in a dialog: one tab stop (the checked
// one, or the first when none is), and the arrows move through the group,
// checking the button they reach.
class TRadioButton : public TButtonControl {
public:
    DECLARE_CLASS_INFO()
    explicit TRadioButton(TComponent* AOwner);

    bool Checked() const noexcept { return FChecked; }
    void SetChecked(bool value);
    bool IsTabStop() const override;

protected:
    void WndProc(TMessage& Message) override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Clicked() override { SetChecked(true); }

private:
    // The group's buttons that can take the focus, in tab order.
    std::vector<TRadioButton*> Group() const;

    bool FChecked = false;
};

void RegisterStdControls();

enum class TScrollBarKind { sbHorizontal, sbVertical };
extern const TEnumInfo kScrollBarKindInfo;

// A scroll-bar control. It moves its own thumb on the scroll requests its
// parent passes back (CN_HSCROLL / CN_VSCROLL); OnChange follows each move.
// Kind is read when the window is made.
class TScrollBar : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    explicit TScrollBar(TComponent* AOwner);

    TScrollBarKind Kind() const noexcept { return FKind; }
    void SetKind(TScrollBarKind value) { FKind = value; }
    int32_t Min() const noexcept { return FMin; }
    int32_t Max() const noexcept { return FMax; }
    int32_t PageSize() const noexcept { return FPageSize; }
    int32_t Position() const noexcept { return FPosition; }
    // Position is kept within Min .. Max - PageSize + 1 (Max without a page).
    void SetParams(int32_t APosition, int32_t AMin, int32_t AMax);
    void SetPosition(int32_t value) { SetParams(value, FMin, FMax); }
    void SetPageSize(int32_t value);
    int32_t LargeChange() const noexcept { return FLargeChange; }
    void SetLargeChange(int32_t value) { FLargeChange = value; }

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;

private:
    void Scroll(WPARAM Request);
    void UpdateScrollInfo();

    TScrollBarKind FKind = TScrollBarKind::sbHorizontal;
    int32_t FMin = 0, FMax = 100, FPageSize = 0, FPosition = 0;
    int32_t FSmallChange = 1, FLargeChange = 1;
};
