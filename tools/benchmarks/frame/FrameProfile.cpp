// Where the time of one skinned frame paint goes: the steps of the frame
// object's PaintNC and PaintTitle, each repeated alone on the same window
// and the same bitmaps, flushed and timed.
#include "FrameBench.h"

#include "classlib/Handles.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinElements.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinForm.h"

#include <string>

namespace benchframe {

namespace {

// The frame object's border part numbers.
constexpr int PartLeft = 1, PartRight = 2, PartTitle = 3, PartBottom = 4;

}  // namespace
}  // namespace benchframe

// The benchmark's way into the frame object's painting steps.
struct TWinSkinFormTestAccess {
    static std::vector<std::pair<std::string, double>> Profile(TWinSkinForm& Form, int Warmup, int Runs);
};

namespace benchframe {

std::vector<std::pair<std::string, double>> ProfileSkinnedPaint(TWinSkinForm& Form, int Warmup, int Runs)
{
    return TWinSkinFormTestAccess::Profile(Form, Warmup, Runs);
}

}  // namespace benchframe

std::vector<std::pair<std::string, double>> TWinSkinFormTestAccess::Profile(TWinSkinForm& Form, int Warmup, int Runs)
{
    using namespace benchframe;
    std::vector<std::pair<std::string, double>> parts;
    const auto time = [&](const std::string& Name, const std::function<void()>& Body) {
        const double ms = StatsOf(TimeEach(Warmup, Runs, [&] {
                              Body();
                              ::GdiFlush();
                          })).Median;
        parts.emplace_back(Name, ms);
        return ms;
    };
    const HWND wnd = Form.FHandle;
    // Sizes and title-button layout as the last paint left them.
    Form.PaintNC(nullptr);
    const int w = Form.FWidth, h = Form.FHeight;
    const RECT left{0, 0, Form.FBorderLeft, h};
    const RECT right{w - Form.FBorderRight, 0, w, h};
    const RECT bottom{Form.FBorderLeft, h - Form.FBorderBottom, w - Form.FBorderRight, h};
    const RECT title{Form.FBorderLeft, 0, w - Form.FBorderRight, Form.FTitleHeight};

    time("paintnc_whole", [&] { Form.PaintNC(nullptr); });
    time("getwindowdc_release", [&] { const TWindowDC dc(wnd, ::GetWindowDC(wnd)); });
    time("getwindowrect", [&] {
        RECT r;
        ::GetWindowRect(wnd, &r);
    });
    const TWindowDC dc(wnd, ::GetWindowDC(wnd));
    time("border_left", [&] { Form.DrawBorderPart(PartLeft, left, dc.Get()); });
    time("border_right", [&] { Form.DrawBorderPart(PartRight, right, dc.Get()); });
    time("border_bottom", [&] { Form.DrawBorderPart(PartBottom, bottom, dc.Get()); });
    const double titleWhole = time("title_whole", [&] { Form.PaintTitle(dc.Get()); });

    TBitmap& bitmap = *Form.FTitleBitmap;
    double inTitle = 0;
    inTitle += time("title_setsize", [&] { bitmap.SetSize(w, Form.FTitleHeight); });
    HDC canvas = bitmap.Canvas()->Handle();
    // PaintTitle draws the full-height side borders again, clipped by its
    // title-high bitmap, for the rounded top corners.
    inTitle += time("title_side_borders", [&] {
        Form.DrawBorderPart(PartLeft, left, canvas);
        Form.DrawBorderPart(PartRight, right, canvas);
    });
    inTitle += time("title_strip", [&] { Form.DrawBorderPart(PartTitle, title, canvas); });
    inTitle += time("title_buttons_layout", [&] { Form.LayoutSysButtons(); });
    // The buttons one by one as PaintSysButtons draws them: the icon button
    // draws the window's icon, the others a cell of their strip.
    for (const auto& button : Form.FSysButtons) {
        const TDataSkinSysButton& data = button->Data();
        if (!button->Visible() || data.FBitmap->Empty() || data.FVisibility == 100) continue;
        const bool icon = data.FAction == 3 || data.FAction == 11;
        const std::string name = "title_button_action" + std::to_string(data.FAction) + (icon ? "_icon" : "");
        const int cell = (!Form.FActive && data.FFrame >= 4) ? 4 : 1;
        time(name, [&] {
            if (icon) {
                Form.DrawWindowIcon(canvas, button->Rect());
            } else {
                DrawSkinCell(canvas, button->Rect(), *data.FBitmap,
                             {.Index = cell, .Count = data.FFrame, .Transparent = true});
            }
        });
    }
    inTitle += time("title_buttons_paint", [&] { Form.PaintSysButtons(canvas); });
    inTitle += time("title_bitblt", [&] {
        ::BitBlt(dc.Get(), 0, 0, bitmap.Width(), bitmap.Height(), canvas, 0, 0, SRCCOPY);
    });
    parts.emplace_back("title_caption_and_rest", titleWhole > inTitle ? titleWhole - inTitle : 0);
    // Not part of a paint, but of every size step of a skinned window: the
    // shaped region made anew from the border strips and set.
    time("region_update", [&] {
        Form.FRegionWidth = 0;
        Form.UpdateRegion();
    });
    return parts;
}
