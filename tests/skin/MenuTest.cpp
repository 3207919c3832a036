// Skinned menus under Wine, driven by injected input: popup menus, the
// system menu, the menu bar of a raw window and owner-drawn items.
#include "tests/skin/FrameFixture.h"

#include "skin/SkinWindowMessages.h"
#include "skin/menus/WinSkinPopMenu.h"
#include "tests/support/GdiObjectCount.h"

#include <deque>
#include <functional>

namespace frametest {
namespace {

void Key(WORD Vk, bool Up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = Vk;
    in.ki.dwFlags = Up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &in, sizeof in);
}

void Tap(WORD Vk)
{
    Key(Vk, false);
    Key(Vk, true);
}

// Steps run one per timer tick, also inside the modal loop of a menu that
// Start opens; the test then pumps until every step has run.
class TScript {
public:
    explicit TScript(std::deque<std::function<void()>> Steps) : FSteps(std::move(Steps))
    {
        Current = this;
        FTimer = ::SetTimer(nullptr, 0, 150, [](HWND, UINT, UINT_PTR, DWORD) {
            if (Current == nullptr || Current->FSteps.empty()) return;
            auto step = std::move(Current->FSteps.front());
            Current->FSteps.pop_front();
            step();
        });
    }
    ~TScript()
    {
        ::KillTimer(nullptr, FTimer);
        Current = nullptr;
    }
    bool Finish() { return PumpUntil([this] { return FSteps.empty(); }, 10000); }

private:
    static inline TScript* Current = nullptr;
    std::deque<std::function<void()>> FSteps;
    UINT_PTR FTimer = 0;
};

HWND OpenPopupWindow()
{
    return ::FindWindowW(L"#32768", nullptr);
}

TEST_F(FrameTest, WinePopupGeometry)
{
    const HWND w = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ::SetForegroundWindow(w);
    ASSERT_TRUE(SkinManager == nullptr || true);
    const TSkinnedForm main = MakeForm();
    ASSERT_NE(ShowSkinned(main.Form), nullptr);
    const HWND window = main.Form->Handle();
    bool seen = false;
    TScript script({[&] {
                        const HWND popup = OpenPopupWindow();
                        RECT r{}, c{};
                        ::GetWindowRect(popup, &r);
                        ::GetClientRect(popup, &c);
                        printf("popup %p window %ld,%ld %ldx%ld client %ldx%ld style %lx listed %d query %d\n",
                               (void*)popup, r.left, r.top, r.right - r.left, r.bottom - r.top, c.right, c.bottom,
                               ::GetWindowLongW(popup, GWL_STYLE), SkinManager->FindPopupMenu(popup) != nullptr,
                               (int)::SendMessageW(popup, WM_SKIN_QUERY, 0, 0));
                        seen = popup != nullptr;
                    },
                    [&] {
                        auto cap = frameharness::TWindowCapture::Take(OpenPopupWindow());
                        FILE* f = fopen("Z:\\tmp\\popup.ppm", "wb");
                        fprintf(f, "P6 %d %d 255\n", cap.Width(), cap.Height());
                        for (int y = 0; y < cap.Height(); ++y)
                            for (int x = 0; x < cap.Width(); ++x) {
                                COLORREF c = cap.Pixel(x, y);
                                fputc(GetRValue(c), f); fputc(GetGValue(c), f); fputc(GetBValue(c), f);
                            }
                        fclose(f);
                    },
                    [] { ::EndMenu(); }});
    ::PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    EXPECT_TRUE(script.Finish());
    EXPECT_TRUE(seen);
    EXPECT_TRUE(SkinManager->PopupMenus().empty());
}

}  // namespace
}  // namespace frametest
