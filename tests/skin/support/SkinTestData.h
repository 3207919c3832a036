// Inputs shared by the skin tests: 24-bit bitmap files, text and random
// bytes, and a container builder that takes a raw name table.
#pragma once

#include "skin/portable/BmpFile.h"
#include "tools/skinpack-src/SkinPacker.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace skintest {

inline void PutLE(std::vector<uint8_t>& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A Windows bitmap file, 24 bits per pixel, bottom-up rows padded to 4 bytes;
// smooth gradients with a little noise, as skin strips are.
inline std::vector<uint8_t> MakeBmp24(int w, int h, unsigned seed)
{
    TImage image(w, h);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y) {
        uint8_t* out = image.ScanLine(h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const bool key = (x + y) % 17 == 0;
            *out++ = static_cast<uint8_t>(key ? 255 : (x * 255 / std::max(w, 1)) ^ (rng() % 3));
            *out++ = static_cast<uint8_t>(key ? 0 : y * 255 / std::max(h, 1));
            *out++ = static_cast<uint8_t>(key ? 255 : (seed * 37 + x + y) & 0xFF);
        }
    }
    return EncodeBmpFile(image.View());
}

inline std::vector<uint8_t> RandomBytes(size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<uint8_t> out(n);
    for (auto& b : out) b = static_cast<uint8_t>(rng());
    return out;
}

inline std::vector<uint8_t> SampleText(size_t n)
{
    static const char* words[] = {"[Personality]", "Top=top.bmp", "TopTopHeight=10", "skin", "colour",
                                  "ButtonFace=212,208,200", "\r\n", "LeftWidth=3", "Frame=4", " "};
    std::vector<uint8_t> out;
    std::mt19937 rng(7);
    while (out.size() < n) {
        const std::string w = words[rng() % 10];
        out.insert(out.end(), w.begin(), w.end());
    }
    out.resize(n);
    return out;
}

// An unpacked container with the name table exactly as given.
inline std::vector<uint8_t> RawUnpacked(int32_t version, const std::string& table, const std::vector<int32_t>& sizes,
                                        const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> out;
    PutLE(out, static_cast<uint32_t>(version), 4);
    PutLE(out, static_cast<uint32_t>(table.size()), 4);
    PutLE(out, 0, 4);
    PutLE(out, 0, 4);
    out.insert(out.end(), table.begin(), table.end());
    for (int32_t s : sizes) PutLE(out, static_cast<uint32_t>(s), 4);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

inline std::vector<uint8_t> Bytes(const std::string& s)
{
    return std::vector<uint8_t>(s.begin(), s.end());
}

} // namespace skintest
