// Command frames built from the window's settings, the Restore frames, and the
// reader-address field's conversions.
#include "classlib/portable/SysUtils.h"
#include "console/portable/FrameParse.h"
#include "console/portable/Frames.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct TBaseRow {
    const char* Name;
    std::function<void(TBaseSettings&)> Change;
    TBytes Expected;
};

struct TModeRow {
    const char* Name;
    std::function<void(TModeSettings&)> Change;
    TBytes Expected;
};

struct TLockRow {
    const char* Name;
    std::function<void(TLockSettings&)> Change;
    TBytes Expected;
};

} // namespace

TEST(Frames, BaseFrameFollowsEveryControl)
{
    const TBaseRow rows[] = {
        {"stored values", [](TBaseSettings&) {}, {0x08, 0x01, 0x01, 0x01, 0x00, 0x20, 0x1A, 0x01, 0x01}},
        {"address 3E7 keeps low byte", [](TBaseSettings& s) { s.Address = "3E7"; }, {0x08, 0x01, 0xE7, 0x01, 0x00, 0x20, 0x1A, 0x01, 0x01}},
        {"address lower case", [](TBaseSettings& s) { s.Address = "fe"; }, {0x08, 0x01, 0xFE, 0x01, 0x00, 0x20, 0x1A, 0x01, 0x01}},
        {"address 0", [](TBaseSettings& s) { s.Address = "0"; }, {0x08, 0x01, 0x00, 0x01, 0x00, 0x20, 0x1A, 0x01, 0x01}},
        {"115200 bit/s", [](TBaseSettings& s) { s.BaudIndex = 4; }, {0x08, 0x01, 0x01, 0x05, 0x00, 0x20, 0x1A, 0x01, 0x01}},
        {"38400 bit/s", [](TBaseSettings& s) { s.BaudIndex = 2; }, {0x08, 0x01, 0x01, 0x03, 0x00, 0x20, 0x1A, 0x01, 0x01}},
        {"baud rate typed, no entry", [](TBaseSettings& s) { s.BaudIndex = -1; }, {0x08, 0x01, 0x01, 0x00, 0x00, 0x20, 0x1A, 0x01, 0x01}},
        {"soft level 5", [](TBaseSettings& s) { s.Knob = false; s.PowerIndex = 4; }, {0x08, 0x01, 0x01, 0x01, 0x01, 0x05, 0x1A, 0x01, 0x01}},
        {"soft level 1", [](TBaseSettings& s) { s.Knob = false; s.PowerIndex = 0; }, {0x08, 0x01, 0x01, 0x01, 0x01, 0x01, 0x1A, 0x01, 0x01}},
        {"soft level typed", [](TBaseSettings& s) { s.Knob = false; s.PowerIndex = -1; }, {0x08, 0x01, 0x01, 0x01, 0x01, 0x00, 0x1A, 0x01, 0x01}},
        {"knob ignores level box", [](TBaseSettings& s) { s.PowerIndex = 4; }, {0x08, 0x01, 0x01, 0x01, 0x00, 0x20, 0x1A, 0x01, 0x01}},
        {"WG34", [](TBaseSettings& s) { s.Wg26 = false; s.Wg34 = true; }, {0x08, 0x01, 0x01, 0x01, 0x00, 0x20, 0x22, 0x01, 0x01}},
        {"WG close", [](TBaseSettings& s) { s.Wg26 = false; s.WgClose = true; }, {0x08, 0x01, 0x01, 0x01, 0x00, 0x20, 0x00, 0x01, 0x01}},
        {"TAVIR485", [](TBaseSettings& s) { s.Rs232 = false; }, {0x08, 0x01, 0x01, 0x01, 0x00, 0x20, 0x1A, 0x00, 0x01}},
        {"relay disabled", [](TBaseSettings& s) { s.RelayEnable = false; }, {0x08, 0x01, 0x01, 0x01, 0x00, 0x20, 0x1A, 0x01, 0x00}},
    };
    for (const auto& row : rows) {
        TBaseSettings settings;
        row.Change(settings);
        const auto frame = BuildBaseFrame(settings);
        ASSERT_TRUE(frame.has_value()) << row.Name;
        EXPECT_EQ(*frame, row.Expected) << row.Name;
    }
}

