// The start-up benchmarks' one criterion for a first paint.
#pragma once

#include <windows.h>

// The window counts as painted once it is shown and neither it nor any of its
// visible child windows waits for a paint. Update regions are kept by the
// server, so this works for another process's window too; the colour at some
// point would not (a skinned window shows the skin's colours, not the face
// colour).
inline BOOL CALLBACK WaitsForPaint(HWND Child, LPARAM Found)
{
    if (!IsWindowVisible(Child) || !GetUpdateRect(Child, nullptr, FALSE)) return TRUE;
    *reinterpret_cast<bool*>(Found) = true;
    return FALSE;
}

inline bool Painted(HWND wnd)
{
    if (!IsWindowVisible(wnd) || GetUpdateRect(wnd, nullptr, FALSE)) return false;
    bool waiting = false;
    EnumChildWindows(wnd, WaitsForPaint, reinterpret_cast<LPARAM>(&waiting));
    return !waiting;
}
