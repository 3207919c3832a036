#include "ComCtrls.h"

#include "Text.h"
#include "classlib/portable/TypInfo.h"

#include <commctrl.h>

#include <algorithm>

const TEnumInfo kTabStyleInfo("TTabStyle", {"tsTabs", "tsButtons", "tsFlatButtons"});
const TEnumInfo kTabPositionInfo("TTabPosition", {"tpTop", "tpBottom"});

const TClassInfo& TCustomTabControl::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TCustomTabControl>("TCustomTabControl", TWinControl::StaticClassInfo()).Build();
    return info;
}

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TWinControl(AOwner)
{
    SetParentColor(true);
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

void TCustomTabControl::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.SysClassName = WC_TABCONTROLW;
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
    if (FStyle != TTabStyle::tsTabs) Params.Style |= TCS_BUTTONS;
    if (FStyle == TTabStyle::tsFlatButtons) Params.Style |= TCS_FLATBUTTONS;
    if (FTabPosition == TTabPosition::tpBottom) Params.Style |= TCS_BOTTOM;
}

// --- TPageControl

const TClassInfo& TPageControl::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TPageControl>("TPageControl", TCustomTabControl::StaticClassInfo())
            .Creatable()
            .Component<TTabSheet>("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage)
            .Enumeration("Style", kTabStyleInfo, &TPageControl::Style, &TPageControl::SetStyle)
            .Enumeration("TabPosition", kTabPositionInfo, &TPageControl::TabPosition, &TPageControl::SetTabPosition)
            .Event("OnChange", &TPageControl::OnChange)
            .Build();
    return info;
}

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

TPageControl::~TPageControl()
{
    // The pages outlive this part of the object; they must not call back.
    for (TTabSheet* page : FPages) page->FPageControl = nullptr;
    FPages.clear();
    FActivePage = nullptr;
}

int TPageControl::ActivePageIndex() const noexcept
{
    const auto it = std::find(FPages.begin(), FPages.end(), FActivePage);
    return it == FPages.end() ? -1 : static_cast<int>(it - FPages.begin());
}

void TPageControl::SetActivePage(TTabSheet* Page)
{
    if (Page != nullptr && Page->FPageControl != this)
        throw EInvalidOperation("'" + Page->Name() + "' is not a page of " + Name());
    FActivePage = Page;
    if (HandleAllocated()) SendMessageW(WindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(ActivePageIndex()), 0);
    ShowActivePage();
}

void TPageControl::SelectNextPage(bool GoForward)
{
    const int count = PageCount();
    if (count < 2) return;
    const int current = ActivePageIndex();
    const int next = current < 0 ? (GoForward ? 0 : count - 1) : (current + (GoForward ? 1 : count - 1)) % count;
    // The focus is not left in a page being hidden: it goes to the tab strip,
    // where the keyboard goes on switching pages.
    if (FActivePage != nullptr && FActivePage->HandleAllocated()) {
        const HWND page = FActivePage->WindowHandle(), focus = GetFocus();
        if (focus == page || IsChild(page, focus)) SetFocus();
    }
    SetActivePage(FPages[static_cast<size_t>(next)]);
    if (OnChange) OnChange(this);
}

bool TPageControl::HasFocusWithin() const
{
    const HWND focus = GetFocus();
    return HandleAllocated() && focus != nullptr && (focus == WindowHandle() || IsChild(WindowHandle(), focus));
}

void TPageControl::ShowControl(TControl* AControl)
{
    if (auto* page = dynamic_cast<TTabSheet*>(AControl); page != nullptr && page->FPageControl == this)
        SetActivePage(page);
    TCustomTabControl::ShowControl(AControl);
}

void TPageControl::InsertPage(TTabSheet* Page)
{
    FPages.push_back(Page);
    if (HandleAllocated()) {
        UpdateTab(Page);
        Realign();
    }
    if (FActivePage == nullptr) SetActivePage(Page);
    else ShowActivePage();
}

