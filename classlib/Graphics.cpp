#include "Graphics.h"

#include "Text.h"
#include "classlib/portable/TypInfo.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

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
    // The colour is no part of the GDI font: the handle stays.
    if (OnChange) OnChange(this);
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
    const bool sameLog = FLogFont.has_value() == Source.FLogFont.has_value() &&
                         (!FLogFont || std::memcmp(&*FLogFont, &*Source.FLogFont, sizeof(LOGFONTW)) == 0);
    if (FCharset == Source.FCharset && FColor == Source.FColor && FHeight == Source.FHeight && FName == Source.FName &&
        sameLog)
        return;
    FLogFont = Source.FLogFont;
    FCharset = Source.FCharset;
    FColor = Source.FColor;
    FHeight = Source.FHeight;
    FName = Source.FName;
    Changed();
}

void TFont::AssignLogFont(const LOGFONTW& Font)
{
    FLogFont = Font;
    FName = WideToText(std::wstring(Font.lfFaceName, ::wcsnlen(Font.lfFaceName, LF_FACESIZE)));
    FHeight = Font.lfHeight;
    FCharset = Font.lfCharSet;
    Changed();
}

HFONT TFont::Handle() const
{
    if (FHandle == nullptr) {
        LOGFONTW lf{};
        if (FLogFont) {
            lf = *FLogFont;
        } else {
            lf.lfWeight = FW_NORMAL;
            lf.lfQuality = DEFAULT_QUALITY;
        }
        lf.lfHeight = FHeight;
        lf.lfCharSet = FCharset;
        std::fill(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), L'\0');
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
