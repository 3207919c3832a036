// Frame checks and decoding as a reader applies them.
#include "console/portable/FrameParse.h"

#include "console/portable/Frames.h"

namespace {

bool Flag(uint8_t value) noexcept { return value <= 1; }

bool InRange(uint8_t value, uint8_t first, uint8_t last) noexcept { return value >= first && value <= last; }

size_t ParameterCount(uint8_t command) noexcept
{
    switch (command) {
    case CmdBase: return 7;
    case CmdMode: return 4;
    case CmdLock: return 5;
    default: return 0;
    }
}

} // namespace

TParsedFrame ParseFrame(const uint8_t* data, size_t length)
{
    TParsedFrame frame;
    if (length < 2 || data[0] < 1) return frame;
    frame.Command = data[1];
    const size_t parameters = ParameterCount(frame.Command);
    if (parameters == 0) {
        frame.Fault = TFrameFault::UnknownCommand;
        return frame;
    }
    if (data[0] != parameters + 1 || length != FrameSize(data[0])) {
        frame.Fault = TFrameFault::WrongLength;
        return frame;
    }
    const uint8_t* p = data + 2;
    bool ok = false;
    switch (frame.Command) {
    case CmdBase: {
        const TReaderBase b{p[0], p[1], p[2], p[3], p[4], p[5], p[6]};
        ok = InRange(b.BaudCode, BaudCodeFirst, BaudCodeLast) && Flag(b.PowerControl) &&
             InRange(b.PowerLevel, PowerLevelFirst, PowerLevelLast) &&
             (b.Wiegand == Wiegand26 || b.Wiegand == Wiegand34 || b.Wiegand == WiegandClose) && Flag(b.SerialFormat) &&
             Flag(b.Relay);
        if (ok) frame.Base = b;
        break;
    }
    case CmdMode: {
        const TReaderMode m{p[0], p[1], p[2], p[3]};
        ok = InRange(m.Mode, ModeContinuous, ModeReentry) && Flag(m.Unit) && Flag(m.Sending);
        if (ok) frame.Mode = m;
        break;
    }
    case CmdLock: {
        const TReaderLock l{p[0], p[1], p[2], p[3], p[4]};
        ok = Flag(l.Wireless) && Flag(l.Preread);
        if (ok) frame.Lock = l;
        break;
    }
    }
    frame.Fault = ok ? TFrameFault::None : TFrameFault::OutOfRange;
    return frame;
}

unsigned BaudRateOfCode(uint8_t code) noexcept
{
    static const unsigned kRates[] = {9600, 19200, 38400, 57600, 115200};
    return InRange(code, BaudCodeFirst, BaudCodeLast) ? kRates[code - BaudCodeFirst] : 0;
}
