// The subclassing kernel and the skin-object base: a procedure installed
// after ours survives unskin and re-skin (ANSI and wide windows), objects
// freed from inside their own handlers and modal loops, WindowProc hooks on
// class-library controls, and attach/detach cycles leaving nothing behind.
#include "tests/skin/support/AdapterFixture.h"

#include "classlib/ExceptionHook.h"
#include "skin/SkinWindowMessages.h"
#include "skin/kernel/SkinObject.h"
#include "skin/kernel/WindowHook.h"
#include "tests/support/GdiObjectCount.h"

#include <functional>
#include <stdexcept>
#include <string>

namespace frametest {
namespace {

// Someone else's subclassing: counts what passes and hands it on.
struct TThirdParty {
    static inline WNDPROC Old = nullptr;
    static inline bool Unicode = false;
    static inline int Seen = 0;
    static LRESULT CALLBACK Proc(HWND W, UINT M, WPARAM WP, LPARAM LP)
    {
        if (M == WM_APP) ++Seen;
        return Unicode ? ::CallWindowProcW(Old, W, M, WP, LP) : ::CallWindowProcA(Old, W, M, WP, LP);
    }
    static void Install(HWND W)
    {
        Unicode = ::IsWindowUnicode(W) != FALSE;
        Seen = 0;
        const auto proc = reinterpret_cast<LONG_PTR>(&Proc);
        Old = reinterpret_cast<WNDPROC>(Unicode ? ::SetWindowLongPtrW(W, GWLP_WNDPROC, proc)
                                                : ::SetWindowLongPtrA(W, GWLP_WNDPROC, proc));
    }
};

// The window's own procedure: what reached it, and the text of WM_SETTEXT
// as it arrived (a wrong A/W pass-on converts it).
int gOwnSeen = 0;
std::string gOwnText;

LRESULT CALLBACK OwnProcA(HWND W, UINT M, WPARAM WP, LPARAM LP)
{
    if (M == WM_APP) ++gOwnSeen;
    if (M == WM_SETTEXT) gOwnText = reinterpret_cast<const char*>(LP);
    return ::DefWindowProcA(W, M, WP, LP);
}

LRESULT CALLBACK OwnProcW(HWND W, UINT M, WPARAM WP, LPARAM LP)
{
    if (M == WM_APP) ++gOwnSeen;
    if (M == WM_SETTEXT) {
        gOwnText.clear();
        for (const wchar_t* p = reinterpret_cast<const wchar_t*>(LP); *p != 0; ++p) gOwnText += static_cast<char>(*p);
    }
    return ::DefWindowProcW(W, M, WP, LP);
}

HWND MakeOwnWindow(bool Unicode)
{
    static const bool registered = [] {
        WNDCLASSA a{};
        a.lpfnWndProc = OwnProcA;
        a.hInstance = ::GetModuleHandleW(nullptr);
        a.lpszClassName = "TbKernelA";
        WNDCLASSW w{};
        w.lpfnWndProc = OwnProcW;
        w.hInstance = ::GetModuleHandleW(nullptr);
        w.lpszClassName = L"TbKernelW";
        return ::RegisterClassA(&a) != 0 && ::RegisterClassW(&w) != 0;
    }();
    EXPECT_TRUE(registered);
    return Unicode ? ::CreateWindowExW(0, L"TbKernelW", L"Kernel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80, 320, 220,
                                       nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr)
                   : ::CreateWindowExA(0, "TbKernelA", "Kernel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80, 320, 220,
                                       nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

TEST_F(FrameTest, AProcedureInstalledAfterOursSurvivesUnskinAndReskin)
{
    const TSkinnedForm main = MakeForm();
    ASSERT_NE(ShowSkinned(main.Form), nullptr);
    for (const bool unicode : {false, true}) {
        SCOPED_TRACE(unicode ? "wide window" : "ANSI window");
        const HWND w = MakeOwnWindow(unicode);
        Windows.push_back(w);
        const auto own = reinterpret_cast<LONG_PTR>(unicode ? &OwnProcW : &OwnProcA);
        ::SetForegroundWindow(w);
        ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(w); }));
        TThirdParty::Install(w);

        // Unskinned: our procedure stays in the chain and only passes on.
        RunAction(main.Data, saUnskinAll);
        EXPECT_EQ(Frame(w), nullptr);
        EXPECT_EQ(::SendMessageA(w, WM_SKIN_QUERY, 0, 0), 0);
        gOwnSeen = 0;
        ::SendMessageW(w, WM_APP, 0, 0);
        EXPECT_EQ(TThirdParty::Seen, 1);
        EXPECT_EQ(gOwnSeen, 1);

        // Skinned again where we stand in the chain: every procedure sees a
        // message once, and texts arrive in the window's own character set
        // (our procedure went in through the window's own entry).
        RunAction(main.Data, saSkinAll);
        ASSERT_TRUE(SkinManager->SkinWindow(w));
        ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(w); }));
        gOwnSeen = TThirdParty::Seen = 0;
        ::SendMessageW(w, WM_APP, 0, 0);
        EXPECT_EQ(TThirdParty::Seen, 1);
        EXPECT_EQ(gOwnSeen, 1);
        EXPECT_EQ(::SendMessageA(w, WM_SKIN_QUERY, 0, 0), 1);
        if (unicode) ::SendMessageW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"wide text"));
        else ::SendMessageA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("ansi text"));
        EXPECT_EQ(gOwnText, unicode ? "wide text" : "ansi text");

        // The other one leaves; ours is on top again and goes when unskinned.
        RunAction(main.Data, saUnskinAll);
        if (unicode) ::SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TThirdParty::Old));
        else ::SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TThirdParty::Old));
        RunAction(main.Data, saSkinAll);
        ASSERT_TRUE(SkinManager->SkinWindow(w));
        RunAction(main.Data, saUnskinAll);
        EXPECT_EQ(unicode ? ::GetWindowLongPtrW(w, GWLP_WNDPROC) : ::GetWindowLongPtrA(w, GWLP_WNDPROC), own);
        ::DestroyWindow(w);
        RunAction(main.Data, saSkinAll);
    }
}

