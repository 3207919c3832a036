// For tests of skin objects that take over child controls: a skinned form
// holding a class-library control, attach/detach loops that must leave the
// window registry and the GDI objects as they were, and a control's pixels
// as it paints itself through WM_PRINTCLIENT.
#pragma once

#include "tests/skin/support/FrameFixture.h"
#include "classlib/Canvas.h"
#include "classlib/StdCtrls.h"

#include <functional>

namespace frametest {

class AdapterTest : public FrameTest {
protected:
    struct TSkinnedControl {
        TForm* Form = nullptr;
        TButton* Control = nullptr;
    };
    // A shown, skinned form with a push button at (20, 20), 120 x 30 that
    // the dispatch leaves alone.
    TSkinnedControl MakeSkinnedControl();
    // Runs Attach and Detach Rounds times; the registry must end as it
    // began and no GDI object may be left over.
    void ExpectNothingLeftAfter(int Rounds, const std::function<void()>& Attach, const std::function<void()>& Detach);
    // The control's client area as WM_PRINTCLIENT paints it into a bitmap.
    static frameharness::TWindowCapture PrintClient(HWND Control);
    // The window as shown after a full repaint, frame included.
    static frameharness::TWindowCapture Shown(HWND Window);
    // Glyph made a strip of two solid 16 x 16 cells of these colours, each
    // with a white lower-left pixel (the colour a glyph leaves out).
    static constexpr COLORREF GlyphCells[2] = {RGB(200, 40, 40), RGB(90, 90, 240)};
    static void MakeTwoCellGlyph(TBitmap& Glyph);
    // A new control of Form at Bounds.
    template <class T>
    static T* PlaceAt(TForm* Form, RECT Bounds)
    {
        auto* control = new T(Form);
        control->SetParent(Form);
        control->SetBounds(Bounds.left, Bounds.top, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top);
        return control;
    }
};

}  // namespace frametest
