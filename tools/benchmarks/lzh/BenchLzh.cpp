// Decoder throughput on 1 MiB of skin-like data (ini text and 24-bit bitmaps)
// and on the default skin, each against the textbook LZHUF decoder on the
// same stream in the same rounds, and the time to load a ~60 KB skin
// container fully: unpack, index, parse its ini text, fetch every bitmap.
#include "ClassicLzhuf.h"
#include "skin/portable/BmpFile.h"
#include "skin/portable/QuickIni.h"
#include "skin/portable/SkinContainer.h"
#include "tools/skinpack-src/SkinPacker.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

double Seconds(TClock::time_point from)
{
    return std::chrono::duration<double>(TClock::now() - from).count();
}

// A skin strip: frames of bevelled gradients on magenta, with dithering noise.
std::vector<uint8_t> Strip(int w, int h, std::mt19937& rng, int noise)
{
    TImage image(w, h);
    const int base = static_cast<int>(rng() % 200);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = image.ScanLine(h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const bool key = x % 23 == 0 && y < 2;
            const int n = noise > 0 && rng() % 8 == 0 ? static_cast<int>(rng() % noise) : 0;
            // Bevels and glyph detail near the ends of a cell, a flat fill between.
            const int cell = x % 48;
            const int detail = cell < 6 || cell > 41 ? (cell * 7 + y * 3) % 40 : 0;
            *row++ = static_cast<uint8_t>(key ? 255 : base + y * 40 / h + detail + n);
            *row++ = static_cast<uint8_t>(key ? 0 : base / 2 + detail + n);
            *row++ = static_cast<uint8_t>(key ? 255 : 90 + y * 100 / h);
        }
    }
    return EncodeBmpFile(image.View());
}

std::string IniText(const std::vector<std::string>& bitmaps)
{
    std::string ini = "[TitlebarSkin]\r\nSkinName=Bench\r\n[Personality]\r\nTop=" + bitmaps[0] +
                      "\r\nTopTopHeight=8\r\nTopBotHeight=8\r\nTopFrame=2\r\n[Colours]\r\n"
                      "WindowText=0,0,0\r\nButtonFace=212,208,200\r\nHilight=10,36,106\r\n";
    for (size_t i = 1; i < bitmaps.size(); ++i) {
        ini += "[Button" + std::to_string(i) + "]\r\nAction=" + std::to_string(i % 12) + "\r\nAlign=1\r\nXcoord=" +
               std::to_string(20 * i) + "\r\nYcoord=4\r\nButtonImage=" + bitmaps[i] +
               "\r\nframe=4\r\n; state colours\r\nNormalColour=0xFF000012\r\n";
    }
    return ini;
}

std::vector<TSkinEntry> MakeSkin(int strips, int noise)
{
    std::mt19937 rng(42);
    std::vector<std::string> names;
    for (int i = 0; i < strips; ++i) names.push_back("part" + std::to_string(i) + ".bmp");
    std::vector<TSkinEntry> entries{{"skin.ini", {}}};
    const std::string ini = IniText(names);
    entries[0].Bytes.assign(ini.begin(), ini.end());
    for (int i = 0; i < strips; ++i) entries.push_back({names[static_cast<size_t>(i)], Strip(96 + 8 * (i % 5), 24, rng, noise)});
    return entries;
}

std::vector<uint8_t> MixedMiB()
{
    std::vector<uint8_t> data;
    std::mt19937 rng(7);
    for (int i = 0; data.size() < (1u << 20); ++i) {
        if (i % 3 == 0) {
            std::vector<std::string> names;
            for (int k = 0; k < 6; ++k) names.push_back("strip" + std::to_string(i) + "_" + std::to_string(k) + ".bmp");
            const std::string ini = IniText(names);
            data.insert(data.end(), ini.begin(), ini.end());
        } else {
            const auto bmp = Strip(80 + static_cast<int>(rng() % 64), 32, rng, 3);
            data.insert(data.end(), bmp.begin(), bmp.end());
        }
    }
    data.resize(1u << 20);
    return data;
}

struct TSpread {
    double Min, Median, Max;
};

TSpread Spread(std::vector<double> Values)
{
    std::sort(Values.begin(), Values.end());
    return {Values.front(), Values[Values.size() / 2], Values.back()};
}

// NAME_min_UNIT, NAME_median_UNIT and NAME_max_UNIT (no unit: NAME_min ...).
void Print(const std::string& Name, const TSpread& S, const char* Unit, int Decimals)
{
    for (const auto& [stat, value] : {std::pair{"min", S.Min}, {"median", S.Median}, {"max", S.Max}})
        std::printf("%s_%s%s: %.*f\n", Name.c_str(), stat, Unit, Decimals, value);
}

