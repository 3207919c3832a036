#include "skin/portable/LookCells.h"

int TCellLayout::Cell(TLooks Looks, int Count) const noexcept
{
    const auto fits = [Count](int Cell) { return Cell >= 1 && Cell <= Count; };
    const struct {
        TLookBit Bit;
        int Cell;
    } order[] = {{lkDisabled, Disabled}, {lkPressed, Pressed}, {lkHot, Hot}, {lkFocused, Focused}};
    for (const auto& o : order)
        if ((Looks & o.Bit) != 0 && fits(o.Cell)) return o.Cell;
    return fits(Normal) ? Normal : 1;
}
