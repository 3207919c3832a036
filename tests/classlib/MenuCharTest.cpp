#include "classlib/portable/MenuChar.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// ASCII and one non-ASCII pair (Cyrillic zhe) are enough to see both sides folded.
wchar_t TestUpper(wchar_t c)
{
    if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - L'a' + L'A');
    return c == L'\u0436' ? L'\u0416' : c;
}

TEST(MenuChar, LettersRunSelectOrPassAsInNativeMenus)
{
    using enum TMenuCharAction;
    // Positions 0 to 7; a separator at 2, Exit disabled.
    const std::vector<TMenuCharEntry> menu{{L"&Open"}, {L"Sa&ve"}, {L""}, {L"&Print"}, {L"&Page"},
                                           {L"E&xit", false}, {L"&\u0416\u0443\u043a"}, {L"a&&b"}};
    auto with = [&](int Highlighted) {
        std::vector<TMenuCharEntry> entries = menu;
        if (Highlighted >= 0) entries[static_cast<size_t>(Highlighted)].Highlighted = true;
        return entries;
    };
    const struct {
        wchar_t Char;
        int Highlighted;
        TMenuCharAction Action;
        int Position;
    } kCases[] = {
        {L'o', -1, mcExecute, 0},  // the one mnemonic, either case
        {L'V', 3, mcExecute, 1},
        {L'\u0436', -1, mcExecute, 6},
        {L'x', -1, mcSelect, 5},  // disabled: selected, not run
        {L'p', -1, mcSelect, 3},  // shared mnemonic: the next after the highlight
        {L'p', 3, mcSelect, 4},
        {L'p', 4, mcSelect, 3},  // wrapping round
        {L's', 0, mcSelect, 1},  // marks none: the next item starting with it
        {L'e', 6, mcSelect, 5},
        {L'b', -1, mcIgnore, -1},  // "&&" marks nothing
        {L'q', 2, mcIgnore, -1},
    };
    for (const auto& c : kCases) {
        const TMenuCharMatch m = MatchMenuChar(c.Char, with(c.Highlighted), TestUpper);
        EXPECT_EQ(m.Action, c.Action) << static_cast<int>(c.Char) << " " << c.Highlighted;
        EXPECT_EQ(m.Position, c.Position) << static_cast<int>(c.Char) << " " << c.Highlighted;
    }
    EXPECT_EQ(MenuMnemonic(L"&&&x"), L'x');
    EXPECT_EQ(MenuMnemonic(L"a&"), 0);
}

}  // namespace
