// Checks run once under each of the program's locales: the texts the loader hands out and
// the dialogs it creates must be those of the user's language.
#pragma once

#include <windows.h>
#include <stddef.h>

#include "expected_messages.h"

// Makes the message routines read the resources linked into the test program.
void UseOwnResources();

// Every message of the table loads with exactly its text; every other id 0..79 loads as "?".
void ExpectMessageTable(const ExpectedMessage* table, size_t count);

template <size_t N> void ExpectMessageTable(const ExpectedMessage (&table)[N])
{
    ExpectMessageTable(table, N);
}

// Texts by which each created template shows its language, as UTF-8.
struct LoadedTemplateTexts {
    bool japaneseFolderPage;  // radio buttons 1005/1006 present and hidden, About hidden
    const char* browseButton;
    const char* menuCheckBox;
    const char* copyStatus;
    const char* aboutCaption;
    const char* aboutOk;
    const char* uninstallStatus;
    const char* finishButton;
};

// Creates the five templates through the loader and checks what the pages rely on.
void ExpectLoadedTemplates(const LoadedTemplateTexts& expected);
