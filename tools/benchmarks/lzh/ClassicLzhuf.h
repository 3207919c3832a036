// The textbook LZHUF decoder, the lzh benchmark's floor.
#pragma once

#include <cstddef>

// Decodes a container (4-byte little-endian size, then the stream) into Out,
// which must hold the size plus 59 bytes; returns the bytes written, 0 when
// the size is not positive or Out is too small.
size_t ClassicLzhufDecode(const unsigned char* In, size_t InSize, unsigned char* Out, size_t OutRoom);
