// The letter keys of an open menu as native menus take them. The system
// matches no letter of an owner-drawn item and asks the menu's owner
// (WM_MENUCHAR); this is the matching behind every answer the class library
// and the skin give, with the menu read out of its HMENU by the caller.
#pragma once

#include <span>
#include <string_view>

// The character after the first single '&' ("&&" is a plain '&'); 0 when none.
wchar_t MenuMnemonic(std::wstring_view Text) noexcept;

// One item of the menu, at its position.
struct TMenuCharEntry {
    std::wstring_view Text;  // empty for separators and items without text
    bool Enabled = true;
    bool Highlighted = false;
};

enum class TMenuCharAction { mcIgnore, mcExecute, mcSelect };

struct TMenuCharMatch {
    TMenuCharAction Action = TMenuCharAction::mcIgnore;
    int Position = -1;
};

// Upper case of one character by the caller's rule (the system's on Windows).
using TCharUpper = wchar_t (*)(wchar_t);

// What Char does, compared without regard to case: the one item it marks as
// mnemonic runs (is only selected when disabled); of several so marked, the
// next after the highlighted item is selected, wrapping; a letter that marks
// none selects the next item whose text starts with it; else nothing.
TMenuCharMatch MatchMenuChar(wchar_t Char, std::span<const TMenuCharEntry> Entries, TCharUpper Upper);
