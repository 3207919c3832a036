// The speed-button and media-player adapters in a Wine virtual desktop with
// injected mouse input: speed buttons painted on their form by state, clicks
// counted, click handlers that free the button or unskin the form; the media
// player's overlay panel on the player's place, its buttons and their images
// (a few held by this program), the mouse passed on, and a player deleted
// while its form lives.
#include "tests/skin/support/AdapterFixture.h"

#include "classlib/Buttons.h"
#include "classlib/Handles.h"
#include "classlib/portable/TypInfo.h"
#include "skin/adapters/SkinMediaPlayer.h"
#include "skin/adapters/SkinSpeedButton.h"
#include "skin/data/SkinElements.h"
#include "tests/support/GdiObjectCount.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace frametest {
namespace {

using frameharness::TWindowCapture;

TSpeedButton* AddSpeed(TForm* Form, int X, int Y, int W, const std::string& Caption)
{
    auto* button = new TSpeedButton(Form);
    button->SetParent(Form);
    button->SetBounds(X, Y, W, 25);
    button->SetCaption(Caption);
    return button;
}

// Screen point of (X, Y) inside a control of the form.
POINT ScreenAt(const TControl* Control, int X, int Y)
{
    POINT p{Control->Left() + X, Control->Top() + Y};
    ::ClientToScreen(Control->Parent()->WindowHandle(), &p);
    return p;
}

// The pixel shown at (X, Y) inside a control of the form.
COLORREF ShownAt(const TControl* Control, int X, int Y)
{
    Pump();
    const HWND form = Control->Parent()->WindowHandle();
    RECT window{};
    ::GetWindowRect(form, &window);
    const POINT p = ScreenAt(Control, X, Y);
    return TWindowCapture::Take(form).Pixel(p.x - window.left, p.y - window.top);
}

// Pixels in which two captures of one window differ.
int Differing(const TWindowCapture& A, const TWindowCapture& B)
{
    int n = 0;
    for (int y = 0; y < A.Height(); ++y)
        for (int x = 0; x < A.Width(); ++x) n += A.Pixel(x, y) != B.Pixel(x, y) ? 1 : 0;
    return n;
}

// A player of its own: the button sets as text, every left-button message
// it is given with its point, and what a press does instead (OnPress, which
// may free the player).
class TTestMediaPlayer : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    using TWinControl::TWinControl;
    std::string Visible = "[btPlay,btPause,btStop]";
    std::string Enabled = "[btPlay,btStop]";
    std::string Colored = "[]";
    std::vector<std::pair<UINT, LPARAM>> Presses;
    std::function<void()> OnPress;

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_LBUTTONDOWN && OnPress) {
            const std::function<void()> press = OnPress;
            press();
            return;
        }
        if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONUP)
            Presses.emplace_back(Message.Msg, Message.LParam);
        TWinControl::WndProc(Message);
    }
};

const TClassInfo& TTestMediaPlayer::StaticClassInfo()
{
    using T = TTestMediaPlayer;
    static const TClassInfo info =
        TClassBuilder<T>("TMediaPlayer", TWinControl::StaticClassInfo())
            .String("VisibleButtons", &T::Visible, &T::Visible)
            .String("EnabledButtons", &T::Enabled, &T::Enabled)
            .String("ColoredButtons", &T::Colored, &T::Colored)
            .Build();
    return info;
}

class SpeedAdapterTest : public AdapterTest {
protected:
    TSkinnedForm MakeSpeedForm()
    {
        const TSkinnedForm made = MakeForm();
        made.Data->Skin3rd()->Add("TSpeedButton=speedbutton");
        return made;
    }
    // The middle of the top edge of a cell of the [Buttons] strip.
    static COLORREF CellEdge(TSkinData* Data, int Cell)
    {
        TBitmap& strip = *Data->FButtons->FBitmap;
        return CellPixel(strip, Cell, Data->FButtons->FFrame, false, strip.Width() / Data->FButtons->FFrame / 2, 1);
    }
    static COLORREF Edge(const TControl* Control, int X = -1)
    {
        return ShownAt(Control, X < 0 ? Control->Width() / 2 : X, 1);
    }
};