// Our decoder (the container's unpacking, as a skin load runs it) and the
// textbook one on the same stream, in the order ours, textbook, textbook,
// ours within each round (a machine growing busier or quieter weighs on both
// alike), Reps decodes per turn; the speed ratio is taken within each round.
// False when the two do not give the original bytes.
bool Race(const char* Name, const std::vector<uint8_t>& Data, const std::vector<uint8_t>& Packed)
{
    constexpr int rounds = 15;
    // About 1 MiB of output per turn.
    const int reps = std::max<int>(1, static_cast<int>((1u << 20) / std::max<size_t>(Data.size(), 1)));
    std::vector<uint8_t> ours;
    std::vector<uint8_t> classic(Data.size() + 64);
    size_t classicSize = 0;
    bool unpacked = true;
    std::vector<double> oursMbS, classicMbS, ratio;
    const double mib = 2.0 * static_cast<double>(Data.size()) * reps / (1 << 20);
    for (int round = 0; round < rounds; ++round) {
        double oursS = 0, classicS = 0;
        for (int turn = 0; turn < 4; ++turn) {
            const auto start = TClock::now();
            if (turn == 0 || turn == 3) {
                for (int i = 0; i < reps; ++i) {
                    TSkinReader reader;
                    unpacked = reader.Unpack(Packed, ours) && unpacked;
                }
                oursS += Seconds(start);
            } else {
                for (int i = 0; i < reps; ++i)
                    classicSize = ClassicLzhufDecode(Packed.data(), Packed.size(), classic.data(), classic.size());
                classicS += Seconds(start);
            }
        }
        oursMbS.push_back(mib / oursS);
        classicMbS.push_back(mib / classicS);
        ratio.push_back(classicS / oursS);
    }
    classic.resize(classicSize);
    if (!unpacked || ours != Data || classic != Data) {
        std::printf("error: %s: the decoders do not both give the original bytes\n", Name);
        return false;
    }
    const std::string name = Name;
    Print("lzh_" + name, Spread(oursMbS), "_mb_s", 1);
    Print("classic_lzhuf_" + name, Spread(classicMbS), "_mb_s", 1);
    Print("lzh_speed_vs_classic_" + name, Spread(ratio), "", 3);
    return true;
}

} // namespace

int main()
{
    const std::vector<uint8_t> data = MixedMiB();
    const std::vector<uint8_t> packed = CompressContainer(data);
    std::vector<std::string> skipped;
    const std::vector<uint8_t> defaultSkin = BuildUnpacked(CollectSkinFolder(TB_DEFAULT_SKIN_DIR, skipped));
    const std::vector<uint8_t> defaultPacked = CompressContainer(defaultSkin);
    if (!Race("mixed", data, packed) || !Race("default_skin", defaultSkin, defaultPacked)) return 1;
    std::printf("lzh_packed_ratio: %.3f\n", static_cast<double>(packed.size()) / data.size());
    std::printf("default_skin_unpacked_bytes: %zu\n", defaultSkin.size());

    const std::vector<uint8_t> skin = PackSkin(MakeSkin(44, 2));
    int bitmaps = 0;
    std::vector<double> loads;
    for (int run = 0; run < 200; ++run) {
        const auto start = TClock::now();
        TSkinReader reader;
        if (!reader.ReadSkin(skin)) return 1;
        std::vector<uint8_t> entry;
        std::string name;
        reader.FindFile(".ini", entry, name);
        TQuickIni ini;
        ini.LoadFromStream(&entry);
        std::vector<std::string> sections;
        ini.ReadSections(sections);
        bitmaps = 0;
        for (const std::string& section : sections) {
            for (const char* key : {"Top", "ButtonImage", "Action", "Xcoord", "frame", "NormalColour"}) {
                const std::string value = ini.ReadString(section, key, "");
                ini.ReadInteger(section, key, 0);
                if (value.size() > 4 && value.ends_with(".bmp")) {
                    reader.GetFile(value, entry);
                    bitmaps += entry.empty() ? 0 : 1;
                }
            }
        }
        loads.push_back(Seconds(start));
    }
    for (double& load : loads) load *= 1000;

    std::printf("skin_container_bytes: %zu\n", skin.size());
    std::printf("skin_bitmaps_fetched: %d\n", bitmaps);
    Print("skin_load", Spread(loads), "_ms", 3);
    return 0;
}
