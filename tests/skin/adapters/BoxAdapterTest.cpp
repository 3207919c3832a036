// The container and plain-window adapters against the default skin, read
// back from the screen of a Wine virtual desktop: a status bar with three
// panels (and its handler that frees it), group boxes with labels on both
// sheets of a page control, a panel, a dialog and a size grip without
// class-library objects, and other libraries' buttons handed glyph strips.
#include "tests/skin/support/AdapterFixture.h"

#include "classlib/Buttons.h"
#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Handles.h"
#include "classlib/portable/TypInfo.h"
#include "skin/adapters/SkinBoxes.h"
#include "skin/data/SkinElements.h"
#include "tests/support/GdiObjectCount.h"

#include <commctrl.h>

#include <memory>
#include <vector>

// A check box of another library that takes a glyph strip.
class TTestGlyphCheckBox : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    using TWinControl::TWinControl;
    TBitmap* CustomGlyphs() const { return FGlyphs.get(); }
    int32_t TransparentColor() const noexcept { return FTransparentColor; }
    void SetTransparentColor(int32_t Value) noexcept { FTransparentColor = Value; }
    bool UseCustomGlyphs() const noexcept { return FUse; }
    void SetUseCustomGlyphs(bool Value) { FUse = Value, ++Switches; }
    int Switches = 0;

private:
    std::unique_ptr<TBitmap> FGlyphs = std::make_unique<TBitmap>();
    int32_t FTransparentColor = 0;
    bool FUse = false;
};
const TClassInfo& TTestGlyphCheckBox::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TTestGlyphCheckBox>("TRzCheckBox", TWinControl::StaticClassInfo())
            .Object("CustomGlyphs", &TTestGlyphCheckBox::CustomGlyphs)
            .Integer("TransparentColor", &TTestGlyphCheckBox::TransparentColor,
                     &TTestGlyphCheckBox::SetTransparentColor)
            .Boolean("UseCustomGlyphs", &TTestGlyphCheckBox::UseCustomGlyphs, &TTestGlyphCheckBox::SetUseCustomGlyphs)
            .Build();
    return info;
}

// A third library's check box: its glyph sits in a "Properties" object.
class TTestGlyphProperties : public TPersistent {
public:
    DECLARE_CLASS_INFO()
    TBitmap* Glyph() const { return FGlyph.get(); }

private:
    std::unique_ptr<TBitmap> FGlyph = std::make_unique<TBitmap>();
};
const TClassInfo& TTestGlyphProperties::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTestGlyphProperties>("TTestGlyphProperties",
                                                                       TPersistent::StaticClassInfo())
                                       .Object("Glyph", &TTestGlyphProperties::Glyph)
                                       .Build();
    return info;
}

class TTestPropertiesCheckBox : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    using TWinControl::TWinControl;
    TTestGlyphProperties* Properties() const { return FProperties.get(); }

private:
    std::unique_ptr<TTestGlyphProperties> FProperties = std::make_unique<TTestGlyphProperties>();
};
const TClassInfo& TTestPropertiesCheckBox::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TTestPropertiesCheckBox>("TcxCheckBox", TWinControl::StaticClassInfo())
            .Object("Properties", &TTestPropertiesCheckBox::Properties)
            .Build();
    return info;
}

