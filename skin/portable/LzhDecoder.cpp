// LZHUF decoding: bit input, the adaptive Huffman tree, position codes and
// the ring copy. The tables live only for the length of one Decode.
#include "LzhDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstring>
#include <new>

using namespace LzhScheme;

struct TLZH::TTables {
    std::array<uint8_t, kRingSize + kMaxMatch - 1> Ring{};
    // Frequencies never pass kMaxFreq and node numbers fit 16 bits; the tables
    // are kept in 32-bit entries only because the walks run faster on them.
    std::array<uint32_t, kTreeSize + 1> Freq{};        // last entry: sentinel 0xFFFF
    std::array<int32_t, kTreeSize + kSymbols> Parent{}; // past kTreeSize: leaf node of each symbol
    std::array<uint32_t, kTreeSize> Son{};             // inner node: first child; leaf: symbol + kTreeSize
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

// Bits most significant first, refilled a byte at a time while eight or fewer
// are left, as the scheme reads them. Bytes asked for past the end read as
// zero and are counted. TSource::Next gives a byte, or -1 for none.
template <class TSource>
struct TBitInput {
    TSource Source;
    uint32_t Buf = 0; // the valid bits from bit 31 down, zeros below them
    int Count = 0;
    int Short = 0;

    int Missing() const { return Short; }
    void Refill()
    {
        while (Count <= 8) {
            int byte = Source.Next();
            if (byte < 0) {
                byte = 0;
                ++Short;
            }
            Buf |= static_cast<uint32_t>(byte) << (24 - Count);
            Count += 8;
        }
    }
    int Bit()
    {
        Refill();
        const int bit = static_cast<int>(Buf >> 31);
        Buf <<= 1;
        --Count;
        return bit;
    }
    int Byte()
    {
        Refill();
        const int byte = static_cast<int>(Buf >> 24);
        Buf <<= 8;
        Count -= 8;
        return byte;
    }
};

// Bits straight from memory, up to eight bytes per refill, zero bytes past
// the end. How many bytes the byte-at-a-time reading above would have asked
// for past the end follows from the bits used: it keeps more than eight bits
// in hand, and a code always ends with a single bit.
class TSpanBits {
public:
    TSpanBits(const uint8_t* Begin, const uint8_t* End) : FBegin(Begin), FAt(Begin), FEnd(End) {}

    int Missing() const
    {
        const size_t used = (static_cast<size_t>(FAt - FBegin) + FPast) * 8 - static_cast<size_t>(FCount);
        const size_t asked = (used + 15) / 8;
        const size_t have = static_cast<size_t>(FEnd - FBegin);
        return asked > have ? static_cast<int>(std::min<size_t>(asked - have, INT_MAX)) : 0;
    }
    const uint8_t* At() const { return FAt; }
    int Bit()
    {
        if (FCount == 0) Refill();
        const int bit = static_cast<int>(FBuf >> 63);
        FBuf <<= 1;
        --FCount;
        return bit;
    }
    int Byte()
    {
        if (FCount < 8) Refill();
        const int byte = static_cast<int>(FBuf >> 56);
        FBuf <<= 8;
        FCount -= 8;
        return byte;
    }

private:
    // Whole bytes below the valid bits; the bits of a byte loaded in part
    // already sit where the next refill puts them again.
    void Refill()
    {
        if (FEnd - FAt >= 8) {
            uint64_t word;
            std::memcpy(&word, FAt, 8);
            if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
            FBuf |= word >> FCount;
            const int bytes = (63 - FCount) >> 3;
            FAt += bytes;
            FCount += bytes * 8;
            return;
        }
        while (FCount <= 56) {
            uint64_t byte = 0;
            if (FAt != FEnd) {
                byte = *FAt++;
            } else {
                ++FPast;
            }
            FBuf |= byte << (56 - FCount);
            FCount += 8;
        }
    }

    const uint8_t* FBegin;
    const uint8_t* FAt;
    const uint8_t* FEnd;
    size_t FPast = 0; // zero bytes taken past the end
    uint64_t FBuf = 0;
    int FCount = 0;
};

// Through the Read method, one byte per call: an answer of anything but one
// byte counts as none.
struct TMethodSource {
    const TLzhReadMethod* Read;
    int Next()
    {
        uint8_t byte = 0;
        uint16_t actual = 0;
        (*Read)(&byte, 1, actual);
        return actual == 1 ? byte : -1;
    }
};

// Through the Write method, one byte per call; the ring keeps what matches copy.
struct TMethodOutput {
    const TLzhWriteMethod* Write;
    uint8_t* Ring;
    int R = kRingStart;

