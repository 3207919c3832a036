// The simulated reader as a process on a pty pair: answers, printed frames,
// garbage, reports in each reading mode, and how it ends. Waits use deadlines.
#include "console/portable/Frames.h"
#include "console/portable/Reports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <optional>
#include <poll.h>
#include <pty.h>
#include <random>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;
using namespace std::chrono_literals;

int MsLeft(TClock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - TClock::now()).count();
    return static_cast<int>(std::max<long long>(0, left));
}

std::string TempFolder()
{
    char name[] = "/tmp/reader-sim-test.XXXXXX";
    return mkdtemp(name) != nullptr ? std::string(name) : std::string();
}

bool Exists(const std::string& path)
{
    struct stat st{};
    return lstat(path.c_str(), &st) == 0;
}

// One run of reader-sim with its standard output on a pipe.
class TSim {
public:
    explicit TSim(std::vector<std::string> args)
    {
        int out[2];
        if (pipe(out) != 0) return;
        FPid = fork();
        if (FPid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            dup2(out[1], STDOUT_FILENO);
            // The reader must not hold our end of a pty open.
            close_range(3, ~0U, 0);
            std::vector<char*> argv{const_cast<char*>(TB_READER_SIM)};
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(TB_READER_SIM, argv.data());
            _exit(127);
        }
        close(out[1]);
        FOut = out[0];
    }
    ~TSim()
    {
        // Stopped as a user would, so that it stops socat and removes its files.
        if (FPid > 0 && !FExited && !Stop()) {
            kill(FPid, SIGKILL);
            waitpid(FPid, nullptr, 0);
        }
        if (FOut >= 0) close(FOut);
    }

    // The next line of standard output, or nothing by the deadline.
    std::optional<std::string> Line(std::chrono::milliseconds within = 2000ms)
    {
        const auto deadline = TClock::now() + within;
        for (;;) {
            const size_t eol = FBuffer.find('\n');
            if (eol != std::string::npos) {
                std::string line = FBuffer.substr(0, eol);
                FBuffer.erase(0, eol + 1);
                return line;
            }
            pollfd p{FOut, POLLIN, 0};
            if (poll(&p, 1, MsLeft(deadline)) <= 0) return std::nullopt;
            char chunk[512];
            const ssize_t n = read(FOut, chunk, sizeof chunk);
            if (n <= 0) return std::nullopt;
            FBuffer.append(chunk, static_cast<size_t>(n));
        }
    }

    // Exit status once it has ended, or nothing by the deadline.
    std::optional<int> Wait(std::chrono::milliseconds within = 3000ms)
    {
        const auto deadline = TClock::now() + within;
        while (TClock::now() < deadline) {
            int status = 0;
            if (waitpid(FPid, &status, WNOHANG) == FPid) {
                FExited = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(5ms);
        }
        return std::nullopt;
    }

    // Bytes the reader has taken with read() so far: it reads nothing but its
    // line, so this tells when it has taken what was written.
    uint64_t BytesRead() const
    {
        std::ifstream io("/proc/" + std::to_string(FPid) + "/io");
        std::string key;
        uint64_t value = 0;
        while (io >> key >> value)
            if (key == "rchar:") return value;
        return 0;
    }

    // Waits until the reader has read `count` bytes more than `before`.
    bool ReadBeyond(uint64_t before, uint64_t count, std::chrono::milliseconds within = 2000ms) const
    {
        const auto deadline = TClock::now() + within;
        while (BytesRead() < before + count) {
            if (TClock::now() > deadline) return false;
            std::this_thread::sleep_for(1ms);
        }
        return true;
    }

    std::optional<int> Stop(int sig = SIGTERM)
    {
        kill(FPid, sig);
        return Wait();
    }

private:
    pid_t FPid = -1;
    int FOut = -1;
    bool FExited = false;
    std::string FBuffer;
};

// Our side of the line: the far end of the reader's pty pair.
class TLine {
public:
    TLine() = default;
    explicit TLine(int fd) : FFd(fd) {}
    ~TLine() { Close(); }
    TLine& operator=(TLine&& other) noexcept
    {
        Close();
        std::swap(FFd, other.FFd);
        FBuffer.swap(other.FBuffer);
        return *this;
    }

