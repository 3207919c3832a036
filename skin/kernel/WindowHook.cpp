// The subclassing kernel: one registry of the windows the skin holds, the
// one window procedure every raw hook installs, and WindowProc hooks.
#include "WindowHook.h"

#include "SkinObject.h"
#include "classlib/Controls.h"
#include "classlib/ExceptionHook.h"

#include <unordered_map>
#include <utility>

namespace {

struct TEntry {
    WNDPROC OldProc = nullptr;  // what our procedure passes on to
    bool Unicode = false;
    bool InChain = false;  // our procedure is in the window's chain
    TWindowHook* Raw = nullptr;
    TWindowProcHook* Method = nullptr;
    TOwnWindow* Own = nullptr;
};

std::unordered_map<HWND, TEntry> gWindows;

void EraseIfUnused(HWND Window)
{
    const auto it = gWindows.find(Window);
    if (it != gWindows.end() && !it->second.InChain && it->second.Method == nullptr && it->second.Own == nullptr)
        gWindows.erase(it);
}

LRESULT PassOn(WNDPROC Proc, bool Unicode, HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Proc == nullptr) return ::DefWindowProcW(Window, Msg, WParam, LParam);
    return Unicode ? ::CallWindowProcW(Proc, Window, Msg, WParam, LParam)
                   : ::CallWindowProcA(Proc, Window, Msg, WParam, LParam);
}

// A handler of Owner, with the owner marked busy and exceptions stopped
// here rather than unwinding through the system's frames.
template <class THandle>
void Guarded(TSkinObject& Owner, const THandle& Handle)
{
    const TSkinObject::THandlerScope scope(Owner);
    try {
        Handle();
    } catch (...) {
        HandleException();
    }
}

void Dispatch(TSkinObject& Owner, TSkinHandler Handler, TMessage& Message)
{
    Guarded(Owner, [&] { Handler(Owner, Message); });
}

// The window handle a windowed control has now, or null.
HWND ControlWindow(TControl* Control)
{
    auto* windowed = dynamic_cast<TWinControl*>(Control);
    return windowed != nullptr && windowed->HandleAllocated() ? windowed->WindowHandle() : nullptr;
}

WNDPROC CurrentProc(HWND Window, bool Unicode)
{
    return reinterpret_cast<WNDPROC>(Unicode ? ::GetWindowLongPtrW(Window, GWLP_WNDPROC)
                                             : ::GetWindowLongPtrA(Window, GWLP_WNDPROC));
}

}  // namespace

LRESULT CALLBACK KernelWindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    const auto it = gWindows.find(Window);
    if (it == gWindows.end()) return ::DefWindowProcW(Window, Msg, WParam, LParam);
    TEntry& entry = it->second;
    if (entry.Raw == nullptr) {
        const WNDPROC old = entry.OldProc;
        const bool unicode = entry.Unicode;
        if (Msg == WM_NCDESTROY) {
            entry.InChain = false;
            EraseIfUnused(Window);
        }
        return PassOn(old, unicode, Window, Msg, WParam, LParam);
    }
    TMessage message{Msg, WParam, LParam, 0};
    Dispatch(entry.Raw->FOwner, entry.Raw->FHandler, message);
    if (Msg == WM_NCDESTROY) {
        // The window is gone: whatever still holds it lets go without touching it.
        const auto again = gWindows.find(Window);
        if (again != gWindows.end()) {
            if (TWindowHook* hook = again->second.Raw) hook->FAttached = false;
            again->second.Raw = nullptr;
            again->second.InChain = false;
            EraseIfUnused(Window);
        }
    }
    return message.Result;
}

