// What the install and removal engine tells of its work, and the questions it asks. The
// wizard and the uninstall dialog answer with message boxes and a progress bar; the unattended
// modes answer with fixed, safe answers and the log. The engine itself shows no window.
#pragma once

#include <windows.h>

// The questions the engine may ask, so that a report without a person can give the fixed
// answer to each.
enum class Question {
    ReplaceNewerFile,    // an existing file is newer than the package's: replace it?
    UseFolderWithFiles,  // the destination already holds files: install into it?
    Uninstall,           // remove the application?
};

class EngineReport {
public:
    // Step step (from 0) of steps has been done.
    virtual void Step(int step, int steps) = 0;
    // A share of the step after the last one done (per mille) while a large file is copied; 0
    // when such a copy starts.
    virtual void ShareOfStep(int permille) = 0;
    // A yes-no question; text is the whole question as a person reads it.
    virtual bool Ask(Question kind, const char* text, const char* caption) = 0;
    // Something could not be done; text says what, as a person reads it, under caption
    // (nullptr: the platform's).
    virtual void Failure(const char* text, const char* caption = nullptr) = 0;
    // The installed program is removed next. A request that waits for the removal runs from
    // that very file: it is told the outcome so far and let go, so that the file can be deleted.
    virtual void ProgramRemovalNext(const char*) {}

protected:
    ~EngineReport() = default;
};

// The report of a person at the windows: failures and questions in message boxes owned by
// owner, and no progress of its own.
class BoxReport : public EngineReport {
public:
    explicit BoxReport(HWND owner) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    void Step(int, int) override {}
    void ShareOfStep(int) override {}
    bool Ask(Question kind, const char* text, const char* caption) override;
    void Failure(const char* text, const char* caption = nullptr) override;

protected:
    HWND owner_;
};

struct FolderFailure;

// A folder that could not be made (message 5 or 6 with its level): to the log and the report.
void ReportFolderFailure(EngineReport& report, const FolderFailure& failure);
