// The container and plain-window adapters. Those that paint a window whole
// compose it in the base's back buffer; the group box of a raw window paints
// over the window's own look.
#include "skin/adapters/SkinBoxes.h"

#include "classlib/ComCtrls.h"
#include "classlib/Handles.h"
#include "classlib/Text.h"
#include "skin/SkinApi.h"
#include "skin/adapters/AdapterDraw.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinElements.h"
#include "skin/data/WinSkinData.h"
#include "skin/portable/SkinText.h"

#include <commctrl.h>

#include <array>
#include <string>

namespace {

int Width(const RECT& R)
{
    return R.right - R.left;
}

int Height(const RECT& R)
{
    return R.bottom - R.top;
}

// Sets the text colour and background of a DC and puts them back.
class TTextColors {
public:
    TTextColors(HDC DC, COLORREF Text, int Mode, COLORREF Back)
        : FDC(DC), FText(::SetTextColor(DC, Text)), FMode(::SetBkMode(DC, Mode)), FBack(::SetBkColor(DC, Back))
    {
    }
    ~TTextColors()
    {
        ::SetBkColor(FDC, FBack);
        ::SetBkMode(FDC, FMode);
        ::SetTextColor(FDC, FText);
    }
    TTextColors(const TTextColors&) = delete;
    TTextColors& operator=(const TTextColors&) = delete;

private:
    HDC FDC;
    COLORREF FText;
    int FMode;
    COLORREF FBack;
};


// Font with its face, size and charset but no style: the bar's text is
// never bold, italic, underlined or struck out.
TGdiObject PlainFont(HFONT Font)
{
    LOGFONTW lf{};
    if (Font == nullptr || ::GetObjectW(Font, sizeof lf, &lf) == 0) return TGdiObject();
    lf.lfWeight = FW_NORMAL;
    lf.lfItalic = lf.lfUnderline = lf.lfStrikeOut = FALSE;
    return TGdiObject(::CreateFontIndirectW(&lf));
}

bool IsSizeBox(HWND Window)
{
    return Window != nullptr && LowerCaseAZ(GetWindowClassName(Window)) == "scrollbar" &&
           (::GetWindowLongW(Window, GWL_STYLE) & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0;
}

}  // namespace

// --- TSkinStatusBar

bool TSkinStatusBar::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor)
{
    if (dynamic_cast<TCustomStatusBar*>(Owner()) == nullptr) return false;
    return TSkinControl::InitSkin(Form, SkinData, ChangeColor);
}

void TSkinStatusBar::DrawFrame(HDC DC, const RECT& Box, TPanelFrame Frame) const
{
    const TDataSkinObject* edges = SkinData()->FStatusBarEdges.get();
    if (edges != nullptr && !edges->FBitmap->Empty()) {
        DrawSkinPart(DC, Box, *edges->FBitmap, MarginsOf(*edges), {.Index = Frame, .Count = 3});
        return;
    }
    if (Frame == pfFlat) return;
    const TColor shadow = SystemColor(COLOR_BTNSHADOW), light = SystemColor(COLOR_BTNHIGHLIGHT);
    const TColor topLeft = Frame == pfLowered ? shadow : light, bottomRight = Frame == pfLowered ? light : shadow;
    FillColor(DC, {Box.left, Box.top, Box.right - 1, Box.top + 1}, topLeft);
    FillColor(DC, {Box.left, Box.top, Box.left + 1, Box.bottom - 1}, topLeft);
    FillColor(DC, {Box.left, Box.bottom - 1, Box.right, Box.bottom}, bottomRight);
    FillColor(DC, {Box.right - 1, Box.top, Box.right, Box.bottom}, bottomRight);
}

void TSkinStatusBar::DrawSizeGrip(HDC DC, const RECT& Rect) const
{
    const TDataSkinObject* extra = SkinData()->FExtraImages.get();
    if ((::GetWindowLongW(Handle(), GWL_STYLE) & SBARS_SIZEGRIP) == 0 || extra == nullptr ||
        extra->FBitmap->Empty() || extra->FFrame < 1)
        return;
    const int w = extra->FBitmap->Width() / extra->FFrame, h = extra->FBitmap->Height();
    const RECT grip{Rect.right - 1 - w, Rect.bottom - 1 - h, Rect.right - 1, Rect.bottom - 1};
    DrawSkinCell(DC, grip, *extra->FBitmap, {.Index = 5, .Count = extra->FFrame, .Transparent = extra->FTrans == 1});
}

