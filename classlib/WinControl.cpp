// The window side of TWinControl: class registration (superclasses of system
// classes named after the class-library class), the one static window
// procedure, handle binding at WM_NCCREATE and unbinding at WM_NCDESTROY.
#include "Controls.h"

#include "ExceptionHook.h"
#include "Forms.h"

#include <cstdio>
#include <map>
#include <string>
#include <unordered_map>

LRESULT CALLBACK ControlWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

namespace {

// The bound windows and their controls, mirroring the window property: under
// Wine every property read is a round trip to the server, and every message
// needs the lookup.
std::unordered_map<HWND, TWinControl*> gBound;
// Messages of controls being handled, nested ones included; released forms
// wait until it is back at zero.
int gDepth = 0;
std::map<std::wstring, WNDPROC> gClasses;

WNDPROC DefaultProcOf(HWND wnd)
{
    wchar_t name[256];
    if (GetClassNameW(wnd, name, 256) > 0) {
        const auto it = gClasses.find(name);
        if (it != gClasses.end()) return it->second;
    }
    return DefWindowProcW;
}

WNDPROC EnsureClass(const TCreateParams& p)
{
    const auto it = gClasses.find(p.WinClassName);
    if (it != gClasses.end()) return it->second;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    WNDPROC def = DefWindowProcW;
    if (p.SysClassName != nullptr) {
        if (!GetClassInfoExW(nullptr, p.SysClassName, &wc))
            throw EOutOfResources("system window class missing", GetLastError());
        def = wc.lpfnWndProc;
        wc.style &= ~CS_GLOBALCLASS;
    } else {
        wc.style = p.ClassStyle;
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = nullptr;
    }
    wc.cbSize = sizeof wc;
    wc.hInstance = instance;
    wc.lpfnWndProc = ControlWndProc;
    wc.lpszClassName = p.WinClassName.c_str();
    if (RegisterClassExW(&wc) == 0) throw EOutOfResources("cannot register a window class", GetLastError());
    gClasses.emplace(p.WinClassName, def);
    return def;
}

} // namespace

const char* ControlAtomName()
{
    static const std::string name = [] {
        char buf[64];
        std::snprintf(buf, sizeof buf, "ControlOfs%.8llX%.8lX",
                      static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
                      static_cast<unsigned long>(GetCurrentThreadId()));
        return std::string(buf);
    }();
    return name.c_str();
}

ATOM ControlAtom()
{
    static const ATOM atom = GlobalAddAtomA(ControlAtomName());
    return atom;
}

TWinControl* FindControl(HWND Window) noexcept
{
    if (Window == nullptr) return nullptr;
    const auto it = gBound.find(Window);
    return it == gBound.end() ? nullptr : it->second;
}

int BoundWindowCount() noexcept
{
    return static_cast<int>(gBound.size());
}

LRESULT CALLBACK ControlWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWinControl* control = FindControl(wnd);
    if (control == nullptr) {
        // Only CreateHandle makes windows of these classes, with the object in lpParam.
        if (msg == WM_NCCREATE) control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (control == nullptr) return CallWindowProcW(DefaultProcOf(wnd), wnd, msg, wParam, lParam);
        control->FHandle = wnd;
        SetPropA(wnd, reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(ControlAtom())), control);
        gBound.emplace(wnd, control);
    }
    TMessage m{msg, wParam, lParam, 0};
    ++gDepth;
    try {
        // A copy: a handler may put back an earlier WindowProc while it runs.
        if (const TWndMethod proc = control->WindowProc) proc(m);
        else control->WndProc(m);
    } catch (...) {
        HandleException();
    }
    --gDepth;
    if (msg == WM_NCDESTROY) {
        RemovePropA(wnd, reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(ControlAtom())));
        control->FHandle = nullptr;
        gBound.erase(wnd);
    }
    if (gDepth == 0) {
        try {
            TCustomForm::FreeReleased();
        } catch (...) {
            HandleException();
        }
    }
    return m.Result;
}

void TWinControl::DestroyHandle()
{
    if (FHandle != nullptr) DestroyWindow(FHandle);
}

void TWinControl::RecreateWnd()
{
    if (FHandle != nullptr) Perform(CM_RECREATEWND);
}

void TWinControl::SetParentWindow(HWND value)
{
    FParentWindow = value;
    if (FHandle != nullptr && Parent() == nullptr && value != nullptr) ::SetParent(FHandle, value);
}

void TWinControl::CreateHandle()
{
    if (FHandle != nullptr) return;
    TCreateParams p;
    CreateParams(p);
    if ((p.Style & WS_CHILD) != 0) {
        if (Parent() == nullptr && FParentWindow == nullptr)
            throw EInvalidOperation("control '" + Name() + "' has no parent window");
        p.WndParent = Parent() != nullptr ? Parent()->Handle() : FParentWindow;
        // Creating the parent's window creates its children, this one included.
        if (FHandle != nullptr) return;
    }
    FDefWndProc = EnsureClass(p);
    HWND wnd = CreateWindowExW(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                               WindowHeight(p.Height), p.WndParent, p.Menu, GetModuleHandleW(nullptr), this);
    if (wnd == nullptr) throw EOutOfResources("cannot create the window of " + Name(), GetLastError());
    CreateWnd();
}
