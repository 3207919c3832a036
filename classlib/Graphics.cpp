#include "Graphics.h"

#include "Text.h"
#include "classlib/portable/TypInfo.h"

COLORREF ColorToRGB(TColor Color) noexcept
{
    if (Color < 0) return GetSysColor(Color & 0xFF);
    return static_cast<COLORREF>(Color) & 0xFFFFFF;
}

void RegisterGraphicsConstants()
{
    static const struct {
        const char* Name;
        int64_t Value;
    } kConsts[] = {
        {"clBtnFace", clBtnFace},     {"clBtnText", clBtnText},         {"clWindow", clWindow},
        {"clWindowText", clWindowText}, {"clBlack", clBlack},           {"clWhite", clWhite},
        {"clNone", clNone},           {"ANSI_CHARSET", ANSI_CHARSET},   {"DEFAULT_CHARSET", DEFAULT_CHARSET},
        {"GB2312_CHARSET", GB2312_CHARSET},
    };
    for (const auto& c : kConsts) RegisterIntConst(c.Name, c.Value);
}

const TClassInfo& TFont::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TFont>("TFont", TPersistent::StaticClassInfo())
                                       .Integer("Charset", &TFont::Charset, &TFont::SetCharset)
                                       .Integer("Color", &TFont::Color, &TFont::SetColor)
                                       .Integer("Height", &TFont::Height, &TFont::SetHeight)
                                       .String("Name", &TFont::Name, &TFont::SetName)
                                       .Build();
    return info;
}

TFont::TFont() = default;

TFont::~TFont()
{
    if (FHandle != nullptr) DeleteObject(FHandle);
}

void TFont::SetCharset(uint8_t value)
{
    if (value == FCharset) return;
    FCharset = value;
    Changed();
}

void TFont::SetColor(TColor value)
{
    if (value == FColor) return;
    FColor = value;
    Changed();
}

void TFont::SetHeight(int32_t value)
{
    if (value == FHeight) return;
    FHeight = value;
    Changed();
}

void TFont::SetName(const std::string& value)
{
    if (value == FName) return;
    FName = value;
    Changed();
}

void TFont::Assign(const TFont& Source)
{
    if (&Source == this) return;
    if (FCharset == Source.FCharset && FColor == Source.FColor && FHeight == Source.FHeight && FName == Source.FName)
        return;
    FCharset = Source.FCharset;
    FColor = Source.FColor;
    FHeight = Source.FHeight;
    FName = Source.FName;
    Changed();
}

HFONT TFont::Handle() const
{
    if (FHandle == nullptr) {
        LOGFONTW lf{};
        lf.lfHeight = FHeight;
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = FCharset;
        lf.lfQuality = DEFAULT_QUALITY;
        const std::wstring face = TextToWide(FName);
        face.copy(lf.lfFaceName, LF_FACESIZE - 1);
        FHandle = CreateFontIndirectW(&lf);
    }
    return FHandle;
}

void TFont::Changed()
{
    // Windows that use the old font get the new one from OnChange first.
    HFONT old = FHandle;
    FHandle = nullptr;
    if (OnChange) OnChange(this);
    if (old != nullptr) DeleteObject(old);
}
