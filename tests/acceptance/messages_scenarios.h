// Which end-to-end scenario of messages_e2e_test.cpp shows each message of the program's
// string table and checks its text. The texts themselves are those of
// support/expected_messages.h.
#pragma once

#include <string>
#include <vector>

#include "support/expected_messages.h"

struct MessageScenarios {
    int id;
    // The scenarios that show the message; none for a text the program uses but never shows.
    std::vector<std::string> scenarios;
};

// One row per message of the string table. Message 37 is not shown: it is the language suffix
// of the setup information file's name.
inline const std::vector<MessageScenarios>& ScenarioTable()
{
    static const std::vector<MessageScenarios> table = {
        {1, {"MissingSetupFile"}},
        {2, {"ConflictingRegistration"}},
        {5, {"FolderPage"}},
        {6, {"FolderPage"}},
        {7, {"FolderPage"}},
        {8, {"FolderPage"}},
        {9, {"CopyPage"}},
        {11, {"FolderPage"}},
        {12, {"FolderPage"}},
        {18, {"CopyPage"}},
        {19, {"CopyPage"}},
        {20, {"CopyPage"}},
        {21, {"CopyPage"}},
        {22, {"CleanInstall"}},
        {24, {"RemovalStopsAtEntry1"}},
        {26, {"RemovalKeepsFolder"}},
        {27, {"RemovalStopsAtEntry1"}},
        {28, {"RemovalStopsAtEntry1"}},
        {29, {"RemovalStopsAtEntry1", "RemovalKeepsFolder"}},
        {30, {"RemovalStopsAtEntry1", "RemovalKeepsFolder"}},
        {32, {"ResidentRequestCancelled", "WorkerStartFailure"}},
        {33, {"ResidentRequestCancelled"}},
        {34, {"WorkerStartFailure"}},
        {35, {"CleanInstall"}},
        {36, {"FolderPage"}},
        {37, {}},
        {38, {"OldWindows"}},
        {39, {"NotTheInstalledCopy"}},
        {40, {"CopyPage"}},
        {41, {"FolderPage"}},
        {42, {"FolderPage"}},
        {43, {"FolderPage"}},
        {44, {"SwitchesHelp"}},
        {45, {}},
    };
    return table;
}

inline const MessageScenarios* FindScenarios(int id)
{
    for (const MessageScenarios& message : ScenarioTable()) {
        if (message.id == id)
            return &message;
    }
    return nullptr;
}

// The id of the shown message whose text (in that language) the box text is; 0 for none.
inline int IdentifyMessage(const std::string& text, MessageLanguage language)
{
    for (const MessageScenarios& message : ScenarioTable()) {
        const ExpectedMessage* expected = FindExpectedMessage(message.id);
        if (!message.scenarios.empty() && expected != nullptr && MatchesFormat(text, expected->In(language)))
            return message.id;
    }
    return 0;
}
