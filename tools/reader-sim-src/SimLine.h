// The simulated reader's line: a terminal device opened raw and non-blocking,
// and the pty pair that socat makes when the reader is asked for one.
#pragma once

#include <string>
#include <sys/types.h>

// Opens a terminal device for reading and writing, raw, without making it the
// controlling terminal. Returns -1 with `error` set on failure.
int OpenLine(const std::string& path, std::string& error);

// Runs socat with two pty ends in a private folder. The reader opens the near
// end; Publish then points LINK at the far end, so LINK exists only while the
// reader listens. The destructor removes LINK and stops socat.
class TSocatPair {
public:
    explicit TSocatPair(std::string link);
    ~TSocatPair();
    TSocatPair(const TSocatPair&) = delete;
    TSocatPair& operator=(const TSocatPair&) = delete;

    bool Start(std::string& error);
    bool Publish(std::string& error);
    const std::string& NearEnd() const noexcept { return FNear; }
    const std::string& FarDevice() const noexcept { return FFarDevice; }

private:
    std::string FLink;
    std::string FFolder;
    std::string FNear;
    std::string FFar;
    std::string FFarDevice;
    pid_t FSocat = -1;
    bool FPublished = false;
};