TEST(Frames, KnobSettingPutsLevelBoxBackTo32)
{
    TBaseSettings settings;
    settings.PowerIndex = 4;
    ASSERT_TRUE(BuildBaseFrame(settings).has_value());
    EXPECT_EQ(settings.PowerIndex, KnobPowerIndex);

    settings.Knob = false;
    settings.PowerIndex = 4;
    ASSERT_TRUE(BuildBaseFrame(settings).has_value());
    EXPECT_EQ(settings.PowerIndex, 4);
}

TEST(Frames, BaseFrameWithoutWiegandChoiceSendsNothingAndChecksWg26)
{
    TBaseSettings settings;
    settings.Wg26 = false;
    settings.Address = "not hex";
    EXPECT_FALSE(BuildBaseFrame(settings).has_value());
    EXPECT_TRUE(settings.Wg26);
}

TEST(Frames, NonHexAddressRaisesConversionError)
{
    for (const char* address : {"", " ", "G1", "1G", "-1", "$1", "0x1", "1 2", "\xA3\xB1", "100000000"}) {
        TBaseSettings settings;
        settings.Address = address;
        EXPECT_THROW(BuildBaseFrame(settings), EConvertError) << address;
    }
}

TEST(Frames, ModeFrameFollowsEveryControl)
{
    const TModeRow rows[] = {
        {"values shown at start", [](TModeSettings&) {}, {0x05, 0x02, 0x01, 0x14, 0x00, 0x00}},
        {"interval", [](TModeSettings& s) { s.Continuous = false; s.Interval = true; }, {0x05, 0x02, 0x02, 0x14, 0x00, 0x00}},
        {"re-entry", [](TModeSettings& s) { s.Continuous = false; s.Reentry = true; }, {0x05, 0x02, 0x03, 0x14, 0x00, 0x00}},
        {"time 255", [](TModeSettings& s) { s.TimeIndex = 255; }, {0x05, 0x02, 0x01, 0xFF, 0x00, 0x00}},
        {"time typed", [](TModeSettings& s) { s.TimeIndex = -1; }, {0x05, 0x02, 0x01, 0xFF, 0x00, 0x00}},
        {"minutes", [](TModeSettings& s) { s.UnitIndex = 1; }, {0x05, 0x02, 0x01, 0x14, 0x01, 0x00}},
        {"unit typed", [](TModeSettings& s) { s.UnitIndex = -1; }, {0x05, 0x02, 0x01, 0x14, 0xFF, 0x00}},
        {"response", [](TModeSettings& s) { s.Active = false; }, {0x05, 0x02, 0x01, 0x14, 0x00, 0x01}},
    };
    for (const auto& row : rows) {
        TModeSettings settings;
        row.Change(settings);
        const auto frame = BuildModeFrame(settings);
        ASSERT_TRUE(frame.has_value()) << row.Name;
        EXPECT_EQ(*frame, row.Expected) << row.Name;
    }
}

TEST(Frames, ModeFrameWithoutReadingModeSendsNothingAndChecksContinuous)
{
    TModeSettings settings;
    settings.Continuous = false;
    EXPECT_FALSE(BuildModeFrame(settings).has_value());
    EXPECT_TRUE(settings.Continuous);
}

TEST(Frames, LockFrameFollowsEveryControl)
{
    const TLockRow rows[] = {
        {"values shown at start", [](TLockSettings&) {}, {0x06, 0x03, 0x01, 0x01, 0x0A, 0x00, 0x00}},
        {"no wireless", [](TLockSettings& s) { s.Wireless = false; }, {0x06, 0x03, 0x00, 0x01, 0x0A, 0x00, 0x00}},
        {"no pre-read", [](TLockSettings& s) { s.Preread = false; }, {0x06, 0x03, 0x01, 0x00, 0x0A, 0x00, 0x00}},
        {"times", [](TLockSettings& s) { s.LockTimeIndex = 255; s.TriggerDelayIndex = 7; s.FilterIndex = 128; }, {0x06, 0x03, 0x01, 0x01, 0xFF, 0x07, 0x80}},
        {"times typed", [](TLockSettings& s) { s.LockTimeIndex = -1; s.TriggerDelayIndex = -1; s.FilterIndex = -1; }, {0x06, 0x03, 0x01, 0x01, 0xFF, 0xFF, 0xFF}},
    };
    for (const auto& row : rows) {
        TLockSettings settings;
        row.Change(settings);
        EXPECT_EQ(BuildLockFrame(settings), row.Expected) << row.Name;
    }
}

