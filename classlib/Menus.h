// Menus of the class library: TMenuItem (a tree of items), TMenu with its two
// kinds TMainMenu (a form's menu bar) and TPopupMenu, shortcuts and their text.
// A menu keeps one HMENU for its life, and so does each item while it has
// subitems; changes reach them in place, and invisible items have no entry.
// Command identifiers are unique in the process, so any menu's FindItem by
// command is unambiguous. GUI thread only.
#pragma once

#include "Canvas.h"
#include "Messages.h"
#include "classlib/portable/Classes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TCustomImageList;
class TMenu;

// A key and its modifiers in one word: the virtual-key code in the low byte.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
// Shift is a TShiftState (Controls.h): ssShift, ssCtrl and ssAlt count.
TShortCut ShortCut(uint8_t Key, uint32_t Shift) noexcept;
// "Ctrl+S", "Alt+F4", "Shift+Del"; empty for 0 and for a key without a name.
std::string ShortCutToText(TShortCut Value);

// The screen's menu font (the system's non-client metrics), read once and
// again after MenuMetricsChanged: reading costs a registry look-up, too much
// for every item drawn. Windows that own menus call it on WM_SETTINGCHANGE.
void AssignMenuFont(TFont& Font);
// The same font as a GDI font, made once for every drawing that selects it
// (owned here: never deleted by the caller; null when it cannot be made).
HFONT MenuFontHandle();
void MenuMetricsChanged() noexcept;

// Whether Caption (8-bit GB2312, or UTF-16) marks Char as its accelerator:
// the character after a single "&" ("&&" is a plain "&"), compared without
// regard to case.
bool IsAccel(wchar_t Char, std::string_view Caption);
bool IsAccel(wchar_t Char, std::wstring_view Caption);

// WM_MENUCHAR's answer for Char in the open menu Menu (MatchMenuChar, with
// the items' states and highlight read from Menu and the system's upper
// case): MNC_EXECUTE or MNC_SELECT with the position, or 0 (MNC_IGNORE).
// TextAt gives the text of the item at a position, owner-drawn ones included.
LRESULT MenuCharResult(wchar_t Char, HMENU Menu, const std::function<std::wstring(UINT Position)>& TextAt);

// ARect and the canvas are those of the item's own WM_DRAWITEM; the canvas
// starts with the menu font, the text colour and the brush colour of the
// item's state (highlight colours when Selected).
using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas& ACanvas, const RECT& ARect, bool Selected)>;
// Width and Height hold the class library's own measurement on entry.
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas& ACanvas, int& Width, int& Height)>;

enum class TFindItemKind { fkCommand, fkHandle };

class TMenuItem : public TComponent {
public:
    DECLARE_CLASS_INFO()

    explicit TMenuItem(TComponent* AOwner);
    // Leaves its parent and frees its subitems.
    ~TMenuItem() override;

    // 8-bit GB2312; "&" marks the accelerator, "-" makes a separator.
    const std::string& Caption() const noexcept { return FCaption; }
    void SetCaption(const std::string& Value);
    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool Value);
    // An invisible item has no entry in its parent's HMENU.
    bool Visible() const noexcept { return FVisible; }
    void SetVisible(bool Value);
    bool Checked() const noexcept { return FChecked; }
    void SetChecked(bool Value);
    // Shown bold; at most one per menu level is meant to have it.
    bool Default() const noexcept { return FDefault; }
    void SetDefault(bool Value);
    TShortCut ShortCut() const noexcept { return FShortCut; }
    void SetShortCut(TShortCut Value);
    // Index into the menu's Images; -1 for none.
    int ImageIndex() const noexcept { return FImageIndex; }
    void SetImageIndex(int Value);
    bool IsLine() const noexcept { return FCaption == "-"; }

    // The identifier of the item's WM_COMMAND and of its menu entry.
    UINT Command() const noexcept { return FCommand; }
    // The item's own HMENU, made on first use: the submenu of an item with
    // subitems (destroyed when its last subitem goes), the menu itself for a
    // menu's Items. Null for a plain item.
    HMENU Handle();
    bool HasHandle() const noexcept { return FHandle != nullptr; }

    int Count() const noexcept { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
    int IndexOf(const TMenuItem* Item) const noexcept;
    TMenuItem* Parent() const noexcept { return FParent; }
    // Appends or inserts an item that has no parent yet (EInvalidOperation
    // otherwise, also for an item that would become its own ancestor).
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Takes the item out (it is not freed).
    void Remove(TMenuItem* Item);
    // The menu whose tree holds this item, or null.
    TMenu* GetParentMenu() const noexcept;

    // Runs OnClick; nothing for a disabled item.
    virtual void Click();
    // OnDrawItem when assigned, else the class library's own drawing.
    void DrawItem(TCanvas& ACanvas, const RECT& ARect, bool Selected);
    // The class library's measurement, then OnMeasureItem to adjust it.
    void MeasureItem(TCanvas& ACanvas, int& Width, int& Height);

    // Descriptions nest items inside a menu or another item.
    void SetParentComponent(TComponent* AParent) override;

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

private:
    friend class TMenu;

    // Brings this item's entry in its parent's HMENU up to date, then tells
    // the menu.
    void Changed();
    // Field := Value and Changed, when it differs.
    template <class T>
    void Update(T& Field, const T& Value);
    // Refills this item's HMENU from its visible subitems.
    void RebuildHandle();
    void ClearEntries() noexcept;
    void UpdateEntry();
    void FillEntry(MENUITEMINFOW& Info, std::wstring& Text);
    bool IsOwnerDrawn() const noexcept;
    // Position of the entry among the parent's visible items, or -1.
    int EntryPosition() const noexcept;
    void DefaultDraw(TCanvas& ACanvas, const RECT& ARect);
    const TCustomImageList* Images() const noexcept;
    // The glyph column: the image size, at least 16 x 16.
    SIZE GlyphSize() const noexcept;

    std::string FCaption;
    bool FEnabled = true;
    bool FVisible = true;
    bool FChecked = false;
    bool FDefault = false;
    TShortCut FShortCut = 0;
    int FImageIndex = -1;
    UINT FCommand = 0;
    HMENU FHandle = nullptr;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;  // set on a menu's Items only
    std::vector<TMenuItem*> FItems;
};

