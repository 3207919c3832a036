#include "UtilWindow.h"

#include "ExceptionHook.h"
#include "classlib/portable/SysUtils.h"

namespace {

constexpr wchar_t kClassName[] = L"TPUtilWindow";

// The method of one window. A method may destroy its own window (a popup
// menu freed from its item's click), so the record outlives the call.
struct TUtilRecord {
    TWndMethod Method;
    int Depth = 0;
    bool Destroyed = false;
};

LRESULT CALLBACK UtilWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* record = reinterpret_cast<TUtilRecord*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY && record != nullptr) {
        SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
        if (record->Depth == 0) delete record;
        else record->Destroyed = true;
    }
    // Creation messages come before the method is attached.
    if (record == nullptr || msg == WM_NCDESTROY) return DefWindowProcW(wnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    ++record->Depth;
    try {
        record->Method(m);
    } catch (...) {
        HandleException();
    }
    if (--record->Depth == 0 && record->Destroyed) delete record;
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

HWND AllocateHWnd(TWndMethod method, TUtilWindowKind Kind)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterUtilClass(instance);
    const bool topLevel = Kind == TUtilWindowKind::ukTopLevel;
    HWND wnd = CreateWindowExW(topLevel ? WS_EX_TOOLWINDOW : 0, kClassName, L"", topLevel ? WS_POPUP : 0, 0, 0, 0, 0,
                               topLevel ? nullptr : HWND_MESSAGE, nullptr, instance, nullptr);
    if (wnd == nullptr) throw EOutOfResources("cannot create a utility window", GetLastError());
    // The method is called from here on, so it can rely on knowing the handle.
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new TUtilRecord{std::move(method)}));
    return wnd;
}

void DeallocateHWnd(HWND wnd)
{
    if (wnd != nullptr) DestroyWindow(wnd);
}
