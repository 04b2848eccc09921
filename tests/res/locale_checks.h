// Checks run once under each of the program's locales: the texts the loader hands out and
// the dialogs it creates must be those of the user's language.
#pragma once

#include <windows.h>
#include <stddef.h>

#include "support/expected_messages.h"

// Makes the message routines read the resources linked into the test program.
void UseOwnResources();

// Every message of the table loads with exactly its text in language; every other id 0..79
// loads as "?".
void ExpectMessageTable(MessageLanguage language);

// Creates the five templates through the loader and checks that each is the design of language
// (its caption and the texts of its buttons and statics) and what the pages rely on.
void ExpectLoadedTemplates(LANGID language);