TEST(Frames, RestoreFramesAndTheValuesTheyPutBack)
{
    EXPECT_EQ(RestoreBaseFrame(), (TBytes{0x08, 0x01, 0x01, 0x01, 0x00, 0x20, 0x1A, 0x01, 0x01}));
    EXPECT_EQ(RestoreModeFrame(), (TBytes{0x05, 0x02, 0x01, 0x00, 0x00, 0x00}));
    EXPECT_EQ(RestoreLockFrame(), (TBytes{0x06, 0x03, 0x01, 0x01, 0x0A, 0x00, 0x00}));

    TBaseSettings base = RestoredBaseSettings();
    EXPECT_EQ(BuildBaseFrame(base), RestoreBaseFrame());
    EXPECT_EQ(BuildLockFrame(RestoredLockSettings()), RestoreLockFrame());
    // The general-mode factory frame carries time 0 while the box shows 20.
    TModeSettings mode = RestoredModeSettings();
    EXPECT_EQ(mode.TimeIndex, 20);
    EXPECT_EQ(mode.UnitIndex, 0);
    EXPECT_NE(BuildModeFrame(mode), RestoreModeFrame());
}

TEST(Frames, SendingPassesEveryFrameThroughHexTextUnchanged)
{
    TBaseSettings base;
    base.BaudIndex = -1;
    TModeSettings mode;
    mode.UnitIndex = -1;
    TLockSettings lock;
    lock.FilterIndex = -1;
    const TBytes frames[] = {*BuildBaseFrame(base), *BuildModeFrame(mode), BuildLockFrame(lock),
                             RestoreBaseFrame(), RestoreModeFrame(), RestoreLockFrame()};
    for (const auto& frame : frames) EXPECT_EQ(FrameForSending(frame), frame) << BytesToHexText(frame);
    EXPECT_EQ(BytesToHexText(RestoreBaseFrame()), "08 01 01 01 00 20 1A 01 01");
    EXPECT_EQ(BytesToHexText(TBytes{}), "");
}

TEST(Frames, ReaderTakesWhatTheWindowBuildsWithEveryEntryChosen)
{
    TBaseSettings base;
    base.Address = "7F";
    base.BaudIndex = 3;
    base.Knob = false;
    base.PowerIndex = 9;
    base.Wg26 = false;
    base.Wg34 = true;
    base.Rs232 = false;
    const TBytes baseFrame = *BuildBaseFrame(base);
    const TParsedFrame parsedBase = ParseFrame(baseFrame.data(), baseFrame.size());
    ASSERT_EQ(parsedBase.Fault, TFrameFault::None);
    EXPECT_EQ(parsedBase.Base.Address, 0x7F);
    EXPECT_EQ(BaudRateOfCode(parsedBase.Base.BaudCode), 57600u);
    EXPECT_EQ(parsedBase.Base.PowerControl, PowerSoft);
    EXPECT_EQ(parsedBase.Base.PowerLevel, 10);
    EXPECT_EQ(parsedBase.Base.Wiegand, Wiegand34);
    EXPECT_EQ(parsedBase.Base.SerialFormat, 0);
    EXPECT_EQ(parsedBase.Base.Relay, 1);

    TModeSettings mode;
    mode.Continuous = false;
    mode.Reentry = true;
    mode.UnitIndex = 1;
    mode.Active = false;
    const TBytes modeFrame = *BuildModeFrame(mode);
    const TParsedFrame parsedMode = ParseFrame(modeFrame.data(), modeFrame.size());
    ASSERT_EQ(parsedMode.Fault, TFrameFault::None);
    EXPECT_EQ(parsedMode.Mode.Mode, ModeReentry);
    EXPECT_EQ(parsedMode.Mode.Time, 20);
    EXPECT_EQ(parsedMode.Mode.Unit, UnitMinute);
    EXPECT_EQ(parsedMode.Mode.Sending, SendingResponse);

    const TBytes lockFrame = RestoreLockFrame();
    const TParsedFrame parsedLock = ParseFrame(lockFrame.data(), lockFrame.size());
    ASSERT_EQ(parsedLock.Fault, TFrameFault::None);
    EXPECT_EQ(parsedLock.Lock.LockTime, 10);
}