bool TSkinStatusBar::PanelRect(int Index, RECT& Rect) const
{
    return ::SendMessageW(Handle(), SB_GETRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&Rect)) != 0;
}

void TSkinStatusBar::PaintPanels(HDC DC, const TStatusPanels& Panels, int Right) const
{
    static constexpr TPanelFrame kFrameOfBevel[] = {pfFlat, pfLowered, pfRaised};  // none, lowered, raised
    for (int i = 0; i < Panels.Count(); ++i) {
        const TStatusPanel& panel = *Panels.Items(i);
        RECT box{};
        if (!PanelRect(i, box)) continue;
        box.right = i == Panels.Count() - 1 ? Right : box.right + 2;
        DrawFrame(DC, box, kFrameOfBevel[static_cast<int>(panel.Bevel())]);
        if (panel.Style() != TStatusPanelStyle::psText) continue;
        TAlignment alignment = panel.Alignment();
        if (panel.BiDiMode() == TBiDiMode::bdRightToLeft && alignment != TAlignment::taCenter)
            alignment = alignment == TAlignment::taLeftJustify ? TAlignment::taRightJustify : TAlignment::taLeftJustify;
        const UINT align = alignment == TAlignment::taCenter         ? DT_CENTER
                           : alignment == TAlignment::taRightJustify ? DT_RIGHT
                                                                     : DT_LEFT;
        const std::wstring text = TextToWide(panel.Text());
        ::InflateRect(&box, -2, 0);
        DrawControlCaption(this, DC, box, text.empty() ? L" " : text, true, align);
    }
}

void TSkinStatusBar::PaintControl(HDC DC, const RECT& Rect)
{
    auto* bar = dynamic_cast<TCustomStatusBar*>(Control());
    if (bar == nullptr || Width(Rect) <= 0 || Height(Rect) <= 0) return;
    FillSkinColor(DC, Rect);
    {
        const TGdiObject plain = PlainFont(bar->Font()->Handle());
        const TSelectObject font(DC, plain ? plain.Get() : bar->Font()->Handle());
        const TDataSkinObject* edges = SkinData()->FStatusBarEdges.get();
        const TColor ink = edges != nullptr ? edges->FNormalColour2 : bar->Font()->Color();
        const TTextColors colors(DC, ColorToRGB(ink), TRANSPARENT, ::GetBkColor(DC));
        if (bar->SimplePanel() || bar->Panels()->Count() == 0) {
            DrawFrame(DC, Rect, pfLowered);
            const std::wstring text = TextToWide(bar->SimpleText());
            RECT box = Rect;
            ::InflateRect(&box, -2, 0);
            const UINT align = bar->BiDiMode() == TBiDiMode::bdRightToLeft ? DT_RIGHT : DT_LEFT;
            DrawControlCaption(this, DC, box, text.empty() ? L" " : text, true, align);
        } else {
            PaintPanels(DC, *bar->Panels(), Rect.right);
        }
        DrawSizeGrip(DC, Rect);
    }
    bar->PaintControls(DC);
    if (!bar->OnDrawPanel) return;
    // The handler may free the bar, and this adapter with it.
    const TToken life = Token();
    for (int i = 0; life.Alive() && i < bar->Panels()->Count(); ++i) {
        RECT box{};
        if (!PanelRect(i, box)) continue;
        ::InflateRect(&box, -2, -2);
        bar->DrawPanel(DC, bar->Panels()->Items(i), box);
    }
}

// --- TSkinGroupBox

bool TSkinGroupBox::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor)
{
    if (!TSkinControl::InitSkin(Form, SkinData, ChangeColor)) return false;
    SetMode(gmOwn);
    return true;
}