class TMenu : public TComponent {
public:
    DECLARE_CLASS_INFO()

    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    // The root item; its subitems are the menu's entries.
    TMenuItem* Items() const noexcept { return FItems.get(); }
    // The menu's HMENU, one for the menu's life.
    HMENU Handle() { return FItems->Handle(); }

    // Every item is drawn and measured through DrawItem and MeasureItem
    // (the top-level items of a TMainMenu stay native: the bar draws them).
    bool OwnerDraw() const noexcept { return FOwnerDraw; }
    void SetOwnerDraw(bool Value);
    // Not owned; cleared when the image list is freed.
    TCustomImageList* Images() const noexcept { return FImages; }
    void SetImages(TCustomImageList* Value);

    // The item with that command, or whose HMENU that is (Items() too);
    // null when none matches.
    TMenuItem* FindItem(UINT_PTR Value, TFindItemKind Kind) const;
    // The owner window's side of the menu's messages: true when an item of
    // this menu took it. WM_COMMAND runs the item's Click.
    bool DispatchCommand(UINT Command);
    bool DispatchDrawItem(const DRAWITEMSTRUCT& Draw);
    bool DispatchMeasureItem(MEASUREITEMSTRUCT& Measure);
    // WM_MENUCHAR: the system matches no accelerator of owner-drawn entries,
    // so Menu's entries are matched here by their captions (MenuCharResult);
    // false when Char chooses none.
    bool DispatchMenuChar(wchar_t Char, HMENU Menu, LRESULT& Result) const;

protected:
    // An item, the items' order or the menu's look changed.
    virtual void MenuChanged() {}
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TMenuItem;
    std::unique_ptr<TMenuItem> FItems;
    bool FOwnerDraw = false;
    TCustomImageList* FImages = nullptr;
};

// A form's menu bar. The form (its Menu property) tells it its window; every
// change of the items then sends CM_MENUCHANGED to that window, whose default
// handling puts the menu back into the window if needed and redraws the bar.
class TMainMenu : public TMenu {
public:
    DECLARE_CLASS_INFO()
    explicit TMainMenu(TComponent* AOwner);
    // Takes the HMENU out of the window first, so the window never holds a
    // destroyed menu.
    ~TMainMenu() override;

    HWND WindowHandle() const noexcept { return FWindowHandle; }
    void SetWindowHandle(HWND Value) noexcept { FWindowHandle = Value; }

protected:
    void MenuChanged() override;

private:
    HWND FWindowHandle = nullptr;
};

// A menu shown at a screen point. Its owner window, a hidden utility window
// made on the first Popup, routes WM_MEASUREITEM, WM_DRAWITEM, WM_MENUCHAR
// and WM_COMMAND to the items.
class TPopupMenu : public TMenu {
public:
    DECLARE_CLASS_INFO()
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    // Shows the menu at screen point (X, Y) and returns when it closes; the
    // chosen item's Click follows from the posted WM_COMMAND.
    virtual void Popup(int X, int Y);
    // The utility window (made here when there is none yet).
    HWND WindowHandle();

private:
    void WndProc(TMessage& Message);

    HWND FWindow = nullptr;
};

// Registers the menu classes for stored descriptions.
void RegisterMenus();
