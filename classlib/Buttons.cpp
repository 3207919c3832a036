#include "Buttons.h"

#include "Handles.h"
#include "Text.h"
#include "classlib/portable/TypInfo.h"

#include <algorithm>
#include <utility>

const TEnumInfo kButtonLayoutInfo("TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});

const TClassInfo& TBitBtn::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TBitBtn>("TBitBtn", TButton::StaticClassInfo())
                                       .Creatable()
                                       .Object("Glyph", &TBitBtn::Glyph)
                                       .Integer("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs)
                                       .Enumeration("Layout", kButtonLayoutInfo, &TBitBtn::Layout, &TBitBtn::SetLayout)
                                       .Integer("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin)
                                       .Integer("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing)
                                       .Build();
    return info;
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(std::make_unique<TBitmap>()) {}

TBitBtn::~TBitBtn() = default;

// --- TSpeedButton

const TClassInfo& TSpeedButton::StaticClassInfo()
{
    using T = TSpeedButton;
    static const TClassInfo info = TClassBuilder<T>("TSpeedButton", TGraphicControl::StaticClassInfo())
                                       .Creatable()
                                       .String("Caption", &T::Caption, &T::SetCaption)
                                       .Object("Glyph", &T::Glyph)
                                       .Integer("NumGlyphs", &T::NumGlyphs, &T::SetNumGlyphs)
                                       .Enumeration("Layout", kButtonLayoutInfo, &T::Layout, &T::SetLayout)
                                       .Integer("Margin", &T::Margin, &T::SetMargin)
                                       .Integer("Spacing", &T::Spacing, &T::SetSpacing)
                                       .Boolean("Flat", &T::Flat, &T::SetFlat)
                                       .Integer("GroupIndex", &T::GroupIndex, &T::SetGroupIndex)
                                       .Boolean("AllowAllUp", &T::AllowAllUp, &T::SetAllowAllUp)
                                       .Boolean("Down", &T::Down, &T::SetDown)
                                       .Build();
    return info;
}

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>())
{
    SetBounds(0, 0, 23, 22);
    SetTakesMouse(true);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetNumGlyphs(int32_t value)
{
    FNumGlyphs = value < 0 ? 1 : std::min(value, 4);
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout value)
{
    FLayout = value;
    Invalidate();
}

void TSpeedButton::SetMargin(int32_t value)
{
    FMargin = value;
    Invalidate();
}

void TSpeedButton::SetSpacing(int32_t value)
{
    FSpacing = value;
    Invalidate();
}

void TSpeedButton::SetFlat(bool value)
{
    FFlat = value;
    Invalidate();
}

void TSpeedButton::SetGroupIndex(int32_t value)
{
    FGroupIndex = value;
    // Out of every group it cannot stay down, AllowAllUp or not.
    if (value == 0 && std::exchange(FDown, false)) Invalidate();
}

void TSpeedButton::SetDown(bool value)
{
    if (FGroupIndex == 0) value = false;
    if (value == FDown || (FDown && !FAllowAllUp)) return;
    FDown = value;
    Invalidate();
    if (!value || Parent() == nullptr) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        if (other == nullptr || other == this || other->FGroupIndex != FGroupIndex || !other->FDown) continue;
        other->FDown = false;
        other->Invalidate();
    }
}

void TSpeedButton::SetPressed(bool value)
{
    if (value == FPressed) return;
    FPressed = value;
    Invalidate();
}

void TSpeedButton::WndProc(TMessage& Message)
{
    const POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
    const RECT bounds{0, 0, Width(), Height()};
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!Enabled()) break;
        FDragging = true;
        SetPressed(true);
        MouseDown(TMouseButton::mbLeft, KeysToShiftState(Message.WParam), p.x, p.y);
        return;
    case WM_MOUSEMOVE:
        if (FDragging) SetPressed(PtInRect(&bounds, p) != FALSE);
        return;
    case WM_LBUTTONUP: {
        if (!std::exchange(FDragging, false)) return;
        SetPressed(false);
        // Disabled or hidden while held: the press ends without a click.
        if (!PtInRect(&bounds, p) || !Enabled() || !Visible()) return;
        if (FGroupIndex != 0) SetDown(!FDown || !FAllowAllUp);
        // Last: the handler may free the button.
        Click();
        return;
    }
    case WM_CANCELMODE:
        // The parent lost the press (a menu or message box opened, another program took the mouse).
        FDragging = false;
        SetPressed(false);
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        FMouseInside = Message.Msg == CM_MOUSEENTER;
        if (FFlat) Invalidate();
        return;
    default:
        break;
    }
    TGraphicControl::WndProc(Message);
}

void TSpeedButton::Paint(HDC DC)
{
    RECT r{0, 0, Width(), Height()};
    {
        const TGdiObject brush(CreateSolidBrush(ColorToRGB(Color())));
        if (brush.Get() != nullptr) FillRect(DC, &r, static_cast<HBRUSH>(brush.Get()));
    }
    const bool down = FPressed || FDown;
    if (!FFlat || FMouseInside || down) DrawEdge(DC, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    int glyphWidth = 0;
    if (!FGlyph->Empty()) {
        const int cells = std::max(1, FNumGlyphs);
        const int cell = !Enabled() ? 2 : FPressed ? 3 : FDown ? 4 : 1;
        const int index = cell <= cells ? cell : 1;
        glyphWidth = FGlyph->Width() / cells;
        const int h = FGlyph->Height();
        const int x = Text().empty() ? (Width() - glyphWidth) / 2 : 4, y = (Height() - h) / 2;
        BitBlt(DC, x, y, glyphWidth, h, FGlyph->Canvas()->Handle(), glyphWidth * (index - 1), 0, SRCCOPY);
    }
    const std::wstring text = TextToWide(Text());
    if (text.empty()) return;
    const TSelectObject font(DC, Font()->Handle());
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(Enabled() ? Font()->Color() : SystemColor(COLOR_GRAYTEXT)));
    if (glyphWidth > 0) r.left += glyphWidth + 4;
    DrawTextW(DC, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void RegisterButtons()
{
    RegisterComponentClass(TBitBtn::StaticClassInfo());
    RegisterComponentClass(TSpeedButton::StaticClassInfo());
}
