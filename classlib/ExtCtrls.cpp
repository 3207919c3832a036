#include "ExtCtrls.h"

#include "Text.h"
#include "classlib/portable/TypInfo.h"

const TClassInfo& TCustomPanel::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TCustomPanel>("TCustomPanel", TWinControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TPanel::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TPanel>("TPanel", TCustomPanel::StaticClassInfo())
            .Creatable()
            .String("Caption", &TPanel::Caption, &TPanel::SetCaption)
            .Boolean("ParentBackground", &TPanel::ParentBackground, &TPanel::SetParentBackground)
            .Event("OnClick", &TPanel::OnClick)
            .Build();
    return info;
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TCustomPanel::PaintWindow(HDC DC)
{
    RECT r = ClientRect();
    FillRect(DC, &r, ColorBrush());
    DrawEdge(DC, &r, BDR_RAISEDINNER, BF_RECT);
    const std::wstring text = TextToWide(FText);
    if (text.empty()) return;
    const HGDIOBJ old = SelectObject(DC, Font()->Handle());
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(Font()->Color()));
    DrawTextW(DC, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(DC, old);
}

void RegisterExtControls()
{
    RegisterComponentClass(TPanel::StaticClassInfo());
}
