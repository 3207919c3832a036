// The speed-button adapter: looks by the adapter's mouse bits and the
// button's Down, composed off screen and copied once onto the parent's DC.
#include "skin/adapters/SkinSpeedButton.h"

#include "classlib/Controls.h"
#include "classlib/Handles.h"
#include "skin/SkinApi.h"
#include "skin/adapters/AdapterDraw.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/portable/SkinText.h"

#include <algorithm>

namespace {

bool IsTrue(const TObject* Control, std::string_view Name)
{
    return LowerCaseAZ(GetEnumPropByName(Control, Name)) == "true";
}

// Sets a flag and clears it on every way out.
class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
    ~TFlagScope() { FFlag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
};

}  // namespace

bool TSkinSpeedButton::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool)
{
    return InitSpeedButton(Form, SkinData);
}

bool TSkinSpeedButton::InitSpeedButton(TAdapterHost* Form, TSkinData* SkinData)
{
    if (Attached()) return true;
    if (!InitGraphic(Form, SkinData)) return false;
    SetParentImage(GraphicOwner()->Tag() == kParentImageTag || (SkinData->Options() & SkinBit(xoTransparent)) != 0);
    return true;
}

void TSkinSpeedButton::UpdateSkin()
{
    FFaceCell = -1;
    TSkinBitButton::UpdateSkin();
}

TBitmap& TSkinSpeedButton::Face(int Cell, int W, int H)
{
    const TDataSkinButton& buttons = *SkinData()->FButtons;
    if (Cell == FFaceCell && FFaceElement == &buttons && FFace.Width() == W && FFace.Height() == H) return FFace;
    FFaceCell = -1;
    FFace.SetSize(W, H);
    const RECT r{0, 0, W, H};
    const HDC dc = FFace.Canvas()->Handle();
    FillSkinColor(dc, r);
    if (Cell > 0) DrawSkinState(dc, r, &buttons, Cell, buttons.FFrame);
    FFaceCell = Cell;
    FFaceElement = &buttons;
    return FFace;
}

RECT TSkinSpeedButton::ButtonRect() const
{
    const TControl* button = GraphicOwner();
    return button != nullptr ? button->ClientRect() : RECT{};
}

bool TSkinSpeedButton::BeforeProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        // Painted here, not by the base: the DC is the parent's, at the button's place.
        if (PaintWay() != pwOwn) break;
        if (Message.WParam != 0) {
            try {
                PaintControl(reinterpret_cast<HDC>(Message.WParam), ButtonRect());
            } catch (...) {
                // A failed paint (no room for the off-screen image) leaves the button as it was.
            }
        }
        Message.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The button's own press logic first; its handlers may free it.
        if (!CallOldProc(Message)) return false;
        SetMouseBit(mbPressed, true);
        return false;
    case WM_LBUTTONUP:
        return true;
    default:
        break;
    }
    return TSkinBitButton::BeforeProc(Message);
}

void TSkinSpeedButton::AfterProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
    // The parent tells the button of the mouse (CM_MOUSEENTER / CM_MOUSELEAVE).
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
        return;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (Message.WParam != VK_SPACE) break;
        SetMouseBit(mbPressed, Message.Msg == WM_KEYDOWN);
        return;
    case WM_LBUTTONUP:
    // The parent lost the press: the button is raised without a click.
    case WM_CANCELMODE:
        SetMouseBit(mbPressed, false);
        return;
    case CM_MOUSEENTER:
        SetMouseBit(mbHot, true);
        return;
    case CM_MOUSELEAVE:
        SetMouseBit(mbHot | mbPressed, false);
        return;
    default:
        break;
    }
    TSkinBitButton::AfterProc(Message);
}

void TSkinSpeedButton::PaintControl(HDC DC, const RECT& Rect)
{
    const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
    if (!CanPaint() || FPainting || w <= 0 || h <= 0) return;
    const TFlagScope painting(FPainting);
    TControl* button = GraphicOwner();
    const TDataSkinButton& buttons = *SkinData()->FButtons;

    const bool down = IsTrue(button, "Down"), flat = IsTrue(button, "Flat");
    // Held down shows pressed whatever else holds, disabled too; the text
    // still tells a disabled button.
    const TLooks mouse = Looks();
    const TLooks looks = down ? TLooks{lkPressed} : mouse;
    const bool enabled = (mouse & lkDisabled) == 0;
    const auto cell = static_cast<TButtonCell>(kButtonCells.Cell(looks, bcFocused));
    const int glyphCell = (down ? kDownGlyphCells : kGlyphCells).Cell(looks, kGlyphCellCount);
    SetEnabled(enabled);
    SetFocused(false);
    SetCaption(GetTextPropByName(button, "Caption"));
    auto* glyph = static_cast<TBitmap*>(GetObjectPropByName(button, "Glyph", TBitmap::StaticClassInfo()));
    // Fewer than one cell is one: the strip is never divided by nothing.
    const int numGlyphs = std::max(1, GetOrdPropByName(button, "NumGlyphs"));

    FImage.SetSize(w, h);
    const RECT r{0, 0, w, h};
    const HDC dc = FImage.Canvas()->Handle();
    const int framed = cell == bcPressed || cell == bcHot || !flat ? kButtonCells.Cell(looks, buttons.FFrame) : 0;
    if (ParentImage()) {
        PaintControlToDC(button, dc);
        if (framed > 0) DrawSkinState(dc, r, &buttons, framed, buttons.FFrame);
    } else {
        ::BitBlt(dc, 0, 0, w, h, Face(framed, w, h).Canvas()->Handle(), 0, 0, SRCCOPY);
    }

    HGDIOBJ font = ::GetStockObject(DEFAULT_GUI_FONT);
    TColor colour = SkinData()->FButtonTextColor;
    if (const auto* own = static_cast<const TFont*>(GetObjectPropByName(button, "Font", TFont::StaticClassInfo()))) {
        font = own->Handle();
        colour = own->Color();
    }
    colour = StateColour(enabled ? cell : bcDisabled, colour);
    {
        const TSelectObject selected(dc, font);
        ::SetTextColor(dc, ColorToRGB(colour));
        const int mode = ::SetBkMode(dc, TRANSPARENT);
        const SIZE g = glyph != nullptr && !glyph->Empty() ? SIZE{glyph->Width() / numGlyphs, glyph->Height()} : SIZE{};
        if (g.cx <= 0 || g.cy <= 0) {
            DrawCaption(dc, r, DT_CENTER);
        } else {
            const TGlyphRequest request{g, GlyphLayout(LowerCaseAZ(GetEnumPropByName(button, "Layout"))),
                                     GetOrdPropByName(button, "Margin"), GetOrdPropByName(button, "Spacing"), false, 1};
            BreakCaption();
            const TGlyphPlace place = PlaceGlyph(dc, r, Caption(), request);
            DrawGlyphCell(dc, place.Glyph.x, place.Glyph.y, numGlyphs, glyphCell, *glyph);
            RECT text = place.Text;
            if (!Caption().empty()) DrawTextWide(dc, Caption(), text, AddRTLFlag(this, place.Flags));
        }
        ::SetBkMode(dc, mode);
    }
    ::BitBlt(DC, Rect.left, Rect.top, w, h, dc, 0, 0, SRCCOPY);
}
