// Owner-draw switching of a skinned form's class-library menus: while the
// form is skinned its popup menus (and, when the skin asks for menu items,
// its main menus' drop-downs) are owner-drawn by the skin. Each menu's and
// item's own OwnerDraw, OnDrawItem and OnMeasureItem are recorded and given
// back exactly on every way the skin lets go; menus and items freed meanwhile
// leave the records through their free notices.
#include "skin/frame/WinSkinForm.h"
#include "skin/frame/WinSkinMenu.h"

#include "skin/data/WinSkinData.h"
#include "skin/menus/MenuItemPaint.h"
#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "classlib/Text.h"

#include <algorithm>

namespace {

TMenuItemView ViewOf(TMenuItem& Item)
{
    TMenuItemView view;
    view.Caption = TextToWide(Item.Caption());
    view.ShortCut = TextToWide(ShortCutToText(Item.ShortCut()));
    view.Separator = Item.IsLine();
    view.Enabled = Item.Enabled();
    view.Checked = Item.Checked();
    view.Default = Item.Default();
    view.ImageIndex = Item.ImageIndex();
    if (const TMenu* menu = Item.GetParentMenu())
        if (menu->Images() != nullptr) view.Images = menu->Images()->Handle();
    return view;
}

}  // namespace

TWinSkinMenus::TWinSkinMenus(TWinSkinForm& Frame) : FFrame(Frame), FDoubleClickTime(::GetDoubleClickTime()) {}

void TWinSkinMenus::SwitchFormMenus()
{
    if (FFrame.FForm == nullptr || FFrame.FSkinData == nullptr) return;
    const TSkinControlTypes controls = FFrame.FSkinData->SkinControls();
    const TToken life = FFrame.Token();
    const TMenuDrawItemEvent draw = [this, life](TObject* Sender, TCanvas& Canvas, const RECT& Rect, bool Selected) {
        if (auto* item = dynamic_cast<TMenuItem*>(Sender); item != nullptr && life.Alive())
            MenuItemDraw(*item, Canvas, Rect, Selected);
    };
    const TMenuMeasureItemEvent measure = [this, life](TObject* Sender, TCanvas&, int& Width, int& Height) {
        auto* item = dynamic_cast<TMenuItem*>(Sender);
        if (item == nullptr || !life.Alive() || FFrame.FSkinData == nullptr) return;
        const SIZE size = MeasureSkinMenuItem(ViewOf(*item), *FFrame.FSkinData);
        Width = size.cx;
        Height = size.cy;
    };
    // Items that draw or measure themselves keep their own handler. Run
    // again, this takes in only menus and items that came since.
    auto switchItems = [&](TMenuItem& Parent, int Depth, int FromDepth, auto& Self) -> void {
        for (int i = 0; i < Parent.Count(); ++i) {
            TMenuItem* item = Parent.Items(i);
            if (Depth >= FromDepth && std::ranges::find(FSwitchedItems, item, &TSwitchedItem::Item) == FSwitchedItems.end()) {
                FSwitchedItems.push_back({item, item->OnDrawItem, item->OnMeasureItem});
                item->FreeNotification(&FFrame);
                if (!item->OnDrawItem) item->OnDrawItem = draw;
                if (!item->OnMeasureItem) item->OnMeasureItem = measure;
            }
            Self(*item, Depth + 1, FromDepth, Self);
        }
    };
    // The form's menus and those of the forms placed inside it.
    std::vector<TComponent*> owners{FFrame.FForm};
    auto nested = [&](TWinControl& Parent, auto& Self) -> void {
        for (int i = 0; i < Parent.ControlCount(); ++i)
            if (auto* child = dynamic_cast<TWinControl*>(Parent.Controls(i))) {
                if (dynamic_cast<TCustomForm*>(child) != nullptr) owners.push_back(child);
                Self(*child, Self);
            }
    };
    if (auto* windowed = dynamic_cast<TWinControl*>(FFrame.FForm)) nested(*windowed, nested);
    for (TComponent* owner : owners)
        for (int i = 0; i < owner->ComponentCount(); ++i) {
            auto* menu = dynamic_cast<TMenu*>(owner->Components(i));
            if (menu == nullptr) continue;
            const bool main = dynamic_cast<TMainMenu*>(menu) != nullptr;
            if (main ? !(controls & SkinBit(xcMenuItem))
                     : (!(controls & SkinBit(xcPopupMenu)) || menu->Tag() == FFrame.FSkinData->DisableTag()))
                continue;
            if (std::ranges::find(FSwitchedMenus, menu, &TSwitchedMenu::Menu) == FSwitchedMenus.end()) {
                FSwitchedMenus.push_back({menu, menu->OwnerDraw()});
                menu->FreeNotification(&FFrame);
            }
            // A main menu's bar items are the skinned bar's; its drop-downs are ours.
            switchItems(*menu->Items(), 1, main ? 2 : 1, switchItems);
            if (!menu->OwnerDraw()) menu->SetOwnerDraw(true);
        }
}

void TWinSkinMenus::RestoreFormMenus()
{
    for (const TSwitchedItem& s : FSwitchedItems) {
        s.Item->OnDrawItem = s.Draw;
        s.Item->OnMeasureItem = s.Measure;
        s.Item->RemoveFreeNotification(&FFrame);
    }
    FSwitchedItems.clear();
    for (const TSwitchedMenu& s : FSwitchedMenus) {
        s.Menu->SetOwnerDraw(s.OwnerDraw);
        s.Menu->RemoveFreeNotification(&FFrame);
    }
    FSwitchedMenus.clear();
}

void TWinSkinMenus::ForgetSwitchedMenu(TComponent* AComponent)
{
    std::erase_if(FSwitchedItems, [AComponent](const TSwitchedItem& S) { return S.Item == AComponent; });
    std::erase_if(FSwitchedMenus, [AComponent](const TSwitchedMenu& S) { return S.Menu == AComponent; });
}

void TWinSkinMenus::MenuItemDraw(TMenuItem& Item, TCanvas& Canvas, const RECT& Rect, bool Selected)
{
    TMenuItemView view = ViewOf(Item);
    view.RightToLeft = FFrame.FRightToLeft;
    PaintItemInPopup(Canvas.Handle(), Rect, view, Selected);
}