void TPageControl::RemovePage(TTabSheet* Page)
{
    const auto it = std::find(FPages.begin(), FPages.end(), Page);
    if (it == FPages.end()) return;
    const int index = static_cast<int>(it - FPages.begin());
    FPages.erase(it);
    if (HandleAllocated()) SendMessageW(WindowHandle(), TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
    if (FActivePage == Page) SetActivePage(FPages.empty() ? nullptr : FPages.front());
}

void TPageControl::UpdateTab(TTabSheet* Page)
{
    if (!HandleAllocated()) return;
    const int index = Page->PageIndex();
    std::wstring text = TextToWide(Page->Caption());
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    const WPARAM w = static_cast<WPARAM>(index);
    if (SendMessageW(WindowHandle(), TCM_GETITEMCOUNT, 0, 0) > index)
        SendMessageW(WindowHandle(), TCM_SETITEMW, w, reinterpret_cast<LPARAM>(&item));
    else
        SendMessageW(WindowHandle(), TCM_INSERTITEMW, w, reinterpret_cast<LPARAM>(&item));
}

void TPageControl::ShowActivePage()
{
    for (TTabSheet* page : FPages) {
        if (!page->HandleAllocated()) continue;
        if (page == FActivePage) SetWindowPos(page->WindowHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        else ShowWindow(page->WindowHandle(), SW_HIDE);
    }
}

void TPageControl::CreateWnd()
{
    // Tabs first: the pages' display area depends on them.
    const HWND wnd = WindowHandle();
    SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
    for (TTabSheet* page : FPages) UpdateTab(page);
    SendMessageW(wnd, TCM_SETCURSEL, static_cast<WPARAM>(ActivePageIndex()), 0);
    TCustomTabControl::CreateWnd();
    ShowActivePage();
}

void TPageControl::AlignControls(RECT& Rect)
{
    if (HandleAllocated()) SendMessageW(WindowHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&Rect));
    for (TTabSheet* page : FPages)
        page->SetBounds(Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top);
}

void TPageControl::WndProc(TMessage& Message)
{
    // Ctrl+Tab and Ctrl+Shift+Tab switch pages wherever the focus is inside.
    if (Message.Msg == CM_DIALOGKEY && Message.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && HasFocusWithin()) {
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        Message.Result = 1;
        return;
    }
    // Only a notification passed back by the parent carries a header to read.
    if (const NMHDR* hdr = ReflectedNotify(Message)) {
        if (hdr->code == static_cast<UINT>(TCN_SELCHANGE)) {
            const int index = static_cast<int>(SendMessageW(WindowHandle(), TCM_GETCURSEL, 0, 0));
            FActivePage = index >= 0 && index < PageCount() ? FPages[static_cast<size_t>(index)] : nullptr;
            ShowActivePage();
            if (OnChange) OnChange(this);
            Message.Result = 0;
            return;
        }
    }
    TCustomTabControl::WndProc(Message);
}

// --- TTabSheet

const TClassInfo& TTabSheet::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTabSheet>("TTabSheet", TWinControl::StaticClassInfo())
                                       .Creatable()
                                       .String("Caption", &TTabSheet::Caption, &TTabSheet::SetCaption)
                                       .Build();
    return info;
}

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner)
{
    SetParentColor(true);
}

TTabSheet::~TTabSheet()
{
    if (FPageControl != nullptr) FPageControl->RemovePage(this);
}