namespace frametest {
namespace {

using frameharness::TWindowCapture;

TWindowCapture Repainted(HWND Window)
{
    ::RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    return TWindowCapture::Take(Window);
}

// Pixels of Rect that differ from Background: the ink drawn there.
int InkIn(const TWindowCapture& Shot, const RECT& Rect, COLORREF Background)
{
    int ink = 0;
    for (int y = Rect.top; y < Rect.bottom; ++y)
        for (int x = Rect.left; x < Rect.right; ++x) ink += Shot.Pixel(x, y) != Background ? 1 : 0;
    return ink;
}

// Pixels in which two captures of one window differ.
int Differing(const TWindowCapture& A, const TWindowCapture& B)
{
    int n = 0;
    for (int y = 0; y < A.Height(); ++y)
        for (int x = 0; x < A.Width(); ++x) n += A.Pixel(x, y) != B.Pixel(x, y) ? 1 : 0;
    return n;
}

RECT PanelRect(HWND Bar, int Index)
{
    RECT r{};
    ::SendMessageW(Bar, SB_GETRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r));
    return r;
}

COLORREF Face(const TSkinData& Data)
{
    return ColorToRGB(Data.FButtonFaceColor);
}

class BoxAdapterTest : public AdapterTest {};

TEST_F(BoxAdapterTest, StatusBarPanelsSimpleTextAndGripAreDrawnFromTheSkinAndHandlersMayFreeTheBar)
{
    const TSkinnedForm made = MakeForm();
    auto* bar = new TStatusBar(made.Form);
    bar->SetParent(made.Form);
    const TStatusPanelBevel bevels[] = {TStatusPanelBevel::pbLowered, TStatusPanelBevel::pbRaised,
                                        TStatusPanelBevel::pbNone};
    for (TStatusPanelBevel bevel : bevels) {
        TStatusPanel* panel = bar->Panels()->Add();
        panel->SetWidth(110);
        panel->SetBevel(bevel);
        panel->SetText("panel");
    }
    bar->Panels()->Items(2)->SetAlignment(TAlignment::taCenter);
    bar->Panels()->Items(1)->SetStyle(TStatusPanelStyle::psOwnerDraw);
    std::vector<int> drawn;
    bool freeBar = false;
    bar->OnDrawPanel = [&](TCustomStatusBar* Bar, TStatusPanel* Panel, const RECT& Rect) {
        drawn.push_back(Panel->Index());
        if (Panel->Style() == TStatusPanelStyle::psOwnerDraw) {
            Bar->Canvas()->SetBrushColor(RGB(1, 2, 3));
            Bar->Canvas()->FillRect(Rect);
        }
        if (freeBar) delete std::exchange(bar, nullptr);
    };
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    const HWND wnd = bar->WindowHandle();
    ASSERT_NE(dynamic_cast<TSkinStatusBar*>(FindSkinObject(wnd)), nullptr);

    TBitmap& edges = *made.Data->FStatusBarEdges->FBitmap;
    ASSERT_NE(CellPixel(edges, 1, 3, false, 0, 0), CellPixel(edges, 2, 3, false, 0, 0));
    drawn.clear();
    TWindowCapture shot = Repainted(wnd);
    for (int i = 0; i < 3; ++i) {
        const RECT r = PanelRect(wnd, i);
        EXPECT_EQ(shot.Pixel(r.left, r.top), CellPixel(edges, i + 1, 3, false, 0, 0)) << "panel " << i;
    }
    EXPECT_GT(InkIn(shot, PanelRect(wnd, 0), shot.Pixel(PanelRect(wnd, 0).left + 60, 4)), 10) << "text";
    const RECT owned = PanelRect(wnd, 1);
    EXPECT_EQ(shot.Pixel((owned.left + owned.right) / 2, (owned.top + owned.bottom) / 2), RGB(1, 2, 3));
    EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2}));  // after the skin, for every panel
    // The grip: cell 5 of the extra images, one pixel inside the corner.
    const TDataSkinObject& extra = *made.Data->FExtraImages;
    const int gw = extra.FBitmap->Width() / extra.FFrame, gh = extra.FBitmap->Height();
    RECT client{};
    ::GetClientRect(wnd, &client);
    int checked = 0;
    for (int y = 0; y < gh; ++y)
        for (int x = 0; x < gw; ++x) {
            const COLORREF cell = CellPixel(*extra.FBitmap, 5, extra.FFrame, false, x, y);
            const int sy = client.bottom - 1 - gh + y;
            if (cell == RGB(255, 0, 255) || sy < 0) continue;
            EXPECT_EQ(shot.Pixel(client.right - 1 - gw + x, sy), cell);
            ++checked;
        }
    EXPECT_GT(checked, 0);
    // The text takes the font's face and size, never its style.
    const auto styled = [&](LONG Weight, BYTE Italic) {
        LOGFONTW lf{};
        ::GetObjectW(bar->Font()->Handle(), sizeof lf, &lf);
        lf.lfWeight = Weight;
        lf.lfItalic = Italic;
        bar->Font()->AssignLogFont(lf);
        return Repainted(wnd);
    };
    const TWindowCapture plain = styled(FW_NORMAL, FALSE);
    EXPECT_EQ(Differing(plain, styled(FW_BOLD, TRUE)), 0);
    bar->Panels()->Items(0)->SetText("");
    EXPECT_GT(Differing(plain, Repainted(wnd)), 10) << "no text, nothing compared";

    bar->SetSimplePanel(true);  // one lowered frame over the bar
    shot = Repainted(wnd);
    EXPECT_EQ(shot.Pixel(0, 0), CellPixel(edges, 1, 3, false, 0, 0));
    EXPECT_EQ(shot.Pixel(client.right / 2, 0), shot.Pixel(client.right / 3, 0));

    // Painting leaves no GDI object behind.
    const int gdi = GdiObjectCount();
    for (int i = 0; i < 20; ++i) Repainted(wnd);
    EXPECT_EQ(GdiObjectCount(), gdi);

    // Unskinned, the system bar asks for the owner-drawn panel only.
    bar->SetSimplePanel(false);
    RunAction(made.Data, saUnskinAll);
    drawn.clear();
    Repainted(wnd);
    EXPECT_EQ(drawn, (std::vector<int>{1}));

    RunAction(made.Data, saSkinAll);
    ASSERT_TRUE(PumpUntil([&] { return FindSkinObject(wnd) != nullptr; }));
    freeBar = true;
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(bar, nullptr);
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_EQ(FindSkinObject(wnd), nullptr);
}

