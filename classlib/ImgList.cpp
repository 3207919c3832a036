// Image lists over comctl32 HIMAGELISTs, owned or only used.
#include "ImgList.h"

#include "classlib/Handles.h"
#include "classlib/portable/TypInfo.h"

const TClassInfo& TCustomImageList::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TCustomImageList>("TCustomImageList", TComponent::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TImageList::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TImageList>("TImageList", TCustomImageList::StaticClassInfo()).Build();
    return info;
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList()
{
    SetHandle(nullptr, false);
}

void TCustomImageList::SetHandle(HIMAGELIST List, bool Owned)
{
    if (FHandle != nullptr && FOwned && FHandle != List) ImageList_Destroy(FHandle);
    FHandle = List;
    FOwned = List != nullptr && Owned;
}

int TCustomImageList::Width() const noexcept
{
    int cx = 0, cy = 0;
    return FHandle != nullptr && ImageList_GetIconSize(FHandle, &cx, &cy) ? cx : 0;
}

int TCustomImageList::Height() const noexcept
{
    int cx = 0, cy = 0;
    return FHandle != nullptr && ImageList_GetIconSize(FHandle, &cx, &cy) ? cy : 0;
}

int TCustomImageList::Count() const noexcept
{
    return FHandle != nullptr ? ImageList_GetImageCount(FHandle) : 0;
}

void TCustomImageList::Draw(TCanvas& ACanvas, int X, int Y, int Index, bool Enabled) const
{
    if (Index < 0 || Index >= Count()) return;
    const HDC dc = ACanvas.Handle();
    if (Enabled) {
        ImageList_Draw(FHandle, Index, dc, X, Y, ILD_NORMAL);
        return;
    }
    // Greyed the way the system greys a disabled icon.
    const TIcon icon(ImageList_GetIcon(FHandle, Index, ILD_NORMAL));
    if (icon) DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.Get()), 0, X, Y, 0, 0, DST_ICON | DSS_DISABLED);
}
