// TLzhEncoder: the packing side of the skin container's LZHUF scheme. Same
// ring, match lengths, adaptive tree and position code as the decoder in
// skin/portable; greedy matching with hash chains over the ring's window.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

class TLzhEncoder {
public:
    // The compressed stream of Data (no size prefix), padded to whole bytes
    // with zero bits.
    std::vector<uint8_t> Encode(std::span<const uint8_t> Data);

private:
    void StartHuff();
    void Reconst();
    void Update(int c);
    void EncodeChar(int c);
    void EncodePosition(int Position);
    void PutBits(uint32_t Bits, int Count);
    void Flush();

    std::array<uint16_t, 628> FFreq{};
    std::array<int16_t, 941> FParent{};
    std::array<int16_t, 627> FSon{};
    std::vector<uint8_t> FOut;
    uint32_t FBitBuf = 0;
    int FBitCount = 0;
};
