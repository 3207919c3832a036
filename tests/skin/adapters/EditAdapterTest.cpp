// The edit and combo-box adapters under Wine in a virtual desktop, with
// injected input: the edit's border on screen and in print, its print answer,
// the combo box's button in its states (up again when a press goes on into
// its list), its list dropped and chosen from by mouse, Chinese text
// typed into its edit, its edit found without GetComboBoxInfo, no look of its
// own without the skin's edge, and everything given back when unskinned.
#include "tests/skin/support/AdapterFixture.h"

#include "classlib/ComCtrls.h"
#include "classlib/Text.h"
#include "skin/SkinApi.h"
#include "skin/SkinWindowMessages.h"
#include "skin/adapters/SkinEdit.h"
#include "skin/adapters/SkinRange.h"
#include "skin/adapters/SkinScrollbar.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

namespace frametest {
namespace {

using frameharness::TWindowCapture;

const char kChinese[] = "\xD6\xD0\xCE\xC4";  // GB2312 "中文"

POINT ScreenCentre(HWND Window, RECT R)
{
    ::MapWindowPoints(Window, nullptr, reinterpret_cast<POINT*>(&R), 2);
    return {(R.left + R.right) / 2, (R.top + R.bottom) / 2};
}

void Click(POINT Screen)
{
    frameharness::MouseMoveTo(Screen);
    frameharness::MousePress(frameharness::TMouseButton::Left);
    frameharness::MouseRelease(frameharness::TMouseButton::Left);
    frameharness::PumpFor(150);
}

// The button's pixels, to tell its looks apart.
std::vector<COLORREF> ButtonPixels(const TWindowCapture& Shot, const RECT& Button)
{
    std::vector<COLORREF> pixels;
    for (int y = Button.top; y < Button.bottom; ++y)
        for (int x = Button.left; x < Button.right; ++x) pixels.push_back(Shot.Pixel(x, y));
    return pixels;
}

TEST_F(AdapterTest, EditShowsTheFlatBorderAndAnswersThePrintRequestOnlyWhenItIsTheSkins)
{
    const TSkinnedForm made = MakeForm();
    auto* edit = PlaceAt<TEdit>(made.Form, {20, 20, 160, 44});
    auto* flat = PlaceAt<TEdit>(made.Form, {20, 60, 160, 84});
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(dynamic_cast<TSkinEdit*>(frame->FindControl(edit)), nullptr);
    const HWND window = edit->Handle();
    const TWindowCapture shot = Shown(window);
    const COLORREF shadow = ColorToRGB(made.Data->FButtonShadowColor), white = RGB(255, 255, 255);
    for (const POINT p : {POINT{0, 12}, POINT{70, 0}, POINT{139, 12}, POINT{70, 23}})
        EXPECT_EQ(shot.Pixel(p.x, p.y), shadow) << p.x << ',' << p.y;
    EXPECT_EQ(shot.Pixel(1, 12), white);
    EXPECT_EQ(shot.Pixel(2, 12), white);
    // Printed with its frame, the border is the one shown, ring for ring.
    const TWindowCapture whole = TWindowCapture::Paint(window, [window](HDC DC) {
        ::SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(DC), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    });
    int differing = 0;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x) {
            const int ring = std::min({x, y, shot.Width() - 1 - x, shot.Height() - 1 - y});
            differing += ring < 3 && whole.Pixel(x, y) != shot.Pixel(x, y);
        }
    EXPECT_EQ(differing, 0);

