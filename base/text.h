// Text routines: character replacement, white-space trimming and number formatting.
#pragma once

// Replaces every single-byte character find by repl, stepping over double-byte characters.
// repl must differ from find.
void ReplaceChar(char* text, char find, char repl);

// The first single-byte character wanted in text, stepping over double-byte characters whole
// (a trail byte equal to wanted is not it); nullptr when there is none.
char* FindChar(char* text, char wanted);

// Removes white space at both ends, in place; inner white space stays.
char* TrimSpaces(char* text);

// True for the six C-locale white-space bytes (tab to carriage return, and space).
bool IsWhiteSpace(char c);

// Decimal text of n in a shared static buffer, valid until the next call.
const char* NumberText(unsigned n);