int TTabSheet::PageIndex() const
{
    if (FPageControl == nullptr) return -1;
    const auto& pages = FPageControl->FPages;
    const auto it = std::find(pages.begin(), pages.end(), this);
    return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TTabSheet::SetParent(TWinControl* AParent)
{
    if (AParent == Parent()) return;
    if (FPageControl != nullptr) {
        TPageControl* old = FPageControl;
        FPageControl = nullptr;
        old->RemovePage(this);
    }
    FPageControl = dynamic_cast<TPageControl*>(AParent);
    TWinControl::SetParent(AParent);
    if (FPageControl != nullptr) FPageControl->InsertPage(this);
}

void TTabSheet::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    if (FPageControl == nullptr || FPageControl->ActivePage() != this) Params.Style &= ~static_cast<DWORD>(WS_VISIBLE);
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TTabSheet::TextChanged()
{
    TWinControl::TextChanged();
    if (FPageControl != nullptr) FPageControl->UpdateTab(this);
}

// --- TStatusBar

const TEnumInfo kAlignmentInfo("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
const TEnumInfo kStatusPanelBevelInfo("TStatusPanelBevel", {"pbNone", "pbLowered", "pbRaised"});
const TEnumInfo kStatusPanelStyleInfo("TStatusPanelStyle", {"psText", "psOwnerDraw"});

const TClassInfo& TStatusPanel::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TStatusPanel>("TStatusPanel", TPersistent::StaticClassInfo())
            .String("Text", &TStatusPanel::Text, &TStatusPanel::SetText)
            .Integer("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth)
            .Enumeration("Alignment", kAlignmentInfo, &TStatusPanel::Alignment, &TStatusPanel::SetAlignment)
            .Enumeration("Bevel", kStatusPanelBevelInfo, &TStatusPanel::Bevel, &TStatusPanel::SetBevel)
            .Enumeration("Style", kStatusPanelStyleInfo, &TStatusPanel::Style, &TStatusPanel::SetStyle)
            .Build();
    return info;
}

void TStatusPanel::SetText(const std::string& Value)
{
    FText = Value;
    Changed();
}

void TStatusPanel::SetWidth(int32_t Value)
{
    FWidth = std::max(Value, 0);
    FBar->UpdatePanels();
}

void TStatusPanel::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    Changed();
}

void TStatusPanel::SetBevel(TStatusPanelBevel Value)
{
    FBevel = Value;
    Changed();
}

void TStatusPanel::SetStyle(TStatusPanelStyle Value)
{
    FStyle = Value;
    Changed();
}

void TStatusPanel::Changed()
{
    FBar->UpdatePanel(*this);
}

TStatusPanel* TStatusPanels::Items(int Index) const
{
    if (Index < 0 || Index >= Count()) throw ERangeError("status panel index out of range");
    return FItems[static_cast<size_t>(Index)].get();
}

TStatusPanel* TStatusPanels::Add()
{
    FItems.push_back(std::make_unique<TStatusPanel>(FBar, Count()));
    FBar.UpdatePanels();
    return FItems.back().get();
}

void TStatusPanels::Clear()
{
    FItems.clear();
    FBar.UpdatePanels();
}

const TClassInfo& TCustomStatusBar::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TCustomStatusBar>("TCustomStatusBar", TWinControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TStatusBar::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TStatusBar>("TStatusBar", TCustomStatusBar::StaticClassInfo())
            .Creatable()
            .Boolean("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel)
            .String("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText)
            .Event("OnDrawPanel", &TStatusBar::OnDrawPanel)
            .Build();
    return info;
}

TCustomStatusBar::TCustomStatusBar(TComponent* AOwner)
    : TWinControl(AOwner), FPanels(std::make_unique<TStatusPanels>(*this)), FCanvas(std::make_shared<TCanvas>())
{
    SetBounds(0, 0, 0, 19);
    SetAlign(TAlign::alBottom);
}

TCustomStatusBar::~TCustomStatusBar() = default;

void TCustomStatusBar::SetSimplePanel(bool Value)
{
    FSimplePanel = Value;
    UpdatePanels();
}

void TCustomStatusBar::SetSimpleText(const std::string& Value)
{
    FSimpleText = Value;
    if (HandleAllocated())
        SendMessageW(WindowHandle(), SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(TextToWide(Value).c_str()));
}

void TCustomStatusBar::DrawPanel(HDC DC, TStatusPanel* Panel, const RECT& Rect)
{
    if (!OnDrawPanel) return;
    // Copies: the handler may free the bar, and with it these members.
    const TDrawPanelEvent handler = OnDrawPanel;
    const std::shared_ptr<TCanvas> canvas = FCanvas;
    canvas->SetHandle(DC);
    try {
        handler(this, Panel, Rect);
    } catch (...) {
        canvas->SetHandle(nullptr);
        throw;
    }
    canvas->SetHandle(nullptr);
}

void TCustomStatusBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.SysClassName = STATUSCLASSNAMEW;
    // The class library places it (Align); the bar must not move itself.
    Params.Style |= CCS_NORESIZE | CCS_NOPARENTALIGN | SBARS_SIZEGRIP;
}

void TCustomStatusBar::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdatePanels();
    SetSimpleText(FSimpleText);
}

void TCustomStatusBar::UpdatePanels()
{
    if (!HandleAllocated()) return;
    const HWND wnd = WindowHandle();
    // Without panels the bar shows its simple text, as it does when asked to.
    SendMessageW(wnd, SB_SIMPLE, FSimplePanel || FPanels->Count() == 0, 0);
    if (FPanels->Count() == 0) return;
    std::vector<int> edges;
    int edge = 0;
    for (int i = 0; i < FPanels->Count(); ++i) edges.push_back(edge += FPanels->Items(i)->Width());
    edges.back() = -1;  // the last panel takes the rest of the bar
    SendMessageW(wnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < FPanels->Count(); ++i) UpdatePanel(*FPanels->Items(i));
}

void TCustomStatusBar::UpdatePanel(const TStatusPanel& Panel)
{
    if (!HandleAllocated()) return;
    WPARAM flags = static_cast<WPARAM>(Panel.Index());
    if (Panel.Bevel() == TStatusPanelBevel::pbNone) flags |= SBT_NOBORDERS;
    else if (Panel.Bevel() == TStatusPanelBevel::pbRaised) flags |= SBT_POPOUT;
    if (Panel.Style() == TStatusPanelStyle::psOwnerDraw) {
        SendMessageW(WindowHandle(), SB_SETTEXTW, flags | SBT_OWNERDRAW, static_cast<LPARAM>(Panel.Index()));
        return;
    }
    // The system bar centres what follows one tab and right-aligns what follows two.
    std::wstring text = TextToWide(Panel.Text());
    if (Panel.Alignment() == TAlignment::taCenter) text.insert(0, L"\t");
    else if (Panel.Alignment() == TAlignment::taRightJustify) text.insert(0, L"\t\t");
    SendMessageW(WindowHandle(), SB_SETTEXTW, flags, reinterpret_cast<LPARAM>(text.c_str()));
}

// The window the grip sizes: the top-level one, while it can be sized.
HWND TCustomStatusBar::SizedWindow() const
{
    const HWND root = ::GetAncestor(WindowHandle(), GA_ROOT);
    if (root == nullptr || root == WindowHandle() || ::IsZoomed(root) || ::IsIconic(root) ||
        (::GetWindowLongW(root, GWL_STYLE) & WS_THICKFRAME) == 0)
        return nullptr;
    return root;
}

bool TCustomStatusBar::OverSizeGrip(LPARAM ScreenPoint) const
{
    if ((::GetWindowLongW(WindowHandle(), GWL_STYLE) & SBARS_SIZEGRIP) == 0) return false;
    POINT p{static_cast<short>(LOWORD(ScreenPoint)), static_cast<short>(HIWORD(ScreenPoint))};
    RECT client{};
    ::ScreenToClient(WindowHandle(), &p);
    ::GetClientRect(WindowHandle(), &client);
    return p.x >= client.right - ::GetSystemMetrics(SM_CXVSCROLL) && ::PtInRect(&client, p);
}

void TCustomStatusBar::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_BASE + WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
        const int index = static_cast<int>(item.itemID);
        if (index >= 0 && index < FPanels->Count()) DrawPanel(item.hDC, FPanels->Items(index), item.rcItem);
        Message.Result = TRUE;
        return;
    }
    // The grip sizes the top-level window from its bottom-right corner, as
    // the system does for that hit code. The system bar would hand the press
    // to its parent, which need not be that window (a page, a panel).
    case WM_NCHITTEST:
        if (!OverSizeGrip(Message.LParam)) break;
        Message.Result = SizedWindow() != nullptr ? HTBOTTOMRIGHT : HTCLIENT;
        return;
    case WM_NCLBUTTONDOWN:
        if (Message.WParam != HTBOTTOMRIGHT) break;
        Message.Result = 0;
        // The size loop is modal: the bar may be gone when it returns.
        if (const HWND root = SizedWindow())
            ::SendMessageW(root, WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOMRIGHT, Message.LParam);
        return;
    default:
        break;
    }
    TWinControl::WndProc(Message);
}

