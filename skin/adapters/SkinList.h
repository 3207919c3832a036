// The header and list-view adapters. TSkinHeader paints a header control
// whole from the skin's Headerbar strip (cell 1 normal, cell 2 under the
// mouse), each item with its image and text, the area right of the last item
// in the normal cell; without the strip the header paints itself.
// TSkinListView is the scrolling-control adapter of a list view that also
// gives the list view's header a TSkinHeader. No class rule makes a list view
// adapter: a skin component's OnSkinControl handler asks for one (kind
// akListView), and a list view whose window is made again keeps it. GUI
// thread only.
#pragma once

#include "skin/adapters/SkinScrollbar.h"
#include "skin/kernel/ImageListHandle.h"

#include <optional>
#include <vector>

class TSkinHeader : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    ~TSkinHeader() override;

    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;
    bool InitSkinHandle(HWND Window, TSkinData* SkinData, TAdapterHost* Form) override;

    // The item under the mouse, -1 for none.
    int HotIndex() const noexcept { return FHotIndex; }
    // No item hot (the mouse has left the header).
    void ClearHot();

protected:
    void AfterProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;
    // pwOwn while the skin has a Headerbar image, else pwNative.
    TPaintWay PaintWay() const override;

private:
    bool HasSkin() const;
    void HotTrack(LPARAM Point);
    void DrawItem(HIMAGELIST ImageList, HDC DC, int Index, const RECT& Rect);

    // Each item as last painted, 3 pixels narrower on either side: a point
    // near a divider belongs to no item.
    std::vector<RECT> FItemRects;
    // Hot is an item's, not the header's as a whole: MouseState does not keep it.
    int FHotIndex = -1;
};

class TSkinListView : public TSkinScrollbar {
public:
    using TSkinScrollbar::TSkinScrollbar;
    ~TSkinListView() override;

    // The scroll-bar covers, then the header's own adapter when the list
    // view has a header.
    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;
    TAdapterKind ReskinKind() const noexcept override { return TAdapterKind::akListView; }

    // The header's adapter while it and its window live, else null.
    TSkinHeader* Header() const noexcept;

protected:
    void AfterProc(TMessage& Message) override;

private:
    TSkinHeader* FHeader = nullptr;
    std::optional<TSkinObject::TToken> FHeaderLife;
};
