// The one way the program raises a message box, so that text, caption, style and owner are
// decided in one place and tests can observe every box.
#pragma once

#include <windows.h>

// What a box was asked to show. codePage is CP_ACP for the program's own texts and 932 for the
// fixed Japanese texts, which are Shift-JIS bytes whatever the user's code page.
struct MessageBoxRequest {
    HWND owner;
    const char* text;
    const char* caption;
    UINT style;
    UINT codePage;         // of text
    UINT captionCodePage;  // of caption
};

// A hook sees every request instead of the platform; its result stands for the button pressed.
typedef int (*MessageBoxHook)(const MessageBoxRequest& request);
void SetMessageBoxHook(MessageBoxHook hook);

// Shows text in the active ANSI code page (MessageBoxA).
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style);

// Shows a fixed Shift-JIS text legibly under every code page: decoded from code page 932 and
// shown with the wide message box. The caption is decoded from captionCodePage (932 for a fixed
// Japanese caption, CP_ACP for the application's title).
int ShowJapaneseMessageBox(HWND owner, const char* text, const char* caption, UINT captionCodePage, UINT style);
