// Responsiveness probe: WM_NULL round trips to the program under measurement.
#include "probe.h"

#include "bench_clock.h"

namespace {

// A block can last as long as the copy of the largest file; the probe must outwait it rather
// than count a time-out as an answer.
constexpr UINT kProbeTimeoutMs = 600000;

}  // namespace

ResponsivenessProbe::~ResponsivenessProbe()
{
    Stop();
}

bool ResponsivenessProbe::Start(HWND window, DWORD intervalMs)
{
    Stop();
    samples_.clear();
    window_ = window;
    intervalMs_ = intervalMs;
    stop_ = 0;
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    return thread_ != nullptr;
}

void ResponsivenessProbe::Stop()
{
    if (thread_ == nullptr)
        return;
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
}

DWORD WINAPI ResponsivenessProbe::Run(void* parameter)
{
    ResponsivenessProbe* probe = static_cast<ResponsivenessProbe*>(parameter);
    while (InterlockedCompareExchange(&probe->stop_, 0, 0) == 0) {
        ProbeSample sample;
        DWORD_PTR result = 0;
        sample.sent = NowSeconds();
        // Not SMTO_ABORTIFHUNG: a thread busy for seconds counts as hung, and the probe wants
        // to know how long it was busy, not give up on it.
        sample.answered = SendMessageTimeoutA(probe->window_, WM_NULL, 0, 0, SMTO_NORMAL, kProbeTimeoutMs, &result) != 0;
        sample.replied = NowSeconds();
        probe->samples_.push_back(sample);
        if (!sample.answered && !IsWindow(probe->window_))
            break;
        Sleep(probe->intervalMs_);
    }
    return 0;
}

ProbeSummary Summarize(const std::vector<ProbeSample>& samples)
{
    ProbeSummary summary;
    summary.count = static_cast<int>(samples.size());
    size_t longest = samples.size();
    for (size_t i = 0; i < samples.size(); ++i) {
        if (samples[i].answered && (longest == samples.size() || samples[i].wait() > samples[longest].wait()))
            longest = i;
    }
    if (longest == samples.size())
        return summary;
    const ProbeSample& block = samples[longest];
    summary.longestWait = block.wait();
    summary.blockStartLatest = block.sent;
    summary.blockStartEarliest = longest > 0 ? samples[longest - 1].replied : block.sent;
    summary.blockEnd = block.replied;
    return summary;
}

ProbeSummary FirstBlock(const std::vector<ProbeSample>& samples, double notBefore, double minimumSeconds)
{
    ProbeSummary summary = Summarize(samples);
    summary.blockStartEarliest = summary.blockStartLatest = summary.blockEnd = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        const ProbeSample& block = samples[i];
        if (!block.answered || block.sent < notBefore || block.wait() < minimumSeconds)
            continue;
        summary.blockStartLatest = block.sent;
        summary.blockStartEarliest = i > 0 ? samples[i - 1].replied : block.sent;
        summary.blockEnd = block.replied;
        break;
    }
    return summary;
}
