// Decoder throughput on 1 MiB of skin-like data (ini text and 24-bit bitmaps)
// against gzip -d of the same bytes, and the time to load a ~60 KB skin
// container fully: unpack, index, parse its ini text, fetch every bitmap.
#include "skin/portable/BmpFile.h"
#include "skin/portable/QuickIni.h"
#include "skin/portable/SkinContainer.h"
#include "tools/skinpack-src/SkinPacker.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

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

double BestOf(int runs, const auto& body)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = TClock::now();
        body();
        best = std::min(best, Seconds(start));
    }
    return best;
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
}

} // namespace

int main()
{
    const std::vector<uint8_t> data = MixedMiB();
    const std::vector<uint8_t> packed = CompressContainer(data);
    const double mib = static_cast<double>(data.size()) / (1 << 20);

    std::vector<uint8_t> out;
    bool unpacked = true;
    const double lzh = BestOf(10, [&] {
        TSkinReader reader;
        unpacked = reader.Unpack(packed, out) && unpacked;
    });
    if (!unpacked || out != data) {
        std::fprintf(stderr, "bench_lzh: round trip failed\n");
        return 1;
    }

    // gzip gets the MiB many times over in one process, so that its start-up
    // is a small part of each run; the start-up of a trivial command is then
    // taken off as well.
    constexpr int gzipCopies = 64;
    const auto dir = std::filesystem::temp_directory_path() / ("bench-lzh-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    WriteFile(dir / "mixed.bin", data);
    const std::string raw = (dir / "mixed.bin").string();
    if (std::system(("gzip -6 -c " + raw + " > " + raw + ".gz").c_str()) != 0) return 1;
    const auto gzBytes = std::filesystem::file_size(raw + ".gz");
    {
        std::vector<uint8_t> many;
        for (int i = 0; i < gzipCopies; ++i) many.insert(many.end(), data.begin(), data.end());
        WriteFile(dir / "many.bin", many);
    }
    const std::string manyRaw = (dir / "many.bin").string();
    if (std::system(("gzip -6 -c " + manyRaw + " > " + manyRaw + ".gz").c_str()) != 0) return 1;
    const std::string gunzip = "gzip -dc " + manyRaw + ".gz > /dev/null";
    const double startProcess = BestOf(10, [] { (void)std::system("gzip --version > /dev/null"); });
    const double gz = BestOf(5, [&] { (void)std::system(gunzip.c_str()); });
    const double gzDecode = std::max(gz - startProcess, 1e-6) / gzipCopies;

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
    std::sort(loads.begin(), loads.end());
    std::filesystem::remove_all(dir);

    std::printf("lzh_decode_mb_s: %.1f\n", mib / lzh);
    std::printf("gzip_decode_mb_s: %.1f\n", mib / gzDecode);
    std::printf("lzh_speed_vs_gzip: %.3f\n", gzDecode / lzh);
    std::printf("lzh_packed_ratio: %.3f\n", static_cast<double>(packed.size()) / data.size());
    std::printf("gzip_packed_ratio: %.3f\n", static_cast<double>(gzBytes) / data.size());
    std::printf("skin_container_bytes: %zu\n", skin.size());
    std::printf("skin_bitmaps_fetched: %d\n", bitmaps);
    std::printf("skin_load_ms: %.3f\n", loads[loads.size() / 2] * 1000);
    return 0;
}
