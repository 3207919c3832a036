// libFuzzer target: any chunk through the decoder, and the same bytes as hex
// text and as a frame. Checks the shapes of what comes out.
#include "console/portable/FrameParse.h"
#include "console/portable/Frames.h"
#include "console/portable/Reports.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const TChunkInfo info = DecodeChunk(data, size);
    if (info.Kind == TChunkKind::Report) {
        if (info.Line.size() != size * 3 - 1 || info.TagHex.size() > 10) __builtin_trap();
        for (const char c : info.TagHex)
            if (KeepHexDigit(static_cast<uint8_t>(c)).empty()) __builtin_trap();
        const auto decimal = TagNumberText(info, false);
        if (decimal && decimal->size() != 10) __builtin_trap();
    } else if (!info.Line.empty() || !info.TagHex.empty()) {
        __builtin_trap();
    }

    const TBytes bytes = HexTextToBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    if (bytes.size() > (size + 1) / 2) __builtin_trap();
    if (HexTextToBytes(BytesToHexText(bytes)) != bytes) __builtin_trap();

    if (size > 0 && size >= FrameSize(data[0])) ParseFrame(data, FrameSize(data[0]));
    return 0;
}
