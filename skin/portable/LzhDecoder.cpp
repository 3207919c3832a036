// LZHUF decoding: bit input, the adaptive Huffman tree, position codes and
// the ring copy. The tables live only for the length of one Decode.
#include "LzhDecoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

using namespace LzhScheme;

struct TLZH::TTables {
    std::array<uint8_t, RingSize + MaxMatch - 1> Ring{};
    // Frequencies never pass MaxFreq and node numbers fit 16 bits; the tables
    // are kept in 32-bit entries only because the walks run faster on them.
    std::array<uint32_t, TreeSize + 1> Freq{};        // last entry: sentinel 0xFFFF
    std::array<int32_t, TreeSize + Symbols> Parent{}; // past TreeSize: leaf node of each symbol
    std::array<int32_t, TreeSize> Son{};              // inner node: first child; leaf: symbol + TreeSize
};

namespace {

// Upper six bits of a position and total code length, indexed by the first
// eight bits of the position code.
struct TPositionTables {
    std::array<uint8_t, 256> Code{};
    std::array<uint8_t, 256> Len{};

    TPositionTables()
    {
        // Runs of equal upper bits: (number of values, entries per value).
        static const int codeRuns[][2] = {{1, 32}, {3, 16}, {8, 8}, {12, 4}, {24, 2}, {16, 1}};
        int i = 0, value = 0;
        for (const auto& run : codeRuns)
            for (int v = 0; v < run[0]; ++v, ++value)
                for (int k = 0; k < run[1]; ++k) Code[i++] = static_cast<uint8_t>(value);
        static const int lenRuns[][2] = {{3, 32}, {4, 48}, {5, 64}, {6, 48}, {7, 48}, {8, 16}};
        i = 0;
        for (const auto& run : lenRuns)
            for (int k = 0; k < run[1]; ++k) Len[i++] = static_cast<uint8_t>(run[0]);
    }
};

const TPositionTables& PositionTables()
{
    static const TPositionTables tables;
    return tables;
}

} // namespace

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

int64_t TLZH::MaxOutput(size_t InputBytes)
{
    return (static_cast<int64_t>(InputBytes) + LookAheadBytes) * MaxOutputPerByte + MaxMatch;
}

