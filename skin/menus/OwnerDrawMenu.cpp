// Owner-drawn menus and their item records.
#include "skin/menus/OwnerDrawMenu.h"

#include <algorithm>

const TOwnedMenuItem* TOwnedItems::Find(ULONG_PTR ItemData) const
{
    const auto it = std::find_if(FItems.begin(), FItems.end(), [ItemData](const auto& Item) {
        return reinterpret_cast<ULONG_PTR>(Item.get()) == ItemData;
    });
    return it != FItems.end() ? it->get() : nullptr;
}

const TOwnedMenuItem* TOwnedItems::ItemAt(HMENU Menu, UINT Position) const
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    if (!::GetMenuItemInfoW(Menu, Position, TRUE, &info)) return nullptr;
    const TOwnedMenuItem* item = Find(info.dwItemData);
    return item != nullptr && item->Menu == Menu ? item : nullptr;
}

bool TOwnedItems::Holds(HMENU Menu) const
{
    return Menu != nullptr &&
           std::any_of(FItems.begin(), FItems.end(), [Menu](const auto& Item) { return Item->Menu == Menu; });
}

std::wstring MenuItemText(HMENU Menu, UINT Position)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = nullptr;
    info.cch = 0;
    if (!::GetMenuItemInfoW(Menu, Position, TRUE, &info)) return {};
    if (info.fType & (MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW)) return {};
    std::wstring text(info.cch + 1, L'\0');
    info.fMask = MIIM_STRING;
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    if (!::GetMenuItemInfoW(Menu, Position, TRUE, &info)) return {};
    text.resize(std::min<size_t>(info.cch, text.size() - 1));
    return text;
}

void TOwnerDrawMenu::Take(HMENU Menu)
{
    const int count = ::GetMenuItemCount(Menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_SUBMENU | MIIM_STATE;
        if (!::GetMenuItemInfoW(Menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.hSubMenu != nullptr) Take(info.hSubMenu);
        if (info.fType & (MFT_OWNERDRAW | MFT_BITMAP)) continue;
        auto item = std::make_unique<TOwnedMenuItem>();
        item->Menu = Menu;
        item->Id = info.wID;
        item->Default = (info.fState & MFS_DEFAULT) != 0;
        item->SubMenu = info.hSubMenu;
        item->Type = info.fType;
        item->Data = info.dwItemData;
        item->Text = MenuItemText(Menu, static_cast<UINT>(i));
        MENUITEMINFOW set{};
        set.cbSize = sizeof set;
        set.fMask = MIIM_FTYPE | MIIM_DATA;
        set.fType = info.fType | MFT_OWNERDRAW;
        set.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
        if (::SetMenuItemInfoW(Menu, static_cast<UINT>(i), TRUE, &set)) FItems.push_back(std::move(item));
    }
}

void TOwnerDrawMenu::Restore()
{
    // The application may add, remove or rename items while the drop-down is
    // open: each item is found again by its data (its record), never by the
    // position it had, and only the type and data go back so that a text set
    // meanwhile stays.
    std::vector<HMENU> menus;
    for (const auto& item : FItems)
        if (std::find(menus.begin(), menus.end(), item->Menu) == menus.end()) menus.push_back(item->Menu);
    for (HMENU menu : menus) {
        if (!::IsMenu(menu)) continue;
        const int count = ::GetMenuItemCount(menu);
        for (int i = 0; i < count; ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_DATA;
            if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
            const TOwnedMenuItem* item = Find(info.dwItemData);
            if (item == nullptr || item->Menu != menu) continue;
            MENUITEMINFOW set{};
            set.cbSize = sizeof set;
            set.fMask = MIIM_FTYPE | MIIM_DATA;
            set.fType = info.fType & ~static_cast<UINT>(MFT_OWNERDRAW);
            set.dwItemData = item->Data;
            ::SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &set);
        }
    }
    FItems.clear();
}

TSkinPopupMenu::TSkinPopupMenu() : FMenu(::CreatePopupMenu()) {}

TSkinPopupMenu::~TSkinPopupMenu()
{
    if (FMenu != nullptr) ::DestroyMenu(FMenu);
}

bool TSkinPopupMenu::Add(UINT Id, const std::wstring& Text, bool Enabled, bool Checked, int ImageIndex, HMENU To)
{
    const HMENU menu = To != nullptr ? To : FMenu;
    if (menu == nullptr) return false;
    auto item = std::make_unique<TOwnedMenuItem>();
    item->Menu = menu;
    item->Id = Id;
    item->Type = Text.empty() || Text == L"-" ? MFT_SEPARATOR : MFT_STRING;
    item->Text = Text;
    item->ImageIndex = ImageIndex;
    UINT flags = MF_OWNERDRAW | (Enabled ? MF_ENABLED : MF_GRAYED) | (Checked ? MF_CHECKED : MF_UNCHECKED);
    if (item->Separator()) flags |= MF_SEPARATOR;
    if (!::AppendMenuW(menu, flags, Id, reinterpret_cast<LPCWSTR>(item.get()))) return false;
    FItems.push_back(std::move(item));
    return true;
}

HMENU TSkinPopupMenu::AddSubMenu(const std::wstring& Text, bool Enabled, HMENU To)
{
    const HMENU menu = To != nullptr ? To : FMenu;
    if (menu == nullptr) return nullptr;
    const HMENU sub = ::CreatePopupMenu();
    if (sub == nullptr) return nullptr;
    auto item = std::make_unique<TOwnedMenuItem>();
    item->Menu = menu;
    item->SubMenu = sub;
    item->Type = MFT_STRING;
    item->Text = Text;
    const UINT flags = MF_OWNERDRAW | MF_POPUP | (Enabled ? MF_ENABLED : MF_GRAYED);
    if (!::AppendMenuW(menu, flags, reinterpret_cast<UINT_PTR>(sub), reinterpret_cast<LPCWSTR>(item.get()))) {
        ::DestroyMenu(sub);
        return nullptr;
    }
    FItems.push_back(std::move(item));
    return sub;
}
