// The start-up benchmarks' one criterion for a first paint.
#pragma once

#include <windows.h>

// The window counts as painted once the centre of its client area shows the
// face colour: before its first paint Wine shows nothing there.
inline bool Painted(HWND wnd)
{
    RECT r;
    if (!GetClientRect(wnd, &r)) return false;
    POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(wnd, &centre);
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, centre.x, centre.y);
    ReleaseDC(nullptr, screen);
    return pixel == GetSysColor(COLOR_BTNFACE);
}
