// The unattended modes: install and uninstall with no question, for deployment tools and
// package managers, on the same engine as the windows.
#pragma once

#include "app/command_line.h"
#include "setup/engine_report.h"
#include "setup/package.h"

// The report without a person: each question gets its fixed, safe answer and each failure marks
// the run failed; both go to the log.
class UnattendedReport : public EngineReport {
public:
    void Step(int, int) override {}
    void ShareOfStep(int) override {}
    bool Ask(Question kind, const char* text, const char* caption) override;
    void Failure(const char* text, const char* caption = nullptr) override;
    bool Failed() const { return failed_; }

private:
    bool failed_ = false;
};

// The install of the loaded package as command asks; returns the exit code.
int RunUnattendedInstall(const Package& package, const CommandLine& command, UnattendedReport& report);

// The switches the uninstall request hands on to its worker ("/quiet" or "/passive", and the
// log) into out; false when they do not fit.
bool WorkerSwitches(const CommandLine& command, char* out, size_t capacity);
