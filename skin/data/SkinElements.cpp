// Construction of the skin elements: every bitmap exists, empty, from the start.
#include "skin/data/SkinElements.h"

TDataSkinObject::TDataSkinObject(const std::string& AName) : FBitmap(std::make_unique<TBitmap>()), FName(AName) {}

TDataSkinBorder::TDataSkinBorder(const std::string& AName)
    : TDataSkinObject(AName), FBitmap2(std::make_unique<TBitmap>())
{
}

TDataSkinButton::TDataSkinButton(const std::string& AName)
    : TDataSkinObject(AName), FCheckButton(std::make_unique<TBitmap>()), FRadioButton(std::make_unique<TBitmap>())
{
}
