// The one way the program raises a message box.
#include "base/message_box.h"

namespace {

MessageBoxHook messageBoxHook = nullptr;

// Decodes text into a wide buffer; the result is empty when it does not fit.
void Decode(UINT codePage, const char* text, WCHAR* out, int capacity)
{
    out[0] = 0;
    if (text != nullptr && MultiByteToWideChar(codePage, 0, text, -1, out, capacity) == 0)
        out[0] = 0;
}

}  // namespace

void SetMessageBoxHook(MessageBoxHook hook)
{
    messageBoxHook = hook;
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style)
{
    if (messageBoxHook != nullptr)
        return messageBoxHook(MessageBoxRequest{owner, text, caption, style, CP_ACP, CP_ACP});
    return MessageBoxA(owner, text, caption, style);
}

int ShowJapaneseMessageBox(HWND owner, const char* text, const char* caption, UINT captionCodePage, UINT style)
{
    if (messageBoxHook != nullptr)
        return messageBoxHook(MessageBoxRequest{owner, text, caption, style, 932, captionCodePage});
    WCHAR wideText[512];
    WCHAR wideCaption[128];
    Decode(932, text, wideText, 512);
    Decode(captionCodePage, caption, wideCaption, 128);
    return MessageBoxW(owner, wideText, caption ? wideCaption : nullptr, style);
}
