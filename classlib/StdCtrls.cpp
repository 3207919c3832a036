#include "StdCtrls.h"

#include "Text.h"
#include "classlib/portable/TypInfo.h"

#include <algorithm>

const TEnumInfo kScrollStyleInfo("TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});

namespace {

std::wstring WindowText(HWND wnd)
{
    const int n = GetWindowTextLengthW(wnd);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(wnd, text.data(), n + 1)));
    return text;
}

// Lines kept in the memo's window once it has one; CR LF separates them.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo& memo) : FMemo(memo) {}

    int Count() const override { return static_cast<int>(Lines().size()); }
    std::string Get(int Index) const override
    {
        const auto lines = Lines();
        Check(Index, static_cast<int>(lines.size()) - 1);
        return lines[static_cast<size_t>(Index)];
    }
    void Insert(int Index, const std::string& S) override
    {
        auto lines = Lines();
        Check(Index, static_cast<int>(lines.size()));
        const HWND wnd = FMemo.WindowHandle();
        if (wnd != nullptr && Index == static_cast<int>(lines.size())) {
            // Appending goes through the edit control so a long log stays cheap.
            const std::wstring text = (GetWindowTextLengthW(wnd) > 0 ? L"\r\n" : L"") + TextToWide(S);
            const int end = GetWindowTextLengthW(wnd);
            SendMessageW(wnd, EM_SETSEL, end, end);
            SendMessageW(wnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
            return;
        }
        lines.insert(lines.begin() + Index, S);
        Store(lines);
    }
    void Delete(int Index) override
    {
        auto lines = Lines();
        Check(Index, static_cast<int>(lines.size()) - 1);
        lines.erase(lines.begin() + Index);
        Store(lines);
    }
    void Clear() override { Store({}); }

private:
    static void Check(int index, int limit)
    {
        if (index < 0 || index > limit) throw EListError("list index out of bounds (" + std::to_string(index) + ")");
    }
    std::vector<std::string> Lines() const
    {
        const std::string text = FMemo.Text();
        std::vector<std::string> out;
        if (text.empty()) return out;
        size_t start = 0;
        for (size_t pos; (pos = text.find("\r\n", start)) != std::string::npos; start = pos + 2)
            out.push_back(text.substr(start, pos - start));
        out.push_back(text.substr(start));
        return out;
    }
    void Store(const std::vector<std::string>& lines)
    {
        std::string text;
        for (size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\r\n" : "") + lines[i];
        FMemo.SetText(text);
    }

    TCustomMemo& FMemo;
};

} // namespace

// The combo box's items are kept here and mirrored into its window.
class TComboBoxStrings : public TStringList {
public:
    explicit TComboBoxStrings(TCustomComboBox& combo) : FCombo(combo) {}

    void Insert(int Index, const std::string& S) override
    {
        TStringList::Insert(Index, S);
        if (const HWND wnd = FCombo.WindowHandle())
            SendMessageW(wnd, CB_INSERTSTRING, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(TextToWide(S).c_str()));
        if (!Loading() && FCombo.FItemIndex >= Index) ++FCombo.FItemIndex;
    }
    void Delete(int Index) override
    {
        TStringList::Delete(Index);
        if (const HWND wnd = FCombo.WindowHandle()) SendMessageW(wnd, CB_DELETESTRING, static_cast<WPARAM>(Index), 0);
        if (Loading()) return;
        if (FCombo.FItemIndex == Index) FCombo.FItemIndex = -1;
        else if (FCombo.FItemIndex > Index) --FCombo.FItemIndex;
    }
    void Put(int Index, const std::string& S) override
    {
        const int keep = FCombo.FItemIndex;
        Delete(Index);
        Insert(Index, S);
        FCombo.FItemIndex = keep;
    }
    void Clear() override
    {
        TStringList::Clear();
        if (const HWND wnd = FCombo.WindowHandle()) {
            // CB_RESETCONTENT empties the edit as well; the text stays, as it does for the user.
            const std::wstring text = WindowText(wnd);
            SendMessageW(wnd, CB_RESETCONTENT, 0, 0);
            SetWindowTextW(wnd, text.c_str());
        }
        if (!Loading()) FCombo.FItemIndex = -1;
    }

private:
    // A description may give ItemIndex before the items; Loaded checks it.
    bool Loading() const { return FCombo.InState(csLoading); }