    void Close()
    {
        if (FFd >= 0) close(FFd);
        FFd = -1;
    }

    // Waits for the reader to publish LINK, then opens it raw.
    bool Open(const std::string& link)
    {
        const auto deadline = TClock::now() + 5s;
        while (!Exists(link)) {
            if (TClock::now() > deadline) return false;
            std::this_thread::sleep_for(2ms);
        }
        FFd = open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (FFd < 0) return false;
        termios tio{};
        tcgetattr(FFd, &tio);
        cfmakeraw(&tio);
        return tcsetattr(FFd, TCSANOW, &tio) == 0;
    }

    void Write(const TBytes& bytes)
    {
        const auto deadline = TClock::now() + 2s;
        size_t done = 0;
        while (done < bytes.size()) {
            pollfd p{FFd, POLLOUT, 0};
            ASSERT_GT(poll(&p, 1, MsLeft(deadline)), 0) << "the line takes no more bytes";
            const ssize_t n = write(FFd, bytes.data() + done, bytes.size() - done);
            if (n > 0) done += static_cast<size_t>(n);
        }
    }
    void Write(const std::string& text) { Write(TBytes(text.begin(), text.end())); }

    // Reads until `count` bytes have come or the deadline passes.
    std::string Read(size_t count, std::chrono::milliseconds within = 2000ms)
    {
        const auto deadline = TClock::now() + within;
        while (FBuffer.size() < count) {
            pollfd p{FFd, POLLIN, 0};
            if (poll(&p, 1, MsLeft(deadline)) <= 0) break;
            char chunk[4096];
            const ssize_t n = read(FFd, chunk, sizeof chunk);
            if (n <= 0) break;
            const auto now = TClock::now();
            for (ssize_t i = 0; i < n; ++i) FArrivals.push_back(now);
            FBuffer.append(chunk, static_cast<size_t>(n));
        }
        const size_t taken = std::min(count, FBuffer.size());
        std::string out = FBuffer.substr(0, taken);
        FBuffer.erase(0, taken);
        FLastArrivals.assign(FArrivals.begin(), FArrivals.begin() + static_cast<std::ptrdiff_t>(taken));
        FArrivals.erase(FArrivals.begin(), FArrivals.begin() + static_cast<std::ptrdiff_t>(taken));
        return out;
    }

    // Everything that arrives within the time: for checking that nothing does.
    std::string ReadFor(std::chrono::milliseconds time) { return Read(SIZE_MAX, time); }

    // The next tag report, or empty text.
    std::string Report(std::chrono::milliseconds within = 2000ms)
    {
        const auto deadline = TClock::now() + within;
        std::string report;
        while (report.size() < 2 || report.compare(report.size() - 2, 2, "\r\n") != 0) {
            const std::string b = Read(1, std::chrono::milliseconds(MsLeft(deadline)));
            if (b.empty()) return std::string();
            report += b;
        }
        return report;
    }

    // Arrival times of the bytes the last Read returned.
    const std::vector<TClock::time_point>& Arrivals() const { return FLastArrivals; }

private:
    int FFd = -1;
    std::string FBuffer;
    std::vector<TClock::time_point> FArrivals;
    std::vector<TClock::time_point> FLastArrivals;
};

std::string TagOf(const std::string& report)
{
    return DecodeChunk(reinterpret_cast<const uint8_t*>(report.data()), report.size()).TagHex;
}

class ReaderSim : public ::testing::Test {
protected:
    void SetUp() override
    {
        FFolder = TempFolder();
        ASSERT_FALSE(FFolder.empty());
        FLink = FFolder + "/line";
    }
    void TearDown() override
    {
        FSim.reset();
        unlink(FLink.c_str());
        rmdir(FFolder.c_str());
    }

