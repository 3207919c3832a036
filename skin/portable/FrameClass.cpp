// The classification of a window's frame.
#include "skin/portable/FrameClass.h"

TFrameClass ClassifyFrame(const TFrameFacts& Facts) noexcept
{
    using namespace FrameStyle;
    const uint32_t style = Facts.Style, ex = Facts.ExStyle;
    TFrameClass c;
    if ((style & kSysMenu) || Facts.HasSystemMenu) c.ButtonSet |= bsSysMenu;
    if (style & kMinimizeBox) c.ButtonSet |= bsMinimize;
    if (style & kMaximizeBox) c.ButtonSet |= bsMaximize;
    c.MDIKind = Facts.HasMDIClient ? mdiFrame : mdiNone;
    if (ex & kExMDIChild) {
        c.MDIKind = mdiChild;
        c.KeepsChildBorder = Facts.MDIChildBorder;
    }
    c.FrameKind = fkFixed;
    if ((style & kCaption) == 0) c.FrameKind = fkNoCaption;
    else if (style & kThickFrame) c.FrameKind = fkSizeable;
    else if (style & kModalFrame) c.FrameKind = fkDialog;
    if (ex & kExDlgModalFrame) c.FrameKind = fkDialog;
    if (((ex & kExAppWindow) && Facts.VersionTogglesAppCaption) ||
        (!Facts.HasOwner && c.MDIKind != mdiChild && Facts.VersionTogglesCaption))
        c.ButtonSet |= bsCaptionToggle;
    if (Facts.ClassName == "#32770" || Facts.ClassName == "TMessageForm") {
        c.FrameKind = fkDialog;
        c.Dialog = true;
    }
    return c;
}