// --- range controls

const TEnumInfo kRangeOrientationInfo("TRangeOrientation", {"roHorizontal", "roVertical"});

const TClassInfo& TRangeControl::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TRangeControl>("TRangeControl", TWinControl::StaticClassInfo())
                                       .Integer("Min", &TRangeControl::Min, &TRangeControl::SetMin)
                                       .Integer("Max", &TRangeControl::Max, &TRangeControl::SetMax)
                                       .Integer("Position", &TRangeControl::Position, &TRangeControl::SetPosition)
                                       .Enumeration("Orientation", kRangeOrientationInfo, &TRangeControl::Orientation,
                                                    &TRangeControl::SetOrientation)
                                       .Build();
    return info;
}

TRangeControl::TRangeControl(TComponent* AOwner, int32_t AMax) : TWinControl(AOwner), FMax(AMax) {}

void TRangeControl::SetRange(int32_t AMin, int32_t AMax)
{
    FMin = AMin;
    FMax = AMax;
    if (HandleAllocated()) SendRange(WindowHandle());
}

int32_t TRangeControl::Position() const
{
    return HandleAllocated() ? ReadPosition(WindowHandle()) : FPosition;
}

void TRangeControl::SetPosition(int32_t value)
{
    FPosition = value;
    if (HandleAllocated()) SendPosition(WindowHandle(), value);
}