    // Starts the reader on a pair and opens the far end.
    void Start(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--pair", FLink});
        FSim = std::make_unique<TSim>(args);
        ASSERT_TRUE(FLine.Open(FLink)) << "the reader never published " << FLink;
    }

    std::string FFolder;
    std::string FLink;
    std::unique_ptr<TSim> FSim;
    TLine FLine;
};

const TBytes kModeResponse{0x05, 0x02, 0x01, 0x14, 0x00, 0x01};
const TBytes kModeContinuous{0x05, 0x02, 0x01, 0x00, 0x00, 0x00};

} // namespace

TEST_F(ReaderSim, AnswersEachFrameAndPrintsIt)
{
    Start({"--quiet"});
    struct TRow {
        TBytes Frame;
        char Answer;
    };
    const TRow rows[] = {
        {RestoreBaseFrame(), '6'},
        {RestoreModeFrame(), '6'},
        {RestoreLockFrame(), '6'},
        {{0x08, 0x01, 0x01, 0x00, 0x00, 0x20, 0x1A, 0x01, 0x01}, '9'},  // baud rate typed, no entry
        {{0x05, 0x02, 0x01, 0x14, 0xFF, 0x00}, '9'},                    // time unit typed
        {{0x02, 0x07, 0x00}, '9'},                                      // unknown command
        {{0x05, 0x01, 0x01, 0x01, 0x00, 0x20}, '9'},                    // too short for command 01
        {{0x00}, '9'},
    };
    for (const auto& row : rows) {
        FLine.Write(row.Frame);
        EXPECT_EQ(FLine.Read(1), std::string(1, row.Answer)) << BytesToHexText(row.Frame);
        EXPECT_EQ(FSim->Line(), BytesToHexText(row.Frame));
    }

    // Back to back in one write: two frames, two answers, two lines.
    TBytes both = RestoreLockFrame();
    both.insert(both.end(), kModeContinuous.begin(), kModeContinuous.end());
    FLine.Write(both);
    EXPECT_EQ(FLine.Read(2), "66");
    EXPECT_EQ(FSim->Line(), BytesToHexText(RestoreLockFrame()));
    EXPECT_EQ(FSim->Line(), BytesToHexText(kModeContinuous));
}

TEST_F(ReaderSim, FrameSplitAcrossWritesIsOneFrame)
{
    Start({"--quiet"});
    const TBytes frame = RestoreBaseFrame();
    const uint64_t before = FSim->BytesRead();
    FLine.Write(TBytes(frame.begin(), frame.begin() + 4));
    // The first part is taken by a read of its own before the rest is written.
    ASSERT_TRUE(FSim->ReadBeyond(before, 4));
    FLine.Write(TBytes(frame.begin() + 4, frame.end()));
    EXPECT_EQ(FLine.Read(1), "6");
    EXPECT_EQ(FSim->Line(), BytesToHexText(frame));
}

TEST_F(ReaderSim, GarbageIsAnsweredOnceAndDropped)
{
    Start({"--quiet"});
    // Hex text typed by mistake: "0" is a length of 48 that never completes.
    FLine.Write(std::string("02 0a"));
    FLine.Write(RestoreBaseFrame());  // arrives before the pause: part of the garbage
    EXPECT_EQ(FLine.Read(1), "9");
    FLine.Write(RestoreLockFrame());
    EXPECT_EQ(FLine.Read(1), "6") << "one answer per piece of garbage";
    EXPECT_EQ(FSim->Line(), BytesToHexText(RestoreLockFrame())) << "garbage is not printed as a frame";

    FLine.Write(TBytes{0xFF, 0x01});
    EXPECT_EQ(FLine.Read(1), "9");
}

TEST_F(ReaderSim, SurvivesAFloodOfRandomBytes)
{
    Start({"--quiet"});
    std::mt19937 random(12345);
    for (int i = 0; i < 64; ++i) {
        TBytes junk(1024);
        for (auto& b : junk) b = static_cast<uint8_t>(random());
        FLine.Write(junk);
        FLine.ReadFor(0ms);
        // Each frame taken is printed: a full pipe would hold the reader up.
        while (FSim->Line(0ms)) {
        }
    }
    // Once the line has been quiet, the reader is ready for a real frame.
    while (!FLine.ReadFor(250ms).empty()) {
        while (FSim->Line(0ms)) {
        }
    }
    FLine.Write(RestoreBaseFrame());
    EXPECT_EQ(FLine.Read(1), "6");
}