void TSkinGroupBox::PaintControl(HDC DC, const RECT& Rect)
{
    TControl* control = Control();
    std::wstring caption = GetWindowTextWide(Handle());
    if (caption.empty() && control != nullptr) caption = GetTextPropByName(control, "Caption");
    SetCaption(caption);
    const TSkinData& skin = *SkinData();
    if (control != nullptr) FillSkinColor(DC, Rect);
    const TSelectObject font(DC, control != nullptr ? control->Font()->Handle() : ControlFont(Handle()));
    SIZE zero{};
    ::GetTextExtentPoint32W(DC, L"0", 1, &zero);
    const int top = zero.cy / 2 - 1;
    if (Mode() == gmOverNative) {  // the native frame wiped
        const auto brush = static_cast<HBRUSH>(skin.FFaceBrush.Get());
        RECT wipe{Rect.left, top, Rect.right, Rect.bottom};
        ::FrameRect(DC, &wipe, brush);
        ::InflateRect(&wipe, -1, -1);
        ::FrameRect(DC, &wipe, brush);
    }
    {
        const TGdiObject pen(::CreatePen(PS_SOLID, 1, ColorToRGB(skin.FButtonShadowColor)));
        const TSelectObject usePen(DC, pen.Get());
        const TSelectObject noFill(DC, ::GetStockObject(NULL_BRUSH));
        ::RoundRect(DC, Rect.left + 1, top, Rect.right - 1, Rect.bottom - 1, 5, 5);
    }
    if (!caption.empty()) {
        const COLORREF ink = control != nullptr ? ColorToRGB(control->Font()->Color()) : ::GetTextColor(DC);
        // An opaque background: the caption interrupts the frame line.
        const TTextColors colors(DC, ink, OPAQUE, ColorToRGB(skin.FButtonFaceColor));
        RECT box = Rect;
        UINT flags = DT_EXPANDTABS;
        if (::GetWindowLongW(Handle(), GWL_EXSTYLE) & WS_EX_RIGHT) {
            box.right -= 8;
            flags = AddRTLFlag(this, flags | DT_RIGHT);
        } else {
            box.left += 8;
        }
        DrawTextWide(DC, caption, box, flags);
    }
    if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed != nullptr && Mode() == gmOwn)
        windowed->PaintControls(DC);
}

// --- TSkinBox

bool TSkinBox::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor)
{
    return InitUnhooked(Form, SkinData, ChangeColor);
}

// --- TSkinTabSheet

void TSkinTabSheet::PaintControl(HDC DC, const RECT& Rect)
{
    FillSkinColor(DC, Rect);
    if (auto* windowed = dynamic_cast<TWinControl*>(Control())) windowed->PaintControls(DC);
}

// --- TSkinSizer

bool TSkinSizer::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor)
{
    auto* control = dynamic_cast<TWinControl*>(Owner());
    if (control == nullptr || !IsSizeBox(control->Handle())) return false;
    return TSkinControl::InitSkin(Form, SkinData, ChangeColor);
}

bool TSkinSizer::InitSkinHandle(HWND Window, TSkinData* SkinData, TAdapterHost* Form)
{
    return IsSizeBox(Window) && TSkinControl::InitSkinHandle(Window, SkinData, Form);
}

void TSkinSizer::PaintControl(HDC DC, const RECT& Rect)
{
    FillSkinColor(DC, Rect);
}

// --- TSkinBoxH

void TSkinBoxH::EraseSkinColour(HDC DC) const
{
    RECT r{};
    if (DC == nullptr || !::GetWindowRect(Handle(), &r)) return;
    ::OffsetRect(&r, -r.left, -r.top);
    FillSkinColor(DC, r);
}

bool TSkinBoxH::BeforeProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        EraseSkinColour(reinterpret_cast<HDC>(Message.WParam));
        // Erased: the dialog must not erase again.
        Message.Result = 1;
        return false;
    case WM_PRINTCLIENT:
        // Printed as shown: on the background the screen's erasing gives it.
        if ((Message.LParam & PRF_ERASEBKGND) != 0) EraseSkinColour(reinterpret_cast<HDC>(Message.WParam));
        return TSkinControl::BeforeProc(Message);
    case WM_CTLCOLORSTATIC:
        if (!CallOldProc(Message)) return false;
        ::SetBkMode(reinterpret_cast<HDC>(Message.WParam), TRANSPARENT);
        Message.Result = reinterpret_cast<LRESULT>(SkinData()->FFaceBrush.Get());
        return false;
    default:
        return TSkinControl::BeforeProc(Message);
    }
}

