// Frame building, hexadecimal text and the reader-address conversions.
#include "console/portable/Frames.h"

#include "classlib/portable/SysUtils.h"

namespace {

// Indexes travel as their low 8 bits, so "no entry selected" (-1) becomes 0xFF.
uint8_t Low8(int value) noexcept
{
    return static_cast<uint8_t>(static_cast<unsigned>(value) & 0xFF);
}

int HexDigitValue(unsigned char c) noexcept
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

[[noreturn]] void RaiseNotInteger(std::string_view text)
{
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

uint8_t AddressByte(const std::string& address)
{
    int64_t value = 0;
    if (!TryStrToInt64("$" + address, value)) RaiseNotInteger(address);
    return static_cast<uint8_t>(value & 0xFF);
}

} // namespace

std::optional<TBytes> BuildBaseFrame(TBaseSettings& settings)
{
    if (!settings.Wg26 && !settings.Wg34 && !settings.WgClose) {
        settings.Wg26 = true;
        return std::nullopt;
    }
    const uint8_t address = AddressByte(settings.Address);
    uint8_t level = 0x20;
    if (settings.Knob) settings.PowerIndex = KnobPowerIndex;
    else level = Low8(settings.PowerIndex + 1);
    const uint8_t wiegand = settings.Wg26 ? 0x1A : settings.Wg34 ? 0x22 : 0x00;
    return TBytes{0x08,
                  CmdBase,
                  address,
                  Low8(settings.BaudIndex + 1),
                  static_cast<uint8_t>(settings.Knob ? 0x00 : 0x01),
                  level,
                  wiegand,
                  static_cast<uint8_t>(settings.Rs232 ? 0x01 : 0x00),
                  static_cast<uint8_t>(settings.RelayEnable ? 0x01 : 0x00)};
}

std::optional<TBytes> BuildModeFrame(TModeSettings& settings)
{
    if (!settings.Continuous && !settings.Interval && !settings.Reentry) {
        settings.Continuous = true;
        return std::nullopt;
    }
    const uint8_t mode = settings.Continuous ? 0x01 : settings.Interval ? 0x02 : 0x03;
    return TBytes{0x05,
                  CmdMode,
                  mode,
                  Low8(settings.TimeIndex),
                  Low8(settings.UnitIndex),
                  static_cast<uint8_t>(settings.Active ? 0x00 : 0x01)};
}

TBytes BuildLockFrame(const TLockSettings& settings)
{
    return TBytes{0x06,
                  CmdLock,
                  static_cast<uint8_t>(settings.Wireless ? 0x01 : 0x00),
                  static_cast<uint8_t>(settings.Preread ? 0x01 : 0x00),
                  Low8(settings.LockTimeIndex),
                  Low8(settings.TriggerDelayIndex),
                  Low8(settings.FilterIndex)};
}

TBytes RestoreBaseFrame() { return {0x08, 0x01, 0x01, 0x01, 0x00, 0x20, 0x1A, 0x01, 0x01}; }
TBytes RestoreModeFrame() { return {0x05, 0x02, 0x01, 0x00, 0x00, 0x00}; }
TBytes RestoreLockFrame() { return {0x06, 0x03, 0x01, 0x01, 0x0A, 0x00, 0x00}; }

TBaseSettings RestoredBaseSettings() { return TBaseSettings{}; }
TModeSettings RestoredModeSettings() { return TModeSettings{}; }
TLockSettings RestoredLockSettings() { return TLockSettings{}; }

std::string BytesToHexText(const uint8_t* data, size_t length)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(length * 3);
    for (size_t i = 0; i < length; ++i) {
        if (i != 0) text += ' ';
        text += kDigits[data[i] >> 4];
        text += kDigits[data[i] & 15];
    }
    return text;
}

TBytes HexTextToBytes(std::string_view text)
{
    TBytes bytes;
    size_t pos = 0;
    const size_t n = text.size();
    while (pos < n) {
        while (pos < n && HexDigitValue(static_cast<unsigned char>(text[pos])) < 0) ++pos;
        if (pos == n) break;
        const int high = HexDigitValue(static_cast<unsigned char>(text[pos]));
        const int low = pos + 1 < n ? HexDigitValue(static_cast<unsigned char>(text[pos + 1])) : -1;
        bytes.push_back(static_cast<uint8_t>(low >= 0 ? high * 16 + low : high));
        // After a lone digit this also passes over the separator behind it.
        pos += 2;
    }
    return bytes;
}

TBytes FrameForSending(const TBytes& frame)
{
    return HexTextToBytes(BytesToHexText(frame));
}

std::string AddressDecimalToHex(std::string_view text)
{
    int64_t value = 0;
    bool hex = false;
    if (!TryStrToInt64(text, value, &hex) || hex || value < INT32_MIN || value > INT32_MAX) RaiseNotInteger(text);
    // A negative number shows as its 32-bit pattern, as the class library's IntToHex does.
    return IntToHex(static_cast<uint32_t>(static_cast<int32_t>(value)), 2);
}

char FilterAddressKey(char key) noexcept
{
    return key == '\b' || (key >= '0' && key <= '9') ? key : '\0';
}