TEST_F(ReaderSim, ContinuousReportsCycleThroughTheTags)
{
    Start({"--quiet", "--tags", "BC614E,1,abcdef0123", "--rate", "100"});
    std::vector<std::string> tags;
    // The first report may have been sent before the far end was open.
    while (tags.size() < 6) {
        const std::string report = FLine.Report();
        ASSERT_FALSE(report.empty());
        ASSERT_EQ(report.substr(0, 4), "0201") << report;
        tags.push_back(TagOf(report));
    }
    const std::vector<std::string> cycle{"0000BC614E", "0000000001", "abcdef0123"};
    const size_t first = std::find(cycle.begin(), cycle.end(), tags[0]) - cycle.begin();
    ASSERT_LT(first, cycle.size());
    for (size_t i = 0; i < tags.size(); ++i) EXPECT_EQ(tags[i], cycle[(first + i) % 3]) << i;
}

TEST_F(ReaderSim, AnswersKeepApartFromReports)
{
    Start({"--quiet", "--tags", "1", "--rate", "20ms"});
    ASSERT_FALSE(FLine.Report().empty());
    TBytes base = RestoreBaseFrame();
    base[2] = 0x7F;
    FLine.Write(base);
    // Reports in the stream until the answer, then reports with the new address.
    std::string before;
    for (;;) {
        const std::string b = FLine.Read(1);
        ASSERT_FALSE(b.empty());
        if (b == "6") break;
        before += b;
    }
    const auto answerAt = FLine.Arrivals().at(0);
    const std::string after = FLine.Report();
    ASSERT_EQ(after, "027F0000000001\r\n");
    EXPECT_GE(FLine.Arrivals().at(0) - answerAt, 100ms) << "the console would join them into one chunk";
    EXPECT_EQ(before.size() % 16, 0u) << before;
}

TEST_F(ReaderSim, ResponseModeSendsNothingUntilActiveAgain)
{
    Start({"--quiet", "--tags", "1", "--rate", "20ms"});
    ASSERT_FALSE(FLine.Report().empty());
    FLine.Write(kModeResponse);
    for (std::string b; (b = FLine.Read(1)) != "6";) {
        ASSERT_FALSE(b.empty());
    }
    EXPECT_EQ(FLine.ReadFor(300ms), "");
    FLine.Write(kModeContinuous);
    EXPECT_EQ(FLine.Read(1), "6");
    EXPECT_EQ(FLine.Report(), "02010000000001\r\n");
}

TEST_F(ReaderSim, ReentryReportsATagAgainOnlyAfterItWasAway)
{
    // One tag never leaves: one report after the mode is set, then silence.
    Start({"--quiet", "--tags", "1", "--rate", "20ms"});
    FLine.Write(kModeResponse);
    for (std::string b; (b = FLine.Read(1)) != "6";) ASSERT_FALSE(b.empty());
    FLine.Write(TBytes{0x05, 0x02, 0x03, 0x00, 0x00, 0x00});
    EXPECT_EQ(FLine.Read(1), "6");
    EXPECT_EQ(FLine.Report(), "02010000000001\r\n");
    EXPECT_EQ(FLine.ReadFor(250ms), "");

    // Two tags take turns: with time 0 each comes back and is reported again.
    FSim.reset();
    FLine = TLine();
    unlink(FLink.c_str());
    Start({"--quiet", "--tags", "A,B", "--rate", "20ms"});
    FLine.Write(kModeResponse);
    for (std::string b; (b = FLine.Read(1)) != "6";) ASSERT_FALSE(b.empty());
    FLine.Write(TBytes{0x05, 0x02, 0x03, 0x00, 0x00, 0x00});
    EXPECT_EQ(FLine.Read(1), "6");
    for (const char* tag : {"000000000A", "000000000B", "000000000A", "000000000B"}) EXPECT_EQ(TagOf(FLine.Report()), tag);
}