    void Put(uint8_t Byte)
    {
        uint16_t actual = 0;
        (*Write)(&Byte, 1, actual);
        Ring[R] = Byte;
        R = (R + 1) & (kRingSize - 1);
    }
    void Literal(int32_t, uint8_t Byte) { Put(Byte); }
    void Match(int32_t, int Position, int Length)
    {
        const int i = (R - Position - 1) & (kRingSize - 1);
        for (int k = 0; k < Length; ++k) Put(Ring[(i + k) & (kRingSize - 1)]);
    }
};

// Straight into a byte vector, which serves as the ring: a match copies from
// Position + 1 bytes back. Before the first byte lies the ring as it starts,
// spaces and then, from kRingStart on, zeros.
class TVectorOutput {
public:
    TVectorOutput(std::vector<uint8_t>& Target, size_t Room) : FTarget(Target), FStart(Target.size())
    {
        Grow(Room);
    }
    void Literal(int32_t Count, uint8_t Byte)
    {
        if (static_cast<size_t>(Count) >= FRoom) Grow(2 * FRoom);
        FBase[Count] = Byte;
    }
    void Match(int32_t Count, int Position, int Length)
    {
        if (static_cast<size_t>(Count) + static_cast<size_t>(Length) > FRoom) Grow(2 * FRoom);
        uint8_t* to = FBase + Count;
        const int back = Position + 1;
        if (back > Count) {
            for (int k = 0; k < Length; ++k)
                to[k] = Count + k >= back ? to[k - back] : (kRingStart + Count + k - back >= 0 ? 0x20 : 0);
        } else if (back >= 16) {
            // Whole 16-byte pieces, each from bytes already there; what lands
            // past the match is in the slack and written over later.
            for (int k = 0; k < Length; k += 16) std::memcpy(to + k, to + k - back, 16);
        } else {
            for (int k = 0; k < Length; ++k) to[k] = to[k - back]; // overlaps what it writes
        }
    }
    void Finish(int32_t Count) { FTarget.resize(FStart + static_cast<size_t>(Count)); }

private:
    // Room for Room bytes and a match's slack past them.
    void Grow(size_t Room)
    {
        Room = std::max<size_t>(Room, kMaxMatch);
        FTarget.resize(FStart + Room + kSlack);
        FBase = FTarget.data() + FStart;
        FRoom = Room;
    }

    static constexpr size_t kSlack = 16;

    std::vector<uint8_t>& FTarget;
    size_t FStart;
    uint8_t* FBase = nullptr;
    size_t FRoom = 0;
};

} // namespace

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

int64_t TLZH::MaxOutput(size_t InputBytes)
{
    return (static_cast<int64_t>(InputBytes) + kLookAheadBytes) * kMaxOutputPerByte + kMaxMatch;
}

void TLZH::InitTables()
{
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
    for (int i = 0; i < kSymbols; ++i) {
        t.Freq[i] = 1;
        t.Son[i] = i + kTreeSize;
        t.Parent[i + kTreeSize] = i;
    }
    for (int i = 0, j = kSymbols; j <= kRoot; ++j, i += 2) {
        t.Freq[j] = t.Freq[i] + t.Freq[i + 1];
        t.Son[j] = i;
        t.Parent[i] = t.Parent[i + 1] = j;
    }
    t.Freq[kTreeSize] = 0xFFFF;
    t.Parent[kRoot] = 0;
}