TEST_F(BoxAdapterTest, SheetsGroupBoxesAndPanelsTakeTheSkinColourAndShowTheirLabels)
{
    const TSkinnedForm made = MakeForm();
    made.Form->SetBounds(20, 20, 520, 420);
    auto* pages = new TPageControl(made.Form);
    pages->SetParent(made.Form);
    pages->SetBounds(10, 10, 480, 360);
    TTabSheet* sheets[2];
    for (TTabSheet*& sheet : sheets) {
        sheet = new TTabSheet(made.Form);
        sheet->SetParent(pages);
        sheet->SetCaption("sheet");
    }
    auto* group = new TGroupBox(made.Form);
    group->SetParent(sheets[0]);
    group->SetBounds(10, 10, 220, 120);
    group->SetCaption("Group");
    auto* inside = new TLabel(made.Form);
    inside->SetParent(group);
    inside->SetAutoSize(false);
    inside->SetBounds(12, 40, 150, 20);
    inside->SetCaption("ab");
    auto* onSheet = new TLabel(made.Form);
    onSheet->SetParent(sheets[0]);
    onSheet->SetBounds(250, 20, 100, 20);
    onSheet->SetCaption("on the sheet");
    auto* panel = new TPanel(made.Form);
    panel->SetParent(sheets[1]);
    panel->SetBounds(10, 10, 150, 60);
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    const COLORREF face = Face(*made.Data), shadow = ColorToRGB(made.Data->FButtonShadowColor);
    ASSERT_NE(face, ColorToRGB(clBtnFace));
    EXPECT_NE(dynamic_cast<TSkinTabSheet*>(FindSkinObject(sheets[0]->WindowHandle())), nullptr);
    EXPECT_NE(dynamic_cast<TSkinGroupBox*>(FindSkinObject(group->WindowHandle())), nullptr);
    // The panel is recoloured, its window not taken.
    EXPECT_NE(dynamic_cast<TSkinBox*>(frame->FindControl(panel)), nullptr);
    EXPECT_EQ(FindSkinObject(panel->WindowHandle()), nullptr);
    EXPECT_EQ(panel->Color(), made.Data->FButtonFaceColor);
    EXPECT_FALSE(panel->ParentBackground());

    const TWindowCapture box = Repainted(group->WindowHandle());
    const int middle = group->Height() / 2;
    EXPECT_EQ(box.Pixel(1, middle), shadow) << "the frame's left side";
    EXPECT_EQ(box.Pixel(group->Width() - 2, middle), shadow) << "its right side";
    EXPECT_EQ(box.Pixel(group->Width() / 2, group->Height() - 10), face) << "inside";
    // The caption interrupts the top line, which goes on beyond it.
    int line = -1;
    for (int y = 0; y < middle && line < 0; ++y)
        if (box.Pixel(group->Width() - 20, y) == shadow) line = y;
    ASSERT_GT(line, 0);
    EXPECT_GT(InkIn(box, {8, line, 40, line + 1}, shadow), 10);
    // The label inside: its text, on the skin colour.
    const RECT label = inside->BoundsRect();
    EXPECT_GT(InkIn(box, label, face), 5);
    EXPECT_EQ(box.Pixel(label.right - 5, label.top + 2), face);

    const auto printed = [&](UINT Message) {
        const HWND sheet = sheets[0]->WindowHandle();
        return TWindowCapture::Paint(sheet, [&](HDC DC) {
            ::SendMessageW(sheet, Message, reinterpret_cast<WPARAM>(DC), PRF_CLIENT);
        });
    };
    for (UINT message : {UINT{WM_PRINT}, UINT{WM_PRINTCLIENT}}) {
        const TWindowCapture sheet = printed(message);
        EXPECT_EQ(sheet.Pixel(sheet.Width() - 5, sheet.Height() - 5), face) << message;
        EXPECT_GT(InkIn(sheet, onSheet->BoundsRect(), face), 10) << message;
    }

    pages->SetActivePage(sheets[1]);
    Pump();
    const TWindowCapture second = Repainted(sheets[1]->WindowHandle());
    EXPECT_EQ(second.Pixel(second.Width() - 5, second.Height() - 5), face);
    EXPECT_EQ(second.Pixel(panel->Left() + 75, panel->Top() + 45), face) << "the panel";

    RunAction(made.Data, saUnskinAll);
    EXPECT_EQ(panel->Color(), clBtnFace);
    EXPECT_TRUE(panel->ParentBackground());
    EXPECT_EQ(FindSkinObject(sheets[0]->WindowHandle()), nullptr);
    EXPECT_EQ(printed(WM_PRINTCLIENT).Pixel(5, 5), ColorToRGB(clBtnFace));
}