LRESULT CALLBACK OwnWindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_NCCREATE) {
        const auto& create = *reinterpret_cast<const CREATESTRUCTW*>(LParam);
        if (auto* own = static_cast<TOwnWindow*>(create.lpCreateParams)) {
            own->FWindow = Window;
            gWindows[Window].Own = own;
        }
    }
    const auto it = gWindows.find(Window);
    TOwnWindow* own = it != gWindows.end() ? it->second.Own : nullptr;
    const auto passOn = [=] {
        return ::IsWindowUnicode(Window) ? ::DefWindowProcW(Window, Msg, WParam, LParam)
                                         : ::DefWindowProcA(Window, Msg, WParam, LParam);
    };
    if (own == nullptr) return passOn();
    TMessage message{Msg, WParam, LParam, 0};
    Guarded(own->FOwner, [&] {
        if (!own->FHandler(*own, message)) message.Result = passOn();
        if (Msg != WM_NCDESTROY) return;
        // Let go while the owner is still held: it may be freed when this handler ends.
        const auto again = gWindows.find(Window);
        if (again != gWindows.end() && again->second.Own != nullptr) {
            again->second.Own->FWindow = nullptr;
            again->second.Own = nullptr;
            EraseIfUnused(Window);
        }
    });
    return message.Result;
}

HWND TOwnWindow::Create(DWORD ExStyle, const wchar_t* ClassName, DWORD Style, HWND Parent)
{
    if (FWindow != nullptr) return FWindow;
    ::CreateWindowExW(ExStyle, ClassName, L"", Style, 0, 0, 0, 0, Parent, nullptr, ::GetModuleHandleW(nullptr), this);
    return FWindow;
}

TOwnWindow::~TOwnWindow()
{
    const HWND window = std::exchange(FWindow, nullptr);
    if (window == nullptr) return;
    const auto it = gWindows.find(window);
    if (it != gWindows.end() && it->second.Own == this) {
        it->second.Own = nullptr;
        EraseIfUnused(window);
    }
    ::DestroyWindow(window);
}

bool TWindowHook::Attach(HWND Window)
{
    if (FAttached || !::IsWindow(Window)) return false;
    TEntry& entry = gWindows[Window];
    if (entry.Raw != nullptr) return false;
    if (!entry.InChain) {
        // A window we were left in the chain of (someone subclassed it after
        // us) is taken over where we stand: installing our procedure again
        // would call it from itself through the other one, without end.
        entry.Unicode = ::IsWindowUnicode(Window) != FALSE;
        const auto proc = reinterpret_cast<LONG_PTR>(&KernelWindowProc);
        ::SetLastError(0);
        const LONG_PTR old = entry.Unicode ? ::SetWindowLongPtrW(Window, GWLP_WNDPROC, proc)
                                           : ::SetWindowLongPtrA(Window, GWLP_WNDPROC, proc);
        if (old == 0 && ::GetLastError() != 0) {
            EraseIfUnused(Window);
            return false;
        }
        entry.OldProc = reinterpret_cast<WNDPROC>(old);
        entry.InChain = true;
    }
    entry.Raw = this;
    FWindow = Window;
    FOldProc = entry.OldProc;
    FUnicode = entry.Unicode;
    FAttached = true;
    return true;
}

void TWindowHook::Detach()
{
    if (!FAttached) return;
    FAttached = false;
    const auto it = gWindows.find(FWindow);
    if (it == gWindows.end()) return;
    TEntry& entry = it->second;
    if (entry.Raw == this) entry.Raw = nullptr;
    if (entry.InChain && ::IsWindow(FWindow)) {
        // Given back only when ours is on top; else we stay as a pass-through.
        if (CurrentProc(FWindow, entry.Unicode) == &KernelWindowProc) {
            const auto old = reinterpret_cast<LONG_PTR>(entry.OldProc);
            if (entry.Unicode) ::SetWindowLongPtrW(FWindow, GWLP_WNDPROC, old);
            else ::SetWindowLongPtrA(FWindow, GWLP_WNDPROC, old);
            entry.InChain = false;
        }
    } else {
        entry.InChain = false;
    }
    EraseIfUnused(FWindow);
}

bool TWindowHook::CallDefault(TMessage& Message)
{
    const TSkinObject::TToken token = FOwner.Token();
    Message.Result = PassOn(FOldProc, FUnicode, FWindow, Message.Msg, Message.WParam, Message.LParam);
    return token.Alive();
}