    // An edit without a border is left as it paints itself.
    ::SetWindowLongW(flat->Handle(), GWL_EXSTYLE, 0);
    ::SetWindowPos(flat->Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_NE(Shown(flat->Handle()).Pixel(0, 12), shadow);

    EXPECT_EQ(::SendMessageW(window, WM_SKIN_PRINTCLIENT, 0, kSkinMagic), kSkinMagic);
    EXPECT_EQ(::SendMessageW(window, WM_SKIN_PRINTCLIENT, 0, 0), 0);
    EXPECT_EQ(::SendMessageW(window, WM_SKIN_PRINTCLIENT, 0, 16803), 0);
    edit->SetText("print");
    const TWindowCapture printed = TWindowCapture::Paint(window, [window](HDC DC) {
        EXPECT_EQ(::SendMessageW(window, WM_SKIN_PRINTCLIENT, reinterpret_cast<WPARAM>(DC), kSkinMagic), kSkinMagic);
    });
    int ink = 0;
    for (int x = 0; x < 60; ++x) ink += printed.Pixel(x, 8) != printed.Pixel(100, 8);
    EXPECT_GT(ink, 0);  // the text was painted into the given DC
}

TEST_F(AdapterTest, ComboBoxButtonFollowsTheMouseDropsItsListAndKeepsChineseText)
{
    const TSkinnedForm made = MakeForm();
    auto* combo = PlaceAt<TComboBox>(made.Form, {20, 20, 180, 41});
    for (const char* item : {"one", "two", kChinese}) combo->Items()->Add(item);
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    auto* away = PlaceAt<TEdit>(made.Form, {20, 120, 160, 144});
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    auto* adapter = dynamic_cast<TSkinComBox*>(frame->FindControl(combo));
    ASSERT_NE(adapter, nullptr);
    const HWND window = combo->Handle();
    ASSERT_NE(adapter->EditHandle(), nullptr);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(window, &info));
    away->SetFocus();
    Shown(window);
    const RECT button = adapter->ButtonRect();
    ASSERT_TRUE(::PtInRect(&button, {(info.rcButton.left + info.rcButton.right) / 2, 10}));

    // Native, normal, hot (over the button only) and disabled look different.
    ::SendMessageW(window, WM_SKIN_PAINTON, 0, 0);
    const auto native = ButtonPixels(Shown(window), button);
    ::SendMessageW(window, WM_SKIN_PAINTON, 1, 0);
    frameharness::MouseMoveTo(ScreenCentre(window, {2, 2, 20, 10}));
    const auto normal = ButtonPixels(Shown(window), button);
    EXPECT_EQ(adapter->MouseState() & mbHot, 0);
    frameharness::MouseMoveTo(ScreenCentre(window, button));
    Pump();
    EXPECT_NE(adapter->MouseState() & mbHot, 0);
    const auto hot = ButtonPixels(Shown(window), button);
    combo->SetEnabled(false);
    const auto disabled = ButtonPixels(Shown(window), button);
    combo->SetEnabled(true);
    EXPECT_NE(normal, native);
    EXPECT_NE(hot, normal);
    EXPECT_NE(disabled, normal);
    EXPECT_NE(disabled, hot);

