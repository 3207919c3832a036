// Differential test of the LZH decoder: a second decoder, kept deliberately
// plain (16-bit tables, linear scans, nothing shared with TLZH or the packer's
// encoder), decodes random bit streams; TLZH must produce the same bytes.
#include "skin/portable/LzhDecoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

class TReferenceLzh {
public:
    explicit TReferenceLzh(const std::vector<uint8_t>& Input) : FInput(Input)
    {
        for (int i = 0; i < 32; ++i) DCode[i] = 0;
        int at = 32;
        for (int v = 1; v <= 3; ++v)
            for (int k = 0; k < 16; ++k) DCode[at++] = static_cast<uint8_t>(v);
        for (int v = 4; v <= 11; ++v)
            for (int k = 0; k < 8; ++k) DCode[at++] = static_cast<uint8_t>(v);
        for (int v = 12; v <= 23; ++v)
            for (int k = 0; k < 4; ++k) DCode[at++] = static_cast<uint8_t>(v);
        for (int v = 24; v <= 47; ++v)
            for (int k = 0; k < 2; ++k) DCode[at++] = static_cast<uint8_t>(v);
        for (int v = 48; v <= 63; ++v) DCode[at++] = static_cast<uint8_t>(v);
        at = 0;
        const int lens[6][2] = {{3, 32}, {4, 48}, {5, 64}, {6, 48}, {7, 48}, {8, 16}};
        for (const auto& l : lens)
            for (int k = 0; k < l[1]; ++k) DLen[at++] = static_cast<uint8_t>(l[0]);

        for (int i = 0; i < 314; ++i) {
            Freq[i] = 1;
            Son[i] = static_cast<int16_t>(i + 627);
            Parent[i + 627] = static_cast<int16_t>(i);
        }
        for (int i = 0, j = 314; j <= 626; ++j, i += 2) {
            Freq[j] = static_cast<uint16_t>(Freq[i] + Freq[i + 1]);
            Son[j] = static_cast<int16_t>(i);
            Parent[i] = Parent[i + 1] = static_cast<int16_t>(j);
        }
        Freq[627] = 0xFFFF;
        Parent[626] = 0;
        for (int i = 0; i < 4036; ++i) Ring[i] = 0x20;
    }

    // Decodes Codes codes and returns everything they wrote.
    std::vector<uint8_t> Decode(int Codes)
    {
        std::vector<uint8_t> out;
        int r = 4036;
        for (int n = 0; n < Codes; ++n) {
            const int c = DecodeChar();
            if (c < 256) {
                out.push_back(static_cast<uint8_t>(c));
                Ring[r] = static_cast<uint8_t>(c);
                r = (r + 1) & 0xFFF;
                continue;
            }
            const int i = (r - DecodePosition() - 1) & 0xFFF;
            for (int k = 0; k < c - 253; ++k) {
                const uint8_t b = Ring[(i + k) & 0xFFF];
                out.push_back(b);
                Ring[r] = b;
                r = (r + 1) & 0xFFF;
            }
        }
        return out;
    }

    size_t BytesRead = 0;
    int Rebuilds = 0;

private:
    int GetBit()
    {
        Refill();
        const int bit = BitBuf >> 15;
        BitBuf = static_cast<uint16_t>(BitBuf << 1);
        --BitCount;
        return bit;
    }

    int GetByte()
    {
        Refill();
        const int byte = BitBuf >> 8;
        BitBuf = static_cast<uint16_t>(BitBuf << 8);
        BitCount = static_cast<uint8_t>(BitCount - 8);
        return byte;
    }

    void Refill()
    {
        while (BitCount <= 8) {
            const int byte = BytesRead < FInput.size() ? FInput[BytesRead] : 0;
            ++BytesRead;
            BitBuf = static_cast<uint16_t>(BitBuf | (byte << (8 - BitCount)));
            BitCount = static_cast<uint8_t>(BitCount + 8);
        }
    }

