// Menu items drawn from the skin: the MenuItem element's cells (1 normal,
// 4 selected, 2 the separator) over the popup's background, or flat colours
// without that element; glyph, check mark, caption and right-aligned
// shortcut. Also the menu font that the menu bar uses.
#pragma once

#include <windows.h>

#include "skin/kernel/ImageListHandle.h"

#include <string>

class TBitmap;
class TSkinData;

// What is drawn of one item.
struct TMenuItemView {
    std::wstring Caption;   // '&' marks the accelerator
    std::wstring ShortCut;  // drawn right-aligned; empty for none
    bool Separator = false;
    bool Enabled = true;
    bool Checked = false;
    bool Default = false;   // bold
    bool RightToLeft = false;  // glyph on the right, caption right-aligned, shortcut on the left
    int ImageIndex = -1;
    HIMAGELIST Images = nullptr;
};

// A menu item's text split at its tab into caption and shortcut.
TMenuItemView MenuItemViewOf(const std::wstring& Text);

// The screen's menu font (the class library's, made again after a change of
// the system's metrics; null when it cannot be made).
HFONT MenuFont();

// Item width and height as drawn by PaintSkinMenuItem.
SIZE MeasureSkinMenuItem(const TMenuItemView& Item, const TSkinData& Data);

// Draws the item into Rect of DC. Background is the popup's background
// rendering (or null: the menu colour), Place where Rect lies in it.
void PaintSkinMenuItem(HDC DC, const RECT& Rect, const TMenuItemView& Item, bool Selected, const TSkinData& Data,
                       TBitmap* Background, POINT Place);
