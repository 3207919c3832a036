#include "SysUtils.h"

#include <cstdint>


namespace {

// Decimal, "$hex" or "0xhex" with an optional sign; no more than 32 bits of
// magnitude. Sets `hex` when the text was hexadecimal.
bool ParseInt(std::string_view text, int64_t& out, bool& hex)
{
    size_t i = 0, n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    while (n > i && (text[n - 1] == ' ' || text[n - 1] == '\t')) --n;
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int base = 10;
    if (i < n && text[i] == '$') {
        base = 16;
        ++i;
    } else if (n - i > 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == n) return false;
    uint64_t value = 0;
    for (; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        value = value * base + digit;
        if (value > 0xFFFFFFFFull) return false;
    }
    hex = base == 16;
    out = negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
    return true;
}

} // namespace

bool TryStrToInt64(std::string_view text, int64_t& value, bool* hex)
{
    bool isHex = false;
    if (!ParseInt(text, value, isHex)) return false;
    if (hex != nullptr) *hex = isHex;
    return true;
}

namespace {

bool ParseInt32(std::string_view text, int32_t& out)
{
    int64_t v;
    bool hex;
    if (!ParseInt(text, v, hex)) return false;
    // Eight hexadecimal digits wrap to the 32-bit value, as the class library does.
    if (hex && v >= 0) v = static_cast<int32_t>(static_cast<uint32_t>(v));
    if (v < INT32_MIN || v > INT32_MAX) return false;
    out = static_cast<int32_t>(v);
    return true;
}

} // namespace

int32_t StrToInt(std::string_view text)
{
    int32_t value;
    if (!ParseInt32(text, value)) throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

int32_t StrToIntDef(std::string_view text, int32_t fallback)
{
    int32_t value;
    return ParseInt32(text, value) ? value : fallback;
}

std::string IntToHex(int64_t value, int digits)
{
    static const char kDigits[] = "0123456789ABCDEF";
    uint64_t v = static_cast<uint64_t>(value);
    std::string out;
    do {
        out.insert(out.begin(), kDigits[v & 15]);
        v >>= 4;
    } while (v != 0);
    if (static_cast<int>(out.size()) < digits) out.insert(0, digits - out.size(), '0');
    return out;
}

bool SameText(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
    }
    return true;
}