    // A click on the button drops the list; a click on an entry chooses it.
    Click(ScreenCentre(window, button));
    ASSERT_TRUE(PumpUntil([&] { return ::SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 2000));
    RECT item{};
    ::SendMessageW(info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    Click(ScreenCentre(info.hwndList, item));
    ASSERT_TRUE(PumpUntil([&] { return combo->ItemIndex() == 2; }, 2000));
    EXPECT_GE(changes, 1);
    EXPECT_EQ(combo->WideText(), TextToWide(kChinese));
    EXPECT_EQ(adapter->MouseState() & mbPressed, 0);

    // A press dragged from the button into the list goes on there (the list
    // takes the mouse): the button is up, though no release came to the box.
    frameharness::MouseMoveTo(ScreenCentre(window, button));
    frameharness::MousePress(frameharness::TMouseButton::Left);
    ASSERT_TRUE(PumpUntil([&] { return ::SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 2000));
    EXPECT_NE(adapter->MouseState() & mbPressed, 0);
    ::SendMessageW(info.hwndList, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    const POINT entry = ScreenCentre(info.hwndList, item);
    frameharness::MouseMoveTo(entry);
    frameharness::MouseMoveTo({entry.x + 2, entry.y});
    Pump();
    EXPECT_NE(::GetCapture(), window);
    EXPECT_EQ(adapter->MouseState() & mbPressed, 0);
    frameharness::MouseRelease(frameharness::TMouseButton::Left);
    ::SendMessageW(window, CB_SHOWDROPDOWN, FALSE, 0);
    Pump();

    // Chinese typed into the edit part keeps its characters.
    ::SetWindowTextW(window, L"");
    for (const wchar_t c : std::wstring(L"\u6C49\u5B57")) ::SendMessageW(adapter->EditHandle(), WM_CHAR, c, 1);
    Pump();
    EXPECT_EQ(combo->WideText(), L"\u6C49\u5B57");
}

TEST_F(AdapterTest, ComboBoxTakesItsEditWithoutTheSystemsInfoAndStaysNativeWithoutTheSkinsEdge)
{
    const TSkinnedForm made = MakeForm();
    auto* combo = PlaceAt<TComboBox>(made.Form, {20, 20, 180, 41});
    auto* list = PlaceAt<TComboBox>(made.Form, {200, 20, 360, 41});
    list->SetStyle(TComboBoxStyle::csDropDownList);
    // Skinned on a system whose user32 lacks GetComboBoxInfo.
    const TGetComboBoxInfoFunc entry = std::exchange(SkinGetComboBoxInfo, nullptr);
    TWinSkinForm* frame = ShowSkinned(made.Form);
    SkinGetComboBoxInfo = entry;
    ASSERT_NE(frame, nullptr);
    auto* adapter = dynamic_cast<TSkinComBox*>(frame->FindControl(combo));
    ASSERT_NE(adapter, nullptr);
    const HWND window = combo->Handle();
    EXPECT_NE(adapter->EditHandle(), nullptr);
    EXPECT_EQ(adapter->EditHandle(), ::GetWindow(window, GW_CHILD));
    EXPECT_EQ(dynamic_cast<TSkinComBox*>(frame->FindControl(list))->EditHandle(), nullptr);

    // The three-part look without a SunkEdge element: the box keeps its own looks.
    list->SetFocus();
    TDataSkinBorder& button = *made.Data->FComboButton;
    const int style = std::exchange(button.FStyle, 0);
    std::unique_ptr<TDataSkinObject> edge = std::move(made.Data->FSunkEdge);
    RECT whole{};
    ::GetWindowRect(window, &whole);
    ::OffsetRect(&whole, -whole.left, -whole.top);
    ::SendMessageW(window, WM_SKIN_PAINTON, 0, 0);
    const auto native = ButtonPixels(Shown(window), whole);
    ::SendMessageW(window, WM_SKIN_PAINTON, 1, 0);
    const auto skinned = ButtonPixels(Shown(window), whole);
    made.Data->FSunkEdge = std::move(edge);
    button.FStyle = style;
    EXPECT_EQ(skinned, native);
}

TEST_F(AdapterTest, UnskinGivesBackEveryProcedureAndStyleAndLeavesNothing)
{
    const TSkinnedForm made = MakeForm();
    auto* combo = PlaceAt<TComboBox>(made.Form, {20, 20, 180, 41});
    auto* list = PlaceAt<TComboBox>(made.Form, {200, 20, 360, 41});
    list->SetStyle(TComboBoxStyle::csDropDownList);
    auto* simple = PlaceAt<TComboBox>(made.Form, {200, 60, 360, 160});
    simple->SetStyle(TComboBoxStyle::csSimple);
    simple->Items()->Add(kChinese);
    auto* edit = PlaceAt<TEdit>(made.Form, {20, 60, 160, 84});
    auto* updown = PlaceAt<TUpDown>(made.Form, {170, 60, 187, 90});
    const HWND spin = ::CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 100, 1, 17, 18, edit->Handle(),
                                        nullptr, ::GetModuleHandleW(nullptr), nullptr);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(combo->Handle(), &info));
    const HWND comboEdit = info.hwndItem;
    ASSERT_TRUE(::GetComboBoxInfo(simple->Handle(), &info));
    const HWND simpleList = info.hwndList;
    const std::vector<HWND> raw{comboEdit, spin, simpleList};
    std::vector<LONG_PTR> procs, styles;
    for (HWND w : raw) procs.push_back(::GetWindowLongPtrW(w, GWLP_WNDPROC));
    const std::vector<TWinControl*> controls{combo, list, simple, edit, updown};
    for (TWinControl* c : controls) styles.push_back(::GetWindowLongW(c->Handle(), GWL_STYLE));

    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    for (TWinControl* c : controls) Shown(c->Handle());
    for (TWinControl* c : controls) EXPECT_NE(frame->FindControl(c), nullptr) << c->ClassName();
    EXPECT_NE(FindSkinObject(comboEdit), nullptr);
    EXPECT_NE(FindSkinObject(spin), nullptr);
    EXPECT_EQ(dynamic_cast<TSkinComBox*>(frame->FindControl(simple))->ListHandle(), simpleList);
    EXPECT_NE(dynamic_cast<TSkinScrollbarH*>(FindSkinObject(simpleList)), nullptr) << "the simple box's list bars";
    EXPECT_EQ(dynamic_cast<TSkinComBox*>(frame->FindControl(list))->EditHandle(), nullptr);

    RunAction(made.Data, saUnskinAll);
    Pump();
    for (size_t i = 0; i < raw.size(); ++i) {
        EXPECT_EQ(::GetWindowLongPtrW(raw[i], GWLP_WNDPROC), procs[i]) << i;
        EXPECT_EQ(FindSkinObject(raw[i]), nullptr) << i;
    }
    for (size_t i = 0; i < controls.size(); ++i) {
        EXPECT_EQ(FindSkinObject(controls[i]->Handle()), nullptr) << controls[i]->ClassName();
        EXPECT_EQ(::GetWindowLongW(controls[i]->Handle(), GWL_STYLE), styles[i]) << controls[i]->ClassName();
    }
    // The simple box's list kept its Chinese entry.
    wchar_t text[16]{};
    ::SendMessageW(simple->Handle(), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), TextToWide(kChinese));

    // Skinned and unskinned again and again, painted each time: nothing is left over.
    ExpectNothingLeftAfter(
        10,
        [&] {
            RunAction(made.Data, saSkinAll);
            ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(made.Form->Handle()); }));
            for (TWinControl* c : controls) Shown(c->Handle());
        },
        [&] {
            RunAction(made.Data, saUnskinAll);
            Pump();
        });
}

}  // namespace
}  // namespace frametest

