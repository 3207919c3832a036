// TSimReader: the simulated reader's protocol without any I/O. Bytes from the
// line go in; answers and tag reports come out in Outgoing(); the time is passed
// in, and NextDue tells the loop around it when to call again.
#pragma once

#include "console/portable/FrameParse.h"
#include "console/portable/Frames.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class TSimReader {
public:
    using TClock = std::chrono::steady_clock;
    using TTime = TClock::time_point;

    // A frame still incomplete after this much quiet on the line is garbage.
    static constexpr std::chrono::milliseconds GarbagePause{150};
    // Answers and reports keep this far apart, so each arrives as its own chunk.
    static constexpr std::chrono::milliseconds Separation{150};
    // Reports are dropped rather than queued once this much waits to be written.
    static constexpr size_t OutgoingLimit = 4096;

    struct TConfig {
        std::vector<std::string> Tags;   // ten hexadecimal digits each
        std::chrono::milliseconds Period{1000};
        long Count = -1;                 // reports to send in all; -1 no limit
    };

    TSimReader(TConfig config, TTime now);

    void Received(const uint8_t* data, size_t length, TTime now);
    // Does what is due at `now`: garbage time-outs, held answers, reports.
    void Advance(TTime now);
    // When Advance next has something to do.
    std::optional<TTime> NextDue() const;

    // Bytes for the line; the caller erases what it has written.
    std::string& Outgoing() noexcept { return FOutgoing; }
    long Answers() const noexcept { return FAnswers; }

    const TReaderBase& Base() const noexcept { return FBase; }
    const TReaderMode& Mode() const noexcept { return FMode; }
    const TReaderLock& Lock() const noexcept { return FLock; }

    std::function<void(const TBytes& frame, const TParsedFrame& parsed)> OnFrame;
    std::function<void(const TBytes& garbage)> OnGarbage;
    std::function<void(const std::string& report)> OnReport;

private:
    // A tag is in front of the reader during its step; it is away from the
    // step of another tag until its own step comes round again.
    struct TTagState {
        bool Seen = false;
        bool Away = false;
        TTime LeftAt{};
        bool Reported = false;
        TTime LastReport{};
    };

    void TakeFrames(TTime now);
    void Answer(char answer, TTime now);
    void FlushAnswers(TTime now);
    void Step(TTime now);
    bool ShouldReport(const TTagState& tag, TTime now) const;
    bool Reporting() const noexcept;
    TTime StepTime() const;
    std::chrono::milliseconds SetTime() const;
    void RestartReporting(TTime now);

    TConfig FConfig;
    TReaderBase FBase;
    TReaderMode FMode;
    TReaderLock FLock;

    TBytes FInput;
    TTime FLastInput{};
    std::string FHeldAnswers;
    std::string FOutgoing;
    long FAnswers = 0;
    std::optional<TTime> FLastAnswer;
    std::optional<TTime> FLastReport;

    std::vector<TTagState> FTags;
    size_t FCursor = 0;
    std::optional<size_t> FPrevious;
    TTime FNextStep{};
    long FReportsLeft;
};
