// Text rules shared by the skin container and the ini parser: 8-bit text cut
// into lines as the class library cuts it, ASCII-only lower-casing and
// trimming of blanks and control bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Letters A to Z only; other bytes (GB2312 halves included) are kept.
std::string LowerCaseAZ(std::string_view text);
// Removes every byte up to and including 0x20 from both ends.
std::string_view TrimControl(std::string_view text);
// Lines end at CR, LF or CR LF (after a line one CR and then one LF are
// skipped, so LF CR leaves an empty line between); a NUL byte ends the text;
// a break at the very end adds no line.
std::vector<std::string> SplitTextLines(std::string_view text);
