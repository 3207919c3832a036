// The item tree and its HMENUs, the menus, shortcut texts and the owner-window
// side of menu messages.
#include "Menus.h"

#include "Controls.h"
#include "Handles.h"
#include "ImgList.h"
#include "Text.h"
#include "UtilWindow.h"
#include "classlib/portable/MenuChar.h"
#include "classlib/portable/SysUtils.h"
#include "classlib/portable/TypInfo.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// Command identifiers in use, by identifier. The lowest free one is taken, so
// they stay small and below the system commands (0xF000 and up). Made on
// first use, so that items made before this file's statics find it.
std::vector<bool>& Commands()
{
    static std::vector<bool> used(1, true);  // 0 is never given out
    return used;
}
constexpr UINT kMaxCommand = 0xEFFF;

std::optional<LOGFONTW> gMenuFont;
std::unique_ptr<TFont> gMenuFontObject;

UINT AllocateCommand()
{
    std::vector<bool>& used = Commands();
    const auto it = std::find(used.begin(), used.end(), false);
    const auto id = static_cast<UINT>(it - used.begin());
    if (id > kMaxCommand) throw EOutOfResources("no menu command identifier left", 0);
    if (it == used.end()) used.push_back(true);
    else *it = true;
    return id;
}

void FreeCommand(UINT Id) noexcept
{
    std::vector<bool>& used = Commands();
    if (Id < used.size()) used[Id] = false;
}

// The canvas font for an item's text, grey for a disabled item and bold for
// the default one, put back afterwards.
class TItemFont {
public:
    TItemFont(TCanvas& Canvas, bool Enabled, bool Bold) : FFont(*Canvas.Font())
    {
        FSaved.Assign(FFont);
        if (!Enabled) FFont.SetColor(SystemColor(COLOR_GRAYTEXT));
        LOGFONTW font{};
        if (Bold && GetObjectW(FFont.Handle(), sizeof font, &font) == sizeof font) {
            font.lfWeight = FW_BOLD;
            FFont.AssignLogFont(font);
        }
    }
    ~TItemFont() { FFont.Assign(FSaved); }
    TItemFont(const TItemFont&) = delete;
    TItemFont& operator=(const TItemFont&) = delete;

private:
    TFont& FFont;
    TFont FSaved;
};

// The system's upper case of one character, for any script.
wchar_t SystemUpper(wchar_t c)
{
    return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(c))));
}

constexpr int kGlyphSize = 16;
constexpr int kTextGap = 4;        // between glyph column, caption and shortcut
constexpr int kShortCutGap = 16;   // least room between caption and shortcut
constexpr int kSeparatorHeight = 8;

} // namespace

// --- shortcuts

TShortCut ShortCut(uint8_t Key, uint32_t Shift) noexcept
{
    TShortCut s = Key;
    if (Shift & ssShift) s |= scShift;
    if (Shift & ssCtrl) s |= scCtrl;
    if (Shift & ssAlt) s |= scAlt;
    return s;
}

std::string ShortCutToText(TShortCut Value)
{
    static const struct {
        uint8_t Key;
        const char* Name;
    } kNames[] = {
        {VK_BACK, "BkSp"},   {VK_TAB, "Tab"},     {VK_ESCAPE, "Esc"},  {VK_RETURN, "Enter"},  {VK_SPACE, "Space"},
        {VK_PRIOR, "PgUp"},  {VK_NEXT, "PgDn"},   {VK_END, "End"},     {VK_HOME, "Home"},     {VK_LEFT, "Left"},
        {VK_UP, "Up"},       {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},   {VK_INSERT, "Ins"},    {VK_DELETE, "Del"},
    };
    const uint8_t key = static_cast<uint8_t>(Value & 0xFF);
    std::string name;
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        name = static_cast<char>(key);
    } else if (key >= VK_F1 && key <= VK_F24) {
        name = "F" + std::to_string(key - VK_F1 + 1);
    } else {
        for (const auto& n : kNames)
            if (n.Key == key) name = n.Name;
        if (name.empty() && key != 0) {
            // Other keys (punctuation) by the keyboard layout's own name.
            wchar_t buf[32];
            const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
            if (scan != 0 && GetKeyNameTextW(static_cast<LONG>(scan << 16), buf, 32) > 0) name = WideToText(buf);
        }
    }
    if (name.empty()) return {};
    std::string text;
    if (Value & scShift) text += "Shift+";
    if (Value & scCtrl) text += "Ctrl+";
    if (Value & scAlt) text += "Alt+";
    return text + name;
}

