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
    TWinSkinShape& shape = Form.FShape;
    TWinSkinTitle& titlePart = Form.FTitle;
    // Sizes and title-button layout as the last paint left them.
    shape.PaintNC(nullptr);
    const int w = shape.FWidth, h = shape.FHeight;
    const RECT left{0, 0, shape.FBorderLeft, h};
    const RECT right{w - shape.FBorderRight, 0, w, h};
    const RECT bottom{shape.FBorderLeft, h - shape.FBorderBottom, w - shape.FBorderRight, h};
    const RECT title{shape.FBorderLeft, 0, w - shape.FBorderRight, shape.FTitleHeight};

    time("paintnc_whole", [&] { shape.PaintNC(nullptr); });
    time("getwindowdc_release", [&] { const TWindowDC dc(wnd, ::GetWindowDC(wnd)); });
    time("getwindowrect", [&] {
        RECT r;
        ::GetWindowRect(wnd, &r);
    });
    const TWindowDC dc(wnd, ::GetWindowDC(wnd));
    time("border_left", [&] { shape.DrawBorderPart(PartLeft, left, dc.Get()); });
    time("border_right", [&] { shape.DrawBorderPart(PartRight, right, dc.Get()); });
    time("border_bottom", [&] { shape.DrawBorderPart(PartBottom, bottom, dc.Get()); });
    const double titleWhole = time("title_whole", [&] { shape.PaintTitle(dc.Get()); });

    TBitmap& bitmap = *shape.FTitleBitmap;
    double inTitle = 0;
    inTitle += time("title_setsize", [&] { bitmap.SetSize(w, shape.FTitleHeight); });
    HDC canvas = bitmap.Canvas()->Handle();
    // PaintTitle draws the full-height side borders again, clipped by its
    // title-high bitmap, for the rounded top corners.
    inTitle += time("title_side_borders", [&] {
        shape.DrawBorderPart(PartLeft, left, canvas);
        shape.DrawBorderPart(PartRight, right, canvas);
    });
    inTitle += time("title_strip", [&] { shape.DrawBorderPart(PartTitle, title, canvas); });
    inTitle += time("title_buttons_layout", [&] { titlePart.LayoutSysButtons(); });
    // The buttons one by one as PaintSysButtons draws them: the icon button
    // draws the window's icon, the others a cell of their strip.
    for (const auto& button : titlePart.FSysButtons) {
        const TDataSkinSysButton& data = button->Data();
        if (!button->Visible() || data.FBitmap->Empty() || data.FVisibility == sbvInMenuBar) continue;
        const bool icon = data.FAction == 3 || data.FAction == 11;
        const std::string name = "title_button_action" + std::to_string(data.FAction) + (icon ? "_icon" : "");
        const int cell = (!Form.FActive && data.FFrame >= 4) ? 4 : 1;
        time(name, [&] {
            if (icon) {
                titlePart.DrawWindowIcon(canvas, button->Rect());
            } else {
                DrawSkinCell(canvas, button->Rect(), *data.FBitmap,
                             {.Index = cell, .Count = data.FFrame, .Transparent = true});
            }
        });
    }
    inTitle += time("title_buttons_paint", [&] { titlePart.PaintSysButtons(canvas); });
    inTitle += time("title_bitblt", [&] {
        ::BitBlt(dc.Get(), 0, 0, bitmap.Width(), bitmap.Height(), canvas, 0, 0, SRCCOPY);
    });
    parts.emplace_back("title_caption_and_rest", titleWhole > inTitle ? titleWhole - inTitle : 0);
    // Not part of a paint, but of every size step of a skinned window: the
    // shaped region made anew from the border strips and set.
    time("region_update", [&] {
        shape.FRegionWidth = 0;
        shape.UpdateRegion();
    });
    return parts;
}