// A skin object of the tests' own on a raw window.
class TProbe : public TSkinObject {
public:
    TProbe() : Hook(*this, [](TSkinObject& O, TMessage& M) { static_cast<TProbe&>(O).Handle(M); }) {}
    ~TProbe() override { ++Freed; }

    static inline int Freed = 0;
    TWindowHook Hook;
    std::function<void(TProbe&, TMessage&)> OnMessage;
    int Handled = 0;

private:
    void Handle(TMessage& M)
    {
        if (OnMessage) {
            const auto handler = OnMessage;  // the probe may go inside
            const TToken life = Token();
            handler(*this, M);
            if (!life.Alive()) return;
        }
        ++Handled;
        Hook.CallDefault(M);
    }
};

TEST_F(FrameTest, ASkinObjectFreedFromItsOwnHandlerGoesWhenTheHandlerReturns)
{
    const HWND w = MakeWindow(WS_OVERLAPPEDWINDOW);
    const size_t windows = HookedWindowCount();
    TProbe::Freed = 0;

    // Asked to go from inside its handler, twice nested: it goes when the
    // outer one returns, and neither handler goes on after the request.
    auto* probe = new TProbe;
    ASSERT_TRUE(probe->Hook.Attach(w));
    int handledAfterFree = 0;
    probe->OnMessage = [w, &handledAfterFree](TProbe& P, TMessage& M) {
        if (M.Msg == WM_APP) {
            const int before = P.Handled;
            ::SendMessageW(w, WM_APP + 1, 0, 0);
            handledAfterFree += P.Handled - before;
        }
        if (M.Msg == WM_APP + 1) {
            P.Hook.Detach();
            P.FreeDeferred();
            EXPECT_EQ(TProbe::Freed, 0);
            // Still there, but out of service: callers up the stack stop.
            EXPECT_FALSE(P.Token().Alive());
        }
    };
    ::SendMessageW(w, WM_APP, 0, 0);
    EXPECT_EQ(TProbe::Freed, 1);
    EXPECT_EQ(handledAfterFree, 0);
    EXPECT_EQ(FindSkinObject(w), nullptr);

    // Freed by its owner from a modal loop inside its own handler: nothing
    // touches it afterwards, and the window goes on with its own procedure.
    probe = new TProbe;
    ASSERT_TRUE(probe->Hook.Attach(w));
    probe->OnMessage = [w](TProbe& P, TMessage& M) {
        if (M.Msg != WM_APP) return;
        TProbe* self = &P;
        const UINT_PTR timer = ::SetTimer(w, 7, 10, nullptr);
        const DWORD deadline = ::GetTickCount() + 5000;
        for (MSG msg{}; self != nullptr && ::GetTickCount() < deadline;) {
            if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
                continue;
            }
            if (msg.message == WM_TIMER && msg.hwnd == w) {
                delete self;  // not deferred: an owner frees its components at once
                self = nullptr;
            }
            ::DispatchMessageW(&msg);
        }
        ::KillTimer(w, timer);
        EXPECT_EQ(self, nullptr) << "the timer never came";
    };
    EXPECT_EQ(::SendMessageW(w, WM_APP, 0, 0), 0);
    EXPECT_EQ(TProbe::Freed, 2);
    EXPECT_EQ(FindSkinObject(w), nullptr);
    EXPECT_EQ(::SendMessageW(w, WM_SKIN_QUERY, 0, 0), 0);
    ::DestroyWindow(w);
    EXPECT_EQ(HookedWindowCount(), windows);
}

