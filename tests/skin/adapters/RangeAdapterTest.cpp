// The track-bar, up-down and progress adapters against the default skin's
// cells, read back from the screen of a Wine virtual desktop, with input
// injected where the control acts on it.
#include "tests/skin/support/AdapterFixture.h"

#include "classlib/ComCtrls.h"
#include "skin/adapters/SkinEdit.h"
#include "skin/adapters/SkinRange.h"

#include <commctrl.h>

namespace frametest {
namespace {

using frameharness::TWindowCapture;

// The middle pixel of cell Index of Count of Element's strip.
COLORREF CellMiddle(const TDataSkinObject& Element, int Index, int Count)
{
    TBitmap& strip = *Element.FBitmap;
    return CellPixel(strip, Index, Count, false, strip.Width() / Count / 2, strip.Height() / 2);
}

POINT Centre(const RECT& R)
{
    return {(R.left + R.right) / 2, (R.top + R.bottom) / 2};
}

template <class TAdapter, class TControlClass>
TAdapter* Skin(TControlClass* Control, TWinSkinForm* Frame, TSkinData* Data)
{
    auto* adapter = new TAdapter(Control);
    EXPECT_TRUE(adapter->InitSkin(Frame, Data, false));
    return adapter;
}

TEST_F(AdapterTest, TrackBarChannelAndThumbComeFromTheSkinAndASkinChangeKeepsTheFocus)
{
    const TSkinnedForm made = MakeForm();
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    const TSkinData& skin = *made.Data;
    ASSERT_TRUE(skin.FTrack && skin.FTrackVert && skin.FThumbHorz && skin.FThumbVert);
    auto* edit = PlaceAt<TEdit>(made.Form, {20, 200, 120, 222});
    int entered = 0, left = 0;
    edit->OnEnter = [&](TObject*) { ++entered; };
    edit->OnExit = [&](TObject*) { ++left; };
    for (const TRangeOrientation orientation : {TRangeOrientation::roHorizontal, TRangeOrientation::roVertical}) {
        const bool vertical = orientation == TRangeOrientation::roVertical;
        auto* track = new TTrackBar(made.Form);
        track->SetOrientation(orientation);
        track->SetParent(made.Form);
        track->SetBounds(20, 20, vertical ? 45 : 200, vertical ? 160 : 45);
        track->SetPosition(3);
        TSkinTrackBar* adapter = Skin<TSkinTrackBar>(track, frame, made.Data);
        const HWND window = track->Handle();
        const TWindowCapture shot = Shown(window);
        RECT thumb{}, channel{};
        ::SendMessageW(window, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        ::SendMessageW(window, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
        const TDataSkinObject& thumbs = vertical ? *skin.FThumbVert : *skin.FThumbHorz;
        const POINT t = Centre(thumb);
        EXPECT_EQ(shot.Pixel(t.x, t.y), CellMiddle(thumbs, 2, 5)) << vertical;
        // The channel's middle, away from the thumb; a vertical bar may report it lying.
        const TDataSkinObject& track_ = vertical ? *skin.FTrackVert : *skin.FTrack;
        TBitmap& image = *track_.FBitmap;
        const COLORREF middle = CellPixel(image, 1, 1, false, image.Width() / 2, image.Height() / 2);
        if ((channel.right - channel.left > channel.bottom - channel.top) == vertical)
            channel = {channel.top, channel.left, channel.bottom, channel.right};
        const POINT c = vertical ? POINT{(channel.left + channel.right) / 2, channel.bottom - 8}
                                 : POINT{channel.right - 8, (channel.top + channel.bottom) / 2};
        EXPECT_EQ(shot.Pixel(c.x, c.y), middle) << vertical;

        // A skin change repaints in place: the focus stays, no OnEnter or OnExit.
        edit->SetFocus();
        entered = left = 0;
        adapter->UpdateSkin();
        Pump();
        EXPECT_EQ(::GetFocus(), edit->Handle());
        EXPECT_EQ(entered + left, 0);
        // The same number with a plain number instead of a header is no notification.
        EXPECT_EQ(::SendMessageW(window, CN_NOTIFY, 0, 16802), 0);

        // Without the skin's channel images the control draws its own channel.
        std::unique_ptr<TDataSkinObject> lying = std::move(made.Data->FTrack);
        std::unique_ptr<TDataSkinObject> standing = std::move(made.Data->FTrackVert);
        const TWindowCapture native = Shown(window);
        made.Data->FTrack = std::move(lying);
        made.Data->FTrackVert = std::move(standing);
        const int across = vertical ? c.x : c.y;
        int drawn = 0;
        for (int d = -6; d <= 6; ++d)
            drawn += (vertical ? native.Pixel(across + d, c.y) : native.Pixel(c.x, across + d)) != native.Pixel(2, 2);
        EXPECT_GT(drawn, 0) << vertical;
        delete track;
    }
}

TEST_F(AdapterTest, UpDownHalvesShowTheirStatesRepeatWhileHeldAndKeepClearOfAnEditsBorder)
{
    const TSkinnedForm made = MakeForm();
    auto* updown = PlaceAt<TUpDown>(made.Form, {20, 20, 37, 60});
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    TSkinData& skin = *made.Data;
    ASSERT_TRUE(skin.FUpDownVert && skin.FUpDownVert->FFrame == 8);
    // The dispatch gave the up-down its adapter.
    const HWND window = updown->Handle();
    ASSERT_NE(dynamic_cast<TSkinUpDown*>(frame->FindControl(updown)), nullptr);
    RECT r{};
    ::GetWindowRect(window, &r);
    const POINT up{(r.left + r.right) / 2, r.top + (r.bottom - r.top) / 4};
    const auto at = [&](const TWindowCapture& Shot, POINT P) { return Shot.Pixel(P.x - r.left, P.y - r.top); };
    // Each half's pixels, to tell its looks apart.
    const auto halves = [&](const TWindowCapture& Shot) {
        std::vector<COLORREF> top, bottom;
        for (int y = 0; y < Shot.Height(); ++y)
            for (int x = 0; x < Shot.Width(); ++x) (y < Shot.Height() / 2 ? top : bottom).push_back(Shot.Pixel(x, y));
        return std::pair{top, bottom};
    };
    const auto normal = halves(Shown(window));
    const TDataSkinBorder& cells = *skin.FUpDownVert;
    EXPECT_EQ(at(Shown(window), up), CellMiddle(cells, 1, 8));

    // Held on the upper half: it repeats and that half alone looks pressed.
    frameharness::MouseMoveTo(up);
    frameharness::MousePress(frameharness::TMouseButton::Left);
    frameharness::PumpFor(900);
    const auto held = halves(TWindowCapture::Take(window));
    frameharness::MouseRelease(frameharness::TMouseButton::Left);
    Pump();
    EXPECT_GT(updown->Position(), 1);
    EXPECT_NE(held.first, normal.first);
    EXPECT_EQ(held.second, normal.second);
    EXPECT_EQ(halves(Shown(window)), normal);

    updown->SetEnabled(false);
    const auto disabled = halves(Shown(window));
    EXPECT_NE(disabled.first, normal.first);
    EXPECT_NE(disabled.second, normal.second);
    EXPECT_NE(disabled.first, held.first);
    updown->SetEnabled(true);

    // Without the strip: flat boxes outlined in the dark shadow colour.
    std::unique_ptr<TDataSkinBorder> strip = std::move(skin.FUpDownVert);
    TWindowCapture shot = Shown(window);
    skin.FUpDownVert = std::move(strip);
    EXPECT_EQ(shot.Pixel(0, 0), ColorToRGB(skin.FButtonDkShadowColor));
    EXPECT_EQ(at(shot, {up.x + 4, up.y - 4}), ColorToRGB(skin.FButtonFaceColor));

    // Inside an edit: the edit's adapter skins it, white around, 3 pixels clear of the border.
    auto* edit = PlaceAt<TEdit>(made.Form, {60, 20, 160, 42});
    const HWND spin = ::CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 100 - 17 - 4, 0, 17, 18,
                                        edit->Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(spin, nullptr);
    frame->SkinFormControls(made.Form);
    ASSERT_NE(dynamic_cast<TSkinEdit*>(frame->FindControl(edit)), nullptr);
    Shown(edit->Handle());
    auto* inner = dynamic_cast<TSkinUpDown*>(FindSkinObject(spin));
    ASSERT_NE(inner, nullptr);
    EXPECT_TRUE(inner->InEdit());
    shot = Shown(spin);
    EXPECT_EQ(shot.Pixel(8, 0), RGB(255, 255, 255));
    EXPECT_NE(shot.Pixel(8, 4), RGB(255, 255, 255));
}

TEST_F(AdapterTest, ProgressFillIsThePositionsShareOfTheRangeLyingStandingOrInChunks)
{
    const TSkinnedForm made = MakeForm();
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    TSkinData& skin = *made.Data;
    ASSERT_TRUE(skin.FProgress && skin.FProgressChunk);
    const int height = skin.FProgress->FBitmap->Height();
    const COLORREF track = CellMiddle(*skin.FProgress, 1, 2), fill = CellMiddle(*skin.FProgress, 2, 2);
    ASSERT_NE(track, fill);
    struct TCase {
        int Lo, Hi, Pos;
        double Share;
    };
    for (const TCase& c : {TCase{0, 100, 0, 0.0}, TCase{0, 100, 50, 0.5}, TCase{50, 150, 100, 0.5},
                           TCase{0, 100, 100, 1.0}}) {
        auto* bar = PlaceAt<TProgressBar>(made.Form, {20, 20, 220, 20 + height});
        bar->SetRange(c.Lo, c.Hi);
        bar->SetPosition(c.Pos);
        Skin<TSkinProgress>(bar, frame, made.Data);
        const TWindowCapture shot = Shown(bar->Handle());
        const int edge = static_cast<int>(200 * c.Share);
        if (edge > 10) {
            EXPECT_EQ(shot.Pixel(edge - 10, height / 2), fill) << c.Lo << ' ' << c.Pos;
        }
        if (edge < 190) {
            EXPECT_EQ(shot.Pixel(edge + 10, height / 2), track) << c.Lo << ' ' << c.Pos;
        }
        delete bar;
    }
    // Standing, the fill grows from the bottom.
    auto* bar = new TProgressBar(made.Form);
    bar->SetOrientation(TRangeOrientation::roVertical);
    bar->SetParent(made.Form);
    bar->SetBounds(20, 20, height, 200);
    bar->SetPosition(50);
    Skin<TSkinProgress>(bar, frame, made.Data);
    TWindowCapture shot = Shown(bar->Handle());
    EXPECT_EQ(shot.Pixel(height / 2, 190), fill);
    EXPECT_EQ(shot.Pixel(height / 2, 10), track);
    delete bar;
    // In chunks: the chunk image across the filled part only.
    skin.FProgress->FStyle = 1;
    bar = PlaceAt<TProgressBar>(made.Form, {20, 20, 220, 20 + height});
    bar->SetPosition(50);
    Skin<TSkinProgress>(bar, frame, made.Data);
    shot = Shown(bar->Handle());
    skin.FProgress->FStyle = 0;
    int filled = 0, empty = 0;
    for (int x = 5; x < 95; ++x) filled += shot.Pixel(x, height / 2) != shot.Pixel(190, height / 2);
    for (int x = 105; x < 195; ++x) empty += shot.Pixel(x, height / 2) != shot.Pixel(190, height / 2);
    EXPECT_GT(filled, 10);
    EXPECT_EQ(empty, 0);
}

}  // namespace
}  // namespace frametest
