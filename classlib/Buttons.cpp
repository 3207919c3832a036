#include "Buttons.h"

#include "classlib/portable/TypInfo.h"

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

void RegisterButtons()
{
    RegisterComponentClass(TBitBtn::StaticClassInfo());
}