// A skin object of the tests' own with a window it makes itself.
class TMaker : public TSkinObject {
public:
    TMaker() : Own(*this, [](TOwnWindow&, TMessage& M) { return Handle(M); }) {}
    ~TMaker() override { ++Freed; }

    static inline int Freed = 0;
    static inline int Stopped = 0;  // exceptions that reached the handler of the program
    static inline std::function<bool(TMessage&)> OnMessage;
    TOwnWindow Own;

private:
    static bool Handle(TMessage& M) { return OnMessage && OnMessage(M); }
};

TEST_F(FrameTest, WindowsTheEngineMakesTakeTheKernelsWay)
{
    static const bool registered = [] {
        WNDCLASSW c{};
        c.lpfnWndProc = OwnWindowProc;
        c.hInstance = ::GetModuleHandleW(nullptr);
        c.lpszClassName = L"TbKernelOwn";
        return ::RegisterClassW(&c) != 0;
    }();
    ASSERT_TRUE(registered);
    const HWND parent = MakeWindow(WS_OVERLAPPEDWINDOW);
    const size_t windows = HookedWindowCount();
    TMaker::Freed = TMaker::Stopped = 0;
    SetExceptionHandler([](std::exception_ptr) { ++TMaker::Stopped; });

    // In the registry from its creation; an exception stops at the kernel and
    // what the handler leaves reaches the default procedure.
    auto* maker = new TMaker;
    TMaker::OnMessage = [](TMessage& M) {
        if (M.Msg == WM_APP) throw std::runtime_error("handler failed");
        if (M.Msg != WM_APP + 1) return false;
        M.Result = 42;
        return true;
    };
    const HWND w = maker->Own.Create(0, L"TbKernelOwn", WS_CHILD, parent);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(maker->Own.Window(), w);
    EXPECT_EQ(FindSkinObject(w), maker);
    EXPECT_EQ(HookedWindowCount(), windows + 1);
    EXPECT_EQ(::SendMessageW(w, WM_APP + 1, 0, 0), 42);
    ::SendMessageW(w, WM_APP, 0, 0);
    EXPECT_EQ(TMaker::Stopped, 1);
    ::SetWindowTextW(w, L"passed on");
    wchar_t text[16] = {};
    ::GetWindowTextW(w, text, 16);
    EXPECT_STREQ(text, L"passed on");

    // Freed from inside its own window's handler: it goes, with its window,
    // when the handler returns.
    TMaker::OnMessage = [maker](TMessage& M) {
        if (M.Msg != WM_APP + 2) return false;
        maker->FreeDeferred();
        EXPECT_EQ(TMaker::Freed, 0);
        return true;
    };
    ::SendMessageW(w, WM_APP + 2, 0, 0);
    EXPECT_EQ(TMaker::Freed, 1);
    EXPECT_FALSE(::IsWindow(w));
    EXPECT_EQ(HookedWindowCount(), windows);

    // Destroyed with its parent first: let go at WM_NCDESTROY, and the
    // object's end touches no window.
    TMaker::OnMessage = nullptr;
    TMaker made;
    const HWND child = made.Own.Create(0, L"TbKernelOwn", WS_CHILD, parent);
    ASSERT_NE(child, nullptr);
    ::DestroyWindow(parent);
    EXPECT_EQ(made.Own.Window(), nullptr);
    EXPECT_EQ(FindSkinObject(child), nullptr);
    EXPECT_EQ(HookedWindowCount(), windows);
    SetExceptionHandler(nullptr);
}

