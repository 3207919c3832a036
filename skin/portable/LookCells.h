// The looks a control shows and, for each layout of a skin strip, the cell
// that shows them: a family names its strip's layout instead of choosing cell
// numbers in every paint. Looks combine (a focused button under a held mouse
// is pressed and focused); one order decides which of them a cell shows.
#pragma once

#include <cstdint>

enum TLookBit : uint8_t { lkHot = 0x01, lkPressed = 0x02, lkFocused = 0x04, lkDisabled = 0x08 };
using TLooks = uint8_t;  // TLookBit values; none: the normal look

struct TCellLayout {
    // The cell (from 1) showing each look; 0 where the strip has none.
    int Normal = 1, Hot = 0, Pressed = 0, Focused = 0, Disabled = 0;

    // The cell for Looks in a strip of Count cells: disabled first, then
    // pressed, hot and focused; a look the layout or the strip lacks gives
    // way to the next; at last the normal cell. Always within 1..Count.
    int Cell(TLooks Looks, int Count) const noexcept;
};

// [Buttons]: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused.
inline constexpr TCellLayout kButtonCells{1, 4, 2, 5, 3};
// A button of a menu (drop-down) look: hot and focused share the hot cell.
inline constexpr TCellLayout kMenuButtonCells{1, 4, 2, 4, 3};
// Edit frames and combo-box buttons (SunkEdge, ComboButton): 1 normal,
// 2 pressed, 3 disabled, 4 hot or focused.
inline constexpr TCellLayout kEditCells{1, 4, 2, 4, 3};
// Tabs: 1 normal, 2 the selected tab (its look is pressed).
inline constexpr TCellLayout kTabCells{1, 0, 2, 0, 0};
// Header items: 1 normal, 2 hot.
inline constexpr TCellLayout kHeaderCells{1, 2, 0, 0, 0};
// Arrow glyphs of combo boxes and pickers: 1 normal, 4 hot.
inline constexpr TCellLayout kArrowCells{1, 4, 0, 0, 0};
// Glyph strips of bit and speed buttons: 1 up, 2 disabled, 3 pressed.
inline constexpr TCellLayout kGlyphCells{1, 0, 3, 0, 2};
// A speed button held down: its own cell 4 whatever else holds.
inline constexpr TCellLayout kDownGlyphCells{4, 0, 0, 0, 0};
// Up-down halves (UpDown strips, four cells a half, the second half's after
// the first's): 1 normal, 2 pressed, 3 disabled.
inline constexpr TCellLayout kUpDownCells{1, 0, 2, 0, 3};
// Scroll-bar tracks (1 normal, 3 disabled) and each arrow's four cells in the
// Scrollbar strip (1 normal, 2 pressed, 4 hot; the bar asks no disabled arrow).
inline constexpr TCellLayout kScrollCells{1, 4, 2, 0, 3};
// Scroll-bar thumbs and the three cells of their grips: 1 normal, 2 pressed, 3 hot.
inline constexpr TCellLayout kThumbCells{1, 3, 2, 0, 0};
