// What kind of frame a window gets, from what it says of itself: style bits,
// class name, owner and MDI place. Pure, so that every case is tested natively.
#pragma once

#include <cstdint>
#include <string_view>

enum TFrameKind : uint8_t { fkSizeable = 0, fkFixed = 1, fkNoCaption = 2, fkDialog = 3 };
enum TMDIKind : uint8_t { mdiNone = 0, mdiFrame = 1, mdiChild = 2 };
enum TButtonSetBit : uint8_t { bsMaximize = 1, bsMinimize = 2, bsSysMenu = 8, bsCaptionToggle = 0x10 };

// The style bits the classification reads, with the system's values (this
// folder knows no Win32; the frame code checks them against its headers).
namespace FrameStyle {
constexpr uint32_t kCaption = 0x00C00000;      // WS_CAPTION (border and dialog frame)
constexpr uint32_t kSysMenu = 0x00080000;      // WS_SYSMENU
constexpr uint32_t kThickFrame = 0x00040000;   // WS_THICKFRAME
constexpr uint32_t kMinimizeBox = 0x00020000;  // WS_MINIMIZEBOX
constexpr uint32_t kMaximizeBox = 0x00010000;  // WS_MAXIMIZEBOX
constexpr uint32_t kModalFrame = 0x00000080;   // DS_MODALFRAME
constexpr uint32_t kExDlgModalFrame = 0x00000001;  // WS_EX_DLGMODALFRAME
constexpr uint32_t kExMDIChild = 0x00000040;       // WS_EX_MDICHILD
constexpr uint32_t kExAppWindow = 0x00040000;      // WS_EX_APPWINDOW
}  // namespace FrameStyle

struct TFrameFacts {
    uint32_t Style = 0;
    uint32_t ExStyle = 0;
    std::string_view ClassName{};
    bool HasOwner = false;
    // The frame object has a system menu of its own already.
    bool HasSystemMenu = false;
    // An MDI client is among the window's children.
    bool HasMDIClient = false;
    // The skin's option that leaves MDI children their own border.
    bool MDIChildBorder = false;
    // The system version hides the caption while the skin draws the title:
    // for an app window, for any window.
    bool VersionTogglesAppCaption = false;
    bool VersionTogglesCaption = false;
};

struct TFrameClass {
    uint8_t ButtonSet = 0;  // TButtonSetBit
    TFrameKind FrameKind = fkFixed;
    TMDIKind MDIKind = mdiNone;
    // A dialog by its class, whatever its styles.
    bool Dialog = false;
    // An MDI child that keeps its own border: its menu bar is not skinned.
    bool KeepsChildBorder = false;
};

TFrameClass ClassifyFrame(const TFrameFacts& Facts) noexcept;
