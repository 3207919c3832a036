// TSkinSet: everything one skin load produces (colours, elements, composed
// images), and ApplyIni, the loader that fills a fresh set from a skin's ini
// text and container. The skin component swaps a set in only when it loaded.
#pragma once

#include <windows.h>

#include "classlib/Handles.h"
#include "skin/data/SkinElements.h"
#include "skin/kernel/SkinError.h"
#include "skin/portable/SkinContainer.h"
#include "skin/portable/SkinIniKeys.h"

#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

struct TSkinSet {
    TSkinSet();

    // Colours may name system colours (0xFF0000nn), resolved where drawn.
    TColor FWindowTextColor = 0, FTitleTextActiveColor = 0, FTitleTextNoActiveColor = 0, FButtonFaceColor = 0,
           FButtonTextColor = 0, FButtonHilightColor = 0, FButtonlightColor = 0, FButtonShadowColor = 0,
           FButtonDkShadowColor = 0, FHilightTextColor = 0, FHilightColor = 0, FMenubarColor = 0,
           FMenuBarTextColor = 0, FMenuTextColor = 0, FMenuColor = 0, FBaseColor = 0, FScrollbarColor = 0;
    std::vector<TColor> FColourList;
    std::array<TColor, 10> FCustomColors;
    std::string FSkinName;
    // Solid brush of the face colour.
    TGdiObject FFaceBrush;

    // Always present.
    std::unique_ptr<TDataSkinTitle> FTitle;
    std::unique_ptr<TDataSkinButton> FButtons;
    std::unique_ptr<TDataSkinBorder> FBorderLeft, FBorderRight, FBorderTop, FBorderBottom;
    // Title buttons; the last three are those of a maximized MDI child.
    std::vector<std::unique_ptr<TDataSkinSysButton>> FSysButtons;
    // Present when the skin gives them (null otherwise).
    std::unique_ptr<TDataSkinBorder> FTabs, FUpDownHorz, FUpDownVert, FComboButton, FProgress;
    std::unique_ptr<TDataSkinBoxLabel> FGroupBox;
    std::unique_ptr<TDataSkinObject> FSunkEdge, FExtraImages, FComboArrow, FGroupBoxEdge, FToolbarGradient, FToolBars,
        FProgressChunk, FStatusBarEdges, FTabPane, FHeaderbar, FMenuBar, FMenuItem, FMenuBackground, FScrollbar,
        FHorzScroll, FVertScroll, FHorzScrollThumb, FVertScrollThumb, FThumbHorz, FThumbVert, FTrack, FTrackVert,
        FThumbLeft, FThumbRight, FThumbUp, FThumbDown;
};

// A skin whose bitmaps, as the ini text names them, would decode to more
// than kMaxSkinPixels: raised before the bitmap that passes it is decoded.
class ESkinTooLarge : public ESkinError {
public:
    ESkinTooLarge();
};

// Fills Skin (fresh from its constructor) from the ini text and the
// container's bitmaps. Raises ESkinTooLarge, and what the class library
// raises (bitmaps that cannot be made). Returns the entries it could not
// decode ("name: why", "; " between), which are left empty strips; empty
// when there are none.
std::string ApplyIni(TSkinSet& Skin, const TSkinIni& Ini, const TSkinReader& Reader);

// Why the set's window frame cannot be used: a border, the title or a title
// button whose cell is larger than an eighth of the screen (ScreenWidth x
// ScreenHeight) would push the window past the screen. Empty when it fits.
std::string OversizedFramePart(const TSkinSet& Skin, int ScreenWidth, int ScreenHeight);

// Every strip bitmap of the set's elements.
std::vector<const TBitmap*> SkinStrips(const TSkinSet& Skin);

// The colour of the top border's strip one third into its first cell, or the
// face colour when the strip is empty.
TColor GetBaseColor(const TSkinSet& Skin);
