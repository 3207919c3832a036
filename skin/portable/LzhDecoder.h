// TLZH: the decoding side of the skin container's LZHUF scheme: LZSS over a
// 4,096-byte ring, an adaptive Huffman code for literals and match lengths and
// a fixed table code for the upper six bits of match positions.
#pragma once

#include "classlib/portable/Classes.h"
#include "classlib/portable/SysUtils.h"

#include <concepts>
#include <cstdint>
#include <memory>
#include <span>
#include <type_traits>
#include <vector>

// The decoder's tables could not be allocated.
class ElzhException : public Exception {
    using Exception::Exception;
};

// A method pointer: an object and the code to call on it. Bound to a member
// function or to a callable that must outlive it. Called once per byte, so
// it costs one indirect call and nothing more.
template <class... Args>
class TLzhMethod {
public:
    TLzhMethod() = default;
    // Not for another TLzhMethod: copying one must copy it, not wrap it.
    template <class T>
        requires(!std::same_as<std::remove_cv_t<T>, TLzhMethod>)
    explicit TLzhMethod(T& Callable)
        : FObject(&Callable), FCode([](void* o, Args... a) { (*static_cast<T*>(o))(a...); })
    {
    }
    template <auto Method, class T>
    static TLzhMethod Bind(T* Object)
    {
        TLzhMethod m;
        m.FObject = Object;
        m.FCode = [](void* o, Args... a) { (static_cast<T*>(o)->*Method)(a...); };
        return m;
    }
    void operator()(Args... a) const { FCode(FObject, a...); }

private:
    void* FObject = nullptr;
    void (*FCode)(void*, Args...) = nullptr;
};

// Read fills Buffer with up to Count bytes and reports how many in Actual;
// Write takes Count bytes and reports how many it took.
using TLzhReadMethod = TLzhMethod<uint8_t* /*Buffer*/, uint16_t /*Count*/, uint16_t& /*Actual*/>;
using TLzhWriteMethod = TLzhMethod<const uint8_t* /*Buffer*/, uint16_t /*Count*/, uint16_t& /*Actual*/>;

// Constants of the scheme; the stream carries no parameters.
namespace LzhScheme {
constexpr int kRingSize = 4096;                     // positions are taken modulo this (mask 0xFFF)
constexpr int kMaxMatch = 60;                       // longest match
constexpr int kThreshold = 2;                       // a match copies at least kThreshold + 1 bytes
constexpr int kSymbols = 256 + kMaxMatch - kThreshold; // 256 literals and 58 match lengths
constexpr int kTreeSize = 2 * kSymbols - 1;          // nodes of the Huffman tree
constexpr int kRoot = kTreeSize - 1;
constexpr uint16_t kMaxFreq = 0x8000;               // the tree is rebuilt when the root reaches it
constexpr int kRingStart = kRingSize - kMaxMatch;     // first write position; ring below it starts as spaces
// The decoder asks for input at most this many bytes ahead of the bits it
// has used; running out by more than that means the stream was cut short.
constexpr int kLookAheadBytes = 2;
// The cheapest code is a 1-bit symbol plus a 9-bit position for a 60-byte
// match: no stream yields more than 6 bytes per input bit.
constexpr int64_t kMaxOutputPerByte = 8 * kMaxMatch / 10;
} // namespace LzhScheme

class TLZH : public TObject {
public:
    TLZH();
    ~TLZH() override;

    // Decodes until Size bytes have been written (a match that crosses Size is
    // cut there). Returns false, having stopped, when the input ran out more
    // than the look-ahead before Size bytes were produced. Size <= 0 reads
    // and writes nothing. Raises ElzhException when the tables cannot be had.
    bool Decode(int32_t Size, const TLzhReadMethod& Read, const TLzhWriteMethod& Write);
    // Decode with ReadSource and WriteTarget, the same bytes and the same
    // result, but reading FSource and filling FTarget directly: no call per
    // byte, and matches copied from the output itself. FSourcePos ends up to
    // eight bytes past what the codes used.
    bool DecodeTarget(int32_t Size);

    // The read and write methods that unpacking passes: FSource from
    // FSourcePos on, appended to FTarget.
    void ReadSource(uint8_t* Buffer, uint16_t Count, uint16_t& Actual)
    {
        const size_t left = FSourcePos < FSource.size() ? FSource.size() - FSourcePos : 0;
        Actual = static_cast<uint16_t>(Count < left ? Count : left);
        for (uint16_t i = 0; i < Actual; ++i) Buffer[i] = FSource[FSourcePos + i];
        FSourcePos += Actual;
    }
    void WriteTarget(const uint8_t* Buffer, uint16_t Count, uint16_t& Actual)
    {
        Actual = Count;
        if (Count == 1) {
            FTarget->push_back(*Buffer);
        } else {
            FTarget->insert(FTarget->end(), Buffer, Buffer + Count);
        }
    }

    // The most a stream of InputBytes bytes can decode to.
    static int64_t MaxOutput(size_t InputBytes);

    std::span<const uint8_t> FSource;
    size_t FSourcePos = 0;
    std::vector<uint8_t>* FTarget = nullptr;

private:
    struct TTables;
    struct TTablesInUse;  // the tables made for one decoding and freed however it ends

    void InitTables();
    void FreeTables() noexcept;
    void StartHuff();
    void Reconst();
    int MoveUp(int c, uint32_t k);
    void Update(int c, const int16_t* Path, int Depth);
    template <class TInput, class TOutput>
    bool Run(int32_t Size, TInput& In, TOutput& Out, int32_t& Count);
    template <class TInput>
    int DecodeChar(TInput& In);
    template <class TInput>
    int DecodePosition(TInput& In);

    std::unique_ptr<TTables> FTables;
};