// A flat, captionless speed button drawing its parent's image is composed
// while its parent is: it shows exactly what lies behind it.
TEST_F(BoxAdapterTest, WindowlessChildrenShowingTheirParentShowTheBoxOrSheetBehindThem)
{
    const TSkinnedForm made = MakeForm();
    made.Data->Skin3rd()->Add("TSpeedButton=speedbutton");
    made.Form->SetBounds(20, 20, 420, 300);
    auto* pages = PlaceAt<TPageControl>(made.Form, {10, 10, 390, 250});
    auto* sheet = new TTabSheet(made.Form);
    sheet->SetParent(pages);
    auto* group = new TGroupBox(made.Form);
    group->SetParent(sheet);
    group->SetBounds(60, 30, 200, 120);
    group->SetCaption("Group");
    auto* label = new TLabel(made.Form);
    label->SetParent(sheet);
    label->SetBounds(10, 150, 100, 20);
    label->SetCaption("behind the button");
    // Over the box's caption and over the sheet's label.
    struct TPlace {
        TWinControl* Parent;
        RECT Bounds;
        TSpeedButton* Button = nullptr;
    } places[] = {{group, {5, 0, 45, 20}}, {sheet, {5, 145, 60, 170}}};
    for (auto& [parent, bounds, button] : places) {
        button = new TSpeedButton(made.Form);
        button->SetParent(parent);
        button->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
        button->SetFlat(true);
        button->SetTag(kParentImageTag);
    }
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    frameharness::MouseMoveTo({5, 5});
    for (const auto& [parent, bounds, button] : places) {
        const TWindowCapture with = Repainted(parent->Handle());
        button->Hide();
        const TWindowCapture without = Repainted(parent->Handle());
        button->Show();
        int differing = 0;
        for (int y = bounds.top; y < bounds.bottom; ++y)
            for (int x = bounds.left; x < bounds.right; ++x) differing += with.Pixel(x, y) != without.Pixel(x, y);
        EXPECT_EQ(differing, 0) << parent->ClassName();
        EXPECT_GT(InkIn(without, bounds, without.Pixel(bounds.right - 1, bounds.bottom - 1)), 0) << "nothing behind";
    }
}