void AssignMenuFont(TFont& Font)
{
    if (!gMenuFont) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        LOGFONTW font{};
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) font = metrics.lfMenuFont;
        else if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font) != sizeof font) return;
        gMenuFont = font;
    }
    Font.AssignLogFont(*gMenuFont);
}

HFONT MenuFontHandle()
{
    if (!gMenuFontObject) {
        auto font = std::make_unique<TFont>();
        AssignMenuFont(*font);
        gMenuFontObject = std::move(font);
    }
    return gMenuFontObject->Handle();
}

void MenuMetricsChanged() noexcept
{
    gMenuFont.reset();
    gMenuFontObject.reset();
}

bool IsAccel(wchar_t Char, std::string_view Caption)
{
    return IsAccel(Char, std::wstring_view(TextToWide(Caption)));
}

bool IsAccel(wchar_t Char, std::wstring_view Caption)
{
    const wchar_t mnemonic = MenuMnemonic(Caption);
    return mnemonic != 0 && SystemUpper(mnemonic) == SystemUpper(Char);
}

LRESULT MenuCharResult(wchar_t Char, HMENU Menu, const std::function<std::wstring(UINT Position)>& TextAt)
{
    const int count = GetMenuItemCount(Menu);
    if (count <= 0) return 0;
    std::vector<std::wstring> texts(static_cast<size_t>(count));
    std::vector<TMenuCharEntry> entries(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        if (!GetMenuItemInfoW(Menu, static_cast<UINT>(i), TRUE, &info)) continue;
        const auto at = static_cast<size_t>(i);
        if (!(info.fType & MFT_SEPARATOR)) texts[at] = TextAt(static_cast<UINT>(i));
        entries[at] = {texts[at], (info.fState & MFS_GRAYED) == 0, (info.fState & MFS_HILITE) != 0};
    }
    const TMenuCharMatch match = MatchMenuChar(Char, entries, SystemUpper);
    if (match.Action == TMenuCharAction::mcIgnore) return 0;
    if (match.Action == TMenuCharAction::mcExecute) return MAKELRESULT(match.Position, MNC_EXECUTE);
    // Wine's menu loop acts on MNC_EXECUTE and MNC_CLOSE only: the highlight
    // is moved here as well (Windows then selects the same item again).
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (GetGUIThreadInfo(GetCurrentThreadId(), &thread) && thread.hwndMenuOwner != nullptr)
        HiliteMenuItem(thread.hwndMenuOwner, Menu, static_cast<UINT>(match.Position), MF_BYPOSITION | MF_HILITE);
    return MAKELRESULT(match.Position, MNC_SELECT);
}

// --- items

