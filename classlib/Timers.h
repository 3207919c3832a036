// TTimer: calls OnTimer every Interval milliseconds from the message loop of
// the thread that made it (WM_TIMER on a hidden utility window). The system
// timer exists only while Enabled, Interval > 0 and OnTimer is assigned.
#pragma once

#include "Messages.h"
#include "classlib/portable/Classes.h"

#include <cstdint>

class TTimer;

// TTimer's OnTimer: a TNotifyEvent whose assignment starts or stops its
// timer, so that a handler set after Enabled takes effect.
class TTimerEvent {
public:
    explicit TTimerEvent(TTimer& Timer) noexcept : FTimer(Timer) {}
    TTimerEvent(const TTimerEvent&) = delete;
    // Copies the handler only: each event stays with its own timer.
    TTimerEvent& operator=(const TTimerEvent& Other) { return *this = Other.FHandler; }
    TTimerEvent& operator=(TNotifyEvent Handler);

    explicit operator bool() const noexcept { return static_cast<bool>(FHandler); }
    void operator()(TObject* Sender) const { FHandler(Sender); }
    const TNotifyEvent& Handler() const noexcept { return FHandler; }

private:
    TTimer& FTimer;
    TNotifyEvent FHandler;
};

class TTimer : public TComponent {
public:
    DECLARE_CLASS_INFO()
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    // A change restarts the system timer, so the next OnTimer comes a whole
    // Interval later. Raises EOutOfResources when the system has no timer left.
    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool value);
    uint32_t Interval() const noexcept { return FInterval; }
    void SetInterval(uint32_t value);

    // Sender is the timer. The handler may disable or free the timer (or its owner).
    TTimerEvent OnTimer{*this};

protected:
    void Loaded() override;

private:
    friend class TTimerEvent;

    // Kills the system timer and sets it again if it should run.
    void UpdateTimer();
    void WndProc(TMessage& Message);

    // A plain handle: the window's last messages, sent while the destructor
    // destroys it, still need it for DefWindowProcW.
    HWND FWindow = nullptr;
    bool FEnabled = true;
    bool FRunning = false;
    uint32_t FInterval = 1000;
};

// Lets descriptions create timers.
void RegisterTimers();
