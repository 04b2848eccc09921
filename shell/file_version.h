// The fixed file version of a file's version resource, as the system's list of programs shows it.
#pragma once

// The file version of path's version resource as "a.b.c.d" into out; false, and out unchanged,
// when the file has no readable version resource or capacity is below 24 bytes, the room the
// longest such text takes.
bool ReadFileVersion(const char* path, char* out, int capacity);
