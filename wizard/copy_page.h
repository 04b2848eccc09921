// Copy page: the wizard's last page, which runs the install step sequence.
#pragma once

#include <windows.h>

#include "setup/engine_report.h"
#include "setup/package.h"

// The copy page's report: the progress bar, and the questions and failures answered by
// answers (nullptr: message boxes on the page). It carries the package the page installs. The
// wizard hands it to the page in the page's lParam; it lives as long as the sheet.
class CopyPageReport : public EngineReport {
public:
    CopyPageReport(const Package& package, EngineReport* answers, bool finishByItself)
        : package_(package), boxes_(nullptr), answers_(answers), finishByItself_(finishByItself) {}
    const Package& InstalledPackage() const { return package_; }
    void SetPage(HWND page) { boxes_.SetOwner(page); owner_ = page; }
    bool FinishesByItself() const { return finishByItself_; }
    // The person pressed Cancel on the progress shown alone.
    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }
    // A slice of steps begins; ShowedABox tells whether a question or a failure was shown in it.
    void StartSlice() { showedABox_ = false; }
    bool ShowedABox() const { return showedABox_; }
    // Moves the bar to the steps done so far (drawn at most now and then, and when last).
    void ShowProgress(bool last);
    void Step(int step, int steps) override;
    void ShareOfStep(int permille) override;
    bool Ask(Question kind, const char* text, const char* caption) override;
    void Failure(const char* text, const char* caption = nullptr) override;

private:
    const Package& package_;
    BoxReport boxes_;
    EngineReport* answers_;
    bool finishByItself_;
    bool cancelled_ = false;
    HWND owner_ = nullptr;
    HWND bar_ = nullptr;
    int lastStep_ = 0;
    DWORD lastDrawn_ = 0;
    bool showedABox_ = false;
    int next_ = 0;
    // While a large file is copied the bar moves within the current step, on a range finer by
    // copyScale_ for the time of the copy (0 while it keeps its own range).
    int copyScale_ = 0;
};

INT_PTR CALLBACK CopyPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
