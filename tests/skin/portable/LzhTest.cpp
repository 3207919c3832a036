#include "tests/skin/support/SkinTestData.h"
#include "skin/portable/LzhDecoder.h"
#include "skin/portable/SkinContainer.h"
#include "tools/skinpack-src/LzhEncoder.h"

#include <gtest/gtest.h>

using namespace skintest;

namespace {

struct TDecoded {
    bool Complete = false;
    std::vector<uint8_t> Bytes;
    int Reads = 0;
};

TDecoded DecodeStream(const std::vector<uint8_t>& stream, int32_t size)
{
    TDecoded out;
    TLZH lzh;
    lzh.FSource = stream;
    lzh.FTarget = &out.Bytes;
    auto counted = [&](uint8_t* b, uint16_t n, uint16_t& a) {
        ++out.Reads;
        lzh.ReadSource(b, n, a);
    };
    out.Complete = lzh.Decode(size, TLzhReadMethod(counted), TLzhWriteMethod::Bind<&TLZH::WriteTarget>(&lzh));
    return out;
}

std::vector<uint8_t> Encode(const std::vector<uint8_t>& data)
{
    TLzhEncoder encoder;
    return encoder.Encode(data);
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Bits of a hand-made stream, most significant first.
struct TBitWriter {
    std::vector<uint8_t> Out;
    int Used = 8;
    void Put(uint32_t bits, int count)
    {
        for (int i = count - 1; i >= 0; --i) {
            if (Used == 8) {
                Out.push_back(0);
                Used = 0;
            }
            if ((bits >> i) & 1) Out.back() |= static_cast<uint8_t>(0x80 >> Used);
            ++Used;
        }
    }
};

// The code of a symbol in the tree every stream starts with: leaves in pairs
// under nodes 314.., each pair's parent built in order.
void PutInitialSymbol(TBitWriter& w, int symbol)
{
    using namespace LzhScheme;
    std::vector<int> parent(kTreeSize), son(kTreeSize);
    for (int i = 0, j = kSymbols; j < kTreeSize; ++j, i += 2) {
        son[j] = i;
        parent[i] = parent[i + 1] = j;
    }
    std::vector<int> bits;
    for (int node = symbol; node != kRoot; node = parent[node]) bits.push_back(node - son[parent[node]]);
    for (auto it = bits.rbegin(); it != bits.rend(); ++it) w.Put(static_cast<uint32_t>(*it), 1);
}

} // namespace

struct TRoundTrip {
    const char* Name;
    std::vector<uint8_t> Data;
};

class LzhRoundTrip : public ::testing::TestWithParam<TRoundTrip> {};

TEST_P(LzhRoundTrip, DecodesByteExact)
{
    const auto& data = GetParam().Data;
    const std::vector<uint8_t> stream = Encode(data);
    const TDecoded out = DecodeStream(stream, static_cast<int32_t>(data.size()));
    EXPECT_TRUE(out.Complete);
    ASSERT_EQ(out.Bytes.size(), data.size());
    EXPECT_TRUE(out.Bytes == data);
    EXPECT_LE(static_cast<int64_t>(data.size()), TLZH::MaxOutput(stream.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, LzhRoundTrip,
    ::testing::Values(TRoundTrip{"Empty", {}}, TRoundTrip{"OneByte", {0x41}},
                      // Long matches that overlap the bytes they produce.
                      TRoundTrip{"FourKiBOfOneByte", std::vector<uint8_t>(4096, 0xAB)},
                      TRoundTrip{"Spaces", std::vector<uint8_t>(5000, 0x20)},
                      TRoundTrip{"Zeros", std::vector<uint8_t>(5000, 0)},
                      TRoundTrip{"Random", RandomBytes(20000, 1)}, TRoundTrip{"Text", SampleText(30000)},
                      TRoundTrip{"Bitmaps", Concat(MakeBmp24(64, 48, 3), MakeBmp24(17, 5, 4))},
                      // 300,000 codes: the root reaches 0x8000 after about 32,000 and
                      // again every 16,000 or so, so the tree is rebuilt many times.
                      TRoundTrip{"ManyTreeRebuilds", Concat(RandomBytes(200000, 2), SampleText(100000))}),
    [](const auto& param) { return std::string(param.param.Name); });

TEST(LzhDecoder, SizeZeroOrNegativeReadsAndWritesNothing)
{
    const std::vector<uint8_t> stream = Encode(SampleText(100));
    for (int32_t size : {0, -1, INT32_MIN}) {
        const TDecoded out = DecodeStream(stream, size);
        EXPECT_TRUE(out.Complete);
        EXPECT_EQ(out.Reads, 0);
        EXPECT_TRUE(out.Bytes.empty());
    }
}

TEST(LzhDecoder, OutputIsCutAtTheDeclaredSizeEvenInsideAMatch)
{
    const std::vector<uint8_t> data(4096, 'x');
    const std::vector<uint8_t> stream = Encode(data);
    for (int32_t size : {1, 2, 3, 61, 100, 4095}) {
        const TDecoded out = DecodeStream(stream, size);
        EXPECT_TRUE(out.Complete);
        EXPECT_EQ(out.Bytes, std::vector<uint8_t>(static_cast<size_t>(size), 'x')) << size;
    }
}

TEST(LzhDecoder, FirstMatchMayReadTheInitialSpaces)
{
    const std::vector<uint8_t> data(200, ' ');
    const std::vector<uint8_t> stream = Encode(data);
    EXPECT_LT(stream.size(), 10u);
    EXPECT_EQ(DecodeStream(stream, 200).Bytes, data);
}

TEST(LzhDecoder, RingTopStartsAsZeros)
{
    // First code: a 3-byte match at position 4095, which reads ring[4036..4038].
    TBitWriter w;
    PutInitialSymbol(w, 256);
    w.Put(0xFF, 8);
    w.Put(0x3F, 6);
    const TDecoded out = DecodeStream(w.Out, 3);
    EXPECT_TRUE(out.Complete);
    EXPECT_EQ(out.Bytes, std::vector<uint8_t>(3, 0));
}

TEST(LzhDecoder, StreamCutShortIsReportedNotPaddedOut)
{
    const std::vector<uint8_t> data = Concat(SampleText(3000), MakeBmp24(20, 20, 9));
    const std::vector<uint8_t> stream = Encode(data);
    for (size_t cut = 0; cut + LzhScheme::kLookAheadBytes + 2 <= stream.size(); ++cut) {
        const std::vector<uint8_t> part(stream.begin(), stream.begin() + static_cast<ptrdiff_t>(cut));
        const TDecoded out = DecodeStream(part, static_cast<int32_t>(data.size()));
        EXPECT_FALSE(out.Complete) << cut;
        EXPECT_LT(out.Bytes.size(), data.size()) << cut;
    }
}

TEST(LzhDecoder, DecodingStraightIntoTheTargetMatchesTheMethodsByteForByte)
{
    const std::vector<uint8_t> data = Concat(SampleText(3000), MakeBmp24(20, 20, 9));
    const std::vector<uint8_t> stream = Encode(data);
    const int32_t size = static_cast<int32_t>(data.size());
    TBitWriter topThenSpaces; // a 60-byte first match from position 4040: 5 zeros, then spaces
    PutInitialSymbol(topThenSpaces, 256 + 57);
    topThenSpaces.Put(0xFF, 8);
    topThenSpaces.Put(0x08, 6);
    std::vector<std::pair<std::vector<uint8_t>, int32_t>> cases = {
        {stream, size},
        {stream, 0},
        {stream, 1000},
        {topThenSpaces.Out, 60},
        {Encode(Concat(RandomBytes(200000, 2), SampleText(100000))), 300000}, // tree rebuilds
        {RandomBytes(20000, 3), 120000},                                      // not a stream at all
    };
    for (size_t cut = 0; cut < stream.size(); cut += 7) cases.push_back({{stream.begin(), stream.begin() + static_cast<ptrdiff_t>(cut)}, size});
    for (const auto& [input, declared] : cases) {
        const TDecoded byMethods = DecodeStream(input, declared);
        TLZH lzh;
        lzh.FSource = input;
        std::vector<uint8_t> direct{0xEE}; // appended to, as WriteTarget does
        lzh.FTarget = &direct;
        EXPECT_EQ(lzh.DecodeTarget(declared), byMethods.Complete) << input.size() << " " << declared;
        ASSERT_EQ(direct.size(), byMethods.Bytes.size() + 1) << input.size() << " " << declared;
        EXPECT_TRUE(std::equal(direct.begin() + 1, direct.end(), byMethods.Bytes.begin())) << input.size() << " " << declared;
    }
}

TEST(LzhDecoder, ReadsOneByteAtATimeAndCopesWithShortReads)
{
    const std::vector<uint8_t> data = SampleText(500);
    const std::vector<uint8_t> stream = Encode(data);
    std::vector<uint8_t> got;
    size_t pos = 0;
    bool stall = false;
    TLZH lzh;
    // A source that answers every other request with nothing: each empty
    // answer reads as a zero byte, so the stream is soon judged cut short.
    auto stalling = [&](uint8_t* b, uint16_t n, uint16_t& a) {
        EXPECT_EQ(n, 1);
        stall = !stall;
        a = 0;
        if (stall || pos >= stream.size()) return;
        *b = stream[pos++];
        a = 1;
    };
    auto collect = [&](const uint8_t* b, uint16_t n, uint16_t& a) {
        EXPECT_EQ(n, 1);
        got.insert(got.end(), b, b + n);
        a = n;
    };
    EXPECT_FALSE(lzh.Decode(static_cast<int32_t>(data.size()), TLzhReadMethod(stalling), TLzhWriteMethod(collect)));
    EXPECT_LT(got.size(), data.size());
}

TEST(LzhDecoder, CopyingAMethodCopiesItsBindingInsteadOfWrappingIt)
{
    int first = 0, second = 0;
    auto countFirst = [&](const uint8_t*, uint16_t n, uint16_t& a) { first += a = n; };
    auto countSecond = [&](const uint8_t*, uint16_t n, uint16_t& a) { second += a = n; };
    TLzhWriteMethod method(countFirst);
    TLzhWriteMethod copy(method); // a non-const source
    method = TLzhWriteMethod(countSecond);
    const uint8_t byte = 0;
    uint16_t actual = 0;
    copy(&byte, 1, actual);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
}
