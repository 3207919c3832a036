// Helpers for tests of top-level window frames, run inside a Wine virtual
// desktop (tb_desktop_test): message pumping, reading back a window's pixels
// as shown on screen (frame included) and mouse input through SendInput.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace frameharness {

// Dispatches this thread's messages for Ms milliseconds.
void PumpFor(DWORD Ms);
// Dispatches messages until Done() holds or TimeoutMs pass; returns Done().
bool PumpUntil(const std::function<bool()>& Done, DWORD TimeoutMs);

// A window's pixels as shown on the screen, frame included: a BitBlt from the
// screen DC at the window rect into a 32-bit top-down DIB, copied out. What
// covers the window is captured too. Coordinates are window coordinates:
// (0, 0) is the window rect's top-left.
class TWindowCapture {
public:
    TWindowCapture() = default;
    // Empty when the window has no area or GDI failed.
    static TWindowCapture Take(HWND Wnd);
    // What Paint draws into a memory DC the size of the window (window
    // coordinates), for windows that can paint themselves into a given DC.
    static TWindowCapture Paint(HWND Wnd, const std::function<void(HDC)>& Painter);

    bool Empty() const { return FPixels.empty(); }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // CLR_INVALID outside the capture.
    COLORREF Pixel(int X, int Y) const;

private:
    int FWidth = 0, FHeight = 0;
    std::vector<uint32_t> FPixels;  // DIB pixels, rows top-down
};

// Mouse input in screen coordinates, sent with SendInput as absolute positions
// over the virtual desktop.
enum class TMouseButton { Left, Right };

// Moves the cursor and pumps this thread's messages until the move has been
// taken from the queue and the cursor stays there.
void MouseMoveTo(POINT Screen);
// Only queue a press or release where the cursor is: it reaches windows when
// the caller pumps. A modal loop that a press starts (move, size, menus) runs
// inside that pump until it takes the release, so queue both before pumping.
void MousePress(TMouseButton Button);
void MouseRelease(TMouseButton Button);

// Moves to From, presses the left button, moves to To in Steps equal steps
// and releases, pumping this thread's messages meanwhile. It returns when
// the gesture is over, a move or size loop that the press started included.
void MouseDrag(POINT From, POINT To, int Steps);

} // namespace frameharness
