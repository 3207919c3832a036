// The reader's side of the command frames: whether a reader takes a frame and
// the settings it carries. The simulated reader and the tests share it.
#pragma once

#include <cstddef>
#include <cstdint>

enum class TFrameFault { None, NoCommand, UnknownCommand, WrongLength, OutOfRange };

enum : uint8_t {
    BaudCodeFirst = 1, BaudCodeLast = 5,              // 9600 ... 115200 bit/s
    PowerKnob = 0, PowerSoft = 1,
    PowerLevelFirst = 1, PowerLevelLast = 32,
    WiegandClose = 0x00, Wiegand26 = 0x1A, Wiegand34 = 0x22,
    ModeContinuous = 1, ModeInterval = 2, ModeReentry = 3,
    UnitSecond = 0, UnitMinute = 1,
    SendingActive = 0, SendingResponse = 1,
};

struct TReaderBase {
    uint8_t Address = 0x01;
    uint8_t BaudCode = 1;
    uint8_t PowerControl = PowerKnob;
    uint8_t PowerLevel = 32;
    uint8_t Wiegand = Wiegand26;
    uint8_t SerialFormat = 1;     // 1 RS232/RS485, 0 TAVIR485
    uint8_t Relay = 1;            // 1 enabled
};

struct TReaderMode {
    uint8_t Mode = ModeContinuous;
    uint8_t Time = 0;
    uint8_t Unit = UnitSecond;
    uint8_t Sending = SendingActive;
};

struct TReaderLock {
    uint8_t Wireless = 1;
    uint8_t Preread = 1;
    uint8_t LockTime = 10;
    uint8_t TriggerDelay = 0;
    uint8_t Filter = 0;
};

struct TParsedFrame {
    TFrameFault Fault = TFrameFault::NoCommand;
    uint8_t Command = 0;
    TReaderBase Base;             // valid for command 01 without fault
    TReaderMode Mode;             // command 02
    TReaderLock Lock;             // command 03
};

// Bytes a frame occupies on the line, its length byte included.
constexpr size_t FrameSize(uint8_t lengthByte) noexcept { return size_t{lengthByte} + 1; }

// `data` holds one whole frame: FrameSize(data[0]) bytes, no fewer. The
// settings of a faulty frame are the defaults above.
TParsedFrame ParseFrame(const uint8_t* data, size_t length);

// 9600 ... 115200 for the codes 1 ... 5, else 0.
unsigned BaudRateOfCode(uint8_t code) noexcept;
