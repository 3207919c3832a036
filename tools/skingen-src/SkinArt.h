// The default skin's art: its palette, and the bitmaps of the skin folder and
// of the program's own bitmap resources, each a named 24-bit image.
#pragma once

#include "ArtCanvas.h"

#include <string>
#include <vector>

struct TArtFile {
    std::string Name; // file name, lower case, ".bmp"
    TArtImage Image;
};

// The calm slate theme. skin.ini states the same colours in its [Colours]
// section and state keys; change both together.
constexpr TRgb clTitleActive = Rgb(52, 73, 94);
constexpr TRgb clTitleInactive = Rgb(133, 146, 160);
constexpr TRgb clFrameActive = Rgb(44, 62, 80);
constexpr TRgb clFrameInactive = Rgb(150, 161, 173);
constexpr TRgb clTitleGlyph = Rgb(255, 255, 255);
constexpr TRgb clTitleGlyphInactive = Rgb(226, 230, 235);
constexpr TRgb clTitleHot = Rgb(74, 96, 118);
constexpr TRgb clTitlePressed = Rgb(36, 52, 68);
constexpr TRgb clCloseHot = Rgb(214, 69, 69);
constexpr TRgb clClosePressed = Rgb(176, 52, 52);

constexpr TRgb clFace = Rgb(242, 244, 247);
constexpr TRgb clWhite = Rgb(255, 255, 255);
constexpr TRgb clText = Rgb(33, 37, 41);
constexpr TRgb clTextSoft = Rgb(73, 84, 96);
constexpr TRgb clEdge = Rgb(196, 203, 211);
constexpr TRgb clEdgeSoft = Rgb(214, 219, 225);
constexpr TRgb clEdgeStrong = Rgb(143, 163, 184);
constexpr TRgb clMenuBorder = Rgb(184, 193, 204);
constexpr TRgb clMenubar = Rgb(233, 236, 240);
constexpr TRgb clMenubarInactive = Rgb(240, 242, 245);

constexpr TRgb clAccent = Rgb(61, 110, 163);
constexpr TRgb clAccentHot = Rgb(82, 130, 181);
constexpr TRgb clAccentPressed = Rgb(44, 88, 135);
constexpr TRgb clAccentLight = Rgb(220, 230, 241);

constexpr TRgb clControl = Rgb(228, 232, 237);
constexpr TRgb clControlHot = Rgb(214, 225, 237);
constexpr TRgb clControlPressed = Rgb(196, 208, 222);
constexpr TRgb clControlDisabled = Rgb(236, 238, 241);
constexpr TRgb clGlyph = Rgb(90, 102, 115);
constexpr TRgb clGlyphDisabled = Rgb(180, 188, 197);

constexpr TRgb clTrack = Rgb(237, 239, 242);
constexpr TRgb clChannel = Rgb(221, 226, 232);
constexpr TRgb clThumb = Rgb(193, 200, 209);
constexpr TRgb clThumbHot = Rgb(160, 170, 182);
constexpr TRgb clThumbPressed = Rgb(125, 138, 153);

// Title-bar geometry shared by the frame art and skin.ini.
constexpr int TitleHeight = 30;
constexpr int TitleRadius = 8;

// Every bitmap that skin.ini names.
std::vector<TArtFile> DefaultSkinArt();
// The bitmaps the program carries as resources: TORVELMENU, TRACK, TRACKVERT.
std::vector<TArtFile> ProgramResourceArt();

// The parts, one function per family of elements (FrameArt.cpp,
// ControlArt.cpp, RangeArt.cpp).
void AddFrameArt(std::vector<TArtFile>& Files);
void AddMenuArt(std::vector<TArtFile>& Files);
void AddControlArt(std::vector<TArtFile>& Files);
void AddRangeArt(std::vector<TArtFile>& Files);
TArtImage SystemMenuGlyphs();
TArtImage TrackChannel(int Length, int Thickness, bool Vertical, bool RoundEnds);