TEST_F(SpeedAdapterTest, SpeedButtonsShowHotPressedAndDownAndClickOnceFlatOnesShowTheFrameOnlyWhenHotOrPressed)
{
    const TSkinnedForm made = MakeSpeedForm();
    TSpeedButton* plain = AddSpeed(made.Form, 20, 20, 61, "plain");
    TSpeedButton* flat = AddSpeed(made.Form, 100, 20, 61, "flat");
    flat->SetFlat(true);
    TSpeedButton* down = AddSpeed(made.Form, 180, 20, 61, "down");
    down->SetGroupIndex(1);
    down->SetDown(true);
    int clicks = 0;
    plain->OnClick = [&](TObject*) { ++clicks; };
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(dynamic_cast<TSkinSpeedButton*>(frame->FindControl(plain)), nullptr);
    for (int cell = 2; cell <= 4; ++cell) ASSERT_NE(CellEdge(made.Data, cell), CellEdge(made.Data, 1)) << cell;
    const COLORREF face = ColorToRGB(made.Data->FButtonFaceColor);
    ASSERT_NE(face, CellEdge(made.Data, 1));

    EXPECT_EQ(Edge(plain), CellEdge(made.Data, bcNormal));
    EXPECT_EQ(Edge(flat), face);
    EXPECT_EQ(Edge(down), CellEdge(made.Data, bcPressed));

    frameharness::MouseMoveTo(ScreenAt(plain, 30, 12));
    EXPECT_EQ(Edge(plain), CellEdge(made.Data, bcHot));
    frameharness::MousePress(frameharness::TMouseButton::Left);
    EXPECT_EQ(Edge(plain), CellEdge(made.Data, bcPressed));
    frameharness::MouseRelease(frameharness::TMouseButton::Left);
    EXPECT_EQ(Edge(plain), CellEdge(made.Data, bcHot));
    EXPECT_EQ(clicks, 1);

    frameharness::MouseMoveTo(ScreenAt(flat, 30, 12));
    EXPECT_EQ(Edge(plain), CellEdge(made.Data, bcNormal));
    EXPECT_EQ(Edge(flat), CellEdge(made.Data, bcHot));
    frameharness::MouseMoveTo(ScreenAt(flat, 30, 60));
    EXPECT_EQ(Edge(flat), face);

    // Pressed, dragged off and released elsewhere: no click.
    frameharness::MouseDrag(ScreenAt(plain, 30, 12), ScreenAt(plain, 30, 80), 4);
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Edge(plain), CellEdge(made.Data, bcNormal));

    // Down wins over disabled.
    down->SetEnabled(false);
    EXPECT_EQ(Edge(down), CellEdge(made.Data, bcPressed));

    // Each paint on the parent's DC gives it back.
    const int gdi = GdiObjectCount();
    ASSERT_GE(gdi, 0) << kNoGdiObjectCount;
    for (int i = 0; i < 20; ++i) {
        plain->Perform(CM_MOUSEENTER);
        plain->Perform(CM_MOUSELEAVE);
    }
    EXPECT_EQ(GdiObjectCount(), gdi);
}

TEST_F(SpeedAdapterTest, NoGlyphCountCountsAsOne)
{
    const TSkinnedForm made = MakeSpeedForm();
    TSpeedButton* glyphed = AddSpeed(made.Form, 20, 20, 61, "");
    glyphed->SetHeight(40);
    MakeTwoCellGlyph(*glyphed->Glyph());
    const auto& cells = GlyphCells;
    glyphed->SetNumGlyphs(0);
    glyphed->SetSpacing(0);
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    // The whole strip is one cell, centred one pixel right of the middle.
    const int x = (61 - 32) / 2 + 1, y = (40 - 16 + 1) / 2;
    EXPECT_EQ(ShownAt(glyphed, x + 8, y + 8), cells[0]);
    EXPECT_EQ(ShownAt(glyphed, x + 24, y + 8), cells[1]);
}