// The form's WindowProc calls the hook through a shared record, so that
// letting go never cuts out a WindowProc installed after ours.
struct TWindowProcHook::TRecord {
    TWindowProcHook* Hook;
    TWndMethod Old;

    static void Call(const std::shared_ptr<TRecord>& Record, TMessage& Message)
    {
        const std::shared_ptr<TRecord> record = Record;
        if (record->Hook != nullptr) {
            record->Hook->Dispatch(Message);
            return;
        }
        // The record is held above and its Old never changes: no copy of the
        // method (one heap allocation per message) is needed.
        if (record->Old) record->Old(Message);
    }
};

namespace {

struct TRecordCall {
    std::shared_ptr<TWindowProcHook::TRecord> Record;
    void operator()(TMessage& Message) const;
};

}  // namespace

void TRecordCall::operator()(TMessage& Message) const
{
    TWindowProcHook::TRecord::Call(Record, Message);
}

void TWindowProcHook::Dispatch(TMessage& Message)
{
    // A control's window may be made (or made anew) after the hook.
    if (FBound == nullptr && FControl != nullptr) Bind(ControlWindow(FControl));
    const HWND bound = FBound;
    const UINT msg = Message.Msg;
    ::Dispatch(FOwner, FHandler, Message);
    if (msg != WM_NCDESTROY || bound == nullptr) return;
    // The control's window is gone (the control itself may live on).
    const auto it = gWindows.find(bound);
    if (it != gWindows.end() && it->second.Method != nullptr) {
        TWindowProcHook* hook = it->second.Method;
        it->second.Method = nullptr;
        hook->FBound = nullptr;
        EraseIfUnused(bound);
    }
}

bool TWindowProcHook::Attach(TControl& Control)
{
    if (FRecord != nullptr) return false;
    const HWND window = ControlWindow(&Control);
    if (window != nullptr) {
        const auto it = gWindows.find(window);
        if (it != gWindows.end() && it->second.Method != nullptr) return false;
    }
    FRecord = std::make_shared<TRecord>(TRecord{this, Control.WindowProc});
    FLastRecord = nullptr;
    Control.WindowProc = TRecordCall{FRecord};
    FControl = &Control;
    Bind(window);
    return true;
}

void TWindowProcHook::Bind(HWND Window)
{
    if (Window == nullptr) return;
    TEntry& entry = gWindows[Window];
    if (entry.Method != nullptr) return;
    entry.Method = this;
    FBound = Window;
}

void TWindowProcHook::Unbind()
{
    if (FBound == nullptr) return;
    const auto it = gWindows.find(FBound);
    if (it != gWindows.end() && it->second.Method == this) {
        it->second.Method = nullptr;
        EraseIfUnused(FBound);
    }
    FBound = nullptr;
}

void TWindowProcHook::Detach()
{
    if (FRecord == nullptr) return;
    const std::shared_ptr<TRecord> record = std::move(FRecord);
    Unbind();
    const auto* top = FControl != nullptr ? FControl->WindowProc.target<TRecordCall>() : nullptr;
    if (top != nullptr && top->Record == record) FControl->WindowProc = record->Old;
    record->Hook = nullptr;  // from now on it only passes messages on
    FControl = nullptr;
    FLastRecord = record;
}

bool TWindowProcHook::CallDefault(TMessage& Message)
{
    const TSkinObject::TToken token = FOwner.Token();
    // Held by value: Detach may move FRecord while the old method runs.
    const std::shared_ptr<TRecord> record = FRecord != nullptr ? FRecord : FLastRecord;
    if (record == nullptr || !record->Old) return true;
    record->Old(Message);
    return token.Alive();
}

TSkinObject* FindSkinObject(HWND Window) noexcept
{
    const auto it = gWindows.find(Window);
    if (it == gWindows.end()) return nullptr;
    if (it->second.Raw != nullptr) return &it->second.Raw->Owner();
    if (it->second.Method != nullptr) return &it->second.Method->Owner();
    return it->second.Own != nullptr ? &it->second.Own->Owner() : nullptr;
}

std::size_t HookedWindowCount() noexcept
{
    return gWindows.size();
}