    TCustomComboBox& FCombo;
};

// --- TLabel

const TClassInfo& TLabel::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TLabel>("TLabel", TGraphicControl::StaticClassInfo())
                                       .Creatable()
                                       .String("Caption", &TLabel::Caption, &TLabel::SetCaption)
                                       .Boolean("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize)
                                       .Boolean("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap)
                                       .Build();
    return info;
}

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetParentColor(true);
    SetBounds(0, 0, 65, 13);
}

void TLabel::SetWordWrap(bool value)
{
    if (value == FWordWrap) return;
    FWordWrap = value;
    AdjustSize();
    Invalidate();
}

void TLabel::SetAutoSize(bool value)
{
    if (value == FAutoSize) return;
    FAutoSize = value;
    AdjustSize();
}

void TLabel::TextChanged()
{
    AdjustSize();
    Invalidate();
}

void TLabel::FontChanged()
{
    AdjustSize();
    Invalidate();
}

void TLabel::AdjustSize()
{
    if (!FAutoSize || FWordWrap || InState(csLoading)) return;
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, Font()->Handle());
    const std::wstring text = TextToWide(FText);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    SetBounds(Left(), Top(), text.empty() ? Width() : r.right, r.bottom);
}

void TLabel::Paint(HDC DC)
{
    RECT r{0, 0, Width(), Height()};
    const HBRUSH brush = CreateSolidBrush(ColorToRGB(Color()));
    FillRect(DC, &r, brush);
    DeleteObject(brush);
    const HGDIOBJ old = SelectObject(DC, Font()->Handle());
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(Enabled() ? Font()->Color() : SystemColor(COLOR_GRAYTEXT)));
    const std::wstring text = TextToWide(FText);
    DrawTextW(DC, text.c_str(), -1, &r, FWordWrap ? DT_WORDBREAK : DT_SINGLELINE);
    SelectObject(DC, old);
}

// --- edits

const TClassInfo& TCustomEdit::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TCustomEdit>("TCustomEdit", TWinControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TEdit::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TEdit>("TEdit", TCustomEdit::StaticClassInfo())
                                       .Creatable()
                                       .String("Text", &TEdit::Text, &TEdit::SetText)
                                       .Integer("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength)
                                       .Event("OnChange", &TEdit::OnChange)
                                       .Event("OnKeyPress", &TEdit::OnKeyPress)
                                       .Event("OnEnter", &TEdit::OnEnter)
                                       .Event("OnExit", &TEdit::OnExit)
                                       .Build();
    return info;
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 121, 21);
}