TEST_F(SpeedAdapterTest, AGlyphedSpeedButtonsCaptionBreaksAtItsFirstDoubleBar)
{
    const TSkinnedForm made = MakeSpeedForm();
    TSpeedButton* button = AddSpeed(made.Form, 20, 20, 121, "");
    button->SetHeight(60);
    MakeTwoCellGlyph(*button->Glyph());
    button->SetNumGlyphs(2);
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    const auto shown = [&](const std::string& Caption) {
        button->SetCaption(Caption);
        Pump();
        return TWindowCapture::Take(made.Form->Handle());
    };
    const TWindowCapture broken = shown("ab\r\ncd");
    EXPECT_GT(Differing(broken, shown("")), 10);
    EXPECT_EQ(Differing(broken, shown("ab||cd")), 0);
}

TEST_F(SpeedAdapterTest, APressLostDisabledOrCrossedByAnotherMouseButtonNeitherClicksNorStaysPressed)
{
    const TSkinnedForm made = MakeSpeedForm();
    TSpeedButton* button = AddSpeed(made.Form, 20, 20, 61, "b");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    const HWND form = made.Form->Handle();
    const POINT at = ScreenAt(button, 30, 12);
    using frameharness::TMouseButton;
    frameharness::MouseMoveTo(at);

    // The form loses the press (a menu or message box opened from it).
    frameharness::MousePress(TMouseButton::Left);
    Pump();
    ::SendMessageW(form, WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(Edge(button), CellEdge(made.Data, bcHot));
    frameharness::MouseRelease(TMouseButton::Left);
    Pump();
    EXPECT_EQ(clicks, 0);

    // The right button goes down and up while the left one holds the press,
    // which is released beyond the form.
    frameharness::MousePress(TMouseButton::Left);
    frameharness::MousePress(TMouseButton::Right);
    frameharness::MouseRelease(TMouseButton::Right);
    Pump();
    EXPECT_EQ(::GetCapture(), form);
    RECT window{};
    ::GetWindowRect(form, &window);
    frameharness::MouseMoveTo({window.right + 20, window.top + 20});
    frameharness::MouseRelease(TMouseButton::Left);
    frameharness::MouseMoveTo(at);
    Pump();
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(clicks, 0);

    // Disabled while held.
    frameharness::MousePress(TMouseButton::Left);
    Pump();
    button->SetEnabled(false);
    frameharness::MouseRelease(TMouseButton::Left);
    Pump();
    button->SetEnabled(true);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(Edge(button), CellEdge(made.Data, bcHot));
}

TEST_F(SpeedAdapterTest, OverlappingSpeedButtonsShowingTheirParentRepaintItABoundedNumberOfTimes)
{
    const TSkinnedForm made = MakeSpeedForm();
    auto* panel = PlaceAt<TWinControl>(made.Form, {10, 10, 250, 50});
    constexpr int count = 10;
    for (int i = 0; i < count; ++i) {
        TSpeedButton* button = AddSpeed(made.Form, 20 * i, 5, 30, "");
        button->SetParent(panel);
        button->SetTag(kParentImageTag);
    }
    // Each WM_PAINT with a DC is one parent image; a runaway is cut short.
    const auto images = std::make_shared<int>(0);
    const TWndMethod own = panel->WindowProc;
    panel->WindowProc = [images, own](TMessage& Message) {
        if (Message.Msg == WM_PAINT && Message.WParam != 0 && ++*images > 1000) return;
        own(Message);
    };
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    Pump();
    *images = 0;
    ::RedrawWindow(panel->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    // One image for each button and one for each neighbour it overlaps.
    EXPECT_GE(*images, count);
    EXPECT_LE(*images, 3 * count);
}

TEST_F(SpeedAdapterTest, ClickHandlersMayFreeTheSpeedButtonOrUnskinTheForm)
{
    const TSkinnedForm made = MakeSpeedForm();
    TSpeedButton* doomed = AddSpeed(made.Form, 20, 20, 61, "doomed");
    TSpeedButton* unskinner = AddSpeed(made.Form, 100, 20, 61, "unskin");
    const std::string ownProc = unskinner->WindowProc.target_type().name();
    doomed->OnClick = [&](TObject*) { delete std::exchange(doomed, nullptr); };
    int clicks = 0;
    unskinner->OnClick = [&](TObject*) {
        if (++clicks == 1) RunAction(made.Data, saUnskinAll);
    };
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    const int listed = frame->ControlCount();
    const POINT doomedAt = ScreenAt(doomed, 30, 12);
    frameharness::MouseMoveTo(doomedAt);
    frameharness::MousePress(frameharness::TMouseButton::Left);
    frameharness::MouseRelease(frameharness::TMouseButton::Left);
    Pump();
    EXPECT_EQ(doomed, nullptr);
    EXPECT_EQ(frame->ControlCount(), listed - 1);
    frameharness::MouseMoveTo(ScreenAt(unskinner, 30, 12));
    frameharness::MouseMoveTo(doomedAt);

    for (int i = 0; i < 2; ++i) {
        frameharness::MouseMoveTo(ScreenAt(unskinner, 30, 12 + i));
        frameharness::MousePress(frameharness::TMouseButton::Left);
        frameharness::MouseRelease(frameharness::TMouseButton::Left);
        Pump();
    }
    EXPECT_EQ(clicks, 2);  // the button's own logic goes on without the skin
    EXPECT_STREQ(unskinner->WindowProc.target_type().name(), ownProc.c_str());
}

TEST_F(SpeedAdapterTest, AMediaPlayersPanelCoversItWhileTheSkinHasTheStripDrawsItsButtonsAndPassesClicksOnUntilThePlayerGoes)
{
    const TSkinnedForm made = MakeForm();
    auto* player = PlaceAt<TTestMediaPlayer>(made.Form, {20, 20, 110, 50});
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    auto* adapter = dynamic_cast<TSkinMP*>(frame->FindControl(player));
    ASSERT_NE(adapter, nullptr);
    TWMediaPlayer* panel = adapter->Player();
    ASSERT_NE(panel, nullptr);
    const auto bounds = [](const TControl* C) { return std::vector{C->Left(), C->Top(), C->Width(), C->Height()}; };
    EXPECT_EQ(bounds(panel), bounds(player));
    player->SetBounds(30, 40, 90, 30);
    EXPECT_EQ(bounds(panel), bounds(player));
    player->Hide();
    EXPECT_FALSE(::IsWindowVisible(panel->Handle()));
    player->Show();
    EXPECT_TRUE(::IsWindowVisible(panel->Handle()));
    // A skin without the strip leaves the player to show itself.
    TBitmap strip;
    strip.Assign(*made.Data->FButtons->FBitmap);
    made.Data->FButtons->FBitmap->SetSize(0, 0);
    frame->UpdateSkin();
    EXPECT_FALSE(::IsWindowVisible(panel->Handle()));
    made.Data->FButtons->FBitmap->Assign(strip);
    frame->UpdateSkin();
    EXPECT_TRUE(::IsWindowVisible(panel->Handle()));

    // Three visible buttons of 30 pixels; the middle one is disabled.
    EXPECT_EQ(Edge(panel, 15), CellEdge(made.Data, 1));
    EXPECT_EQ(panel->ButtonWidth(), 30);
    EXPECT_EQ(Edge(panel, 45), CellEdge(made.Data, 3));
    EXPECT_EQ(Edge(panel, 75), CellEdge(made.Data, 1));
    EXPECT_EQ(panel->ButtonAt(30), 0);
    EXPECT_EQ(panel->ButtonAt(31), 1);

    frameharness::MouseMoveTo(ScreenAt(player, 10, 12));
    frameharness::MousePress(frameharness::TMouseButton::Left);
    Pump();
    EXPECT_EQ(Edge(panel, 15), CellEdge(made.Data, 2));
    frameharness::MouseRelease(frameharness::TMouseButton::Left);
    // Pressed on the first button, released beyond the last one.
    frameharness::MouseDrag(ScreenAt(player, 40, 12), ScreenAt(player, 140, 12), 4);
    Pump();
    const std::vector<std::pair<UINT, LPARAM>> expected = {{WM_LBUTTONDOWN, MAKELPARAM(10, 12)},
                                                           {WM_LBUTTONUP, MAKELPARAM(10, 12)},
                                                           {WM_LBUTTONDOWN, MAKELPARAM(40, 12)},
                                                           {WM_LBUTTONUP, MAKELPARAM(140, 12)}};
    EXPECT_EQ(player->Presses, expected);
    // A disabled player is given no press.
    player->SetEnabled(false);
    frameharness::MouseMoveTo(ScreenAt(player, 10, 12));
    frameharness::MousePress(frameharness::TMouseButton::Left);
    frameharness::MouseRelease(frameharness::TMouseButton::Left);
    Pump();
    EXPECT_EQ(player->Presses, expected);
    player->SetEnabled(true);

    // A player freed by its own press handler takes its panel along.
    const HWND panelWindow = panel->Handle();
    const int listed = frame->ControlCount();
    player->OnPress = [&] { delete std::exchange(player, nullptr); };
    const POINT at = ScreenAt(panel, 50, 12);
    frameharness::MouseMoveTo(at);
    frameharness::MousePress(frameharness::TMouseButton::Left);
    frameharness::MouseRelease(frameharness::TMouseButton::Left);
    Pump();
    EXPECT_EQ(player, nullptr);
    EXPECT_FALSE(::IsWindow(panelWindow));
    EXPECT_EQ(frame->ControlCount(), listed - 1);
    // Nothing is left over the player's place to take the mouse.
    frameharness::MouseMoveTo(at);
    frameharness::MousePress(frameharness::TMouseButton::Left);
    frameharness::MouseRelease(frameharness::TMouseButton::Left);
    Pump();
    EXPECT_EQ(::WindowFromPoint(at), made.Form->Handle());
}

// The program's images (tests/skin/mediaplayer): EN_MPPLAY, DI_MPPAUSE and
// CL_MPSTOP, 10 x 8, an olive frame around these colours.
constexpr COLORREF kPlayImage = RGB(220, 30, 30), kPauseImage = RGB(30, 30, 220), kStopImage = RGB(30, 200, 30);

TEST_F(SpeedAdapterTest, AMediaPlayersButtonsShowTheImageOfTheirStateCentredAndOnePixelFurtherWhenPressed)
{
    const TSkinnedForm made = MakeForm();
    auto* player = PlaceAt<TTestMediaPlayer>(made.Form, {20, 20, 110, 50});
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    auto* adapter = dynamic_cast<TSkinMP*>(frame->FindControl(player));
    ASSERT_NE(adapter, nullptr);
    TWMediaPlayer* panel = adapter->Player();
    ASSERT_NE(panel, nullptr);
    // Buttons of 30 x 30: an image's frame at 10 to 19 across, 11 to 18 down.
    EXPECT_EQ(ShownAt(panel, 11, 12), kPlayImage) << "enabled";
    EXPECT_EQ(ShownAt(panel, 18, 17), kPlayImage);
    EXPECT_NE(ShownAt(panel, 10, 11), RGB(128, 128, 0)) << "olive left out";
    EXPECT_EQ(ShownAt(panel, 30 + 15, 15), kPauseImage) << "disabled";
    EXPECT_NE(ShownAt(panel, 60 + 15, 15), kStopImage) << "no enabled image: the cell alone";
    player->Colored = "[btStop]";
    panel->Invalidate();
    EXPECT_EQ(ShownAt(panel, 60 + 15, 15), kStopImage) << "coloured";

    panel->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    EXPECT_NE(ShownAt(panel, 11, 12), kPlayImage) << "pressed";
    EXPECT_EQ(ShownAt(panel, 19, 18), kPlayImage);
    panel->Perform(WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
    EXPECT_EQ(ShownAt(panel, 11, 12), kPlayImage);
}

}  // namespace
}  // namespace frametest
