// The classification of a window's frame.
#include "skin/portable/FrameClass.h"

TFrameClass ClassifyFrame(const TFrameFacts& Facts) noexcept
{
    using namespace FrameStyle;
    const uint32_t style = Facts.Style, ex = Facts.ExStyle;
    TFrameClass c;
    if ((style & SysMenu) || Facts.HasSystemMenu) c.ButtonSet |= bsSysMenu;
    if (style & MinimizeBox) c.ButtonSet |= bsMinimize;
    if (style & MaximizeBox) c.ButtonSet |= bsMaximize;
    c.MDIKind = Facts.HasMDIClient ? mdiFrame : mdiNone;
    if (ex & ExMDIChild) {
        c.MDIKind = mdiChild;
        c.KeepsChildBorder = Facts.MDIChildBorder;
    }
    c.FrameKind = fkFixed;
    if ((style & Caption) == 0) c.FrameKind = fkNoCaption;
    else if (style & ThickFrame) c.FrameKind = fkSizeable;
    else if (style & ModalFrame) c.FrameKind = fkDialog;
    if (ex & ExDlgModalFrame) c.FrameKind = fkDialog;
    if (((ex & ExAppWindow) && Facts.VersionTogglesAppCaption) ||
        (!Facts.HasOwner && c.MDIKind != mdiChild && Facts.VersionTogglesCaption))
        c.ButtonSet |= bsCaptionToggle;
    if (Facts.ClassName == "#32770" || Facts.ClassName == "TMessageForm") {
        c.FrameKind = fkDialog;
        c.Dialog = true;
    }
    return c;
}
