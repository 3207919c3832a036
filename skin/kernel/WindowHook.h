// The one way the skin engine takes over a window. TWindowHook replaces a raw
// window's procedure (through the wide or ANSI entry, as the window is),
// TWindowProcHook a class-library control's WindowProc. Both pass messages on
// to what they replaced, give it back when they let go or, when someone
// installed another procedure after them, stay in the chain passing messages
// through, and stop C++ exceptions at the boundary; TOwnWindow gives windows
// the engine makes itself the same way. One registry maps window handles to
// the skin object holding them; a raw window is unbound at WM_NCDESTROY. GUI
// thread only.
#pragma once

#include <windows.h>

#include "classlib/Messages.h"

#include <cstddef>
#include <memory>

class TControl;
class TSkinObject;

// A handler of the owner; a plain function so that nothing the owner holds
// is running when the owner is freed from inside it.
using TSkinHandler = void (*)(TSkinObject& Owner, TMessage& Message);

class TWindowHook {
public:
    TWindowHook(TSkinObject& Owner, TSkinHandler Handler) noexcept : FOwner(Owner), FHandler(Handler) {}
    ~TWindowHook() { Detach(); }
    TWindowHook(const TWindowHook&) = delete;
    TWindowHook& operator=(const TWindowHook&) = delete;

    // Routes Window's messages to the handler; false when Window is not a
    // window, another hook holds it or the system refused.
    bool Attach(HWND Window);
    void Detach();
    bool Attached() const noexcept { return FAttached; }
    TSkinObject& Owner() const noexcept { return FOwner; }
    HWND Window() const noexcept { return FWindow; }
    bool Unicode() const noexcept { return FUnicode; }
    // Passes the message on to the procedure that was replaced (also after
    // Detach); false when the owner was freed meanwhile.
    bool CallDefault(TMessage& Message);

private:
    friend LRESULT CALLBACK KernelWindowProc(HWND, UINT, WPARAM, LPARAM);
    TSkinObject& FOwner;
    TSkinHandler FHandler;
    HWND FWindow = nullptr;
    WNDPROC FOldProc = nullptr;
    bool FUnicode = false;
    bool FAttached = false;
};

class TWindowProcHook {
public:
    TWindowProcHook(TSkinObject& Owner, TSkinHandler Handler) noexcept : FOwner(Owner), FHandler(Handler) {}
    ~TWindowProcHook() { Detach(); }
    TWindowProcHook(const TWindowProcHook&) = delete;
    TWindowProcHook& operator=(const TWindowProcHook&) = delete;

    bool Attach(TControl& Control);
    void Detach();
    bool Attached() const noexcept { return FRecord != nullptr; }
    TSkinObject& Owner() const noexcept { return FOwner; }
    // The WindowProc that was replaced (also after Detach); false when the owner was freed meanwhile.
    bool CallDefault(TMessage& Message);

    struct TRecord;

private:
    friend struct TRecord;
    void Dispatch(TMessage& Message);
    void Bind(HWND Window);
    void Unbind();

    TSkinObject& FOwner;
    TSkinHandler FHandler;
    TControl* FControl = nullptr;
    HWND FBound = nullptr;
    std::shared_ptr<TRecord> FRecord;
    std::shared_ptr<TRecord> FLastRecord;  // passes on after Detach
};

// A window the engine makes itself, of a class whose procedure is
// OwnWindowProc (a scroll bar's cover). Its messages take the way of every
// held window's: found in the registry from WM_NCCREATE (the object comes
// through CreateWindowEx's lpParam) to WM_NCDESTROY, the handler runs with
// the owner busy and exceptions stopped, and what it leaves goes on to the
// default procedure, wide or ANSI as the window is.
class TOwnWindow {
public:
    // True when the handler answered the message (its Result set).
    using THandler = bool (*)(TOwnWindow& Window, TMessage& Message);

    TOwnWindow(TSkinObject& Owner, THandler Handler) noexcept : FOwner(Owner), FHandler(Handler) {}
    // Destroys the window, unbound first: its last messages reach no handler.
    ~TOwnWindow();
    TOwnWindow(const TOwnWindow&) = delete;
    TOwnWindow& operator=(const TOwnWindow&) = delete;

    // Makes the window (once); null when the system refused.
    HWND Create(DWORD ExStyle, const wchar_t* ClassName, DWORD Style, HWND Parent);
    HWND Window() const noexcept { return FWindow; }
    TSkinObject& Owner() const noexcept { return FOwner; }

private:
    friend LRESULT CALLBACK OwnWindowProc(HWND, UINT, WPARAM, LPARAM);
    TSkinObject& FOwner;
    THandler FHandler;
    HWND FWindow = nullptr;
};

// The window procedure of every class whose windows are TOwnWindows.
LRESULT CALLBACK OwnWindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);

// The skin object holding this window (raw, through WindowProc or as its
// maker), or null.
TSkinObject* FindSkinObject(HWND Window) noexcept;
// Windows in the registry, those we only pass messages through included.
std::size_t HookedWindowCount() noexcept;