TEST(Frames, ReaderRejectsFramesItCannotTake)
{
    struct TRow {
        TBytes Frame;
        TFrameFault Fault;
    };
    const TRow rows[] = {
        {{0x00}, TFrameFault::NoCommand},
        {{0x01, 0x07}, TFrameFault::UnknownCommand},
        {{0x02, 0x00, 0x00}, TFrameFault::UnknownCommand},
        {{0x05, 0x01, 0x01, 0x01, 0x00, 0x20}, TFrameFault::WrongLength},
        {{0x06, 0x02, 0x01, 0x14, 0x00, 0x00, 0x00}, TFrameFault::WrongLength},
        {{0x01, 0x03}, TFrameFault::WrongLength},
        {{0x08, 0x01, 0x01, 0x00, 0x00, 0x20, 0x1A, 0x01, 0x01}, TFrameFault::OutOfRange},  // baud code 0
        {{0x08, 0x01, 0x01, 0x06, 0x00, 0x20, 0x1A, 0x01, 0x01}, TFrameFault::OutOfRange},  // baud code 6
        {{0x08, 0x01, 0x01, 0x01, 0x01, 0x00, 0x1A, 0x01, 0x01}, TFrameFault::OutOfRange},  // level 0
        {{0x08, 0x01, 0x01, 0x01, 0x01, 0x21, 0x1A, 0x01, 0x01}, TFrameFault::OutOfRange},  // level 33
        {{0x08, 0x01, 0x01, 0x01, 0x02, 0x20, 0x1A, 0x01, 0x01}, TFrameFault::OutOfRange},  // power control
        {{0x08, 0x01, 0x01, 0x01, 0x00, 0x20, 0x1B, 0x01, 0x01}, TFrameFault::OutOfRange},  // Wiegand
        {{0x08, 0x01, 0x01, 0x01, 0x00, 0x20, 0x1A, 0x02, 0x01}, TFrameFault::OutOfRange},
        {{0x08, 0x01, 0x01, 0x01, 0x00, 0x20, 0x1A, 0x01, 0xFF}, TFrameFault::OutOfRange},
        {{0x05, 0x02, 0x00, 0x14, 0x00, 0x00}, TFrameFault::OutOfRange},  // mode 0
        {{0x05, 0x02, 0x04, 0x14, 0x00, 0x00}, TFrameFault::OutOfRange},
        {{0x05, 0x02, 0x01, 0x14, 0xFF, 0x00}, TFrameFault::OutOfRange},  // unit typed
        {{0x05, 0x02, 0x01, 0x14, 0x00, 0x02}, TFrameFault::OutOfRange},
        {{0x06, 0x03, 0x02, 0x01, 0x0A, 0x00, 0x00}, TFrameFault::OutOfRange},
        {{0x06, 0x03, 0x01, 0xFF, 0x0A, 0x00, 0x00}, TFrameFault::OutOfRange},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ParseFrame(row.Frame.data(), row.Frame.size()).Fault, row.Fault) << BytesToHexText(row.Frame);
}

TEST(AddressField, LeavingTurnsDecimalIntoHex)
{
    const std::pair<const char*, const char*> rows[] = {
        {"1", "01"}, {"10", "0A"}, {"12", "0C"}, {"255", "FF"}, {"999", "3E7"}, {"0", "00"}, {"007", "07"}, {"01", "01"},
    };
    for (const auto& [typed, shown] : rows) EXPECT_EQ(AddressDecimalToHex(typed), shown) << typed;
    // Leaving again after a conversion that produced a letter, or leaving it empty.
    for (const char* bad : {"0A", "3E7", "", "$FF", "0x1", "1.5"}) EXPECT_THROW(AddressDecimalToHex(bad), EConvertError) << bad;
}

TEST(AddressField, KeyFilterPassesDigitsAndBackspaceOnly)
{
    for (int c = 0; c < 256; ++c) {
        const char key = static_cast<char>(c);
        const bool passes = c == 8 || (c >= '0' && c <= '9');
        EXPECT_EQ(FilterAddressKey(key), passes ? key : '\0') << c;
    }
}