void TCustomEdit::SetMaxLength(int32_t value)
{
    FMaxLength = value < 0 ? 0 : value;
    if (HandleAllocated()) SendMessageW(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::SelectAll()
{
    if (HandleAllocated()) SendMessageW(WindowHandle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.SysClassName = L"EDIT";
    Params.Style |= ES_AUTOHSCROLL;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageW(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == EN_CHANGE) {
        Change();
        return;
    }
    TWinControl::WndProc(Message);
}

void TCustomEdit::Change()
{
    if (OnChange && !InState(csLoading)) OnChange(this);
}

const TClassInfo& TCustomMemo::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TCustomMemo>("TCustomMemo", TCustomEdit::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TMemo::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TMemo>("TMemo", TCustomMemo::StaticClassInfo())
                                       .Creatable()
                                       .Object("Lines", &TMemo::Lines)
                                       .Enumeration("ScrollBars", kScrollStyleInfo, &TMemo::ScrollBars, &TMemo::SetScrollBars)
                                       .Integer("MaxLength", &TMemo::MaxLength, &TMemo::SetMaxLength)
                                       .Event("OnChange", &TMemo::OnChange)
                                       .Event("OnKeyPress", &TMemo::OnKeyPress)
                                       .Event("OnEnter", &TMemo::OnEnter)
                                       .Event("OnExit", &TMemo::OnExit)
                                       .Build();
    return info;
}

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>(*this))
{
    SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& Params)
{
    TCustomEdit::CreateParams(Params);
    Params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    Params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    if (FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth) Params.Style |= WS_VSCROLL;
    if (FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth)
        Params.Style |= WS_HSCROLL | ES_AUTOHSCROLL;
}

// --- combo box

const TClassInfo& TCustomComboBox::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TCustomComboBox>("TCustomComboBox", TWinControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TComboBox::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TComboBox>("TComboBox", TCustomComboBox::StaticClassInfo())
                                       .Creatable()
                                       .String("Text", &TComboBox::Text, &TComboBox::SetText)
                                       .Object("Items", &TComboBox::Items)
                                       .Integer("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex)
                                       .Event("OnChange", &TComboBox::OnChange)
                                       .Event("OnEnter", &TComboBox::OnEnter)
                                       .Event("OnExit", &TComboBox::OnExit)
                                       .Build();
    return info;
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(std::make_unique<TComboBoxStrings>(*this))
{
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 145, 21);
}

TCustomComboBox::~TCustomComboBox() = default;

void TCustomComboBox::SetItemIndex(int32_t value)
{
    if (value < -1 || (value >= FItems->Count() && !InState(csLoading)))
        throw EListError("list index out of bounds (" + std::to_string(value) + ")");
    FItemIndex = value;
    if (!HandleAllocated()) return;
    if (value >= 0) {
        SendMessageW(WindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(value), 0);
        return;
    }
    // Clearing the choice would also clear the edit.
    const std::wstring text = WindowText(WindowHandle());
    SendMessageW(WindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextW(WindowHandle(), text.c_str());
}

void TCustomComboBox::Loaded()
{
    TWinControl::Loaded();
    // Items may come after ItemIndex in a description.
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    if (FItemIndex >= 0 && FText.empty()) FText = FItems->Get(FItemIndex);
}

void TCustomComboBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.SysClassName = L"COMBOBOX";
    Params.Style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
}

int TCustomComboBox::WindowHeight(int AHeight) const
{
    // The window's height includes its drop-down list: about eight items.
    return AHeight + 8 * 16;
}

void TCustomComboBox::CreateWnd()
{
    TWinControl::CreateWnd();
    const HWND wnd = WindowHandle();
    for (int i = 0; i < FItems->Count(); ++i)
        SendMessageW(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(TextToWide(FItems->Get(i)).c_str()));
    if (FItemIndex >= 0) SendMessageW(wnd, CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
    SetWindowTextW(wnd, TextToWide(FText).c_str());
}

void TCustomComboBox::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_COMMAND) {
        switch (HIWORD(Message.WParam)) {
        case CBN_SELCHANGE: {
            const int index = static_cast<int>(SendMessageW(WindowHandle(), CB_GETCURSEL, 0, 0));
            FItemIndex = index;
            // The edit shows the new choice only after this notification.
            if (index >= 0 && index < FItems->Count())
                SetWindowTextW(WindowHandle(), TextToWide(FItems->Get(index)).c_str());
            Change();
            Click();
            return;
        }
        case CBN_EDITCHANGE:
            FItemIndex = -1;
            Change();
            return;
        default:
            break;
        }
    }
    TWinControl::WndProc(Message);
}

void TCustomComboBox::Change()
{
    if (OnChange && !InState(csLoading)) OnChange(this);
}

// --- group box

const TClassInfo& TCustomGroupBox::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TCustomGroupBox>("TCustomGroupBox", TWinControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TGroupBox::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TGroupBox>("TGroupBox", TCustomGroupBox::StaticClassInfo())
            .Creatable()
            .String("Caption", &TGroupBox::Caption, &TGroupBox::SetCaption)
            .Boolean("ParentBackground", &TGroupBox::ParentBackground, &TGroupBox::SetParentBackground)
            .Build();
    return info;
}

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TWinControl(AOwner)
{
    SetParentColor(true);
    SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TCustomGroupBox::PaintWindow(HDC DC)
{
    RECT r = ClientRect();
    FillRect(DC, &r, ColorBrush());
    const HGDIOBJ old = SelectObject(DC, Font()->Handle());
    TEXTMETRICW tm;
    GetTextMetricsW(DC, &tm);
    RECT frame = r;
    frame.top = tm.tmHeight / 2;
    DrawEdge(DC, &frame, EDGE_ETCHED, BF_RECT);
    const std::wstring text = TextToWide(FText);
    if (!text.empty()) {
        RECT t{8, 0, r.right - 8, tm.tmHeight};
        DrawTextW(DC, text.c_str(), -1, &t, DT_CALCRECT | DT_SINGLELINE);
        SetBkColor(DC, ColorToRGB(Color()));
        SetBkMode(DC, OPAQUE);
        SetTextColor(DC, ColorToRGB(Font()->Color()));
        DrawTextW(DC, text.c_str(), -1, &t, DT_SINGLELINE);
    }
    SelectObject(DC, old);
}

void TCustomGroupBox::AlignControls(RECT& Rect)
{
    Rect.top += std::max(0, static_cast<int>(-Font()->Height())) + 2;
    InflateRect(&Rect, -2, -2);
    TWinControl::AlignControls(Rect);
}

// --- buttons

const TClassInfo& TButtonControl::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TButtonControl>("TButtonControl", TWinControl::StaticClassInfo()).Build();
    return info;
}

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner)
{
    SetTabStop(true);
}

void TButtonControl::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.SysClassName = L"BUTTON";
}

