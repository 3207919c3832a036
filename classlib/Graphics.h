// Colours and fonts of the class library. A TColor below zero names a system
// colour (0x80000000 | COLOR_xxx), resolved when drawn; TFont holds the font
// description and the GDI font made from it, re-made after every change.
#pragma once

#include <windows.h>

#include "classlib/portable/Classes.h"

#include <cstdint>
#include <optional>
#include <string>

using TColor = int32_t;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;

COLORREF ColorToRGB(TColor Color) noexcept;

// Registers the colour and charset names descriptions may use (clBtnFace,
// clWindowText, GB2312_CHARSET, DEFAULT_CHARSET, ...).
void RegisterGraphicsConstants();

class TFont : public TPersistent {
public:
    DECLARE_CLASS_INFO()

    TFont();
    ~TFont() override;

    uint8_t Charset() const noexcept { return FCharset; }
    void SetCharset(uint8_t value);
    TColor Color() const noexcept { return FColor; }
    void SetColor(TColor value);
    // Character height in pixels; negative as usual (-13).
    int32_t Height() const noexcept { return FHeight; }
    void SetHeight(int32_t value);
    // 8-bit GB2312 text ("宋体").
    const std::string& Name() const noexcept { return FName; }
    void SetName(const std::string& value);

    void Assign(const TFont& Source);
    // Everything of a logical font: face, height and charset as above, and
    // the rest (weight, slant, quality...) kept for the handle.
    void AssignLogFont(const LOGFONTW& Font);
    // Made on first use; valid until the next change other than of Color, or
    // the font's end.
    HFONT Handle() const;

    // Called after every change.
    TNotifyEvent OnChange;

private:
    void Changed();

    uint8_t FCharset = DEFAULT_CHARSET;
    TColor FColor = clWindowText;
    int32_t FHeight = -11;
    std::string FName = "MS Sans Serif";
    mutable HFONT FHandle = nullptr;
    std::optional<LOGFONTW> FLogFont;
};