void TLZH::Reconst()
{
    auto& t = *FTables;
    int j = 0;
    for (int i = 0; i < kTreeSize; ++i) {
        if (t.Son[i] >= kTreeSize) {
            t.Freq[j] = (t.Freq[i] + 1) / 2;
            t.Son[j] = t.Son[i];
            ++j;
        }
    }
    for (int i = 0, jj = kSymbols; jj < kTreeSize; i += 2, ++jj) {
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
    for (int i = 0; i < kTreeSize; ++i) {
        const int k = t.Son[i];
        if (k >= kTreeSize) {
            t.Parent[k] = i;
        } else {
            t.Parent[k] = t.Parent[k + 1] = i;
        }
    }
}

// Node c's frequency, just raised to k, passed the next node's: c trades
// places with the last node whose frequency is still below k. Returns where
// c's subtree now is.
int TLZH::MoveUp(int c, uint32_t k)
{
    auto& t = *FTables;
    // Frequencies rise along the node numbers (the sentinel ends them). Mostly
    // l is a step or two away; past a few, gallop ahead and then bisect, as
    // runs of equal frequencies can be long.
    int l = c + 1, step = 1;
    for (int n = 0; n < 4 && k > t.Freq[l + 1]; ++n) ++l;
    while (k > t.Freq[l + step]) {
        l += step;
        step = std::min(step * 2, kTreeSize - l);
    }
    for (int hi = l + step; hi - l > 1;) {
        const int mid = (l + hi) / 2;
        (k > t.Freq[mid] ? l : hi) = mid;
    }
    t.Freq[c] = t.Freq[l];
    t.Freq[l] = k;
    const int i = t.Son[c];
    t.Parent[i] = l;
    if (i < kTreeSize) t.Parent[i + 1] = l;
    const int j = t.Son[l];
    t.Son[l] = i;
    t.Parent[j] = c;
    if (j < kTreeSize) t.Parent[j + 1] = c;
    t.Son[c] = j;
    return l;
}

// Path[0..Depth-1] are the nodes from the root down to the symbol's leaf, as
// decoding just walked them: until a node moves (or the tree is rebuilt) they
// are the parents, known without waiting on a parent load each.
void TLZH::Update(int c, const int16_t* Path, int Depth)
{
    auto& t = *FTables;
    if (t.Freq[kRoot] == kMaxFreq) {
        Reconst();
        Depth = 0;
    }
    if (Depth > 0) {
        for (;;) {
            c = Path[--Depth];
            const uint32_t k = ++t.Freq[c];
            if (k > t.Freq[c + 1]) {
                c = MoveUp(c, k);
                break;
            }
            if (Depth == 0) return; // the root's done
        }
    } else {
        c = t.Parent[c + kTreeSize];
        const uint32_t k = ++t.Freq[c];
        if (k > t.Freq[c + 1]) c = MoveUp(c, k);
    }
    for (c = t.Parent[c]; c != 0; c = t.Parent[c]) {
        const uint32_t k = ++t.Freq[c];
        if (k > t.Freq[c + 1]) c = MoveUp(c, k);
    }
}

template <class TInput>
int TLZH::DecodeChar(TInput& In)
{
    const uint32_t* son = FTables->Son.data();
    int16_t path[kTreeSize]; // not int: a store to it cannot touch the input's state
    path[0] = kRoot;
    int depth = 1;
    uint32_t c = son[kRoot];
    while (c < kTreeSize) {
        // The bit picks the table rather than the index: the next load waits
        // on the last one only.
        const int bit = In.Bit();
        path[depth++] = static_cast<int16_t>(c + bit);
        const uint32_t* pair = son + bit;
        asm("" : "+r"(pair)); // kept apart: not folded back into the index
        c = pair[c];
    }
    const int symbol = static_cast<int>(c) - kTreeSize;
    Update(symbol, path, depth);
    return symbol;
}

template <class TInput>
int TLZH::DecodePosition(TInput& In)
{
    const auto& tables = PositionTables();
    int i = In.Byte();
    const int upper = tables.Code[i] << 6;
    for (int j = tables.Len[i] - 2; j > 0; --j) i = (i << 1) + In.Bit();
    return upper | (i & 0x3F);
}

// Codes until Size bytes are out (a match that crosses Size is cut there), or
// until the input has run out by more than the look-ahead; Count says how
// many bytes were written either way.
template <class TInput, class TOutput>
bool TLZH::Run(int32_t Size, TInput& In, TOutput& Out, int32_t& Count)
{
    int32_t count = 0;
    bool complete = true;
    while (count < Size) {
        const int c = DecodeChar(In);
        if (c < 256) {
            if (In.Missing() > kLookAheadBytes) {
                complete = false;
                break;
            }
            Out.Literal(count, static_cast<uint8_t>(c));
            ++count;
            continue;
        }
        const int position = DecodePosition(In);
        if (In.Missing() > kLookAheadBytes) {
            complete = false;
            break;
        }
        const int length = static_cast<int>(std::min<int32_t>(c - 255 + kThreshold, Size - count));
        Out.Match(count, position, length);
        count += length;
    }
    Count = count;
    return complete;
}

struct TLZH::TTablesInUse {
    explicit TTablesInUse(TLZH& Owner) : Self(Owner) { Self.InitTables(); }
    ~TTablesInUse() { Self.FreeTables(); }
    TTablesInUse(const TTablesInUse&) = delete;
    TTablesInUse& operator=(const TTablesInUse&) = delete;
    TLZH& Self;
};

bool TLZH::Decode(int32_t Size, const TLzhReadMethod& Read, const TLzhWriteMethod& Write)
{
    const TTablesInUse tables(*this);

    StartHuff();
    auto& ring = FTables->Ring;
    std::fill(ring.begin(), ring.begin() + kRingStart, static_cast<uint8_t>(0x20));
    TBitInput<TMethodSource> in{{&Read}};
    TMethodOutput out{&Write, ring.data()};
    int32_t count = 0;
    return Run(Size, in, out, count);
}

bool TLZH::DecodeTarget(int32_t Size)
{
    const TTablesInUse tables(*this);

    StartHuff();
    const size_t from = std::min(FSourcePos, FSource.size());
    const uint8_t* begin = FSource.data() + from;
    TSpanBits in(begin, FSource.data() + FSource.size());
    // Room for all a complete or a cut stream can give; more is made only if
    // that bound were wrong.
    const int64_t room = Size > 0 ? std::min<int64_t>(Size, MaxOutput(FSource.size() - from)) : 0;
    TVectorOutput out(*FTarget, static_cast<size_t>(room));
    int32_t count = 0;
    const bool complete = Run(Size, in, out, count);
    out.Finish(count);
    FSourcePos += static_cast<size_t>(in.At() - begin);
    return complete;
}
