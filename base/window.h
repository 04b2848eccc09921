// Window placement helpers, and answering messages during a long piece of work.
#pragma once

#include <windows.h>

// Moves window to the middle of the screen (not resized, not activated, z-order kept).
void CenterWindow(HWND window);

// Lets the thread's windows repaint and answer what other threads and programs send them
// while a long piece of work runs on the thread. Input stays queued for the message loop, so
// nothing the user does can start another step meanwhile.
void AnswerWaitingMessages();
