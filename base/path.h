// Path routines: find separators and roots, take paths apart and put them together.
// Paths are narrow strings in the active ANSI code page; "\" and "/" are both separators,
// and every search steps over double-byte characters whole.
#pragma once

#include <stddef.h>

constexpr size_t kPathCapacity = 260;  // 259 characters and the terminator
// "\" or "/": both separate path components.
inline bool IsSeparator(char c) { return c == '\\' || c == '/'; }

const char* FindFirstSeparator(const char* text);
const char* FindLastSeparator(const char* text);
const char* FindRootEnd(const char* path);
const char* FileNamePart(const char* path);
const char* ExtensionPart(const char* path);

inline char* FindFirstSeparator(char* text) { return const_cast<char*>(FindFirstSeparator(static_cast<const char*>(text))); }
inline char* FindLastSeparator(char* text) { return const_cast<char*>(FindLastSeparator(static_cast<const char*>(text))); }
inline char* FindRootEnd(char* path) { return const_cast<char*>(FindRootEnd(static_cast<const char*>(path))); }
inline char* FileNamePart(char* path) { return const_cast<char*>(FileNamePart(static_cast<const char*>(path))); }
inline char* ExtensionPart(char* path) { return const_cast<char*>(ExtensionPart(static_cast<const char*>(path))); }

// Appends part to path, with a "\" in between unless path already ends with a separator
// (or the colon of a bare drive). At its limit: when the result would not fit in capacity
// bytes, path is left unchanged and the result is false.
bool AppendPathPart(char* path, size_t capacity, const char* part);

// Replaces the file name's extension by ext (given without the dot), or appends "." and ext
// when there is none. At its limit: refuses (path unchanged, false) rather than cut.
bool ReplaceExtension(char* path, size_t capacity, const char* ext);

// Full path without a trailing separator (except after a root). At its limit: when the
// platform cannot form the full path or it does not fit, path is unchanged and the result false.
bool NormalizeFolderPath(char* path, size_t capacity);

// Reduces a command line to its program path, in place (quotes and arguments removed).
void StripToProgramPath(char* line);

// True when a component of path is a device name that Windows reserves in every folder ("CON",
// "NUL", "aux.txt", "COM1"): a "file" of that name is the device.
bool NamesDevice(const char* path);

// Writes "a" + separator + "b" into out; false (out empty) when it does not fit.
bool JoinPath(char* out, size_t capacity, const char* folder, const char* name);

// Copies text into out when it fits (terminator included); otherwise out is unchanged and
// the result is false. The one bounded copy the program uses for paths.
bool CopyText(char* out, size_t capacity, const char* text);

// Appends text to out when the whole result fits; otherwise out is unchanged, false.
bool AppendText(char* out, size_t capacity, const char* text);

template <size_t N> bool CopyText(char (&out)[N], const char* text) { return CopyText(out, N, text); }
template <size_t N> bool AppendText(char (&out)[N], const char* text) { return AppendText(out, N, text); }
template <size_t N> bool AppendPathPart(char (&path)[N], const char* part) { return AppendPathPart(path, N, part); }
template <size_t N> bool ReplaceExtension(char (&path)[N], const char* ext) { return ReplaceExtension(path, N, ext); }
template <size_t N> bool NormalizeFolderPath(char (&path)[N]) { return NormalizeFolderPath(path, N); }
