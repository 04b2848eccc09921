// Localized messages from the string table of the program's own resources.
#include "base/messages.h"

#include <stdarg.h>

#include "base/message_box.h"
#include "base/path.h"

namespace {

char loadedMessage[kMessageCapacity];
char formattedMessage[kMessageCapacity];

// wvsprintfA writes at most 1024 bytes, terminator included, so the shared buffer is safe.
static_assert(kMessageCapacity == 1024, "wvsprintfA's own limit");

}  // namespace

char* LoadMessageInto(char* buffer, size_t capacity, int id)
{
    // The texts are resources of the program file itself.
    if (LoadStringA(GetModuleHandleA(nullptr), id, buffer, static_cast<int>(capacity)) == 0)
        CopyText(buffer, capacity, "?");
    return buffer;
}

const char* LoadMessage(int id)
{
    return LoadMessageInto(loadedMessage, sizeof loadedMessage, id);
}

namespace {

// Loads the format into a buffer of its own, so the loaded-message buffer stays as it was.
void FormatWithArguments(char* out, int id, va_list arguments)
{
    char format[kMessageCapacity];
    LoadMessageInto(format, sizeof format, id);
    wvsprintfA(out, format, arguments);
}

}  // namespace

const char* FormatMessageText(int id, ...)
{
    va_list arguments;
    va_start(arguments, id);
    FormatWithArguments(formattedMessage, id, arguments);
    va_end(arguments);
    return formattedMessage;
}

bool FormatMessageInto(char* destination, size_t capacity, int id, ...)
{
    char text[kMessageCapacity];
    va_list arguments;
    va_start(arguments, id);
    FormatWithArguments(text, id, arguments);
    va_end(arguments);
    return CopyText(destination, capacity, text);
}

int ShowMessage(HWND owner, int id, const char* caption, UINT style)
{
    return ShowMessageBox(owner, LoadMessage(id), caption, style);
}
