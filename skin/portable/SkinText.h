// Text rules shared by the skin container and the ini parser: 8-bit text cut
// into lines as the class library cuts it, ASCII-only lower-casing and
// trimming of blanks and control bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Letters A to Z only; other bytes (GB2312 halves included) are kept.
std::string LowerCaseAZ(std::string_view text);
char LowerCaseAZ(char c) noexcept;
// a lower-cased (A to Z) equals b exactly.
bool SameLowerCaseAZ(std::string_view a, std::string_view b) noexcept;
// Removes every byte up to and including 0x20 from both ends.
std::string_view TrimControl(std::string_view text);

// Lines end at CR, LF or CR LF (after a line one CR and then one LF are
// skipped, so LF CR leaves an empty line between); a NUL byte ends the text;
// a break at the very end adds no line. Lines are views into the text, so a
// caller keeps only the lines it wants.
class TTextLines {
public:
    explicit TTextLines(std::string_view text);
    // Line := the next line; false at the end of the text.
    bool Next(std::string_view& Line) noexcept;

private:
    std::string_view FText;
    size_t FPos = 0;
};

std::vector<std::string> SplitTextLines(std::string_view text);