void TLZH::InitTables()
{
    FBitBuf = 0;
    FBitCount = 0;
    FMissing = 0;
    try {
        FTables = std::make_unique<TTables>();
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
}

void TLZH::FreeTables() noexcept
{
    FTables.reset();
}

void TLZH::StartHuff()
{
    auto& t = *FTables;
    for (int i = 0; i < Symbols; ++i) {
        t.Freq[i] = 1;
        t.Son[i] = i + TreeSize;
        t.Parent[i + TreeSize] = i;
    }
    for (int i = 0, j = Symbols; j <= Root; ++j, i += 2) {
        t.Freq[j] = t.Freq[i] + t.Freq[i + 1];
        t.Son[j] = i;
        t.Parent[i] = t.Parent[i + 1] = j;
    }
    t.Freq[TreeSize] = 0xFFFF;
    t.Parent[Root] = 0;
}

void TLZH::Reconst()
{
    auto& t = *FTables;
    int j = 0;
    for (int i = 0; i < TreeSize; ++i) {
        if (t.Son[i] >= TreeSize) {
            t.Freq[j] = (t.Freq[i] + 1) / 2;
            t.Son[j] = t.Son[i];
            ++j;
        }
    }
    for (int i = 0, jj = Symbols; jj < TreeSize; i += 2, ++jj) {
        const uint32_t f = t.Freq[i] + t.Freq[i + 1];
        t.Freq[jj] = f;
        int k = jj - 1;
        while (f < t.Freq[k]) --k;
        ++k;
        std::memmove(&t.Freq[k + 1], &t.Freq[k], sizeof(t.Freq[0]) * static_cast<size_t>(jj - k));
        std::memmove(&t.Son[k + 1], &t.Son[k], sizeof(t.Son[0]) * static_cast<size_t>(jj - k));
        t.Freq[k] = f;
        t.Son[k] = i;
    }
    for (int i = 0; i < TreeSize; ++i) {
        const int k = t.Son[i];
        if (k >= TreeSize) {
            t.Parent[k] = i;
        } else {
            t.Parent[k] = t.Parent[k + 1] = i;
        }
    }
}

void TLZH::Update(int c)
{
    auto& t = *FTables;
    if (t.Freq[Root] == MaxFreq) Reconst();
    c = t.Parent[c + TreeSize];
    do {
        const uint32_t k = ++t.Freq[c];
        if (k > t.Freq[c + 1]) {
            // l: the last node after c whose frequency is below k. Frequencies
            // rise along the node numbers (the sentinel ends them), so gallop
            // ahead and then bisect; runs of equal frequencies can be long.
            int l = c + 1, step = 1;
            while (k > t.Freq[l + step]) {
                l += step;
                step = std::min(step * 2, TreeSize - l);
            }
            for (int hi = l + step; hi - l > 1;) {
                const int mid = (l + hi) / 2;
                (k > t.Freq[mid] ? l : hi) = mid;
            }
            t.Freq[c] = t.Freq[l];
            t.Freq[l] = k;
            const int i = t.Son[c];
            t.Parent[i] = l;
            if (i < TreeSize) t.Parent[i + 1] = l;
            const int j = t.Son[l];
            t.Son[l] = i;
            t.Parent[j] = c;
            if (j < TreeSize) t.Parent[j + 1] = c;
            t.Son[c] = j;
            c = l;
        }
        c = t.Parent[c];
    } while (c != 0);
}

void TLZH::Refill()
{
    while (FBitCount <= 8) {
        uint8_t byte = 0;
        uint16_t actual = 0;
        (*FRead)(&byte, 1, actual);
        if (actual != 1) {
            byte = 0;
            ++FMissing;
        }
        FBitBuf = static_cast<uint16_t>(FBitBuf | (byte << (8 - FBitCount)));
        FBitCount = static_cast<uint8_t>(FBitCount + 8);
    }
}

int TLZH::GetBit()
{
    Refill();
    const int bit = FBitBuf >> 15;
    FBitBuf = static_cast<uint16_t>(FBitBuf << 1);
    --FBitCount;
    return bit;
}

int TLZH::GetByte()
{
    Refill();
    const int byte = FBitBuf >> 8;
    FBitBuf = static_cast<uint16_t>(FBitBuf << 8);
    FBitCount = static_cast<uint8_t>(FBitCount - 8);
    return byte;
}

int TLZH::DecodeChar()
{
    const auto& son = FTables->Son;
    int c = son[Root];
    while (c < TreeSize) c = son[c + GetBit()];
    c -= TreeSize;
    Update(c);
    return c;
}

int TLZH::DecodePosition()
{
    const auto& tables = PositionTables();
    int i = GetByte();
    const int upper = tables.Code[i] << 6;
    for (int j = tables.Len[i] - 2; j > 0; --j) i = (i << 1) + GetBit();
    return upper | (i & 0x3F);
}

bool TLZH::Decode(int32_t Size, const TLzhReadMethod& Read, const TLzhWriteMethod& Write)
{
    InitTables();
    struct TFree {
        TLZH* Self;
        ~TFree() { Self->FreeTables(); }
    } freeOnExit{this};
    FRead = &Read;

    StartHuff();
    auto& ring = FTables->Ring;
    std::fill(ring.begin(), ring.begin() + RingStart, static_cast<uint8_t>(0x20));
    int r = RingStart;
    int32_t count = 0;
    const auto put = [&](uint8_t b) {
        uint16_t actual = 0;
        Write(&b, 1, actual);
        ring[r] = b;
        r = (r + 1) & (RingSize - 1);
        ++count;
    };
    while (count < Size) {
        const int c = DecodeChar();
        if (c < 256) {
            if (FMissing > LookAheadBytes) return false;
            put(static_cast<uint8_t>(c));
            continue;
        }
        const int i = (r - DecodePosition() - 1) & (RingSize - 1);
        if (FMissing > LookAheadBytes) return false;
        const int length = c - 255 + Threshold;
        for (int k = 0; k < length && count < Size; ++k) put(ring[(i + k) & (RingSize - 1)]);
    }
    return true;
}
