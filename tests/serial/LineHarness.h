// What a serial test needs around a TComm: the far end of the line driven by
// plain Win32 calls, and a message pump with a deadline that delivers the
// component's events on the test's own thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using TBytes = std::vector<uint8_t>;

// The other end of a pty pair, opened with overlapped I/O so that every
// transfer has a deadline. A read returns once the line has been quiet for
// 10 ms after the first byte.
class TFarEnd {
public:
    // Throws std::runtime_error when the port cannot be opened.
    explicit TFarEnd(const std::string& name);
    ~TFarEnd();
    TFarEnd(const TFarEnd&) = delete;
    TFarEnd& operator=(const TFarEnd&) = delete;

    // True when every byte went out before the deadline.
    bool Write(const void* data, size_t count, DWORD timeoutMs = 5000);
    bool Write(const TBytes& data, DWORD timeoutMs = 5000) { return Write(data.data(), data.size(), timeoutMs); }
    // Reads until count bytes have arrived or the deadline passes; returns what came.
    TBytes Read(size_t count, DWORD timeoutMs = 5000);
    // Drops what arrives until count bytes came or nothing came for quietMs;
    // answers how many bytes were dropped.
    size_t Drain(size_t count, DWORD quietMs = 200);
    HANDLE Handle() const noexcept { return FHandle; }

private:
    // Waits for the operation in ov until the deadline; cancels it on time-out.
    bool Finish(OVERLAPPED& ov, ULONGLONG deadline, DWORD& done);

    HANDLE FHandle = INVALID_HANDLE_VALUE;
    HANDLE FEvent = nullptr;
};

// Dispatches this thread's messages until done() answers true or the time is
// up; answers done()'s last word.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Dispatches messages for a fixed time: for checks that something does NOT happen.
void PumpFor(DWORD ms);
// Dispatches what is queued now, without waiting.
void PumpPending();

// count bytes of a pattern that shows misordering and shifts (seeded per block).
TBytes Pattern(size_t count, uint32_t seed);
