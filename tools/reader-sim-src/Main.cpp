// reader-sim: a simulated RFID reader on a pseudo-terminal. Options, the poll
// loop and the printing; the protocol itself is TSimReader.
#include "SimLine.h"
#include "SimReader.h"

#include "classlib/portable/SysUtils.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <string>
#include <unistd.h>

namespace {

const char kHelp[] = R"(usage: reader-sim [options] PTY
       reader-sim [options] --pair LINK

A simulated 2.4 GHz RFID reader on a pseudo-terminal, for trying Tagbench
without the device. It takes command frames (a length byte, then that many
bytes), answers "6" for a frame it accepts and "9" for one it rejects, prints
every frame it takes as one line of spaced hexadecimal on standard output, and
sends tag reports: "02", the reader address in two hexadecimal digits, the
ten-digit tag number, CR LF (for instance 02010000BC614E).

  PTY            the terminal device to serve (for instance one end of a pty
                 pair that socat made)
  --pair LINK    run socat for a pty pair and serve one end; LINK becomes a
                 symbolic link to the other end once the reader listens, and is
                 removed when it exits
  --tags LIST    tag numbers to report, comma-separated, hexadecimal, one to ten
                 digits each (leading zeros are added; the case is kept)
  --rate R       R reports per second, or "Rms" for one every R ms (default 1)
  --count N      send no more than N reports in all (answering goes on)
  --once         exit once the first answer has been sent (and 200 ms more)
  --quiet        write nothing to standard error but failures
  -h, --help     this text

Frames: 01 base parameters (8 bytes follow), 02 reading mode (5), 03 interlock
mode (6). A frame is rejected with "9" for an unknown command, a length that
does not fit its command, or a value out of range: baud-rate code other than
1-5, power control other than 0/1, power level other than 1-32, Wiegand other
than 1A/22/00, mode other than 1-3, time unit other than 0/1, any on/off byte
other than 0/1. Bytes that do not make a whole frame before the line has been
quiet for 150 ms are garbage: answered "9" once and dropped.

Reporting starts at once with the factory settings (continuous, active
sending). At each step of --rate the next tag of the list is in front of the
reader:
  continuous  it is reported at every step;
  interval    it is reported if its last report is at least the set time ago;
  re-entry    it is reported when it comes back after being away longer than
              the set time; a tag is away while the other tags of the list take
              their turns, so a single tag is reported once only;
  response    nothing is reported: the reader knows no poll command, so
              nothing ever asks for a report.
Each accepted reading-mode frame starts the tags' history afresh. Answers and
reports are kept 150 ms apart so that each reaches Tagbench as a chunk of its
own. While 4 KiB wait for a line that nobody reads, new reports are dropped.
Standard output must be read, or the reader waits for it.

Not simulated: the baud-rate code of frame 01 is only recorded (a pty has no
baud rate); the power, Wiegand, serial-format and relay settings are only
recorded; the interlock frame is only recorded (no wireless partners, no
trigger input); there is no radio, so tags come and go only as said above.
Exits on SIGINT, SIGTERM or SIGHUP, when the line closes, and after --once.
)";

constexpr int kOnceLingerMs = 200;

struct TOptions {
    std::string Path;
    std::string PairLink;
    TSimReader::TConfig Config;
    bool Once = false;
    bool Quiet = false;
};

int gSignalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(gSignalPipe[1], &byte, 1);
    errno = saved;
}

bool ParseTags(const std::string& list, std::vector<std::string>& tags)
{
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        std::string tag = list.substr(start, comma - start);
        if (tag.empty() || tag.size() > 10) return false;
        for (const char c : tag)
            if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        tags.push_back(std::string(10 - tag.size(), '0') + tag);
        start = comma + 1;
    }
    return true;
}

