// The frame kind, title buttons, MDI place and dialog mark a window gets
// from its styles, class, owner and MDI place.
#include "skin/portable/FrameClass.h"

#include <gtest/gtest.h>

namespace {

using namespace FrameStyle;

// WS_OVERLAPPEDWINDOW and WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, in our bits.
constexpr uint32_t Overlapped = kCaption | kSysMenu | kThickFrame | kMinimizeBox | kMaximizeBox;
constexpr uint32_t ModalDialog = kCaption | kSysMenu | kModalFrame;

}  // namespace

TEST(ClassifyFrame, StylesClassOwnerAndMDIPlaceDecideTheFrame)
{
    const struct {
        const char* name;
        TFrameFacts facts;
        uint8_t buttons;
        TFrameKind kind;
        TMDIKind mdi;
        bool dialog;
        bool childBorder;
    } cases[] = {
        {"sizeable captioned window", {.Style = Overlapped, .HasOwner = true},
         bsSysMenu | bsMinimize | bsMaximize, fkSizeable, mdiNone, false, false},
        {"fixed captioned window", {.Style = kCaption | kMinimizeBox, .HasOwner = true}, bsMinimize, fkFixed, mdiNone,
         false, false},
        {"no caption, thick frame or not", {.Style = kThickFrame | kSysMenu, .HasOwner = true}, bsSysMenu,
         fkNoCaption, mdiNone, false, false},
        {"half a caption still counts", {.Style = 0x00400000 /* WS_DLGFRAME */, .HasOwner = true}, 0, fkFixed,
         mdiNone, false, false},
        {"system menu of the frame object's own", {.Style = kCaption, .HasOwner = true, .HasSystemMenu = true},
         bsSysMenu, fkFixed, mdiNone, false, false},
        {"dialog by DS_MODALFRAME", {.Style = ModalDialog, .HasOwner = true}, bsSysMenu, fkDialog, mdiNone, false,
         false},
        {"a thick frame wins over DS_MODALFRAME", {.Style = ModalDialog | kThickFrame, .HasOwner = true}, bsSysMenu,
         fkSizeable, mdiNone, false, false},
        {"dialog by WS_EX_DLGMODALFRAME, even without caption",
         {.Style = kThickFrame, .ExStyle = kExDlgModalFrame, .HasOwner = true}, 0, fkDialog, mdiNone, false, false},
        {"#32770 class", {.Style = Overlapped, .ClassName = "#32770", .HasOwner = true},
         bsSysMenu | bsMinimize | bsMaximize, fkDialog, mdiNone, true, false},
        {"TMessageForm class, no caption", {.Style = 0, .ClassName = "TMessageForm", .HasOwner = true}, 0, fkDialog,
         mdiNone, true, false},
        {"class names match exactly", {.Style = kCaption, .ClassName = "tmessageform", .HasOwner = true}, 0, fkFixed,
         mdiNone, false, false},
        {"MDI frame", {.Style = Overlapped, .HasOwner = true, .HasMDIClient = true},
         bsSysMenu | bsMinimize | bsMaximize, fkSizeable, mdiFrame, false, false},
        {"MDI child", {.Style = Overlapped, .ExStyle = kExMDIChild, .HasOwner = true},
         bsSysMenu | bsMinimize | bsMaximize, fkSizeable, mdiChild, false, false},
        {"MDI child with the child-border option",
         {.Style = Overlapped, .ExStyle = kExMDIChild, .HasOwner = true, .MDIChildBorder = true},
         bsSysMenu | bsMinimize | bsMaximize, fkSizeable, mdiChild, false, true},
        {"the child-border option leaves other windows alone", {.Style = kCaption, .MDIChildBorder = true}, 0,
         fkFixed, mdiNone, false, false},
        {"a child mark wins over an MDI client", {.Style = kCaption, .ExStyle = kExMDIChild, .HasOwner = true,
                                                  .HasMDIClient = true}, 0, fkFixed, mdiChild, false, false},
        {"caption toggle: unowned window where the version asks",
         {.Style = kCaption, .VersionTogglesCaption = true}, bsCaptionToggle, fkFixed, mdiNone, false, false},
        {"no caption toggle for an owned window", {.Style = kCaption, .HasOwner = true, .VersionTogglesCaption = true},
         0, fkFixed, mdiNone, false, false},
        {"no caption toggle for an unowned MDI child",
         {.Style = kCaption, .ExStyle = kExMDIChild, .VersionTogglesCaption = true}, 0, fkFixed, mdiChild, false,
         false},
        {"no caption toggle where the version does not ask", {.Style = kCaption, .ExStyle = kExAppWindow}, 0, fkFixed,
         mdiNone, false, false},
        {"caption toggle: app window, owned or MDI child",
         {.Style = kCaption, .ExStyle = kExAppWindow | kExMDIChild, .HasOwner = true, .VersionTogglesAppCaption = true},
         bsCaptionToggle, fkFixed, mdiChild, false, false},
        {"the app-window version alone needs the app-window mark",
         {.Style = kCaption, .HasOwner = true, .VersionTogglesAppCaption = true}, 0, fkFixed, mdiNone, false, false},
    };
    for (const auto& c : cases) {
        const TFrameClass got = ClassifyFrame(c.facts);
        EXPECT_EQ(got.ButtonSet, c.buttons) << c.name;
        EXPECT_EQ(got.FrameKind, c.kind) << c.name;
        EXPECT_EQ(got.MDIKind, c.mdi) << c.name;
        EXPECT_EQ(got.Dialog, c.dialog) << c.name;
        EXPECT_EQ(got.KeepsChildBorder, c.childBorder) << c.name;
    }
}
