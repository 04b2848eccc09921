// Whether two paths name one file: the same text after normalising, the same short name, or
// the same file as the file system identifies an open file.
#pragma once

// True when first and second name one file. Paths differing only in case, in short and long
// names, in "." and ".." or in "/" for "\" compare equal as text; where the text cannot
// decide, two existing files are compared by volume and file index. False when neither can
// tell (a path too long, a file that cannot be opened).
bool IsSameFile(const char* first, const char* second);
