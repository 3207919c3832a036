// TTimer: when the system timer runs (Enabled, Interval, OnTimer in code and
// in descriptions), and handlers that free the timer or raise.
#include "ControlsFixture.h"

#include "classlib/Timers.h"
#include "classlib/portable/DescriptionReader.h"
#include "classlib/portable/SysUtils.h"
#include "classlib/portable/TypInfo.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Handles messages until Done holds; false if it still does not after the deadline.
template <class F>
bool PumpUntil(F Done, DWORD DeadlineMs = 5000)
{
    const ULONGLONG end = GetTickCount64() + DeadlineMs;
    while (!Done()) {
        if (GetTickCount64() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
    return true;
}

// Handles messages until a 20 ms witness timer of this thread has ticked
// three times, by which time any 20 ms timer still running has ticked too.
// Answers whether a WM_TIMER other than the witness's came meanwhile.
bool OtherTimerTicked()
{
    HWND witness = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    EXPECT_NE(witness, nullptr);
    SetTimer(witness, 1, 20, nullptr);
    int ticks = 0;
    bool other = false;
    const ULONGLONG end = GetTickCount64() + 5000;
    while (ticks < 3 && GetTickCount64() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER && msg.hwnd == witness) {
                ++ticks;
                continue;
            }
            if (msg.message == WM_TIMER) other = true;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    KillTimer(witness, 1);
    DestroyWindow(witness);
    EXPECT_GE(ticks, 3) << "the witness timer did not tick in time";
    return other;
}

// Handles messages for three intervals of a 20 ms timer (ticks still count).
void PumpQuietly()
{
    OtherTimerTicked();
}

// Records where it was destroyed: a handler running after its own copy died
// finds its mark in the list.
struct TLifeMark {
    static inline std::vector<const TLifeMark*> Destroyed;
    TLifeMark() = default;
    TLifeMark(const TLifeMark&) = default;
    ~TLifeMark() { Destroyed.push_back(this); }
    bool Gone() const { return std::find(Destroyed.begin(), Destroyed.end(), this) != Destroyed.end(); }
};

// A root that descriptions bind a timer's OnTimer to.
class TTickRoot : public TComponent {
public:
    DECLARE_CLASS_INFO()
    using TComponent::TComponent;
    void TickTimer(TObject*) { ++Ticks; }
    int Ticks = 0;
};

const TClassInfo& TTickRoot::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTickRoot>("TTickRoot", TComponent::StaticClassInfo())
                                       .Method("TickTimer", &TTickRoot::TickTimer)
                                       .Build();
    return info;
}

// The fixture records the error boxes that exceptions escaping OnTimer end in.
class Timers : public Controls {
protected:
    std::unique_ptr<TTimer> Timer = std::make_unique<TTimer>(nullptr);
    int Ticks = 0;

    void Count()
    {
        Timer->OnTimer = [this](TObject* Sender) {
            EXPECT_EQ(Sender, Timer.get());
            ++Ticks;
        };
    }
};

} // namespace

TEST_F(Timers, FiresRepeatedlyUntilDisabled)
{
    EXPECT_TRUE(Timer->Enabled());
    EXPECT_EQ(Timer->Interval(), 1000u);
    Timer->SetInterval(20);
    Count();
    EXPECT_TRUE(PumpUntil([&] { return Ticks >= 3; }));
    Timer->SetEnabled(false);
    const int seen = Ticks;
    PumpQuietly();
    EXPECT_EQ(Ticks, seen);
    Timer->SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return Ticks > seen; }));
}

TEST_F(Timers, RunsOnlyWithAHandlerAndANonZeroInterval)
{
    Timer->SetInterval(20);
    EXPECT_FALSE(OtherTimerTicked());
    // Assigned after Enabled, the handler starts it.
    Count();
    EXPECT_TRUE(PumpUntil([&] { return Ticks >= 1; }));
    Timer->SetInterval(0);
    const int seen = Ticks;
    PumpQuietly();
    EXPECT_EQ(Ticks, seen);
    Timer->SetInterval(20);
    EXPECT_TRUE(PumpUntil([&] { return Ticks > seen; }));
    Timer->OnTimer = nullptr;
    Pump();
    EXPECT_FALSE(OtherTimerTicked());
}

TEST_F(Timers, ANewIntervalRestartsTheTimer)
{
    Timer->SetInterval(60000);
    Count();
    PumpQuietly();
    EXPECT_EQ(Ticks, 0);
    Timer->SetInterval(20);
    EXPECT_TRUE(PumpUntil([&] { return Ticks >= 2; }));
}

TEST_F(Timers, HandlerMayDisableTheTimer)
{
    Timer->SetInterval(20);
    Timer->OnTimer = [this](TObject*) {
        ++Ticks;
        Timer->SetEnabled(false);
    };
    EXPECT_TRUE(PumpUntil([&] { return Ticks >= 1; }));
    PumpQuietly();
    EXPECT_EQ(Ticks, 1);
}

TEST_F(Timers, HandlerMayFreeTheTimerOrItsOwnerAndRaise)
{
    struct TCase {
        const char* Name;
        bool FreeOwner, Raise;
    };
    for (const TCase c : {TCase{"timer", false, false}, TCase{"owner", true, false}, TCase{"timer, raising", false, true}}) {
        SCOPED_TRACE(c.Name);
        Boxes.clear();
        TLifeMark::Destroyed.clear();
        Ticks = 0;
        auto* owner = new TComponent(nullptr);
        auto* timer = new TTimer(owner);
        timer->SetInterval(20);
        // The running handler must outlive the timer that held it.
        timer->OnTimer = [this, c, owner, mark = TLifeMark()](TObject* Sender) {
            ++Ticks;
            if (c.FreeOwner) delete owner;
            else delete Sender;
            EXPECT_FALSE(mark.Gone());
            if (c.Raise) throw Exception("gone");
        };
        EXPECT_TRUE(PumpUntil([&] { return Ticks >= 1; }));
        PumpQuietly();
        EXPECT_EQ(Ticks, 1);
        if (!c.FreeOwner) {
            EXPECT_EQ(owner->ComponentCount(), 0);
            delete owner;
        }
        ASSERT_EQ(Boxes.size(), c.Raise ? 1u : 0u);
        if (c.Raise) {
            EXPECT_EQ(Boxes[0].Text, L"gone");
        }
    }
}

TEST_F(Timers, DescriptionsCreateTimersAndBindingAHandlerStartsOne)
{
    TTickRoot root(nullptr);
    ReadDescription(root, "object Root: TTickRoot\n"
                          "  object Tick: TTimer\n    Interval = 20\n    OnTimer = TickTimer\n  end\n"
                          "  object Idle: TTimer\n    Interval = 20\n  end\n"
                          "end\n");
    EXPECT_TRUE(PumpUntil([&] { return root.Ticks >= 2; }));
    delete root.FindComponent("Tick");
    PumpQuietly();
    const int seen = root.Ticks;
    auto& idle = static_cast<TTimer&>(*root.FindComponent("Idle"));
    EXPECT_FALSE(IsMethodAssigned(idle, "OnTimer"));
    SetMethodProp(idle, "OnTimer", root, "TickTimer");
    EXPECT_TRUE(IsMethodAssigned(idle, "OnTimer"));
    EXPECT_TRUE(PumpUntil([&] { return root.Ticks > seen; }));
    ClearMethodProp(idle, "OnTimer");
    EXPECT_FALSE(idle.OnTimer);
    const int cleared = root.Ticks;
    PumpQuietly();
    EXPECT_EQ(root.Ticks, cleared);
}
