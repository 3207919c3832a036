#include "StdCtrls.h"

#include "Text.h"
#include "classlib/portable/TypInfo.h"

#include <algorithm>
#include <utility>

namespace {

// A combo box's drop-down list: about eight items.
constexpr int kListHeight = 8 * 16;

} // namespace

const TEnumInfo kCheckBoxStateInfo("TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"});
const TEnumInfo kLeftRightInfo("TLeftRight", {"taLeftJustify", "taRightJustify"});
const TEnumInfo kScrollStyleInfo("TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});
const TEnumInfo kBorderStyleInfo("TBorderStyle", {"bsNone", "bsSingle"});
const TEnumInfo kScrollBarKindInfo("TScrollBarKind", {"sbHorizontal", "sbVertical"});

// The memo's lines. The window holds the text; a copy split into lines spares
// reading and splitting all of it on every call. The copy goes whenever the
// text changes another way (typing, SetText, or a length it does not match).
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo& memo) : FMemo(memo) {}

    int Count() const override { return static_cast<int>(Lines().size()); }
    std::string Get(int Index) const override
    {
        const auto& lines = Lines();
        Check(Index, static_cast<int>(lines.size()) - 1);
        return lines[static_cast<size_t>(Index)];
    }
    void Insert(int Index, const std::string& S) override
    {
        const auto& lines = Lines();
        Check(Index, static_cast<int>(lines.size()));
        if (Index == static_cast<int>(lines.size())) return Append(S);
        auto changed = lines;
        changed.insert(changed.begin() + Index, S);
        Store(std::move(changed));
    }
    void Delete(int Index) override
    {
        const auto& lines = Lines();
        Check(Index, static_cast<int>(lines.size()) - 1);
        auto changed = lines;
        changed.erase(changed.begin() + Index);
        Store(std::move(changed));
    }
    void Clear() override { Store({}); }

    void TextChanged()
    {
        if (!FUpdating) FValid = false;
    }

