// Window placement helpers, and answering messages during a long piece of work.
#include "base/window.h"

void CenterWindow(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    // Signed arithmetic: a window larger than the screen gets a negative position.
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

constexpr DWORD kTickMs = 50;
DWORD lastAnswered;

}  // namespace

void AnswerNowAndThen()
{
    DWORD now = GetTickCount();
    if (now - lastAnswered < kTickMs)
        return;
    lastAnswered = now;
    AnswerWaitingMessages();
}

void AnswerWaitingMessages()
{
    // Looking at the queue delivers the messages sent to the thread; only paint is taken out.
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        DispatchMessageA(&message);
}

void WaitAnswering(HANDLE worker, void (*tick)(void*), void* data)
{
    for (;;) {
        DWORD woken = MsgWaitForMultipleObjects(1, &worker, FALSE, kTickMs, QS_SENDMESSAGE | QS_PAINT);
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED)
            break;
        AnswerWaitingMessages();
        if (tick != nullptr)
            tick(data);
    }
    WaitForSingleObject(worker, INFINITE);
}
