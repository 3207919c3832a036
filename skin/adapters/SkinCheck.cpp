// The check-box and radio-button adapters: fully skinned controls drawn whole
// into the base's back buffer, glyphs alone drawn over the native painting.
// Cell numbers follow the strip's cell count (4, 8 or 12) and are kept
// inside the strip whatever the window's state says.
#include "skin/adapters/SkinCheck.h"

#include "classlib/Controls.h"
#include "classlib/Handles.h"
#include "classlib/portable/TypInfo.h"
#include "skin/SkinApi.h"
#include "skin/adapters/AdapterDraw.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinElements.h"
#include "skin/data/WinSkinData.h"
#include "skin/portable/SkinText.h"

#include <algorithm>

namespace {

// Class-library notices after which the box is drawn again.
constexpr UINT kCheckNotices[] = {CM_BASE + 0x1B, CM_BASE + 0xD0};
constexpr TColor kShadowColor = SystemColor(COLOR_BTNSHADOW);

bool HasProp(const TObject* Instance, std::string_view Name)
{
    return Instance != nullptr && FindPropInfo(*Instance, Name) != nullptr;
}

}  // namespace

int CheckCell(int State, bool Indeterminate, bool Disabled, int Count, bool Radio, bool Pressed)
{
    if (Indeterminate) State = 4;
    if ((!Radio && Count == 12) || (Radio && Count == 8)) {
        if (Indeterminate) State = Disabled ? 12 : 9;
        else if (State == 2) State = 5;
        else if (State == 3) State = 4;
        else if (State == 4) State = 8;
        // These strips hold each mark normal, hot, pressed and disabled.
        if (Pressed && !Disabled) State += 2;
    }
    return std::clamp(State, 1, std::max(Count, 1));
}

TBitmap* TSkinCheckGlyph::Strip(int& Count) const
{
    const TSkinData* data = SkinData();
    if (data == nullptr || data->FButtons == nullptr) return nullptr;
    const TDataSkinButton& buttons = *data->FButtons;
    TBitmap* strip = FRadio ? buttons.FRadioButton.get() : buttons.FCheckButton.get();
    Count = FRadio ? buttons.FRadioButtonFrame : buttons.FCheckButtonFrame;
    if (strip == nullptr || strip->Empty() || Count < 1 || strip->Width() < Count) return nullptr;
    return strip;
}

TPaintWay TSkinCheckGlyph::PaintWay() const
{
    int count = 0;
    if (Strip(count) == nullptr) return pwNative;
    return Control() != nullptr ? pwOwn : pwOver;
}

void TSkinCheckGlyph::ChooseMode()
{
    SetMode(PaintWay() == pwOwn ? cmFull : cmGlyphOnly);
}

bool TSkinCheckGlyph::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor)
{
    if (Attached()) return true;
    if (!TSkinControl::InitSkin(Form, SkinData, ChangeColor)) return false;
    ChooseMode();
    FParentImage = Control()->Tag() == kParentImageTag || (SkinData->Options() & SkinBit(xoTransparent)) != 0;
    return true;
}

void TSkinCheckGlyph::UpdateSkin()
{
    ChooseMode();
    TSkinControl::UpdateSkin();
}

bool TSkinCheckGlyph::BeforeProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
    case WM_PRINT:
    case WM_PRINTCLIENT:
        // The mode follows a strip that came or went with the skin.
        ChooseMode();
        break;
    case WM_ERASEBKGND:
        // The parent's image behind a control that paints itself; under its
        // own look the base answers: the paint covers every pixel.
        if (!FParentImage || PaintWay() == pwOwn) break;
        HandleEraseBkgnd(Message);
        return false;
    default:
        break;
    }
    return TSkinControl::BeforeProc(Message);
}

void TSkinCheckGlyph::AfterProc(TMessage& Message)
{
    const UINT msg = Message.Msg;
    if (msg == BM_SETCHECK) {
        CheckSent(Message.WParam);
        // Painted with the window's next paint: a run of changes (a box and
        // its partner, a whole page restored) costs one paint each, not two.
        ::InvalidateRect(Handle(), nullptr, FALSE);
        return;
    }
    if (msg == BM_SETSTATE) {
        // Held by the mouse or Space: the system's button says so.
        SetMouseBit(mbPressed, Message.WParam != 0);
        return;
    }
    if ((msg >= WM_LBUTTONDOWN && msg <= WM_LBUTTONDBLCLK) ||
        std::ranges::find(kCheckNotices, msg) != std::end(kCheckNotices)) {
        Redraw();
        return;
    }
    TSkinControl::AfterProc(Message);
}

