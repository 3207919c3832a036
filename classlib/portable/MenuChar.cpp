// Letter keys of an open menu.
#include "classlib/portable/MenuChar.h"

namespace {

// The first character the item shows: a leading '&' marks, it is not shown.
wchar_t FirstShown(std::wstring_view Text) noexcept
{
    if (Text.empty()) return 0;
    return Text[0] == L'&' && Text.size() > 1 ? Text[1] : Text[0];
}

}  // namespace

wchar_t MenuMnemonic(std::wstring_view Text) noexcept
{
    for (size_t i = 0; i + 1 < Text.size(); ++i) {
        if (Text[i] != L'&') continue;
        if (Text[i + 1] != L'&') return Text[i + 1];
        ++i;
    }
    return 0;
}

TMenuCharMatch MatchMenuChar(wchar_t Char, std::span<const TMenuCharEntry> Entries, TCharUpper Upper)
{
    const int count = static_cast<int>(Entries.size());
    if (Char == 0 || count == 0) return {};
    const wchar_t key = Upper(Char);
    int highlighted = -1;
    for (int i = 0; i < count && highlighted < 0; ++i)
        if (Entries[static_cast<size_t>(i)].Highlighted) highlighted = i;
    // The first position after the highlighted item (from the top when none is) that Fits.
    auto next = [&](auto Fits) {
        for (int step = 1; step <= count; ++step) {
            const int i = (highlighted + step) % count;
            if (Fits(Entries[static_cast<size_t>(i)])) return i;
        }
        return -1;
    };
    auto marks = [&](const TMenuCharEntry& E) {
        const wchar_t mnemonic = MenuMnemonic(E.Text);
        return mnemonic != 0 && Upper(mnemonic) == key;
    };
    int marked = 0;
    for (const TMenuCharEntry& e : Entries) marked += marks(e) ? 1 : 0;
    if (marked > 0) {
        const int at = next(marks);
        const bool runs = marked == 1 && Entries[static_cast<size_t>(at)].Enabled;
        return {runs ? TMenuCharAction::mcExecute : TMenuCharAction::mcSelect, at};
    }
    const int starting = next([&](const TMenuCharEntry& E) {
        const wchar_t first = FirstShown(E.Text);
        return first != 0 && Upper(first) == key;
    });
    if (starting < 0) return {};
    return {TMenuCharAction::mcSelect, starting};
}
