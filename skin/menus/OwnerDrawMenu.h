// Owner-drawn menus for the skin: TOwnerDrawMenu makes the items of a
// window's menu owner-drawn while the skin shows it and gives each item its
// own type and data back afterwards (its text never leaves it);
// TSkinPopupMenu is a menu of the skin's own (the system menu's copy),
// owner-drawn from the start. Each
// item's data points to its record here, found again by identity, never by
// dereferencing what a message carries.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

struct TOwnedMenuItem {
    HMENU Menu = nullptr;
    UINT Id = 0;
    HMENU SubMenu = nullptr;
    UINT Type = 0;           // the item's own type, given back
    ULONG_PTR Data = 0;      // the item's own data, given back
    std::wstring Text;       // string items only
    int ImageIndex = -1;
    bool Default = false;    // the menu's default item, drawn bold
    bool Separator() const noexcept { return (Type & MFT_SEPARATOR) != 0; }
};

// The items of a menu that records lists: the record of an item's data, or null.
class TOwnedItems {
public:
    const TOwnedMenuItem* Find(ULONG_PTR ItemData) const;
    // The record of the item at Position of Menu, or null.
    const TOwnedMenuItem* ItemAt(HMENU Menu, UINT Position) const;
    // Whether an item of Menu is recorded here.
    bool Holds(HMENU Menu) const;
    bool Empty() const noexcept { return FItems.empty(); }

protected:
    std::vector<std::unique_ptr<TOwnedMenuItem>> FItems;
};

class TOwnerDrawMenu : public TOwnedItems {
public:
    TOwnerDrawMenu() = default;
    ~TOwnerDrawMenu() { Restore(); }
    TOwnerDrawMenu(const TOwnerDrawMenu&) = delete;
    TOwnerDrawMenu& operator=(const TOwnerDrawMenu&) = delete;

    // Menu's string and separator items, and those of its submenus, become
    // owner-drawn; items the application draws itself are left alone.
    void Take(HMENU Menu);
    // Every item taken that is still there gets its own data back and loses
    // the owner-drawn type; found by identity, so items changed meanwhile are safe.
    void Restore();
};

class TSkinPopupMenu : public TOwnedItems {
public:
    TSkinPopupMenu();
    ~TSkinPopupMenu();
    TSkinPopupMenu(const TSkinPopupMenu&) = delete;
    TSkinPopupMenu& operator=(const TSkinPopupMenu&) = delete;

    HMENU Handle() const noexcept { return FMenu; }
    // Appends an owner-drawn item (Text empty or "-": a separator) to the
    // menu, or to To, one of its submenus.
    bool Add(UINT Id, const std::wstring& Text, bool Enabled, bool Checked, int ImageIndex, HMENU To = nullptr);
    // Appends an owner-drawn item that opens a new, empty submenu, and returns
    // that submenu (freed with the menu); null when it cannot be made.
    HMENU AddSubMenu(const std::wstring& Text, bool Enabled, HMENU To = nullptr);

private:
    HMENU FMenu;
};

// An item's text by position (cbSize set, cch reset for each call); empty
// for items that are not strings.
std::wstring MenuItemText(HMENU Menu, UINT Position);
