// tb-guihelper: drives Tagbench's main window (or the skin gallery's) from
// another process, for the screenshot and run tools.
//   tb-guihelper wait SECONDS   waits until the window is shown and idle; prints "X Y W H"
//   tb-guihelper page N         shows page N (1 = first) of its page control
//   tb-guihelper sysmenu        opens its system menu (Alt+Space) unless a menu is open;
//                               prints "X Y W H" of the window and the menu together
//   tb-guihelper click CLASS X Y
//                               clicks the control of class CLASS at X,Y of the shown page
//   tb-guihelper press CLASS X Y
//                               the same as a user's click: the mouse moves there and its
//                               button goes down and up through the input queue
//   tb-guihelper settext CLASS X Y FILE
//                               puts the text of FILE into the control of class CLASS at X,Y
//   tb-guihelper lines CLASS X Y N SECONDS
//                               waits until the memo of class CLASS at X,Y of the shown
//                               page holds at least N lines
//   tb-guihelper close          asks the window to close
//   tb-guihelper gdi            prints the number of GDI objects of its process
//   tb-guihelper boxes          prints the number of message boxes it has open
//   tb-guihelper menus          prints each open popup menu, one line each: "X Y W H Q"
//                               with Q its answer to the skin engine's query (1: skinned)
//   tb-guihelper focus          prints the window with the keyboard focus: class, the
//                               text of its window or the label-less caption "-", and
//                               "X Y" of its top-left corner in the main window
// Exit status 0 on success, 1 when the window, page, control or lines cannot be
// found in time. Controls have no ids, so they are found by where the stored
// description puts them, which is the same in both editions.
#include "tests/support/GdiObjectCount.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kFormClass[] = L"TFreader";
constexpr wchar_t kPageControlClass[] = L"TPageControl";
constexpr wchar_t kPageClass[] = L"TTabSheet";

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
    // The editions' titles, and the skin gallery's (tools/gallery).
    for (const wchar_t* title : {L"Tagbench V4.0", L"TagbenchV4.0", L"Skin gallery"})
        if (wnd == nullptr) wnd = FindWindowW(nullptr, title);
    return wnd != nullptr && IsWindowVisible(wnd) ? wnd : nullptr;
}

bool HasClass(HWND wnd, const wchar_t* className)
{
    wchar_t name[64];
    return GetClassNameW(wnd, name, 64) > 0 && wcscmp(name, className) == 0;
}

BOOL CALLBACK FindPageControl(HWND child, LPARAM param)
{
    if (!HasClass(child, kPageControlClass)) return TRUE;
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
}

BOOL CALLBACK FindShownPage(HWND child, LPARAM param)
{
    if (!HasClass(child, kPageClass) || !IsWindowVisible(child)) return TRUE;
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
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

// The innermost shown control at X,Y of the shown page's client area, if it
// is of the class asked for; sets at to the point in its own client area.
HWND ControlAt(const wchar_t* className, int x, int y, POINT& at)
{
    HWND form = FindForm();
    HWND wnd = nullptr;
    if (form != nullptr) EnumChildWindows(form, FindShownPage, reinterpret_cast<LPARAM>(&wnd));
    at = {x, y};
    while (wnd != nullptr) {
        HWND child = ChildWindowFromPointEx(wnd, at, CWP_SKIPINVISIBLE);
        if (child == nullptr || child == wnd) break;
        MapWindowPoints(wnd, child, &at, 1);
        wnd = child;
    }
    return wnd != nullptr && HasClass(wnd, className) ? wnd : nullptr;
}

int Click(const wchar_t* className, int x, int y)
{
    POINT at;
    HWND control = ControlAt(className, x, y, at);
    if (control == nullptr) return 1;
    const LPARAM where = MAKELPARAM(at.x, at.y);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, where);
    SendMessageW(control, WM_LBUTTONUP, 0, where);
    return 0;
}

int Press(const wchar_t* className, int x, int y)
{
    POINT at;
    HWND control = ControlAt(className, x, y, at);
    if (control == nullptr) return 1;
    ClientToScreen(control, &at);
    if (!SetCursorPos(at.x, at.y)) return 1;
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(2, input, sizeof(INPUT)) == 2 ? 0 : 1;
}

int SetText(const wchar_t* className, int x, int y, const wchar_t* file)
{
    POINT at;
    HWND control = ControlAt(className, x, y, at);
    FILE* in = _wfopen(file, L"rb");
    if (control == nullptr || in == nullptr) {
        if (in != nullptr) std::fclose(in);
        return 1;
    }
    std::string text;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) text.append(buffer, n);
    std::fclose(in);
    return SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) ? 0 : 1;
}

