// The reports the engine's parts share.
#include "setup/engine_report.h"

#include "base/folders.h"
#include "base/log.h"
#include "base/message_box.h"
#include "base/messages.h"

void ReportFolderFailure(EngineReport& report, const FolderFailure& failure)
{
    LogAction(LogFailure, failure.path, failure.error);
    report.Failure(FormatMessageText(failure.messageId, failure.path));
}

bool BoxReport::Ask(Question kind, const char* text, const char* caption)
{
    if (kind == Question::Uninstall)
        return ShowMessageBox(owner_, text, caption, MB_ICONINFORMATION | MB_OKCANCEL) == IDOK;
    return ShowMessageBox(owner_, text, caption, MB_ICONQUESTION | MB_YESNO) == IDYES;
}

// A run with a person and a log (/log=) records what the boxes told.
void BoxReport::Failure(const char* text, const char* caption)
{
    LogLine(text);
    ShowMessageBox(owner_, text, caption, MB_ICONERROR);
}