private:
    static void Check(int index, int limit)
    {
        if (index < 0 || index > limit) throw EListError("list index out of bounds (" + std::to_string(index) + ")");
    }

    const std::vector<std::string>& Lines() const
    {
        const HWND wnd = FMemo.WindowHandle();
        if (FValid && (wnd == nullptr || static_cast<size_t>(GetWindowTextLengthW(wnd)) == FWideLength)) return FLines;
        const std::wstring wide = FMemo.WideText();
        const std::string text = WideToText(wide);
        FLines.clear();
        if (!text.empty()) {
            size_t start = 0;
            for (size_t pos; (pos = text.find("\r\n", start)) != std::string::npos; start = pos + 2)
                FLines.push_back(text.substr(start, pos - start));
            FLines.push_back(text.substr(start));
        }
        FWideLength = wide.size();
        FValid = true;
        return FLines;
    }

    // The separator goes before the new line, so an empty first line is a
    // line too: the one after it starts on the second.
    void Append(const std::string& S)
    {
        const bool first = FLines.empty();
        const std::wstring piece = (first ? L"" : L"\r\n") + TextToWide(S);
        // The copy first: an OnChange handler below may read or add lines.
        FLines.push_back(S);
        FWideLength += piece.size();
        const HWND wnd = FMemo.WindowHandle();
        if (wnd == nullptr) {
            FMemo.FText += (first ? "" : "\r\n") + S;
            return;
        }
        const LPARAM end = GetWindowTextLengthW(wnd);
        FUpdating = true;
        SendMessageW(wnd, EM_SETSEL, static_cast<WPARAM>(end), end);
        SendMessageW(wnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
        FUpdating = false;
    }

    void Store(std::vector<std::string> lines)
    {
        std::string text;
        for (size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\r\n" : "") + lines[i];
        FMemo.SetText(text);
        FLines = std::move(lines);
        FWideLength = TextToWide(text).size();
        FValid = true;
    }

    TCustomMemo& FMemo;
    mutable std::vector<std::string> FLines;
    mutable size_t FWideLength = 0;
    mutable bool FValid = true;
    bool FUpdating = false;
};

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
        const bool chosen = FCombo.ItemIndex() == Index;
        const int keep = FCombo.FItemIndex;
        Delete(Index);
        Insert(Index, S);
        FCombo.FItemIndex = keep;
        // Deleting took the window's choice; the renamed entry stays chosen.
        if (chosen && FCombo.HandleAllocated())
            SendMessageW(FCombo.WindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(Index), 0);
    }
    void SetUpdateState(bool Updating) override { FCombo.SetListRedraw(!Updating); }
    void Clear() override
    {
        TStringList::Clear();
        if (const HWND wnd = FCombo.WindowHandle()) {
            // CB_RESETCONTENT empties the edit as well; the text stays, as it does for the user.
            const std::wstring text = FCombo.WideText();
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

void TLabel::Loaded()
{
    TGraphicControl::Loaded();
    // Reading skipped fitting the label to its text and font.
    AdjustSize();
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

bool TCustomEdit::Modified() const
{
    return HandleAllocated() && SendMessageW(WindowHandle(), EM_GETMODIFY, 0, 0) != 0;
}

void TCustomEdit::SetModified(bool value)
{
    if (HandleAllocated()) SendMessageW(WindowHandle(), EM_SETMODIFY, value ? TRUE : FALSE, 0);
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
                                       .Enumeration("BorderStyle", kBorderStyleInfo, &TMemo::BorderStyle, &TMemo::SetBorderStyle)
                                       .Boolean("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs)
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

void TCustomMemo::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_SETTEXT || (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == EN_CHANGE))
        static_cast<TMemoStrings&>(*FLines).TextChanged();
    TCustomEdit::WndProc(Message);
    if (Message.Msg != WM_GETDLGCODE) return;
    // A multi-line edit asks for every key; Tab moves the focus on unless
    // the memo wants tabs typed.
    if (FWantTabs) {
        Message.Result |= DLGC_WANTTAB;
        return;
    }
    Message.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
    const auto* msg = reinterpret_cast<const MSG*>(Message.LParam);
    if (Message.WParam == VK_TAB || (msg != nullptr && msg->wParam == VK_TAB &&
                                     (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP)))
        Message.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
}

void TCustomMemo::TextChanged()
{
    static_cast<TMemoStrings&>(*FLines).TextChanged();
    TCustomEdit::TextChanged();
}

void TCustomMemo::CreateParams(TCreateParams& Params)
{
    TCustomEdit::CreateParams(Params);
    Params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    Params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    if (FBorderStyle == TBorderStyle::bsNone) Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    if (FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth) Params.Style |= WS_VSCROLL;
    if (FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth)
        Params.Style |= WS_HSCROLL | ES_AUTOHSCROLL;
}

void TCustomMemo::SetBorderStyle(TBorderStyle value)
{
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    if (!HandleAllocated()) return;
    // An edit draws whatever frame its extended style asks for: no new window is needed.
    const HWND wnd = WindowHandle();
    LONG_PTR ex = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
    ex = value == TBorderStyle::bsNone ? ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE) : ex | WS_EX_CLIENTEDGE;
    SetWindowLongPtrW(wnd, GWL_EXSTYLE, ex);
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// --- combo box

const TEnumInfo kComboBoxStyleInfo("TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList"});

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
                                       .Enumeration("Style", kComboBoxStyleInfo, &TComboBox::Style,
                                                    &TComboBox::SetStyle)
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

int32_t TCustomComboBox::ItemIndex() const noexcept
{
    if (!HandleAllocated()) return FItemIndex;
    // The window selects the first entry that begins with the typed text: no choice.
    if (FTyped) return -1;
    return static_cast<int32_t>(SendMessageW(WindowHandle(), CB_GETCURSEL, 0, 0));
}

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
    const std::wstring text = WideText();
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
    Params.Style |= CBS_AUTOHSCROLL | WS_VSCROLL;
    switch (FStyle) {
    case TComboBoxStyle::csDropDown: Params.Style |= CBS_DROPDOWN; break;
    case TComboBoxStyle::csDropDownList: Params.Style |= CBS_DROPDOWNLIST; break;
    case TComboBoxStyle::csSimple: Params.Style |= CBS_SIMPLE; return;  // its list is within its height
    }
    FOwedHeight = Params.Height + kListHeight;
}

int TCustomComboBox::WindowHeight(int AHeight) const
{
    // The window's height includes its drop-down list, but not while it is
    // being made: the list's height is owed until the list opens.
    return HandleAllocated() && FStyle != TComboBoxStyle::csSimple ? AHeight + kListHeight : AHeight;
}

void TCustomComboBox::BoundsChanged()
{
    // New bounds give the list its height along with them.
    if (HandleAllocated()) FOwedHeight = 0;
    TWinControl::BoundsChanged();
}

void TCustomComboBox::CreateWnd()
{
    TWinControl::CreateWnd();
    const HWND wnd = WindowHandle();
    if (FItems->Count() > 0) {
        SendMessageW(wnd, CB_INITSTORAGE, static_cast<WPARAM>(FItems->Count()), 0);
        SetListRedraw(false);
        for (int i = 0; i < FItems->Count(); ++i)
            SendMessageW(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(TextToWide(FItems->Get(i)).c_str()));
        SetListRedraw(true);
    }
    if (FItemIndex >= 0) SendMessageW(wnd, CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
    SetWindowTextW(wnd, TextToWide(FText).c_str());
}

// The list repaints itself and rescales its scroll bar after every entry
// added, a few round trips each under Wine: entries added together go in
// with its drawing off, and it catches up once when drawing is back on.
void TCustomComboBox::SetListRedraw(bool On)
{
    if (!HandleAllocated()) return;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(WindowHandle(), &info) && info.hwndList != nullptr)
        SendMessageW(info.hwndList, WM_SETREDRAW, On ? TRUE : FALSE, 0);
}

void TCustomComboBox::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CB_SETCURSEL:
    case CB_SELECTSTRING:
        TWinControl::WndProc(Message);
        FTyped = false;
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        // Focus moves on to the edit inside: CBN_SETFOCUS and CBN_KILLFOCUS
        // tell when the box as a whole is entered and left.
        DefaultHandler(Message);
        return;
    case WM_DESTROY:
        FItemIndex = ItemIndex();
        FOwedHeight = 0;
        break;
    default:
        break;
    }
    if (Message.Msg == CN_COMMAND) {
        switch (HIWORD(Message.WParam)) {
        case CBN_DROPDOWN:
            // Sent before the list is placed: the owed height sizes it.
            if (FOwedHeight != 0)
                SetWindowPos(WindowHandle(), nullptr, 0, 0, Width(), std::exchange(FOwedHeight, 0),
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        case CBN_SELCHANGE: {
            const int index = static_cast<int>(SendMessageW(WindowHandle(), CB_GETCURSEL, 0, 0));
            FTyped = false;
            FItemIndex = index;
            // The edit shows the new choice only after this notification.
            if (index >= 0 && index < FItems->Count())
                SetWindowTextW(WindowHandle(), TextToWide(FItems->Get(index)).c_str());
            Change();
            Click();
            return;
        }
        case CBN_SELENDOK: {
            // Enter on the open list takes the entry it shows for the typed text.
            if (!FTyped) return;
            FTyped = false;
            const int index = static_cast<int>(SendMessageW(WindowHandle(), CB_GETCURSEL, 0, 0));
            if (index < 0 || index >= FItems->Count()) return;
            FItemIndex = index;
            SetWindowTextW(WindowHandle(), TextToWide(FItems->Get(index)).c_str());
            Change();
            return;
        }
        case CBN_EDITCHANGE:
            FTyped = true;
            FItemIndex = -1;
            Change();
            return;
        case CBN_SETFOCUS:
            DoEnter();
            return;
        case CBN_KILLFOCUS:
            // The edit inside shows its selection even without the focus, and
            // the box selects its text when entered: left selected, every box
            // once visited would look focused.
            SendMessageW(WindowHandle(), CB_SETEDITSEL, 0, MAKELPARAM(-1, 0));
            if (LeavesForSibling(GetFocus())) DoExit();
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
            .Enumeration("State", kCheckBoxStateInfo, &TCheckBox::State, &TCheckBox::SetState)
            .Boolean("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed)
            .Enumeration("Alignment", kLeftRightInfo, &TCheckBox::Alignment, &TCheckBox::SetAlignment)
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

namespace {

WPARAM CheckOf(TCheckBoxState State)
{
    switch (State) {
    case TCheckBoxState::cbChecked: return BST_CHECKED;
    case TCheckBoxState::cbGrayed: return BST_INDETERMINATE;
    case TCheckBoxState::cbUnchecked: break;
    }
    return BST_UNCHECKED;
}

}  // namespace

void TCustomCheckBox::SetState(TCheckBoxState value)
{
    if (value == FState) return;
    FState = value;
    if (HandleAllocated()) SendMessageW(WindowHandle(), BM_SETCHECK, CheckOf(value), 0);
    if (!InState(csLoading)) Click();
}

void TCustomCheckBox::SetAlignment(TLeftRight value)
{
    if (value == FAlignment) return;
    FAlignment = value;
    if (!HandleAllocated()) return;
    const LONG style = GetWindowLongW(WindowHandle(), GWL_STYLE);
    SetWindowLongW(WindowHandle(), GWL_STYLE,
                   value == TLeftRight::taLeftJustify ? style | BS_LEFTTEXT : style & ~BS_LEFTTEXT);
    Invalidate();
}

void TCustomCheckBox::Clicked()
{
    switch (FState) {
    case TCheckBoxState::cbUnchecked: SetState(TCheckBoxState::cbChecked); break;
    case TCheckBoxState::cbChecked:
        SetState(FAllowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbUnchecked);
        break;
    case TCheckBoxState::cbGrayed: SetState(TCheckBoxState::cbUnchecked); break;
    }
}

void TCustomCheckBox::CreateParams(TCreateParams& Params)
{
    TButtonControl::CreateParams(Params);
    // Three states, moved on by Clicked rather than by the system.
    Params.Style |= BS_3STATE;
    if (FAlignment == TLeftRight::taLeftJustify) Params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd()
{
    TButtonControl::CreateWnd();
    SendMessageW(WindowHandle(), BM_SETCHECK, CheckOf(FState), 0);
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

bool TRadioButton::IsTabStop() const
{
    if (!TabStop()) return false;
    if (FChecked || Parent() == nullptr) return true;
    // Unchecked: the group's stop only as its first button, and only while
    // none that can take the focus is checked.
    const std::vector<TRadioButton*> group = Group();
    if (std::any_of(group.begin(), group.end(), [](const TRadioButton* r) { return r->FChecked; })) return false;
    return !group.empty() && group.front() == this;
}

std::vector<TRadioButton*> TRadioButton::Group() const
{
    // The radio buttons of one parent in tab order that can take the focus.
    std::vector<TWinControl*> order;
    Parent()->GetTabOrderList(order);
    std::vector<TRadioButton*> group;
    for (TWinControl* c : order)
        if (auto* r = dynamic_cast<TRadioButton*>(c); r != nullptr && r->Parent() == Parent() && r->TabStop() &&
                                                       r->CanFocus())
            group.push_back(r);
    return group;
}

void TRadioButton::WndProc(TMessage& Message)
{
    const WPARAM key = Message.WParam;
    if (Message.Msg != CM_DIALOGKEY || (key != VK_LEFT && key != VK_RIGHT && key != VK_UP && key != VK_DOWN) ||
        Parent() == nullptr) {
        TButtonControl::WndProc(Message);
        return;
    }
    // Arrows move through the group and check the button reached, as a
    // click on it would.
    Message.Result = 1;
    const std::vector<TRadioButton*> group = Group();
    const auto at = std::find(group.begin(), group.end(), this);
    if (group.size() < 2 || at == group.end()) return;
    const auto n = static_cast<ptrdiff_t>(group.size());
    const ptrdiff_t step = key == VK_RIGHT || key == VK_DOWN ? 1 : n - 1;
    TRadioButton* next = group[static_cast<size_t>((at - group.begin() + step) % n)];
    next->SetFocus();
    next->SetChecked(true);
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
        RegisterComponentClass(*cls);
}

// --- scroll bar

const TClassInfo& TScrollBar::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TScrollBar>("TScrollBar", TWinControl::StaticClassInfo())
                                       .Creatable()
                                       .Enumeration("Kind", kScrollBarKindInfo, &TScrollBar::Kind, &TScrollBar::SetKind)
                                       .Integer("Position", &TScrollBar::Position, &TScrollBar::SetPosition)
                                       .Integer("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize)
                                       .Integer("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange)
                                       .Event("OnChange", &TScrollBar::OnChange)
                                       .Build();
    return info;
}

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner)
{
    SetTabStop(true);
    SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
}

void TScrollBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.SysClassName = L"SCROLLBAR";
    Params.Style |= FKind == TScrollBarKind::sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdateScrollInfo();
}

void TScrollBar::UpdateScrollInfo()
{
    if (!HandleAllocated()) return;
    SCROLLINFO si{sizeof si, SIF_ALL, FMin, FMax, static_cast<UINT>(FPageSize), FPosition, 0};
    SetScrollInfo(WindowHandle(), SB_CTL, &si, TRUE);
}

void TScrollBar::SetParams(int32_t APosition, int32_t AMin, int32_t AMax)
{
    if (AMax < AMin) throw EInvalidOperation("scroll bar property out of range");
    const int32_t last = FPageSize > 0 ? std::max(AMin, AMax - FPageSize + 1) : AMax;
    APosition = std::clamp(APosition, AMin, last);
    const bool moved = APosition != FPosition;
    FMin = AMin;
    FMax = AMax;
    FPosition = APosition;
    UpdateScrollInfo();
    if (moved && OnChange && !InState(csLoading)) OnChange(this);
}

void TScrollBar::SetPageSize(int32_t value)
{
    FPageSize = std::clamp(value, 0, FMax - FMin + 1);
    SetParams(FPosition, FMin, FMax);
}

void TScrollBar::Scroll(WPARAM Request)
{
    int32_t position = FPosition;
    switch (LOWORD(Request)) {
    case SB_LINEUP: position -= FSmallChange; break;
    case SB_LINEDOWN: position += FSmallChange; break;
    case SB_PAGEUP: position -= std::max(FLargeChange, FPageSize); break;
    case SB_PAGEDOWN: position += std::max(FLargeChange, FPageSize); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 16-bit position in the request would cut larger ranges.
        SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        position = GetScrollInfo(WindowHandle(), SB_CTL, &si) ? si.nTrackPos : HIWORD(Request);
        break;
    }
    case SB_TOP: position = FMin; break;
    case SB_BOTTOM: position = FMax; break;
    default: return;
    }
    SetPosition(position);
}

void TScrollBar::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) {
        Scroll(Message.WParam);
        Message.Result = 0;
        return;
    }
    TWinControl::WndProc(Message);
}
