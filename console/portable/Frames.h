// The reader's command frames as the main window builds them from its controls,
// the hexadecimal text that every send passes through, and the reader-address
// field's conversions. A frame is its length byte, the command, the parameters.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using TBytes = std::vector<uint8_t>;

// What the base-parameter group shows. Of each exactly-one pair the window
// reads the first box; the Wiegand boxes may all be unchecked.
struct TBaseSettings {
    std::string Address = "01";   // Edit4, hexadecimal
    int BaudIndex = 0;            // ComboBox3 (the window refuses text that is no entry)
    bool Knob = true;             // CheckBox1 (else CheckBox2 "Soft setting")
    int PowerIndex = 31;          // ComboBox4
    bool Wg26 = true;             // CheckBox3
    bool Wg34 = false;            // CheckBox4
    bool WgClose = false;         // CheckBox5
    bool Rs232 = true;            // CheckBox6 (else CheckBox7 "TAVIR485")
    bool RelayEnable = true;      // CheckBox8 (else CheckBox9)
};

// What the general-mode group shows; the mode boxes may all be unchecked.
struct TModeSettings {
    bool Continuous = true;       // CheckBox10
    bool Interval = false;        // CheckBox11
    bool Reentry = false;         // CheckBox12
    int TimeIndex = 20;           // ComboBox5
    int UnitIndex = 0;            // ComboBox6: 0 second, 1 minute
    bool Active = true;           // CheckBox13 (else CheckBox14 "Response")
};

// What the interlock group shows.
struct TLockSettings {
    bool Wireless = true;         // CheckBox15
    bool Preread = true;          // CheckBox16
    int LockTimeIndex = 10;       // ComboBox7
    int TriggerDelayIndex = 0;    // ComboBox8
    int FilterIndex = 0;          // ComboBox9
};

enum : uint8_t { CmdBase = 0x01, CmdMode = 0x02, CmdLock = 0x03 };

// The level box shows its entry "32" whenever the knob sets the power.
constexpr int KnobPowerIndex = 31;

// Frame 01. Without a Wiegand choice it sends nothing: it returns no frame and
// checks WG26, the caller shows "select WG". In knob mode it selects level 32.
// Raises EConvertError when the address is not hexadecimal text.
std::optional<TBytes> BuildBaseFrame(TBaseSettings& settings);
// Frame 02. Without a reading mode it returns no frame and checks
// "continuous"; the caller shows "select mode".
std::optional<TBytes> BuildModeFrame(TModeSettings& settings);
// Frame 03.
TBytes BuildLockFrame(const TLockSettings& settings);

// Factory frames of the Restore buttons, and what their groups show afterwards.
// The general-mode frame carries time value 0 though the box shows index 20.
TBytes RestoreBaseFrame();
TBytes RestoreModeFrame();
TBytes RestoreLockFrame();
TBaseSettings RestoredBaseSettings();
TModeSettings RestoredModeSettings();
TLockSettings RestoredLockSettings();

// "08 01 01": two upper-case digits per byte, one blank between bytes.
std::string BytesToHexText(const uint8_t* data, size_t length);
inline std::string BytesToHexText(const TBytes& bytes) { return BytesToHexText(bytes.data(), bytes.size()); }

// Bytes from hexadecimal text: anything but the ASCII digits 0-9, A-F, a-f
// separates; two adjacent digits make a byte, a digit standing alone makes one.
TBytes HexTextToBytes(std::string_view text);

// The serial component counts the bytes of one send in 16 bits: longer text
// is refused as a whole rather than sent cut short.
constexpr size_t MaxSendLength = 65535;

// What every Setting and Restore sends: the frame rendered as hexadecimal text
// and read back, the same path as the raw "Send".
TBytes FrameForSending(const TBytes& frame);

// Edit4 on leaving: decimal text to at least two upper-case hexadecimal digits
// (12 -> "0C"). Raises EConvertError for text that is not a decimal integer.
std::string AddressDecimalToHex(std::string_view text);
// Edit4 key filter: digits and backspace pass, anything else becomes 0 (dropped).
char FilterAddressKey(char key) noexcept;