void TRangeControl::CreateWnd()
{
    TWinControl::CreateWnd();
    SendRange(WindowHandle());
    SendPosition(WindowHandle(), FPosition);
}

#define RANGE_CLASS_INFO(Class)                                                                           \
    const TClassInfo& Class::StaticClassInfo()                                                           \
    {                                                                                                     \
        static const TClassInfo info =                                                                    \
            TClassBuilder<Class>(#Class, TRangeControl::StaticClassInfo()).Creatable().Build();         \
        return info;                                                                                      \
    }
RANGE_CLASS_INFO(TTrackBar)
RANGE_CLASS_INFO(TUpDown)
RANGE_CLASS_INFO(TProgressBar)
#undef RANGE_CLASS_INFO

TTrackBar::TTrackBar(TComponent* AOwner) : TRangeControl(AOwner, 10)
{
    SetTabStop(true);
    SetBounds(0, 0, 150, 45);
}

void TTrackBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.SysClassName = TRACKBAR_CLASSW;
    Params.Style |= TBS_AUTOTICKS | (Orientation() == TRangeOrientation::roVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::SendRange(HWND Window) const
{
    SendMessageW(Window, TBM_SETRANGEMIN, FALSE, Min());
    SendMessageW(Window, TBM_SETRANGEMAX, TRUE, Max());
}

void TTrackBar::SendPosition(HWND Window, int32_t Value) const
{
    SendMessageW(Window, TBM_SETPOS, TRUE, Value);
}

int32_t TTrackBar::ReadPosition(HWND Window) const
{
    return static_cast<int32_t>(SendMessageW(Window, TBM_GETPOS, 0, 0));
}

TUpDown::TUpDown(TComponent* AOwner) : TRangeControl(AOwner, 100)
{
    SetBounds(0, 0, 17, 25);
}

void TUpDown::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.SysClassName = UPDOWN_CLASSW;
    if (Orientation() == TRangeOrientation::roHorizontal && Width() > Height()) Params.Style |= UDS_HORZ;
}

void TUpDown::SendRange(HWND Window) const
{
    SendMessageW(Window, UDM_SETRANGE32, static_cast<WPARAM>(Min()), Max());
}

void TUpDown::SendPosition(HWND Window, int32_t Value) const
{
    SendMessageW(Window, UDM_SETPOS32, 0, Value);
}

int32_t TUpDown::ReadPosition(HWND Window) const
{
    return static_cast<int32_t>(SendMessageW(Window, UDM_GETPOS32, 0, 0));
}

TProgressBar::TProgressBar(TComponent* AOwner) : TRangeControl(AOwner, 100)
{
    SetBounds(0, 0, 150, 16);
}

void TProgressBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.SysClassName = PROGRESS_CLASSW;
    if (Orientation() == TRangeOrientation::roVertical) Params.Style |= PBS_VERTICAL;
}

void TProgressBar::SendRange(HWND Window) const
{
    SendMessageW(Window, PBM_SETRANGE32, static_cast<WPARAM>(Min()), Max());
}

void TProgressBar::SendPosition(HWND Window, int32_t Value) const
{
    SendMessageW(Window, PBM_SETPOS, static_cast<WPARAM>(Value), 0);
}

int32_t TProgressBar::ReadPosition(HWND Window) const
{
    return static_cast<int32_t>(SendMessageW(Window, PBM_GETPOS, 0, 0));
}

// --- TDateTimePicker

const TClassInfo& TDateTimePicker::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TDateTimePicker>("TDateTimePicker", TWinControl::StaticClassInfo()).Creatable().Build();
    return info;
}

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner)
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 186, 21);
}

void TDateTimePicker::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.SysClassName = DATETIMEPICK_CLASSW;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void RegisterComControls()
{
    for (const TClassInfo* cls : {&TPageControl::StaticClassInfo(), &TTabSheet::StaticClassInfo(),
                                  &TStatusBar::StaticClassInfo(), &TTrackBar::StaticClassInfo(),
                                  &TUpDown::StaticClassInfo(), &TProgressBar::StaticClassInfo(),
                                  &TDateTimePicker::StaticClassInfo()})
        RegisterComponentClass(*cls);
}