namespace frametest {
namespace {

TEST_F(AdapterTest, DateTimeArrowLiesOverThePickersButtonFollowsItOpensTheCalendarAndGoesWithTheSkin)
{
    const TSkinnedForm made = MakeForm();
    made.Data->Skin3rd()->Add("TDateTimePicker=datetimepicker");
    auto* picker = PlaceAt<TDateTimePicker>(made.Form, {20, 20, 206, 41});
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    auto* adapter = dynamic_cast<TSkinDateTime*>(frame->FindControl(picker));
    ASSERT_NE(adapter, nullptr);
    TArrowButton* arrow = adapter->ArrowButton();
    ASSERT_NE(arrow, nullptr);
    const HWND window = picker->Handle(), button = arrow->Handle();
    const int size = ::GetSystemMetrics(SM_CXHSCROLL);
    EXPECT_EQ(::GetParent(button), window);
    EXPECT_EQ(arrow->Left(), 186 - size - 4);
    EXPECT_NE(::GetWindowLongW(window, GWL_STYLE) & WS_CLIPCHILDREN, 0);
    picker->SetWidth(250);
    Pump();
    EXPECT_EQ(arrow->Left(), 250 - size - 4);

    // Hot under the mouse; without the arrow strip only the face is painted.
    frameharness::MouseMoveTo(ScreenCentre(window, {2, 2, 20, 10}));
    const TWindowCapture normal = Shown(button);
    RECT r{};
    ::GetClientRect(button, &r);
    frameharness::MouseMoveTo(ScreenCentre(button, r));
    ASSERT_TRUE(PumpUntil([&] { return arrow->Hot(); }, 2000));
    const TWindowCapture hot = Shown(button);
    EXPECT_NE(hot.Pixel(size / 2, size / 2), normal.Pixel(size / 2, size / 2));
    // A skin change reaches the arrow, though the picker clips it from its own redraw.
    TDataSkinObject& strip = *made.Data->FComboArrow;
    const int frames = std::exchange(strip.FFrame, 0);
    frame->UpdateSkin();
    Pump();
    const TWindowCapture face = TWindowCapture::Take(button);
    strip.FFrame = frames;
    frame->UpdateSkin();
    int other = 0;
    // Its last row lies under the picker's border.
    for (int y = 0; y < face.Height() - 1; ++y)
        for (int x = 0; x < face.Width(); ++x) other += face.Pixel(x, y) != ColorToRGB(made.Data->FButtonFaceColor);
    EXPECT_EQ(other, 0);

    // A click on it is a click on the picker's button: the calendar opens.
    Click(ScreenCentre(button, r));
    EXPECT_TRUE(PumpUntil([&] { return ::SendMessageW(window, DTM_GETMONTHCAL, 0, 0) != 0; }, 2000));
    ::SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    frameharness::PumpFor(100);

    RunAction(made.Data, saUnskinAll);
    Pump();
    EXPECT_EQ(::GetWindowLongW(window, GWL_STYLE) & WS_CLIPCHILDREN, 0);
    EXPECT_EQ(::GetWindow(window, GW_CHILD), nullptr);
    EXPECT_EQ(FindSkinObject(window), nullptr);
}

}  // namespace
}  // namespace frametest
