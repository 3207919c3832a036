#include "tests/skin/support/AdapterFixture.h"

#include "classlib/Handles.h"
#include "skin/kernel/WindowHook.h"
#include "tests/support/GdiObjectCount.h"

namespace frametest {

AdapterTest::TSkinnedControl AdapterTest::MakeSkinnedControl()
{
    const TSkinnedForm made = MakeForm();
    TSkinnedControl result{made.Form, new TButton(made.Form)};
    result.Control->SetParent(made.Form);
    result.Control->SetBounds(20, 20, 120, 30);
    result.Control->SetCaption("Button");
    // Left to the test's own adapters: the dispatch would give it a button adapter.
    result.Control->SetTag(made.Data->DisableTag());
    EXPECT_NE(ShowSkinned(made.Form), nullptr);
    return result;
}

void AdapterTest::ExpectNothingLeftAfter(int Rounds, const std::function<void()>& Attach,
                                         const std::function<void()>& Detach)
{
    const size_t windows = HookedWindowCount();
    const int gdi = GdiObjectCount();
    ASSERT_GE(gdi, 0) << kNoGdiObjectCount;
    for (int i = 0; i < Rounds; ++i) {
        Attach();
        Detach();
    }
    Pump();
    EXPECT_EQ(HookedWindowCount(), windows);
    EXPECT_EQ(GdiObjectCount(), gdi);
}

frameharness::TWindowCapture AdapterTest::PrintClient(HWND Control)
{
    return frameharness::TWindowCapture::Paint(Control, [Control](HDC DC) {
        ::SendMessageW(Control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(DC), PRF_CLIENT | PRF_ERASEBKGND);
    });
}

void AdapterTest::MakeTwoCellGlyph(TBitmap& Glyph)
{
    Glyph.SetPixelFormat(TPixelFormat::pf24bit);
    Glyph.SetSize(32, 16);
    for (int i = 0; i < 2; ++i) {
        const TGdiObject brush(::CreateSolidBrush(GlyphCells[i]));
        const RECT cell{16 * i, 0, 16 * (i + 1), 16};
        ::FillRect(Glyph.Canvas()->Handle(), &cell, static_cast<HBRUSH>(brush.Get()));
        Glyph.Canvas()->SetPixel(16 * i, 15, clWhite);
    }
}

frameharness::TWindowCapture AdapterTest::Shown(HWND Window)
{
    ::RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    Pump();
    return frameharness::TWindowCapture::Take(Window);
}

}  // namespace frametest