    void Reconst()
    {
        ++Rebuilds;
        int j = 0;
        for (int i = 0; i < 627; ++i) {
            if (Son[i] >= 627) {
                Freq[j] = static_cast<uint16_t>((Freq[i] + 1) / 2);
                Son[j] = Son[i];
                ++j;
            }
        }
        for (int i = 0, jj = 314; jj <= 626; ++jj, i += 2) {
            const uint16_t f = static_cast<uint16_t>(Freq[i] + Freq[i + 1]);
            Freq[jj] = f;
            int k = jj - 1;
            while (f < Freq[k]) --k;
            ++k;
            for (int m = jj; m > k; --m) {
                Freq[m] = Freq[m - 1];
                Son[m] = Son[m - 1];
            }
            Freq[k] = f;
            Son[k] = static_cast<int16_t>(i);
        }
        for (int i = 0; i < 627; ++i) {
            const int k = Son[i];
            if (k >= 627) {
                Parent[k] = static_cast<int16_t>(i);
            } else {
                Parent[k] = Parent[k + 1] = static_cast<int16_t>(i);
            }
        }
    }

    void Update(int c)
    {
        if (Freq[626] == 0x8000) Reconst();
        c = Parent[c + 627];
        do {
            const uint16_t k = ++Freq[c];
            if (k > Freq[c + 1]) {
                int l = c + 1;
                while (Freq[l + 1] < k) ++l;
                Freq[c] = Freq[l];
                Freq[l] = k;
                const int i = Son[c];
                Parent[i] = static_cast<int16_t>(l);
                if (i < 627) Parent[i + 1] = static_cast<int16_t>(l);
                const int j = Son[l];
                Son[l] = static_cast<int16_t>(i);
                Parent[j] = static_cast<int16_t>(c);
                if (j < 627) Parent[j + 1] = static_cast<int16_t>(c);
                Son[c] = static_cast<int16_t>(j);
                c = l;
            }
            c = Parent[c];
        } while (c != 0);
    }

    int DecodeChar()
    {
        int c = Son[626];
        while (c < 627) c = Son[c + GetBit()];
        c -= 627;
        Update(c);
        return c;
    }

    int DecodePosition()
    {
        int i = GetByte();
        const int upper = DCode[i] << 6;
        for (int j = DLen[i] - 2; j > 0; --j) i = (i << 1) + GetBit();
        return upper | (i & 0x3F);
    }

    const std::vector<uint8_t>& FInput;
    uint16_t BitBuf = 0;
    uint8_t BitCount = 0;
    uint8_t DCode[256]{};
    uint8_t DLen[256]{};
    uint8_t Ring[4155]{};
    uint16_t Freq[628]{};
    int16_t Parent[941]{};
    int16_t Son[627]{};
};

// Bytes whose bits are 1 with the given chance, so that the trees they build
// lean different ways.
std::vector<uint8_t> RandomBits(size_t Bytes, double OneChance, unsigned Seed)
{
    std::mt19937 rng(Seed);
    std::bernoulli_distribution one(OneChance);
    std::vector<uint8_t> out(Bytes);
    for (uint8_t& b : out)
        for (int k = 0; k < 8; ++k) b = static_cast<uint8_t>(b << 1 | (one(rng) ? 1 : 0));
    return out;
}

} // namespace

TEST(LzhDecoder, MatchesAPlainDecoderOnRandomBitStreamsAcrossTreeRebuilds)
{
    struct TCase {
        double OneChance;
        unsigned Seed;
    } cases[] = {{0.5, 1}, {0.5, 2}, {0.2, 3}, {0.85, 4}};
    for (const TCase& c : cases) {
        const std::vector<uint8_t> input = RandomBits(600000, c.OneChance, c.Seed);
        TReferenceLzh reference(input);
        // The root starts at 314 and gains one per code: 0x8000 after about
        // 32,500 codes, then again every 16,500 or so.
        const std::vector<uint8_t> expected = reference.Decode(110000);
        ASSERT_LE(reference.BytesRead, input.size()) << c.Seed; // no padding bits were needed
        EXPECT_GE(reference.Rebuilds, 4) << c.Seed;

        std::vector<uint8_t> got;
        TLZH lzh;
        lzh.FSource = input;
        lzh.FTarget = &got;
        EXPECT_TRUE(lzh.Decode(static_cast<int32_t>(expected.size()), TLzhReadMethod::Bind<&TLZH::ReadSource>(&lzh),
                               TLzhWriteMethod::Bind<&TLZH::WriteTarget>(&lzh)))
            << c.Seed;
        ASSERT_EQ(got.size(), expected.size()) << c.Seed;
        size_t first = 0;
        while (first < got.size() && got[first] == expected[first]) ++first;
        EXPECT_EQ(first, got.size()) << "seed " << c.Seed << ": first difference at byte " << first;
    }
}
