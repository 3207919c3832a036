// The optional user32 functions, bound by name when the program starts (a
// missing one leaves its entry empty and its wrapper harmless), and the text
// helpers every skinned caption goes through.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

class TWinControl;

using TGetScrollBarInfoFunc = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
using TTrackMouseEventFunc = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
using TGetComboBoxInfoFunc = BOOL(WINAPI*)(HWND, PCOMBOBOXINFO);

// Empty where user32 lacks the function; the combo-box adapter calls
// SkinGetComboBoxInfo itself and must test it first.
extern TGetScrollBarInfoFunc SkinGetScrollBarInfoEntry;
extern TTrackMouseEventFunc SkinTrackMouseEventEntry;
extern TGetComboBoxInfoFunc SkinGetComboBoxInfo;

// Code page of 8-bit captions (0: the system's ANSI code page) and whether
// the wide drawing functions work; the skin manager may change both at start.
extern UINT SkinCodePage;
extern bool SkinNTPlatform;
// GetVersion as the manager's hook was installed (top bit: the 95/98/Me family).
extern DWORD SkinWinVersion;

// False, Info untouched, when the function is missing.
bool SkinGetScrollBarInfo(HWND Window, LONG ObjectId, SCROLLBARINFO* Info);
// Asks for WM_MOUSELEAVE on Window; nothing when the function is missing.
void SkinTrackMouseLeave(HWND Window);

std::wstring AnsiToWide(std::string_view Text);
// The whole string for Count -1, else at most its first Count characters.
std::wstring WideCopy(const wchar_t* Text, int Count);
// DrawTextW on the NT family; elsewhere the text in the system code page
// through DrawTextA. DT_CALCRECT writes the measured rectangle to Rect.
int DrawTextWide(HDC DC, const std::wstring& Text, RECT& Rect, UINT Format);
// The class-library control of a window, or null (also for window 0).
TWinControl* FindLibraryControl(HWND Window);
// The window's class name (up to 100 characters).
std::string GetWindowClassName(HWND Window);
