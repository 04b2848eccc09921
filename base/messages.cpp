// Localized messages from the string table of the program's own resources.
#include "base/messages.h"

#include <stdarg.h>

#include "base/message_box.h"
#include "base/path.h"
#include "setup/install_state.h"

namespace {

char loadedMessage[kMessageCapacity];
char formattedMessage[kMessageCapacity];

// wvsprintfA writes at most 1024 bytes, terminator included, so the shared buffer is safe.
static_assert(kMessageCapacity == 1024, "wvsprintfA's own limit");

}  // namespace

char* LoadMessageInto(char* buffer, size_t capacity, int id)
{
    if (LoadStringA(installState.instance, id, buffer, static_cast<int>(capacity)) == 0)
        CopyText(buffer, capacity, "?");
    return buffer;
}

const char* LoadMessage(int id)
{
    return LoadMessageInto(loadedMessage, sizeof loadedMessage, id);
}

const char* FormatMessageText(int id, ...)
{
    char format[kMessageCapacity];
    LoadMessageInto(format, sizeof format, id);
    va_list arguments;
    va_start(arguments, id);
    wvsprintfA(formattedMessage, format, arguments);
    va_end(arguments);
    return formattedMessage;
}

bool FormatMessageInto(char* destination, size_t capacity, int id, ...)
{
    char format[kMessageCapacity];
    char text[kMessageCapacity];
    LoadMessageInto(format, sizeof format, id);
    va_list arguments;
    va_start(arguments, id);
    wvsprintfA(text, format, arguments);
    va_end(arguments);
    return CopyText(destination, capacity, text);
}

int ShowMessage(HWND owner, int id, const char* caption, UINT style)
{
    return ShowMessageBox(owner, LoadMessage(id), caption, style);
}
