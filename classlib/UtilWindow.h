// Hidden utility windows: a window handle whose messages go to a method of an
// object, for objects that need a window but show none (notification targets
// of worker threads). Create and destroy them on the thread that pumps them.
#pragma once

#include "Handles.h"
#include "Messages.h"

// A message-only window gets the messages sent and posted to it and its
// timers, no broadcasts, and never comes to the front; it costs the window
// server a fraction of a hidden top-level window. A popup menu's owner must
// be able to come to the front.
enum class TUtilWindowKind { ukMessageOnly, ukTopLevel };

// Raises EOutOfResources when the window cannot be made. The method gets every
// message after creation; it sets Message.Result (for example from
// DefWindowProcW). Exceptions it raises go to HandleException.
HWND AllocateHWnd(TWndMethod method, TUtilWindowKind Kind = TUtilWindowKind::ukMessageOnly);
// Destroys the window; the method is not called again. Null is ignored.
void DeallocateHWnd(HWND wnd);

// Owns a window from AllocateHWnd.
struct TUtilWindowTraits {
    using Handle = HWND;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { DeallocateHWnd(h); }
};
using TUtilWindow = TUniqueHandle<TUtilWindowTraits>;
