// Responsiveness probe: a thread that keeps sending WM_NULL to a window of another process and
// records how long each answer took. A window whose thread is busy in a step answers only when
// the step has ended, so the longest wait is the longest stretch the message loop was blocked.
#pragma once

#include <windows.h>

#include <vector>

struct ProbeSample {
    double sent = 0;     // NowSeconds() before the send
    double replied = 0;  // NowSeconds() when the answer (or the failure) came back
    bool answered = false;
    double wait() const { return replied - sent; }
};

class ResponsivenessProbe {
public:
    ResponsivenessProbe() = default;
    ~ResponsivenessProbe();
    ResponsivenessProbe(const ResponsivenessProbe&) = delete;
    ResponsivenessProbe& operator=(const ResponsivenessProbe&) = delete;

    // Starts probing window every intervalMs (the pause between an answer and the next send).
    bool Start(HWND window, DWORD intervalMs);
    // Stops the thread (waiting for an outstanding send to come back) and keeps the samples.
    void Stop();
    const std::vector<ProbeSample>& samples() const { return samples_; }

private:
    static DWORD WINAPI Run(void* self);
    HWND window_ = nullptr;
    DWORD intervalMs_ = 10;
    HANDLE thread_ = nullptr;
    volatile LONG stop_ = 0;
    std::vector<ProbeSample> samples_;
};

// What the samples say about the blocks of the probed thread.
struct ProbeSummary {
    int count = 0;
    double longestWait = 0;  // seconds
    // The longest block began after the answer before it came back and before its own send,
    // so its start lies between these two times (both 0 when there was no sample).
    double blockStartEarliest = 0;
    double blockStartLatest = 0;
    double blockEnd = 0;
};
ProbeSummary Summarize(const std::vector<ProbeSample>& samples);
// The same for the first block of at least minimumSeconds that began after notBefore (a wait
// that long cannot be the send's own cost); count and longestWait as Summarize gives them.
// Without such a block the start and end fields are 0.
ProbeSummary FirstBlock(const std::vector<ProbeSample>& samples, double notBefore, double minimumSeconds);