bool ParseRate(const std::string& text, std::chrono::milliseconds& period)
{
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || end == text.c_str() || !(value > 0)) return false;
    const std::string unit(end);
    double ms = 0;
    if (unit == "ms") ms = value;
    else if (unit.empty()) ms = 1000.0 / value;
    else return false;
    if (ms < 1 || ms > 86400000.0) return false;
    period = std::chrono::milliseconds(static_cast<long>(ms + 0.5));
    return true;
}

// Returns 0 to go on, 2 for a usage error, -1 when --help has been answered.
int ParseOptions(int argc, char** argv, TOptions& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string v;
        if (arg == "-h" || arg == "--help") {
            std::fputs(kHelp, stdout);
            return -1;
        } else if (arg == "--pair") {
            if (!value(options.PairLink) || options.PairLink.empty()) return 2;
        } else if (arg == "--tags") {
            if (!value(v) || !ParseTags(v, options.Config.Tags)) return 2;
        } else if (arg == "--rate") {
            if (!value(v) || !ParseRate(v, options.Config.Period)) return 2;
        } else if (arg == "--count") {
            int64_t count = 0;
            bool hex = false;
            if (!value(v) || !TryStrToInt64(v, count, &hex) || hex || count < 0) return 2;
            options.Config.Count = static_cast<long>(count);
        } else if (arg == "--once") {
            options.Once = true;
        } else if (arg == "--quiet") {
            options.Quiet = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return 2;
        } else if (options.Path.empty()) {
            options.Path = arg;
        } else {
            return 2;
        }
    }
    return options.Path.empty() == options.PairLink.empty() ? 2 : 0;
}

const char* FaultText(TFrameFault fault)
{
    switch (fault) {
    case TFrameFault::None: return "accepted";
    case TFrameFault::NoCommand: return "rejected: no command";
    case TFrameFault::UnknownCommand: return "rejected: unknown command";
    case TFrameFault::WrongLength: return "rejected: length does not fit the command";
    case TFrameFault::OutOfRange: return "rejected: value out of range";
    }
    return "";
}

std::string SettingsText(const TSimReader& reader, uint8_t command)
{
    char text[200];
    switch (command) {
    case CmdBase: {
        const TReaderBase& b = reader.Base();
        std::snprintf(text, sizeof text,
                      "address %02X, baud rate %u (recorded only), power %s %u, Wiegand %02X, serial %s, relay %s",
                      b.Address, BaudRateOfCode(b.BaudCode), b.PowerControl == PowerKnob ? "knob" : "soft",
                      b.PowerLevel, b.Wiegand, b.SerialFormat ? "RS232/RS485" : "TAVIR485", b.Relay ? "on" : "off");
        break;
    }
    case CmdMode: {
        static const char* const kModes[] = {"", "continuous", "interval", "re-entry"};
        const TReaderMode& m = reader.Mode();
        std::snprintf(text, sizeof text, "%s, time %u %s, %s", kModes[m.Mode], m.Time,
                      m.Unit == UnitMinute ? "min" : "s", m.Sending == SendingActive ? "active" : "response");
        break;
    }
    default: {
        const TReaderLock& l = reader.Lock();
        std::snprintf(text, sizeof text, "interlock (recorded only): wireless %u, pre-read %u, times %u/%u/%u s",
                      l.Wireless, l.Preread, l.LockTime, l.TriggerDelay, l.Filter);
        break;
    }
    }
    return text;
}

