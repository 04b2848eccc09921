// Localized messages: load a string-table text by id and format it, or show it in a box.
#pragma once

#include <windows.h>
#include <stddef.h>

constexpr size_t kMessageCapacity = 1024;

// Loads message id into buffer ("?" when the id has no text); returns buffer.
char* LoadMessageInto(char* buffer, size_t capacity, int id);

// Loads message id into the shared loaded-message buffer, valid until the next call.
const char* LoadMessage(int id);

// Formats message id with its "%s" arguments into the shared formatted-message buffer.
const char* FormatMessageText(int id, ...);

// Formats message id into destination. At its limit: when the formatted text and its
// terminator do not fit in capacity bytes, destination is unchanged and the result false.
bool FormatMessageInto(char* destination, size_t capacity, int id, ...);

// Shows message id in a message box; returns the button pressed.
int ShowMessage(HWND owner, int id, const char* caption, UINT style);
