// The simulated reader's frame assembly, answers and report schedule.
#include "SimReader.h"

#include "classlib/portable/SysUtils.h"

#include <algorithm>

TSimReader::TSimReader(TConfig config, TTime now)
    : FConfig(std::move(config)), FTags(FConfig.Tags.size()), FReportsLeft(FConfig.Count)
{
    RestartReporting(now);
}

void TSimReader::Received(const uint8_t* data, size_t length, TTime now)
{
    if (length == 0) return;
    FInput.insert(FInput.end(), data, data + length);
    FLastInput = now;
    TakeFrames(now);
}

void TSimReader::TakeFrames(TTime now)
{
    while (!FInput.empty() && FInput.size() >= FrameSize(FInput[0])) {
        const TBytes frame(FInput.begin(), FInput.begin() + static_cast<std::ptrdiff_t>(FrameSize(FInput[0])));
        FInput.erase(FInput.begin(), FInput.begin() + static_cast<std::ptrdiff_t>(frame.size()));
        const TParsedFrame parsed = ParseFrame(frame.data(), frame.size());
        if (parsed.Fault == TFrameFault::None) {
            switch (parsed.Command) {
            case CmdBase: FBase = parsed.Base; break;
            case CmdMode:
                FMode = parsed.Mode;
                RestartReporting(now);
                break;
            case CmdLock: FLock = parsed.Lock; break;
            }
        }
        if (OnFrame) OnFrame(frame, parsed);
        Answer(parsed.Fault == TFrameFault::None ? '6' : '9', now);
    }
}

void TSimReader::Answer(char answer, TTime now)
{
    FHeldAnswers += answer;
    FlushAnswers(now);
}

void TSimReader::FlushAnswers(TTime now)
{
    if (FHeldAnswers.empty() || (FLastReport && now < *FLastReport + Separation)) return;
    FOutgoing += FHeldAnswers;
    FAnswers += static_cast<long>(FHeldAnswers.size());
    FHeldAnswers.clear();
    FLastAnswer = now;
}

void TSimReader::RestartReporting(TTime now)
{
    std::fill(FTags.begin(), FTags.end(), TTagState{});
    FCursor = 0;
    FPrevious.reset();
    FNextStep = now;
}

bool TSimReader::Reporting() const noexcept
{
    return !FTags.empty() && FReportsLeft != 0 && FMode.Sending == SendingActive;
}

TSimReader::TTime TSimReader::StepTime() const
{
    TTime t = FNextStep;
    if (FLastAnswer) t = std::max(t, *FLastAnswer + Separation);
    // Held answers go first, and the step keeps its distance from them too.
    if (!FHeldAnswers.empty() && FLastReport) t = std::max(t, *FLastReport + Separation + Separation);
    return t;
}

std::chrono::milliseconds TSimReader::SetTime() const
{
    const long seconds = long{FMode.Time} * (FMode.Unit == UnitMinute ? 60 : 1);
    return std::chrono::milliseconds(seconds * 1000);
}

bool TSimReader::ShouldReport(const TTagState& tag, TTime now) const
{
    switch (FMode.Mode) {
    case ModeInterval: return !tag.Reported || now - tag.LastReport >= SetTime();
    case ModeReentry: return !tag.Seen || (tag.Away && now - tag.LeftAt > SetTime());
    default: return true;
    }
}

void TSimReader::Step(TTime now)
{
    if (FPrevious && *FPrevious != FCursor) {
        FTags[*FPrevious].Away = true;
        FTags[*FPrevious].LeftAt = now;
    }
    TTagState& tag = FTags[FCursor];
    if (ShouldReport(tag, now)) {
        const std::string report = "02" + IntToHex(FBase.Address, 2) + FConfig.Tags[FCursor] + "\r\n";
        // A line nobody reads must not make the reader wait: a real one would lose the bytes too.
        if (FOutgoing.size() <= OutgoingLimit) {
            FOutgoing += report;
            FLastReport = now;
            tag.Reported = true;
            tag.LastReport = now;
            if (FReportsLeft > 0) --FReportsLeft;
            if (OnReport) OnReport(report);
        }
    }
    tag.Seen = true;
    tag.Away = false;
    FPrevious = FCursor;
    FCursor = (FCursor + 1) % FTags.size();
    FNextStep += FConfig.Period;
    if (FNextStep <= now) FNextStep = now + FConfig.Period;
}

void TSimReader::Advance(TTime now)
{
    if (!FInput.empty() && now >= FLastInput + GarbagePause) {
        if (OnGarbage) OnGarbage(FInput);
        FInput.clear();
        Answer('9', now);
    }
    FlushAnswers(now);
    if (Reporting() && FHeldAnswers.empty() && now >= StepTime()) Step(now);
}

std::optional<TSimReader::TTime> TSimReader::NextDue() const
{
    std::optional<TTime> due;
    const auto consider = [&due](TTime t) {
        if (!due || t < *due) due = t;
    };
    if (!FInput.empty()) consider(FLastInput + GarbagePause);
    if (!FHeldAnswers.empty() && FLastReport) consider(*FLastReport + Separation);
    if (Reporting()) consider(StepTime());
    return due;
}