void TSkinCheckGlyph::PaintControl(HDC DC, const RECT& Rect)
{
    int count = 0;
    TBitmap* strip = Strip(count);
    if (strip == nullptr) return;
    const LONG style = ::GetWindowLongW(Handle(), GWL_STYLE);
    const auto window = static_cast<UINT>(::SendMessageW(Handle(), BM_GETSTATE, 0, 0));
    int state = (window & BST_CHECKED) != 0 ? 2 : 1;
    if (Control() != nullptr) state = ControlState(state);
    const TLooks looks = Looks();
    const bool disabled = (looks & lkDisabled) != 0, focused = (looks & lkFocused) != 0;
    if (disabled) state += 2;
    const bool indeterminate = !FRadio && (window & BST_INDETERMINATE) != 0;
    const int cell = CheckCell(state, indeterminate, disabled, count, FRadio, (looks & lkPressed) != 0);

    const int cw = strip->Width() / count, ch = strip->Height();
    const int top = Rect.top + ((Rect.bottom - Rect.top) - ch) / 2;
    UINT flags = DT_EXPANDTABS | DT_WORDBREAK;
    RECT glyph{}, box = Rect;
    if ((style & BS_LEFTTEXT) == 0) {
        glyph = {Rect.left, top, Rect.left + cw, top + ch};
        box.left = glyph.right + 2;
    } else {
        const int right = FRadio ? Rect.right - 1 : Rect.right;
        glyph = {right - cw, top, right, top + ch};
        box.right = glyph.left - 2;
        if (Control() != nullptr && Control()->BiDiMode() == TBiDiMode::bdRightToLeft) flags |= DT_RIGHT | DT_RTLREADING;
    }
    if (PaintWay() != pwOwn) {
        // Over the control's own painting.
        DrawStripCellTransparent(DC, glyph, *strip, cell, count);
        return;
    }
    if (FParentImage) PaintControlToDC(Control(), DC);
    else FillSkinColor(DC, Rect);
    DrawStripCellTransparent(DC, glyph, *strip, cell, count);

    SetCaption(GetTextPropByName(Control(), "Caption"));
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageW(Handle(), WM_GETFONT, 0, 0));
    TColor colour = clWindowText;
    if (const auto* own = static_cast<const TFont*>(GetObjectPropByName(Control(), "Font", TFont::StaticClassInfo()))) {
        font = own->Handle();
        colour = own->Color();
    }
    if (font == nullptr) font = ::GetStockObject(DEFAULT_GUI_FONT);
    {
        const TSelectObject selected(DC, font);
        ::SetTextColor(DC, ColorToRGB(disabled ? kShadowColor : colour));
        ::SetBkColor(DC, ColorToRGB(SkinData()->FButtonFaceColor));
        ::SetBkMode(DC, TRANSPARENT);
        RECT measured = box;
        DrawTextWide(DC, Caption(), measured, flags | DT_CALCRECT | DT_NOCLIP);
        box.top += ((box.bottom - box.top) - (measured.bottom - measured.top)) / 2;
        if (focused && !Caption().empty()) DrawFocus(DC, box, flags);
        DrawTextWide(DC, Caption(), box, flags);
    }
    // Without a caption (a box that a label names) the focus rings the box itself.
    if (focused && Caption().empty()) {
        RECT ring{glyph.left - 1, glyph.top - 1, glyph.right + 1, glyph.bottom + 1};
        ::IntersectRect(&ring, &ring, &Rect);
        ::DrawFocusRect(DC, &ring);
    }
}

bool TSkinCheckBox::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor)
{
    if (!Attached()) FCheckState = 0;
    return TSkinCheckGlyph::InitSkin(Form, SkinData, ChangeColor);
}

void TSkinCheckBox::CheckSent(WPARAM Value)
{
    FCheckState = static_cast<int>(std::min<WPARAM>(Value, 0xFFFF)) + 1;
}

int TSkinCheckBox::ControlState(int Window) const
{
    const TControl* control = Control();
    int state = Window;
    if (HasProp(control, "State")) {
        const std::string value = LowerCaseAZ(GetEnumPropByName(control, "State"));
        if (value.find("uncheck") != std::string::npos) state = 1;
        else if (value.find("check") != std::string::npos) state = 2;
        else if (value.find("gray") != std::string::npos) state = 4;
    } else if (HasProp(control, "Checked")) {
        state = LowerCaseAZ(GetEnumPropByName(control, "Checked")) == "true" ? 2 : 1;
    }
    if (HasProp(control, "DataField") && FCheckState != 0) state = FCheckState == 3 ? 4 : FCheckState;
    if (HasProp(control, "DataBinding")) state = 1;
    return state;
}

int TSkinRadioButton::ControlState(int Window) const
{
    if (!HasProp(Control(), "Checked")) return Window;
    return LowerCaseAZ(GetEnumPropByName(Control(), "Checked")) == "true" ? 2 : 1;
}
