#include "UtilWindow.h"

#include "ExceptionHook.h"
#include "classlib/portable/SysUtils.h"

namespace {

constexpr wchar_t kClassName[] = L"TPUtilWindow";

LRESULT CALLBACK UtilWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
        delete method;
    }
    // Creation messages come before the method is attached.
    if (method == nullptr || msg == WM_NCDESTROY) return DefWindowProcW(wnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    try {
        (*method)(m);
    } catch (...) {
        HandleException();
    }
    return m.Result;
}

void RegisterUtilClass(HINSTANCE instance)
{
    WNDCLASSW wc{};
    if (GetClassInfoW(instance, kClassName, &wc)) return;
    wc.lpfnWndProc = UtilWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
}

} // namespace

HWND AllocateHWnd(TWndMethod method)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterUtilClass(instance);
    HWND wnd = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                               nullptr);
    if (wnd == nullptr) throw EOutOfResources("cannot create a utility window", GetLastError());
    // The method is called from here on, so it can rely on knowing the handle.
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new TWndMethod(std::move(method))));
    return wnd;
}

void DeallocateHWnd(HWND wnd)
{
    if (wnd != nullptr) DestroyWindow(wnd);
}
