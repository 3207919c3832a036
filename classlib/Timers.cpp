// TTimer: its published properties, starting and stopping the system timer,
// and the utility window that turns WM_TIMER into OnTimer.
#include "Timers.h"

#include "UtilWindow.h"
#include "classlib/portable/SysUtils.h"
#include "classlib/portable/TypInfo.h"

#include <any>

namespace {

constexpr UINT_PTR kTimerId = 1;

} // namespace

// Descriptions bind OnTimer through TTimerEvent's assignment too, so that a
// handler bound to an enabled timer starts it as one assigned in code does.
template <>
template <>
TClassBuilder<TTimer>& TClassBuilder<TTimer>::Event<TTimerEvent, TTimer>(std::string_view name,
                                                                          TTimerEvent TTimer::*field)
{
    TPropInfo& p = Add(name, TTypeKind::tkMethod);
    p.IsAssigned = [field](const TObject& o) { return static_cast<bool>(static_cast<const TTimer&>(o).*field); };
    p.SetMethod = [field](TObject& o, const std::any& handler) {
        const TNotifyEvent* fn = std::any_cast<TNotifyEvent>(&handler);
        if (handler.has_value() && fn == nullptr) return false;
        static_cast<TTimer&>(o).*field = fn != nullptr ? *fn : TNotifyEvent();
        return true;
    };
    return *this;
}

const TClassInfo& TTimer::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTimer>("TTimer", TComponent::StaticClassInfo())
                                       .Creatable()
                                       .Boolean("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
                                       .Integer("Interval", &TTimer::Interval, &TTimer::SetInterval)
                                       .Event("OnTimer", &TTimer::OnTimer)
                                       .Build();
    return info;
}

void RegisterTimers()
{
    RegisterComponentClass(TTimer::StaticClassInfo());
}

TTimerEvent& TTimerEvent::operator=(TNotifyEvent Handler)
{
    FHandler = std::move(Handler);
    FTimer.UpdateTimer();
    return *this;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FWindow(AllocateHWnd([this](TMessage& m) { WndProc(m); }))
{
}

TTimer::~TTimer()
{
    // Freed from its own OnTimer, the timer takes its window down inside that
    // window's message; WndProc touches nothing once the handler has run.
    if (FRunning) KillTimer(FWindow, kTimerId);
    DeallocateHWnd(FWindow);
}

void TTimer::SetEnabled(bool value)
{
    if (value == FEnabled) return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(uint32_t value)
{
    if (value == FInterval) return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::Loaded()
{
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    // Loaded starts it once the whole description has been read.
    if (InState(csLoading)) return;
    if (FRunning) {
        KillTimer(FWindow, kTimerId);
        FRunning = false;
    }
    if (!FEnabled || FInterval == 0 || !OnTimer || InState(csDesigning)) return;
    if (SetTimer(FWindow, kTimerId, FInterval, nullptr) == 0)
        throw EOutOfResources("no system timer left for TTimer", GetLastError());
    FRunning = true;
}

void TTimer::WndProc(TMessage& Message)
{
    if (Message.Msg != WM_TIMER) {
        Message.Result = DefWindowProcW(FWindow, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    Message.Result = 0;
    // A WM_TIMER taken from the queue just before the timer stopped.
    if (!FRunning || Message.WParam != kTimerId) return;
    // A copy: the handler may free the timer, and OnTimer with it.
    const TNotifyEvent handler = OnTimer.Handler();
    handler(this);
}
