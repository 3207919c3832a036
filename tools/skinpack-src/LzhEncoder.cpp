// LZHUF encoding. Matching runs over a buffer that starts with the ring's
// initial content, so a distance reaching back before the data reads exactly
// what the decoder's ring holds there.
#include "LzhEncoder.h"

#include "skin/portable/LzhDecoder.h"

#include <algorithm>
#include <cstring>

using namespace LzhScheme;

namespace {

constexpr int HashBits = 15;
constexpr int MaxChain = 256;
// The ring's top kMaxMatch bytes are written before they are ever read by a
// well-formed stream; matches never start there.
constexpr int FirstMatchable = kMaxMatch;

// Code of the upper six bits of a position: the first index of its run in the
// decoder's 256-entry table, and the run's code length.
struct TPositionCodes {
    std::array<uint8_t, 64> Code{};
    std::array<uint8_t, 64> Len{};

    TPositionCodes()
    {
        // (code length, number of upper values with it); each value takes
        // 2^(8 - length) table entries.
        static const int runs[][2] = {{3, 1}, {4, 3}, {5, 8}, {6, 12}, {7, 24}, {8, 16}};
        int index = 0, value = 0;
        for (const auto& run : runs) {
            for (int v = 0; v < run[1]; ++v, ++value) {
                Code[value] = static_cast<uint8_t>(index);
                Len[value] = static_cast<uint8_t>(run[0]);
                index += 1 << (8 - run[0]);
            }
        }
    }
};

const TPositionCodes& PositionCodes()
{
    static const TPositionCodes codes;
    return codes;
}

uint32_t Hash3(const uint8_t* p)
{
    return ((static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2]) * 2654435761u) >>
           (32 - HashBits);
}

} // namespace

void TLzhEncoder::StartHuff()
{
    for (int i = 0; i < kSymbols; ++i) {
        FFreq[i] = 1;
        FSon[i] = static_cast<int16_t>(i + kTreeSize);
        FParent[i + kTreeSize] = static_cast<int16_t>(i);
    }
    for (int i = 0, j = kSymbols; j <= kRoot; ++j, i += 2) {
        FFreq[j] = static_cast<uint16_t>(FFreq[i] + FFreq[i + 1]);
        FSon[j] = static_cast<int16_t>(i);
        FParent[i] = FParent[i + 1] = static_cast<int16_t>(j);
    }
    FFreq[kTreeSize] = 0xFFFF;
    FParent[kRoot] = 0;
}

void TLzhEncoder::Reconst()
{
    // Leaves first, halved, in their old order.
    int leaves = 0;
    for (int i = 0; i < kTreeSize; ++i) {
        if (FSon[i] >= kTreeSize) {
            FFreq[leaves] = static_cast<uint16_t>((FFreq[i] + 1) / 2);
            FSon[leaves] = FSon[i];
            ++leaves;
        }
    }
    // Pairs joined in order; a new node sorts after every node of its frequency.
    for (int pair = 0, node = kSymbols; node < kTreeSize; pair += 2, ++node) {
        const uint16_t f = static_cast<uint16_t>(FFreq[pair] + FFreq[pair + 1]);
        int at = node;
        while (at > 0 && FFreq[at - 1] > f) --at;
        for (int m = node; m > at; --m) {
            FFreq[m] = FFreq[m - 1];
            FSon[m] = FSon[m - 1];
        }
        FFreq[at] = f;
        FSon[at] = static_cast<int16_t>(pair);
    }
    for (int i = 0; i < kTreeSize; ++i) {
        const int child = FSon[i];
        FParent[child] = static_cast<int16_t>(i);
        if (child < kTreeSize) FParent[child + 1] = static_cast<int16_t>(i);
    }
}

void TLzhEncoder::Update(int c)
{
    if (FFreq[kRoot] == kMaxFreq) Reconst();
    // Node 0 can be a leaf, so the first step is unconditional; only the
    // root's parent is 0.
    int node = FParent[c + kTreeSize];
    do {
        const uint16_t f = ++FFreq[node];
        if (f > FFreq[node + 1]) {
            // Swap with the last node still below the new frequency, keeping
            // frequencies in order along the node numbers.
            int last = node + 1;
            while (FFreq[last + 1] < f) ++last;
            FFreq[node] = FFreq[last];
            FFreq[last] = f;
            const int a = FSon[node], b = FSon[last];
            FSon[node] = static_cast<int16_t>(b);
            FSon[last] = static_cast<int16_t>(a);
            FParent[a] = static_cast<int16_t>(last);
            if (a < kTreeSize) FParent[a + 1] = static_cast<int16_t>(last);
            FParent[b] = static_cast<int16_t>(node);
            if (b < kTreeSize) FParent[b + 1] = static_cast<int16_t>(node);
            node = last;
        }
        node = FParent[node];
    } while (node != 0);
}

