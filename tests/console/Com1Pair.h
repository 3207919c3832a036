// TCom1Pair: COM1 of the Wine prefix joined to a second port by a socat pty
// pair, so that "open" with AUTO finds a port. COM1 is claimed for the
// object's lifetime; another process that wants it waits for the claim.
#pragma once

#include <windows.h>

#include <string>

class TCom1Pair {
public:
    // Throws std::runtime_error when COM1 cannot be claimed or linked in time.
    TCom1Pair();
    ~TCom1Pair();
    TCom1Pair(const TCom1Pair&) = delete;
    TCom1Pair& operator=(const TCom1Pair&) = delete;

    // The far end, to open with CreateFileA.
    const std::string& PeerName() const noexcept { return FPeerName; }
    // The far end's Unix path, for a program of the Unix side.
    const std::string& PeerPath() const noexcept { return FPeerLink; }

private:
    std::string FPrefix;
    std::string FPeerName;
    std::string FLink, FPeerLink, FPidFile;
    HANDLE FClaim = INVALID_HANDLE_VALUE;
};