int CountLines(HWND memo)
{
    const LRESULT length = SendMessageW(memo, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(SendMessageW(memo, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    int lines = 0;
    bool inLine = false;
    for (const wchar_t c : text) {
        const bool end = c == L'\r' || c == L'\n';
        if (!end && !inLine) ++lines;
        inLine = !end;
    }
    return lines;
}

int Lines(const wchar_t* className, int x, int y, int count, int seconds)
{
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
    for (;;) {
        POINT at;
        if (HWND memo = ControlAt(className, x, y, at); memo != nullptr && CountLines(memo) >= count) return 0;
        if (GetTickCount64() > deadline) return 1;
        Sleep(100);
    }
}

int Close()
{
    HWND form = FindForm();
    if (form == nullptr) return 1;
    PostMessageW(form, WM_CLOSE, 0, 0);
    return 0;
}

int Boxes()
{
    HWND form = FindForm();
    if (form == nullptr) return 1;
    int count = 0;
    EnumThreadWindows(
        GetWindowThreadProcessId(form, nullptr),
        [](HWND wnd, LPARAM param) {
            if (IsWindowVisible(wnd) && HasClass(wnd, L"#32770")) ++*reinterpret_cast<int*>(param);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    std::printf("%d\n", count);
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

int Focus()
{
    HWND form = FindForm();
    if (form == nullptr) return 1;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info) || info.hwndFocus == nullptr) {
        std::printf("none\n");
        return 0;
    }
    wchar_t name[64] = L"", text[128] = L"";
    GetClassNameW(info.hwndFocus, name, 64);
    // The edit inside a combo box stands for its box.
    HWND shown = info.hwndFocus;
    if (wcscmp(name, L"Edit") == 0 && GetParent(shown) != nullptr) {
        shown = GetParent(shown);
        GetClassNameW(shown, name, 64);
    }
    GetWindowTextW(shown, text, 128);
    RECT r, f;
    GetWindowRect(shown, &r);
    GetWindowRect(form, &f);
    std::printf("%ls %ls %ld %ld\n", name, text[0] != 0 ? text : L"-", r.left - f.left, r.top - f.top);
    return 0;
}

} // namespace

int Menus()
{
    AttachDesktop();
    std::vector<HWND> open;
    EnumWindows(
        [](HWND Window, LPARAM List) {
            if (IsWindowVisible(Window) && HasClass(Window, L"#32768"))
                reinterpret_cast<std::vector<HWND>*>(List)->push_back(Window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&open));
    for (HWND w : open) {
        RECT r{};
        GetWindowRect(w, &r);
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(w, 0x3523, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
        std::printf("%ld %ld %ld %ld %lu\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
                    static_cast<unsigned long>(answer));
    }
    return 0;
}

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 3 && wcscmp(argv[1], L"wait") == 0) return Wait(_wtoi(argv[2]));
    if (argc >= 3 && wcscmp(argv[1], L"page") == 0) return Page(_wtoi(argv[2]));
    if (argc >= 2 && wcscmp(argv[1], L"sysmenu") == 0) return SysMenu();
    if (argc >= 5 && wcscmp(argv[1], L"click") == 0) return Click(argv[2], _wtoi(argv[3]), _wtoi(argv[4]));
    if (argc >= 7 && wcscmp(argv[1], L"lines") == 0)
        return Lines(argv[2], _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]), _wtoi(argv[6]));
    if (argc >= 5 && wcscmp(argv[1], L"press") == 0) return Press(argv[2], _wtoi(argv[3]), _wtoi(argv[4]));
    if (argc >= 6 && wcscmp(argv[1], L"settext") == 0) return SetText(argv[2], _wtoi(argv[3]), _wtoi(argv[4]), argv[5]);
    if (argc >= 2 && wcscmp(argv[1], L"close") == 0) return Close();
    if (argc >= 2 && wcscmp(argv[1], L"boxes") == 0) return Boxes();
    if (argc >= 2 && wcscmp(argv[1], L"gdi") == 0) return GdiObjects();
    if (argc >= 2 && wcscmp(argv[1], L"focus") == 0) return Focus();
    if (argc >= 2 && wcscmp(argv[1], L"menus") == 0) return Menus();
    std::fprintf(stderr, "usage: tb-guihelper wait SECONDS | page N | sysmenu | click CLASS X Y | press CLASS X Y |\n"
                         "                    settext CLASS X Y FILE | lines CLASS X Y N SECONDS | close | gdi | boxes | focus | menus\n");
    return 2;
}