void TLzhEncoder::PutBits(uint32_t Bits, int Count)
{
    for (int i = Count - 1; i >= 0; --i) {
        FBitBuf = (FBitBuf << 1) | ((Bits >> i) & 1);
        if (++FBitCount == 8) {
            FOut.push_back(static_cast<uint8_t>(FBitBuf));
            FBitBuf = 0;
            FBitCount = 0;
        }
    }
}

void TLzhEncoder::Flush()
{
    if (FBitCount > 0) FOut.push_back(static_cast<uint8_t>(FBitBuf << (8 - FBitCount)));
    FBitBuf = 0;
    FBitCount = 0;
}

void TLzhEncoder::EncodeChar(int c)
{
    // The path from the root: at each node, 0 for its first child, 1 for the second.
    uint8_t path[kTreeSize];
    int depth = 0;
    for (int node = FParent[c + kTreeSize]; node != kRoot; node = FParent[node])
        path[depth++] = static_cast<uint8_t>(node - FSon[FParent[node]]);
    while (depth > 0) PutBits(path[--depth], 1);
    Update(c);
}

void TLzhEncoder::EncodePosition(int Position)
{
    const auto& codes = PositionCodes();
    const int upper = Position >> 6;
    const int len = codes.Len[upper];
    PutBits(static_cast<uint32_t>(codes.Code[upper] >> (8 - len)), len);
    PutBits(static_cast<uint32_t>(Position & 0x3F), 6);
}

std::vector<uint8_t> TLzhEncoder::Encode(std::span<const uint8_t> Data)
{
    FOut.clear();
    FOut.reserve(Data.size() / 2 + 16);
    FBitBuf = 0;
    FBitCount = 0;
    StartHuff();

    // The ring as it stands before the first byte: kMaxMatch bytes never read,
    // then spaces up to the start position.
    std::vector<uint8_t> buf(kRingSize, 0x20);
    std::fill(buf.begin(), buf.begin() + kMaxMatch, static_cast<uint8_t>(0));
    buf.insert(buf.end(), Data.begin(), Data.end());
    const int end = static_cast<int>(buf.size());

    std::vector<int32_t> head(size_t{1} << HashBits, -1);
    std::vector<int32_t> prev(buf.size(), -1);
    const auto insert = [&](int pos) {
        if (pos < FirstMatchable || pos + 2 >= end) return;
        uint32_t h = Hash3(&buf[static_cast<size_t>(pos)]);
        prev[static_cast<size_t>(pos)] = head[h];
        head[h] = pos;
    };
    for (int pos = FirstMatchable; pos < kRingSize; ++pos) insert(pos);

    for (int cur = kRingSize; cur < end;) {
        const int limit = std::min(kMaxMatch, end - cur);
        int bestLen = 0, bestPos = 0;
        if (limit > kThreshold) {
            int chain = MaxChain;
            for (int cand = head[Hash3(&buf[static_cast<size_t>(cur)])]; cand >= 0 && chain-- > 0;
                 cand = prev[static_cast<size_t>(cand)]) {
                if (cur - cand > kRingSize) break;
                int len = 0;
                while (len < limit && buf[static_cast<size_t>(cand + len)] == buf[static_cast<size_t>(cur + len)]) ++len;
                if (len > bestLen) {
                    bestLen = len;
                    bestPos = cand;
                    if (len == limit) break;
                }
            }
        }
        if (bestLen > kThreshold) {
            EncodeChar(255 - kThreshold + bestLen);
            EncodePosition(cur - bestPos - 1);
            for (int k = 0; k < bestLen; ++k) insert(cur + k);
            cur += bestLen;
        } else {
            EncodeChar(buf[static_cast<size_t>(cur)]);
            insert(cur);
            ++cur;
        }
    }
    Flush();
    return std::move(FOut);
}