// --- TSkinObjImage

bool TSkinObjImage::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool)
{
    if (Attached()) return true;
    // Glyphs only: the control keeps its colours.
    if (!InitUnhooked(Form, SkinData, false)) return false;
    HandOverGlyphs();
    return true;
}

void TSkinObjImage::UpdateSkin()
{
    HandOverGlyphs();
}

void TSkinObjImage::Unskin()
{
    TControl* control = Control();
    if (FGlyphKind == gkGlyphProperty) {
        TObject* properties = GetObjectPropByName(control, "Properties", TPersistent::StaticClassInfo());
        if (auto* glyph = dynamic_cast<TBitmap*>(GetObjectPropByName(properties, "Glyph", TPersistent::StaticClassInfo())))
            glyph->SetSize(0, 0);
        return;
    }
    SetPropByName(control, "UseCustomGlyphs", "false");
}

void TSkinObjImage::HandOverGlyphs()
{
    const TDataSkinButton* buttons = SkinData() != nullptr ? SkinData()->FButtons.get() : nullptr;
    if (buttons == nullptr) return;
    // The strip cell each glyph cell takes (0: none); cells 3, 6 and 9 of a
    // check strip take its fifth cell, when it has five.
    using TLayout = std::array<int, 9>;
    const bool radio = FGlyphKind == gkRadioButton;
    TBitmap& strip = radio ? *buttons->FRadioButton : *buttons->FCheckButton;
    const int count = radio ? buttons->FRadioButtonFrame : buttons->FCheckButtonFrame;
    const int five = count == 5 ? 5 : 0;
    const TLayout layout = FGlyphKind == gkCheckBox ? TLayout{1, 2, five, 1, 2, five, 3, 4, five}
                           : radio                  ? TLayout{1, 2, 1, 2, 3, 4}
                                                    : TLayout{1, 2, five, 1, 2, five};
    const int cells = FGlyphKind == gkCheckBox ? 9 : 6;
    if (strip.Empty() || count < 1) return;
    const int w = strip.Width() / count, h = strip.Height();
    if (w < 1) return;
    TBitmap glyphs;
    glyphs.SetPixelFormat(TPixelFormat::pf24bit);
    glyphs.SetSize(w * cells, h);
    for (int i = 0; i < cells; ++i) {
        const int cell = layout[static_cast<size_t>(i)];
        // A strip shorter than the layout leaves the cells it lacks empty.
        if (cell < 1 || cell > count) continue;
        ::BitBlt(glyphs.Canvas()->Handle(), i * w, 0, w, h, strip.Canvas()->Handle(), (cell - 1) * w, 0, SRCCOPY);
    }
    TControl* control = Control();
    if (FGlyphKind == gkGlyphProperty) {
        TObject* properties = GetObjectPropByName(control, "Properties", TPersistent::StaticClassInfo());
        auto* glyph = dynamic_cast<TBitmap*>(GetObjectPropByName(properties, "Glyph", TPersistent::StaticClassInfo()));
        if (glyph == nullptr) return;
        glyph->Assign(glyphs);
        glyph->TransparentColor = clKeyMagenta;
        glyph->Transparent = false;
        return;
    }
    auto* target = dynamic_cast<TBitmap*>(GetObjectPropByName(control, "CustomGlyphs", TPersistent::StaticClassInfo()));
    if (target == nullptr) return;
    target->Assign(glyphs);
    SetPropByName(control, "transparentcolor", std::to_string(clKeyMagenta));
    // Off and on again: the control reloads its glyphs.
    SetPropByName(control, "UseCustomGlyphs", "false");
    SetPropByName(control, "UseCustomGlyphs", "true");
}