TEST_F(BoxAdapterTest, RawDialogsAndSizeGripsTakeTheSkinColourAndPlainScrollBarsAreRefused)
{
    const TSkinnedForm made = MakeForm();
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    const COLORREF face = Face(*made.Data);
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const HWND dialog = ::CreateWindowExW(0, L"#32770", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 100,
                                          made.Form->Handle(), nullptr, instance, nullptr);
    const HWND text = ::CreateWindowExW(0, L"Static", L"static text", WS_CHILD | WS_VISIBLE, 10, 10, 180, 20, dialog,
                                        nullptr, instance, nullptr);
    ASSERT_NE(text, nullptr);
    frame->SkinChildWindow(dialog);
    ASSERT_NE(dynamic_cast<TSkinBoxH*>(FindSkinObject(dialog)), nullptr);
    const TWindowCapture erased = TWindowCapture::Paint(dialog, [&](HDC DC) {
        EXPECT_EQ(::SendMessageW(dialog, WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0), 1);
    });
    EXPECT_EQ(erased.Pixel(150, 80), face);
    const TWindowCapture shown = Repainted(dialog);
    EXPECT_EQ(shown.Pixel(175, 15), face) << "behind the static text";
    EXPECT_GT(InkIn(shown, {10, 10, 190, 30}, face), 10);

    const HWND grip = ::CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 300, 200, 20, 20,
                                        made.Form->Handle(), nullptr, instance, nullptr);
    // The grip is skinned from a notice posted once it exists.
    ASSERT_TRUE(PumpUntil([grip] { return dynamic_cast<TSkinSizer*>(FindSkinObject(grip)) != nullptr; }));
    EXPECT_EQ(Repainted(grip).Pixel(10, 10), face);
    const HWND plain = ::CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 340, 10, 16, 100,
                                         made.Form->Handle(), nullptr, instance, nullptr);
    auto* refused = new TSkinSizer(frame);
    EXPECT_FALSE(refused->InitSkinHandle(plain, made.Data, frame));
    EXPECT_EQ(FindSkinObject(plain), nullptr);
    refused->Free();
}

TEST_F(BoxAdapterTest, OtherLibrariesButtonsAreHandedTheSkinsGlyphCells)
{
    const TSkinnedForm made = MakeForm();
    auto* check = new TTestGlyphCheckBox(made.Form);
    check->SetParent(made.Form);
    check->SetBounds(10, 10, 100, 20);
    auto* third = new TTestPropertiesCheckBox(made.Form);
    third->SetParent(made.Form);
    third->SetBounds(10, 40, 100, 20);
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    const TDataSkinButton& buttons = *made.Data->FButtons;
    TBitmap& strip = *buttons.FCheckButton;
    const int n = buttons.FCheckButtonFrame, w = strip.Width() / n;
    EXPECT_NE(dynamic_cast<TSkinObjImage*>(frame->FindControl(check)), nullptr);
    EXPECT_EQ(FindSkinObject(check->WindowHandle()), nullptr);

    TBitmap& glyphs = *check->CustomGlyphs();
    ASSERT_EQ(glyphs.Width(), 9 * w);
    EXPECT_TRUE(check->UseCustomGlyphs());
    EXPECT_EQ(check->Switches, 2);  // off and on: the control reloads
    EXPECT_EQ(check->TransparentColor(), 0xFF00FF);
    // Glyph cells 1 and 4 from strip cell 1, 2 and 5 from 2, 7 from 3, 8 from 4.
    const int from[][2] = {{1, 1}, {4, 1}, {2, 2}, {5, 2}, {7, 3}, {8, 4}};
    for (const auto& [glyph, cell] : from)
        for (int y = 0; y < strip.Height(); y += 3)
            EXPECT_EQ(CellPixel(glyphs, glyph, 9, false, w / 2, y), CellPixel(strip, cell, n, false, w / 2, y))
                << glyph;
    TBitmap& glyph = *third->Properties()->Glyph();
    ASSERT_EQ(glyph.Width(), 6 * w);
    EXPECT_EQ(CellPixel(glyph, 5, 6, false, w / 2, strip.Height() / 2),
              CellPixel(strip, 2, n, false, w / 2, strip.Height() / 2));
    EXPECT_FALSE(glyph.Transparent);

    RunAction(made.Data, saUnskinAll);
    EXPECT_FALSE(check->UseCustomGlyphs());
    EXPECT_TRUE(glyph.Empty());
}

}  // namespace
}  // namespace frametest
