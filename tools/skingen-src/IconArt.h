// The program's icon: a tag sending radio waves on a tile in the default
// skin's colours, as a .ico file. console/CMakeLists.txt links it into both
// editions as the icon group "MAINICON" (regenerate it with
// tools/skingen --icon console/tagbench.ico).
#pragma once

#include <cstdint>
#include <vector>

// One image per size the system asks for: small and large icons at 100, 125,
// 150 and 200 per cent.
inline constexpr int ProgramIconSizes[] = {16, 20, 24, 32, 40, 48, 64};

// Icon directory, then per size a 40-byte info header with the height
// doubled, 32-bit blue-green-red-alpha pixels (straight alpha) and a 1-bit
// mask, both bottom-up with rows padded to four bytes.
std::vector<uint8_t> ProgramIconFile();
