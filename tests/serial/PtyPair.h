// TPtyPair: two COM ports of the Wine prefix joined back to back by a socat
// pty pair, for tests and benchmarks of the serial component. The COM numbers
// are claimed for this object's lifetime, so several processes can share one prefix.
#pragma once

#include <windows.h>

#include <string>

class TPtyPair {
public:
    // Claims a free pair of numbers and starts socat; throws std::runtime_error
    // when no pair can be claimed or the links do not appear in time.
    // socat ends by itself after lifetimeSeconds, should this process die first.
    explicit TPtyPair(unsigned lifetimeSeconds = 300);
    // Kills socat and removes its links.
    ~TPtyPair();
    TPtyPair(const TPtyPair&) = delete;
    TPtyPair& operator=(const TPtyPair&) = delete;

    // Device names to open, "\\.\COMn" (the only form that works for n >= 10).
    const std::string& NameA() const noexcept { return FNameA; }
    const std::string& NameB() const noexcept { return FNameB; }
    int NumberA() const noexcept { return FNumber; }

    // Kills socat, also in the middle of a transfer; returns once it has ended.
    void Kill();
    bool Running() const noexcept { return FRunning; }

private:
    void Claim();
    void Start(unsigned lifetimeSeconds);

    int FNumber = 0;
    std::string FPrefix;      // the Unix path of the Wine prefix
    std::string FNameA, FNameB;
    std::string FLinkA, FLinkB, FPidFile;
    HANDLE FClaim = INVALID_HANDLE_VALUE;
    bool FRunning = false;
};
