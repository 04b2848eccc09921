// The run's log: one plain-text line for each action, written as it happens so that a crash
// leaves every line before it. It is the record of the run whatever shows it to a person, so the
// code that acts writes to it directly; without /log= nothing is written.
#pragma once

#include <windows.h>

enum LogActionKind {
    LogFolderMade,
    LogFileCopied,
    LogFileKept,
    LogFileFailed,
    LogShortcutMade,
    LogValueWritten,
    LogKeyDeleted,
    LogFileRemoved,
    LogFolderRemoved,
    LogFailure,
    LogAnswer,
};

// Opens path for this run's lines: emptied first, or with append the lines go after what an
// earlier process of the same run wrote. False when it cannot be written.
bool OpenLog(const char* path, bool append);
void CloseLog();
bool LogIsOpen();

// "hh:mm:ss text".
void LogLine(const char* text);

// "hh:mm:ss <what>: <path>", then " - <the system's text for error>" when error is not 0.
void LogAction(LogActionKind kind, const char* path, DWORD error = 0);
