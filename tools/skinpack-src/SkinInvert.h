// A second skin for tests and the skin gallery: the same elements, every
// bitmap's colours inverted, so that every cell differs from the first.
#pragma once

#include "SkinPacker.h"

#include <cstdint>
#include <span>
#include <vector>

// The entries with every 24-bit uncompressed bitmap's colours inverted,
// magenta (the transparent colour) kept, packed into a container.
std::vector<uint8_t> InvertedSkin(std::vector<TSkinEntry> Entries);
// The entries of a packed container, in its order; raises EPackError when it
// cannot be read.
std::vector<TSkinEntry> SkinEntriesOf(std::span<const uint8_t> Container);