TEST_F(ReaderSim, IntervalReportsEachTagOncePerSetTime)
{
    Start({"--quiet", "--tags", "A,B", "--rate", "20ms"});
    FLine.Write(kModeResponse);
    for (std::string b; (b = FLine.Read(1)) != "6";) ASSERT_FALSE(b.empty());
    FLine.Write(TBytes{0x05, 0x02, 0x02, 0x01, 0x00, 0x00});  // interval, 1 second
    EXPECT_EQ(FLine.Read(1), "6");
    EXPECT_EQ(TagOf(FLine.Report()), "000000000A");
    EXPECT_EQ(TagOf(FLine.Report()), "000000000B");
    EXPECT_EQ(FLine.ReadFor(300ms), "");
}

TEST_F(ReaderSim, CountLimitsTheReports)
{
    Start({"--quiet", "--tags", "1", "--rate", "10ms", "--count", "3"});
    std::string all = FLine.ReadFor(400ms);
    // Reports sent before the far end opened are lost; never more than three.
    EXPECT_LE(all.size(), 3 * 16u);
    EXPECT_EQ(all.size() % 16, 0u);
    FLine.Write(RestoreBaseFrame());
    EXPECT_EQ(FLine.Read(1), "6");
    EXPECT_EQ(FLine.ReadFor(200ms), "");
}

TEST_F(ReaderSim, OnceEndsAfterTheFirstAnswerAndRemovesTheLink)
{
    Start({"--quiet", "--once"});
    FLine.Write(RestoreModeFrame());
    EXPECT_EQ(FLine.Read(1), "6");
    EXPECT_EQ(FSim->Line(), BytesToHexText(RestoreModeFrame()));
    EXPECT_EQ(FSim->Wait(), 0);
    EXPECT_FALSE(Exists(FLink));
}

TEST_F(ReaderSim, SignalsEndItCleanly)
{
    for (const int sig : {SIGTERM, SIGINT}) {
        Start({"--quiet"});
        EXPECT_EQ(FSim->Stop(sig), 0) << sig;
        EXPECT_FALSE(Exists(FLink)) << sig;
        FLine = TLine();
    }
}

TEST_F(ReaderSim, EndsWhenThePtyCloses)
{
    int master = -1, slave = -1;
    char name[256];
    termios raw{};
    cfmakeraw(&raw);
    ASSERT_EQ(openpty(&master, &slave, name, &raw, nullptr), 0);
    close(slave);
    TLine line(master);
    TSim sim({"--quiet", name});
    // The reader has the pty open once it answers; until then the frame may be
    // sent more than once.
    const auto deadline = TClock::now() + 3s;
    std::string answer;
    while (answer.empty() && TClock::now() < deadline) {
        line.Write(RestoreLockFrame());
        answer = line.Read(1, 100ms);
    }
    EXPECT_EQ(answer, "6");
    line.Close();
    EXPECT_EQ(sim.Wait(), 0);
}

TEST_F(ReaderSim, RefusesBadOptions)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--pair"},
        {"--rate", "0", "/dev/null"},
        {"--rate", "5s", "/dev/null"},
        {"--tags", "12345678901", "/dev/null"},
        {"--tags", "1,,2", "/dev/null"},
        {"--tags", "xyz", "/dev/null"},
        {"--count", "-1", "/dev/null"},
        {"--pair", "x", "/dev/null"},
        {"--unknown", "/dev/null"},
    };
    std::vector<std::unique_ptr<TSim>> runs;
    for (const auto& args : bad) runs.push_back(std::make_unique<TSim>(args));
    for (size_t i = 0; i < runs.size(); ++i) EXPECT_EQ(runs[i]->Wait(), 2) << i;
    TSim notTerminal({"--quiet", "/dev/null"});
    EXPECT_EQ(notTerminal.Wait(), 1);
}
