// Window placement helpers, and answering messages during a long piece of work.
#pragma once

#include <windows.h>

// Moves window to the middle of the screen (not resized, not activated, z-order kept).
void CenterWindow(HWND window);

// Lets the thread's windows repaint and answer what other threads and programs send them
// while a long piece of work runs on the thread. Input stays queued for the message loop, so
// nothing the user does can start another step meanwhile.
void AnswerWaitingMessages();

// The same, at most every 50 ms: called between the small pieces of a long piece of work (the
// removal, the free-space sum), so that the system never takes the window for hung.
void AnswerNowAndThen();

// A file from this size on is copied or deleted by a worker thread while the window answers:
// starting a thread costs about as much as copying a few hundred KiB.
constexpr DWORD kWorkerFileBytes = 4 * 1024 * 1024;

// Waits for the worker thread to end while this thread answers as above, calling tick(data)
// about every 50 ms when tick is given. The caller keeps (and closes) the thread's handle.
void WaitAnswering(HANDLE worker, void (*tick)(void*), void* data);