void TButtonControl::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == BN_CLICKED) {
        Clicked();
        return;
    }
    TWinControl::WndProc(Message);
}

const TClassInfo& TButton::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TButton>("TButton", TButtonControl::StaticClassInfo())
                                       .Creatable()
                                       .String("Caption", &TButton::Caption, &TButton::SetCaption)
                                       .Event("OnClick", &TButton::OnClick)
                                       .Build();
    return info;
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetBounds(0, 0, 75, 25);
}

const TClassInfo& TCustomCheckBox::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TCustomCheckBox>("TCustomCheckBox", TButtonControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TCheckBox::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TCheckBox>("TCheckBox", TCustomCheckBox::StaticClassInfo())
            .Creatable()
            .String("Caption", &TCheckBox::Caption, &TCheckBox::SetCaption)
            .Boolean("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked)
            .Boolean("ParentBackground", &TCheckBox::ParentBackground, &TCheckBox::SetParentBackground)
            .Event("OnClick", &TCheckBox::OnClick)
            .Build();
    return info;
}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetParentColor(true);
    SetBounds(0, 0, 97, 17);
}

void TCustomCheckBox::SetChecked(bool value)
{
    if (value == FChecked) return;
    FChecked = value;
    if (HandleAllocated()) SendMessageW(WindowHandle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!InState(csLoading)) Click();
}

void TCustomCheckBox::CreateParams(TCreateParams& Params)
{
    TButtonControl::CreateParams(Params);
    Params.Style |= BS_CHECKBOX;
}

void TCustomCheckBox::CreateWnd()
{
    TButtonControl::CreateWnd();
    SendMessageW(WindowHandle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

const TClassInfo& TRadioButton::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TRadioButton>("TRadioButton", TButtonControl::StaticClassInfo())
            .Creatable()
            .String("Caption", &TRadioButton::Caption, &TRadioButton::SetCaption)
            .Boolean("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)
            .Boolean("ParentBackground", &TRadioButton::ParentBackground, &TRadioButton::SetParentBackground)
            .Event("OnClick", &TRadioButton::OnClick)
            .Build();
    return info;
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetParentColor(true);
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool value)
{
    if (value == FChecked) return;
    FChecked = value;
    if (HandleAllocated()) SendMessageW(WindowHandle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!value) return;
    if (Parent() != nullptr)
        for (int i = 0; i < Parent()->ControlCount(); ++i)
            if (auto* sibling = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); sibling != nullptr && sibling != this)
                sibling->SetChecked(false);
    if (!InState(csLoading)) Click();
}

void TRadioButton::CreateParams(TCreateParams& Params)
{
    TButtonControl::CreateParams(Params);
    Params.Style |= BS_RADIOBUTTON;
}

void TRadioButton::CreateWnd()
{
    TButtonControl::CreateWnd();
    SendMessageW(WindowHandle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void RegisterStdControls()
{
    for (const TClassInfo* cls : {&TLabel::StaticClassInfo(), &TEdit::StaticClassInfo(), &TMemo::StaticClassInfo(),
                                  &TComboBox::StaticClassInfo(), &TGroupBox::StaticClassInfo(),
                                  &TButton::StaticClassInfo(), &TCheckBox::StaticClassInfo(),
                                  &TRadioButton::StaticClassInfo()})
        RegisterClass(*cls);
}
