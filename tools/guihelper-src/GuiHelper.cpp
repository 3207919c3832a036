// tb-guihelper: drives Tagbench's main window from another process, for the
// screenshot and run tools.
//   tb-guihelper wait SECONDS   waits until the window is shown and idle; prints "X Y W H"
//   tb-guihelper page N         shows page N (1 = first) of its page control
//   tb-guihelper sysmenu        opens its system menu (Alt+Space) unless a menu is open;
//                               prints "X Y W H" of the window and the menu together
//   tb-guihelper close          asks the window to close
//   tb-guihelper gdi            prints the number of GDI objects of its process
// Exit status 0 on success, 1 when the window or page cannot be found in time.
#include "tests/support/GdiObjectCount.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <initializer_list>

namespace {

constexpr wchar_t kFormClass[] = L"TFreader";
constexpr wchar_t kPageControlClass[] = L"TPageControl";

// The tools run Tagbench inside a Wine virtual desktop of this name, which
// may not exist yet; its windows are found only from a thread attached to it.
void AttachDesktop()
{
    static bool attached = false;
    if (attached) return;
    if (HDESK desk = OpenDesktopW(L"tagbench", 0, FALSE, GENERIC_ALL)) attached = SetThreadDesktop(desk) != FALSE;
}

HWND FindForm()
{
    AttachDesktop();
    HWND wnd = FindWindowW(kFormClass, nullptr);
    for (const wchar_t* title : {L"Tagbench V4.0", L"TagbenchV4.0"})
        if (wnd == nullptr) wnd = FindWindowW(nullptr, title);
    return wnd != nullptr && IsWindowVisible(wnd) ? wnd : nullptr;
}

BOOL CALLBACK FindPageControl(HWND child, LPARAM param)
{
    wchar_t name[64];
    if (GetClassNameW(child, name, 64) > 0 && wcscmp(name, kPageControlClass) == 0) {
        *reinterpret_cast<HWND*>(param) = child;
        return FALSE;
    }
    return TRUE;
}

int Wait(int seconds)
{
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
    HWND form = nullptr;
    while ((form = FindForm()) == nullptr) {
        if (GetTickCount64() > deadline) return 1;
        Sleep(50);
    }
    // A window answers a sent message only from its message loop, so an
    // answer means the start-up code has returned and painting is under way.
    DWORD_PTR result = 0;
    const UINT left = static_cast<UINT>(deadline > GetTickCount64() ? deadline - GetTickCount64() : 1);
    if (SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_NORMAL, left, &result) == 0) return 1;
    RECT r;
    GetWindowRect(form, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
}

// Tab rectangles cannot be asked for across processes, so this clicks along
// the tab row until the page control reports the wanted page.
int Page(int page)
{
    HWND form = FindForm();
    HWND tabs = nullptr;
    if (form != nullptr) EnumChildWindows(form, FindPageControl, reinterpret_cast<LPARAM>(&tabs));
    if (tabs == nullptr) return 1;
    const LRESULT wanted = page - 1;
    RECT client;
    GetClientRect(tabs, &client);
    for (int x = 4; x < client.right; x += 8) {
        if (SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == wanted) return 0;
        const LPARAM at = MAKELPARAM(x, 10);
        SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(tabs, WM_LBUTTONUP, 0, at);
    }
    return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == wanted ? 0 : 1;
}

// The thread's open popup menu, if any.
HWND FindMenu(HWND form)
{
    const DWORD thread = GetWindowThreadProcessId(form, nullptr);
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND wnd, LPARAM param) {
            wchar_t name[16];
            if (IsWindowVisible(wnd) && GetClassNameW(wnd, name, 16) > 0 && wcscmp(name, L"#32768") == 0) {
                *reinterpret_cast<HWND*>(param) = wnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

int SysMenu()
{
    HWND form = FindForm();
    if (form == nullptr) return 1;
    HWND menu = FindMenu(form);
    if (menu == nullptr) PostMessageW(form, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    for (int i = 0; i < 100 && menu == nullptr; ++i) {
        Sleep(50);
        menu = FindMenu(form);
    }
    if (menu == nullptr) return 1;
    RECT r, m;
    GetWindowRect(form, &r);
    GetWindowRect(menu, &m);
    UnionRect(&r, &r, &m);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
}

int Close()
{
    HWND form = FindForm();
    if (form == nullptr) return 1;
    PostMessageW(form, WM_CLOSE, 0, 0);
    return 0;
}

int GdiObjects()
{
    HWND form = FindForm();
    DWORD pid = 0;
    if (form == nullptr || GetWindowThreadProcessId(form, &pid) == 0) return 1;
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (process == nullptr) return 1;
    const int count = GdiObjectCountOf(process);
    CloseHandle(process);
    if (count < 0) return 1;
    std::printf("%d\n", count);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 3 && wcscmp(argv[1], L"wait") == 0) return Wait(_wtoi(argv[2]));
    if (argc >= 3 && wcscmp(argv[1], L"page") == 0) return Page(_wtoi(argv[2]));
    if (argc >= 2 && wcscmp(argv[1], L"sysmenu") == 0) return SysMenu();
    if (argc >= 2 && wcscmp(argv[1], L"close") == 0) return Close();
    if (argc >= 2 && wcscmp(argv[1], L"gdi") == 0) return GdiObjects();
    std::fprintf(stderr, "usage: tb-guihelper wait SECONDS | page N | sysmenu | close | gdi\n");
    return 2;
}