const TClassInfo& TMenuItem::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TMenuItem>("TMenuItem", TComponent::StaticClassInfo())
                                       .Creatable()
                                       .String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
                                       .Boolean("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
                                       .Boolean("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
                                       .Boolean("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
                                       .Boolean("Default", &TMenuItem::Default, &TMenuItem::SetDefault)
                                       .Integer("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
                                       .Integer("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
                                       .Event("OnClick", &TMenuItem::OnClick)
                                       .Event("OnDrawItem", &TMenuItem::OnDrawItem)
                                       .Event("OnMeasureItem", &TMenuItem::OnMeasureItem)
                                       .Build();
    return info;
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(AllocateCommand()) {}

TMenuItem::~TMenuItem()
{
    // A menu entry the system refuses to change must not end the program here.
    try {
        if (FParent != nullptr) FParent->Remove(this);
    } catch (...) {
        FParent = nullptr;
    }
    // The subitems go without this item's menu being refilled after each one;
    // their entries go first, so that destroying the menu takes no subitem's
    // HMENU along.
    if (FHandle != nullptr) ClearEntries();
    for (TMenuItem* item : std::exchange(FItems, {})) {
        item->FParent = nullptr;
        delete item;
    }
    if (FHandle != nullptr) DestroyMenu(FHandle);
    FreeCommand(FCommand);
}

template <class T>
void TMenuItem::Update(T& Field, const T& Value)
{
    if (Field == Value) return;
    Field = Value;
    Changed();
}

void TMenuItem::SetCaption(const std::string& Value)
{
    Update(FCaption, Value);
}

void TMenuItem::SetEnabled(bool Value)
{
    Update(FEnabled, Value);
}

void TMenuItem::SetVisible(bool Value)
{
    if (Value == FVisible) return;
    FVisible = Value;
    if (FParent != nullptr) FParent->RebuildHandle();
    Changed();
}

void TMenuItem::SetChecked(bool Value)
{
    Update(FChecked, Value);
}

void TMenuItem::SetDefault(bool Value)
{
    Update(FDefault, Value);
}

void TMenuItem::SetShortCut(TShortCut Value)
{
    Update(FShortCut, Value);
}

void TMenuItem::SetImageIndex(int Value)
{
    Update(FImageIndex, Value);
}

int TMenuItem::IndexOf(const TMenuItem* Item) const noexcept
{
    const auto it = std::find(FItems.begin(), FItems.end(), Item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* Item)
{
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (Item == nullptr) throw EInvalidOperation("no menu item to insert");
    if (Item->FParent != nullptr) throw EInvalidOperation("menu item " + Item->Name() + " already has a parent");
    for (const TMenuItem* p = this; p != nullptr; p = p->FParent)
        if (p == Item) throw EInvalidOperation("menu item " + Item->Name() + " cannot hold itself");
    if (Index < 0 || Index > Count()) throw ERangeError("menu item index out of range");
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    RebuildHandle();
    // The first subitem turns this entry into a submenu.
    Changed();
}

void TMenuItem::Remove(TMenuItem* Item)
{
    const int index = IndexOf(Item);
    if (index < 0) return;
    FItems.erase(FItems.begin() + index);
    Item->FParent = nullptr;
    if (FItems.empty() && FHandle != nullptr && FMenu == nullptr) {
        // A plain item again: its entry loses the submenu first, so that
        // destroying the empty submenu leaves nothing dangling.
        UpdateEntry();
        DestroyMenu(std::exchange(FHandle, nullptr));
    }
    RebuildHandle();
    Changed();
}

TMenu* TMenuItem::GetParentMenu() const noexcept
{
    const TMenuItem* root = this;
    while (root->FParent != nullptr) root = root->FParent;
    return root->FMenu;
}

void TMenuItem::SetParentComponent(TComponent* AParent)
{
    if (auto* menu = dynamic_cast<TMenu*>(AParent)) menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(AParent)) item->Add(this);
    else if (AParent != nullptr) throw EInvalidOperation("a menu item belongs in a menu or another menu item");
}

HMENU TMenuItem::Handle()
{
    if (FHandle == nullptr && (FMenu != nullptr || !FItems.empty())) {
        const bool bar = FMenu != nullptr && dynamic_cast<TMainMenu*>(FMenu) != nullptr;
        FHandle = bar ? CreateMenu() : CreatePopupMenu();
        if (FHandle == nullptr) throw EOutOfResources("cannot create a menu", GetLastError());
        RebuildHandle();
    }
    return FHandle;
}

void TMenuItem::RebuildHandle()
{
    if (FHandle == nullptr) return;
    ClearEntries();
    UINT position = 0;
    for (TMenuItem* item : FItems) {
        if (!item->FVisible) continue;
        MENUITEMINFOW info;
        std::wstring text;
        item->FillEntry(info, text);
        if (!InsertMenuItemW(FHandle, position, TRUE, &info))
            throw EOutOfResources("cannot add the menu item " + item->Name(), GetLastError());
        ++position;
    }
}

void TMenuItem::ClearEntries() noexcept
{
    // RemoveMenu, not DeleteMenu: the subitems' HMENUs stay theirs.
    for (int i = GetMenuItemCount(FHandle); i-- > 0;) RemoveMenu(FHandle, static_cast<UINT>(i), MF_BYPOSITION);
}

void TMenuItem::FillEntry(MENUITEMINFOW& Info, std::wstring& Text)
{
    Info = MENUITEMINFOW{};
    Info.cbSize = sizeof Info;
    Info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    Info.fType = IsLine() ? MFT_SEPARATOR : MFT_STRING;
    if (IsOwnerDrawn()) Info.fType |= MFT_OWNERDRAW;
    if (!FEnabled) Info.fState |= MFS_DISABLED | MFS_GRAYED;
    if (FChecked) Info.fState |= MFS_CHECKED;
    if (FDefault) Info.fState |= MFS_DEFAULT;
    Info.wID = FCommand;
    Info.hSubMenu = FItems.empty() ? nullptr : Handle();
    Text = TextToWide(FCaption);
    if (FShortCut != 0 && !IsLine()) Text += L'\t' + TextToWide(ShortCutToText(FShortCut));
    Info.dwTypeData = Text.data();
    Info.cch = static_cast<UINT>(Text.size());
}

bool TMenuItem::IsOwnerDrawn() const noexcept
{
    const TMenu* menu = GetParentMenu();
    if (menu == nullptr || !menu->FOwnerDraw || FParent == nullptr) return false;
    // The bar's own items stay native: the bar, or a skin, draws them.
    return !(FParent->FMenu != nullptr && dynamic_cast<const TMainMenu*>(menu) != nullptr);
}

int TMenuItem::EntryPosition() const noexcept
{
    if (FParent == nullptr || !FVisible) return -1;
    int position = 0;
    for (const TMenuItem* item : FParent->FItems) {
        if (item == this) return position;
        if (item->FVisible) ++position;
    }
    return -1;
}

void TMenuItem::UpdateEntry()
{
    const int position = EntryPosition();
    if (position < 0 || FParent->FHandle == nullptr) return;
    MENUITEMINFOW info;
    std::wstring text;
    FillEntry(info, text);
    if (!SetMenuItemInfoW(FParent->FHandle, static_cast<UINT>(position), TRUE, &info))
        throw EOutOfResources("cannot change the menu item " + Name(), GetLastError());
}

void TMenuItem::Changed()
{
    UpdateEntry();
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

void TMenuItem::Click()
{
    if (FEnabled && OnClick) OnClick(this);
}

void TMenuItem::DrawItem(TCanvas& ACanvas, const RECT& ARect, bool Selected)
{
    if (OnDrawItem) OnDrawItem(this, ACanvas, ARect, Selected);
    else DefaultDraw(ACanvas, ARect);
}

void TMenuItem::MeasureItem(TCanvas& ACanvas, int& Width, int& Height)
{
    if (IsLine()) {
        Width = 0;
        Height = kSeparatorHeight;
    } else {
        const TItemFont font(ACanvas, true, FDefault);
        const SIZE glyph = GlyphSize();
        RECT text{};
        ACanvas.TextRect(text, FCaption.empty() ? " " : FCaption, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        Width = kTextGap + glyph.cx + kTextGap + (text.right - text.left) + kTextGap;
        if (FShortCut != 0) Width += kShortCutGap + ACanvas.TextWidth(ShortCutToText(FShortCut));
        Height = std::max<int>(text.bottom - text.top, glyph.cy) + 4;
    }
    if (OnMeasureItem) OnMeasureItem(this, ACanvas, Width, Height);
}

const TCustomImageList* TMenuItem::Images() const noexcept
{
    const TMenu* menu = GetParentMenu();
    return menu != nullptr ? menu->Images() : nullptr;
}

SIZE TMenuItem::GlyphSize() const noexcept
{
    const TCustomImageList* images = Images();
    if (images == nullptr) return {kGlyphSize, kGlyphSize};
    return {std::max(images->Width(), kGlyphSize), std::max(images->Height(), kGlyphSize)};
}

void TMenuItem::DefaultDraw(TCanvas& ACanvas, const RECT& ARect)
{
    ACanvas.FillRect(ARect);
    const HDC dc = ACanvas.Handle();
    if (IsLine()) {
        RECT line = ARect;
        line.top += (ARect.bottom - ARect.top) / 2 - 1;
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const TCustomImageList* images = Images();
    const int glyphLeft = ARect.left + kTextGap;
    const int middle = (ARect.top + ARect.bottom) / 2;
    if (images != nullptr && FImageIndex >= 0 && FImageIndex < images->Count()) {
        images->Draw(ACanvas, glyphLeft, middle - images->Height() / 2, FImageIndex, FEnabled);
    } else if (FChecked) {
        RECT box{glyphLeft, middle - kGlyphSize / 2, glyphLeft + kGlyphSize, middle + kGlyphSize / 2};
        DrawFrameControl(dc, &box, DFC_MENU, DFCS_MENUCHECK);
    }
    const TItemFont font(ACanvas, FEnabled, FDefault);
    const TBrushStyle brush = ACanvas.BrushStyle();
    ACanvas.SetBrushStyle(TBrushStyle::bsClear);
    RECT text{glyphLeft + GlyphSize().cx + kTextGap, ARect.top, ARect.right - kTextGap, ARect.bottom};
    ACanvas.TextRect(text, FCaption, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
    if (FShortCut != 0) ACanvas.TextRect(text, ShortCutToText(FShortCut), DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    ACanvas.SetBrushStyle(brush);
}

// --- menus

const TClassInfo& TMenu::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TMenu>("TMenu", TComponent::StaticClassInfo())
                                       .Boolean("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
                                       .Component<TCustomImageList>("Images", &TMenu::Images, &TMenu::SetImages)
                                       .Build();
    return info;
}

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr))
{
    FItems->FMenu = this;
}

TMenu::~TMenu()
{
    // The subitems are owned by the form; they leave the tree as it goes,
    // without telling a menu that is half gone.
    FItems->FMenu = nullptr;
    FItems.reset();
}

void TMenu::SetOwnerDraw(bool Value)
{
    if (Value == FOwnerDraw) return;
    FOwnerDraw = Value;
    // Every entry changes its type.
    auto update = [](auto& self, TMenuItem& item) -> void {
        item.RebuildHandle();
        for (TMenuItem* sub : item.FItems) self(self, *sub);
    };
    update(update, *FItems);
    MenuChanged();
}

void TMenu::SetImages(TCustomImageList* Value)
{
    if (Value == FImages) return;
    if (FImages != nullptr) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages != nullptr) FImages->FreeNotification(this);
    MenuChanged();
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FImages) {
        FImages = nullptr;
        MenuChanged();
    }
}

TMenuItem* TMenu::FindItem(UINT_PTR Value, TFindItemKind Kind) const
{
    auto find = [&](auto& self, TMenuItem* item) -> TMenuItem* {
        const bool match = Kind == TFindItemKind::fkCommand ? item->FCommand == Value && item != FItems.get()
                                                            : item->FHandle != nullptr &&
                                                                  reinterpret_cast<UINT_PTR>(item->FHandle) == Value;
        if (match) return item;
        for (TMenuItem* sub : item->FItems)
            if (TMenuItem* found = self(self, sub)) return found;
        return nullptr;
    };
    if (Value == 0) return nullptr;
    return find(find, FItems.get());
}

bool TMenu::DispatchCommand(UINT Command)
{
    TMenuItem* item = FindItem(Command, TFindItemKind::fkCommand);
    if (item == nullptr) return false;
    item->Click();
    return true;
}

bool TMenu::DispatchDrawItem(const DRAWITEMSTRUCT& Draw)
{
    if (Draw.CtlType != ODT_MENU) return false;
    TMenuItem* item = FindItem(Draw.itemID, TFindItemKind::fkCommand);
    if (item == nullptr) return false;
    const bool selected = (Draw.itemState & ODS_SELECTED) != 0;
    TCanvas canvas;
    canvas.SetHandle(Draw.hDC);
    AssignMenuFont(*canvas.Font());
    canvas.Font()->SetColor(SystemColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    canvas.SetBrushColor(SystemColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    item->DrawItem(canvas, Draw.rcItem, selected);
    return true;
}

bool TMenu::DispatchMenuChar(wchar_t Char, HMENU Menu, LRESULT& Result) const
{
    const TMenuItem* parent = FindItem(reinterpret_cast<UINT_PTR>(Menu), TFindItemKind::fkHandle);
    if (parent == nullptr) return false;
    std::vector<const TMenuItem*> shown;
    for (const TMenuItem* item : parent->FItems)
        if (item->FVisible) shown.push_back(item);
    const LRESULT answer = MenuCharResult(Char, Menu, [&](UINT Position) {
        return Position < shown.size() ? TextToWide(shown[Position]->FCaption) : std::wstring();
    });
    if (HIWORD(answer) == MNC_IGNORE) return false;
    Result = answer;
    return true;
}

bool TMenu::DispatchMeasureItem(MEASUREITEMSTRUCT& Measure)
{
    if (Measure.CtlType != ODT_MENU) return false;
    TMenuItem* item = FindItem(Measure.itemID, TFindItemKind::fkCommand);
    if (item == nullptr) return false;
    // No DC comes with the message: measure on the screen's.
    const TWindowDC screen(nullptr, GetDC(nullptr));
    if (screen.Get() == nullptr) return false;
    int width = 0, height = 0;
    {
        TCanvas canvas;
        canvas.SetHandle(screen.Get());
        AssignMenuFont(*canvas.Font());
        item->MeasureItem(canvas, width, height);
    }
    Measure.itemWidth = static_cast<UINT>(std::max(width, 0));
    Measure.itemHeight = static_cast<UINT>(std::max(height, 0));
    return true;
}

// --- main menu

const TClassInfo& TMainMenu::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TMainMenu>("TMainMenu", TMenu::StaticClassInfo()).Creatable().Build();
    return info;
}

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}

TMainMenu::~TMainMenu()
{
    if (FWindowHandle != nullptr && Items()->HasHandle() && GetMenu(FWindowHandle) == Items()->Handle())
        ::SetMenu(FWindowHandle, nullptr);
}

void TMainMenu::MenuChanged()
{
    // Sent, not performed: a skin that took over the window must see it.
    if (FWindowHandle != nullptr && !InState(csLoading) && IsWindow(FWindowHandle))
        SendMessageW(FWindowHandle, CM_MENUCHANGED, 0, 0);
}

// --- popup menu

const TClassInfo& TPopupMenu::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TPopupMenu>("TPopupMenu", TMenu::StaticClassInfo()).Creatable().Build();
    return info;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu()
{
    DeallocateHWnd(FWindow);
}

HWND TPopupMenu::WindowHandle()
{
    if (FWindow == nullptr) FWindow = AllocateHWnd([this](TMessage& m) { WndProc(m); }, TUtilWindowKind::ukTopLevel);
    return FWindow;
}

void TPopupMenu::Popup(int X, int Y)
{
    const HWND owner = WindowHandle();
    // A menu shown while none of this thread's windows is in front (from a
    // notification icon, say) would not close on a click outside it: its
    // owner comes to the front first. Otherwise the active form stays active.
    const HWND front = ::GetForegroundWindow();
    if (front == nullptr || ::GetWindowThreadProcessId(front, nullptr) != ::GetCurrentThreadId())
        (void)::SetForegroundWindow(owner);
    if (const auto* control = dynamic_cast<TWinControl*>(Owner()); control != nullptr && control->HandleAllocated())
        ::SendMessageW(::GetAncestor(control->WindowHandle(), GA_ROOT), CM_POPUPSHOWING, 0, reinterpret_cast<LPARAM>(this));
    // A menu that cannot be shown (another one is being tracked) is no error:
    // nothing was chosen, as when the user dismisses it.
    (void)TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, X, Y, 0, owner, nullptr);
    // The next menu from the same place then opens at the first click too.
    (void)::PostMessageW(owner, WM_NULL, 0, 0);
}

void TPopupMenu::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_COMMAND:
        // Menus send a zero notification code and no control.
        if (HIWORD(Message.WParam) == 0 && Message.LParam == 0 && DispatchCommand(LOWORD(Message.WParam))) return;
        break;
    case WM_DRAWITEM:
        if (Message.LParam != 0 && DispatchDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam))) {
            Message.Result = TRUE;
            return;
        }
        break;
    case WM_MEASUREITEM:
        if (Message.LParam != 0 && DispatchMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam))) {
            Message.Result = TRUE;
            return;
        }
        break;
    case WM_MENUCHAR:
        if (DispatchMenuChar(LOWORD(Message.WParam), reinterpret_cast<HMENU>(Message.LParam), Message.Result)) return;
        break;
    case WM_SETTINGCHANGE:
        MenuMetricsChanged();
        break;
    default:
        break;
    }
    Message.Result = DefWindowProcW(FWindow, Message.Msg, Message.WParam, Message.LParam);
}

void RegisterMenus()
{
    RegisterComponentClass(TMainMenu::StaticClassInfo());
    RegisterComponentClass(TPopupMenu::StaticClassInfo());
    RegisterComponentClass(TMenuItem::StaticClassInfo());
}