TEST_F(AdapterTest, WindowProcHooksFollowTheKernelsRules)
{
    const TSkinnedControl made = MakeSkinnedControl();
    TButton& button = *made.Control;
    const HWND w = button.Handle();
    const TWndMethod ownProc = button.WindowProc;
    const COLORREF own = PrintClient(w).Pixel(6, 6);

    // A probe that paints the control green when it prints its client area.
    struct TPainter : TSkinObject {
        TPainter() : Hook(*this, [](TSkinObject& O, TMessage& M) { static_cast<TPainter&>(O).Handle(M); }) {}
        void Handle(TMessage& M)
        {
            if (M.Msg == WM_PRINTCLIENT) {
                RECT r{};
                ::GetClientRect(Window, &r);
                const HBRUSH green = ::CreateSolidBrush(RGB(0, 160, 0));
                ::FillRect(reinterpret_cast<HDC>(M.WParam), &r, green);
                ::DeleteObject(green);
                return;
            }
            if (M.Msg == WM_APP) ++Seen;
            Hook.CallDefault(M);
        }
        TWindowProcHook Hook;
        HWND Window = nullptr;
        int Seen = 0;
    };
    TPainter painter;
    painter.Window = w;
    ASSERT_TRUE(painter.Hook.Attach(button));
    EXPECT_EQ(FindSkinObject(w), &painter);
    EXPECT_EQ(PrintClient(w).Pixel(6, 6), RGB(0, 160, 0));

    // Someone replaces WindowProc after us: letting go leaves it in place and
    // passes messages through; hooking again puts us in front of it.
    int thirdSeen = 0;
    button.WindowProc = [old = button.WindowProc, &thirdSeen](TMessage& M) {
        if (M.Msg == WM_APP) ++thirdSeen;
        old(M);
    };
    painter.Hook.Detach();
    EXPECT_EQ(FindSkinObject(w), nullptr);
    ::SendMessageW(w, WM_APP, 0, 0);
    EXPECT_EQ(thirdSeen, 1);
    EXPECT_EQ(painter.Seen, 0);
    EXPECT_EQ(PrintClient(w).Pixel(6, 6), own);
    ASSERT_TRUE(painter.Hook.Attach(button));
    ::SendMessageW(w, WM_APP, 0, 0);
    EXPECT_EQ(thirdSeen, 2);
    EXPECT_EQ(painter.Seen, 1);
    painter.Hook.Detach();

    ExpectNothingLeftAfter(1000, [&] { painter.Hook.Attach(button); }, [&] { painter.Hook.Detach(); });
    button.WindowProc = ownProc;  // the third party's captures end with the test
}

TEST_F(FrameTest, AThousandSkinCyclesLeaveNoWindowOrGdiObjectBehind)
{
    const TSkinnedForm main = MakeForm();
    ASSERT_NE(ShowSkinned(main.Form), nullptr);
    const HWND w = main.Form->Handle();
    const size_t windows = HookedWindowCount();
    const int gdi = GdiObjectCount();
    ASSERT_GE(gdi, 0) << kNoGdiObjectCount;
    for (int i = 0; i < 1000; ++i) {
        RunAction(main.Data, saUnskinAll);
        RunAction(main.Data, saSkinAll);
        ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(w); })) << i;
    }
    EXPECT_EQ(HookedWindowCount(), windows);
    EXPECT_EQ(GdiObjectCount(), gdi);
}

}  // namespace
}  // namespace frametest
