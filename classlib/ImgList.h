// Image lists: a component over a comctl32 HIMAGELIST, which it either owns
// or only uses (SetHandle with Owned false: a list someone else keeps and
// frees, such as a skin's glyphs).
#pragma once

#include "Canvas.h"
#include "classlib/portable/Classes.h"

#include <commctrl.h>

class TCustomImageList : public TComponent {
public:
    DECLARE_CLASS_INFO()
    explicit TCustomImageList(TComponent* AOwner);
    // Frees the list only when it owns it.
    ~TCustomImageList() override;

    HIMAGELIST Handle() const noexcept { return FHandle; }
    // Takes List (null: none); an owned list held before is freed.
    void SetHandle(HIMAGELIST List, bool Owned);
    bool OwnsHandle() const noexcept { return FOwned; }

    // Image size and count of the list; 0 without one.
    int Width() const noexcept;
    int Height() const noexcept;
    int Count() const noexcept;
    // Draws image Index with its mask at (X, Y); a disabled image is drawn
    // greyed. An index outside the list draws nothing.
    void Draw(TCanvas& ACanvas, int X, int Y, int Index, bool Enabled = true) const;

private:
    HIMAGELIST FHandle = nullptr;
    bool FOwned = false;
};

class TImageList : public TCustomImageList {
public:
    DECLARE_CLASS_INFO()
    using TCustomImageList::TCustomImageList;
};
