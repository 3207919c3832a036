// The skin engine's private window messages, in one table. The 0xBC4A-0xBC4D
// requests act only when lParam carries kSkinMagic and then answer it.
#pragma once

#include <windows.h>

constexpr UINT WM_SKIN_RESKIN = 0x3401;         // re-apply the skin (class-library forms)
constexpr UINT WM_SKIN_PAINTNC = 0x3502;        // paint the non-client area now
constexpr UINT WM_SKIN_ACTIVATE = 0x3503;       // posted once after attaching, lParam 1000
constexpr UINT WM_SKIN_PAINTON = 0x3506;        // adapters: wParam > 0 skin painting on
constexpr UINT WM_SKIN_TABCLOSE = 0x3507;       // to the application: close tab lParam of wParam
constexpr UINT WM_SKIN_BUTTONCLICK = 0x3514;    // to the application: title button kind wParam clicked
constexpr UINT WM_SKIN_BUTTONVISIBLE = 0x3515;  // to the application: show the button? (> 0 yes)
constexpr UINT WM_SKIN_MDIMAXIMIZED = 0x3516;   // to the MDI client: redraw the MDI frame
constexpr UINT WM_SKIN_RESKINSCROLL = 0x3517;   // a control's window was re-created
constexpr UINT WM_SKIN_MENUAT = 0x3518;         // open the menu-bar button at a screen point
constexpr UINT WM_SKIN_CHILDMADE = 0x3519;      // posted: skin child wParam now that it exists, lParam kSkinMagic
constexpr UINT WM_SKIN_QUERY = 0x3523;          // answers 1 when already skinned
constexpr UINT WM_SKIN_PRINTCLIENT = 0xBC4A;
constexpr UINT WM_SKIN_PRINTNC = 0xBC4B;        // paint the non-client area into the DC in wParam
constexpr UINT WM_SKIN_PING = 0xBC4D;
constexpr UINT WM_SKIN_SKINNED = 0xBC4E;        // notice: skinning complete (wParam 0)

constexpr LPARAM kSkinMagic = 16802;
constexpr LPARAM kSkinActivateParam = 1000;