// Writes what the line takes now; the rest stays queued.
bool WriteSome(int fd, std::string& out)
{
    while (!out.empty()) {
        const ssize_t n = write(fd, out.data(), out.size());
        if (n > 0) {
            out.erase(0, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
    return true;
}

int Run(const TOptions& options)
{
    std::unique_ptr<TSocatPair> pair;
    std::string error;
    std::string path = options.Path;
    if (!options.PairLink.empty()) {
        pair = std::make_unique<TSocatPair>(options.PairLink);
        if (!pair->Start(error)) {
            std::fprintf(stderr, "reader-sim: %s\n", error.c_str());
            return 1;
        }
        path = pair->NearEnd();
    }
    const int fd = OpenLine(path, error);
    if (fd < 0) {
        std::fprintf(stderr, "reader-sim: %s\n", error.c_str());
        return 1;
    }
    if (pair && !pair->Publish(error)) {
        std::fprintf(stderr, "reader-sim: %s\n", error.c_str());
        close(fd);
        return 1;
    }
    if (!options.Quiet) {
        if (pair) std::fprintf(stderr, "reader-sim: listening; far end %s -> %s\n", options.PairLink.c_str(), pair->FarDevice().c_str());
        else std::fprintf(stderr, "reader-sim: listening on %s\n", path.c_str());
    }

    TSimReader reader(options.Config, TSimReader::TClock::now());
    reader.OnFrame = [&](const TBytes& frame, const TParsedFrame& parsed) {
        std::printf("%s\n", BytesToHexText(frame).c_str());
        std::fflush(stdout);
        if (options.Quiet) return;
        if (parsed.Fault == TFrameFault::None)
            std::fprintf(stderr, "reader-sim: frame %02X %s: %s\n", parsed.Command, FaultText(parsed.Fault),
                         SettingsText(reader, parsed.Command).c_str());
        else std::fprintf(stderr, "reader-sim: frame %s\n", FaultText(parsed.Fault));
    };
    reader.OnGarbage = [&](const TBytes& garbage) {
        if (!options.Quiet) std::fprintf(stderr, "reader-sim: garbage, answered 9: %s\n", BytesToHexText(garbage).c_str());
    };
    reader.OnReport = [&](const std::string& report) {
        if (!options.Quiet) std::fprintf(stderr, "reader-sim: report %.*s\n", static_cast<int>(report.size() - 2), report.c_str());
    };

    int status = 0;
    for (;;) {
        const auto now = TSimReader::TClock::now();
        reader.Advance(now);
        if (!WriteSome(fd, reader.Outgoing())) {
            if (!options.Quiet) std::fprintf(stderr, "reader-sim: line closed\n");
            break;
        }
        if (options.Once && reader.Answers() > 0 && reader.Outgoing().empty()) {
            // socat relays the answer a moment later; stopping it at once could lose it.
            pollfd p{gSignalPipe[0], POLLIN, 0};
            poll(&p, 1, kOnceLingerMs);
            break;
        }

        int timeout = -1;
        if (const auto due = reader.NextDue()) {
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - TSimReader::TClock::now());
            timeout = static_cast<int>(std::max<long long>(0, std::min<long long>(wait.count(), 60000)));
        }
        pollfd fds[2] = {{fd, static_cast<short>(POLLIN | (reader.Outgoing().empty() ? 0 : POLLOUT)), 0},
                         {gSignalPipe[0], POLLIN, 0}};
        if (poll(fds, 2, timeout) < 0) {
            if (errno == EINTR) continue;
            std::perror("reader-sim: poll");
            status = 1;
            break;
        }
        if (fds[1].revents & POLLIN) {
            if (!options.Quiet) std::fprintf(stderr, "reader-sim: stopped by a signal\n");
            break;
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            uint8_t buffer[4096];
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n > 0) {
                reader.Received(buffer, static_cast<size_t>(n), TSimReader::TClock::now());
            } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
                // A pty whose other side has gone reads as end of file or EIO.
                if (!options.Quiet) std::fprintf(stderr, "reader-sim: line closed\n");
                    break;
            }
        }
    }
    close(fd);
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    TOptions options;
    const int parsed = ParseOptions(argc, argv, options);
    if (parsed < 0) return 0;
    if (parsed != 0) {
        std::fputs("usage: reader-sim [options] PTY | --pair LINK  (reader-sim --help tells more)\n", stderr);
        return 2;
    }
    if (pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("reader-sim: pipe");
        return 1;
    }
    struct sigaction action{};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (const int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return Run(options);
}
