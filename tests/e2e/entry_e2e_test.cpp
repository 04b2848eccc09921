// The built program's start-up seen from outside: which command lines it refuses silently,
// the fixed uninstall confirmation, the choice of mode, the refusal of old systems.
// No setup information file lies beside the program, so every accepted start ends with
// message 1 and exit code 1.
#include <gtest/gtest.h>

#include "support/end_to_end_test.h"
#include "language.h"
#include "res/resource.h"

namespace {

const char kConfirmationText[] = "ゲームを削除します。\nよろしいですか？";
const char kConfirmationCaption[] = "ゲームの削除";

std::string NoInformationText()
{
    return SuiteMessage(IDS_NO_INFORMATION);
}

std::string OldWindowsText()
{
    return SuiteMessage(IDS_OLD_WINDOWS);
}

// An error box of the program's own: no owner, the text, OK only, an icon.
void ExpectErrorBox(const MessageBoxInfo& box, const std::string& text)
{
    EXPECT_EQ(text, box.text);
    EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
    EXPECT_TRUE(box.hasIcon);
    EXPECT_EQ(nullptr, box.owner);
}

void ExpectConfirmation(const MessageBoxInfo& box)
{
    EXPECT_EQ(kConfirmationText, box.text);
    EXPECT_EQ(kConfirmationCaption, box.caption);
    EXPECT_EQ((std::vector<int>{IDOK, IDCANCEL}), box.buttons);
    EXPECT_FALSE(box.hasIcon);
    EXPECT_EQ(nullptr, box.owner);
}

// The program must end by itself with exit code 0 without ever showing a dialog. Polls until
// the process is gone, so a window that shows up at any time is seen.
void ExpectSilentExit(ProgramRun& run)
{
    bool sawDialog = false;
    bool ended = WaitUntil([&] {
        sawDialog = sawDialog || !DialogsOf(run.processId).empty();
        return sawDialog || !run.Running();
    });
    std::vector<HWND> dialogs = DialogsOf(run.processId);
    EXPECT_FALSE(sawDialog) << "a window appeared: " << (dialogs.empty() ? "" : ReadMessageBox(dialogs[0]).text);
    EXPECT_TRUE(ended);
    EXPECT_EQ(0, run.WaitExit());
}

// Answers the box of message 1 and expects the program to end with exit code 1.
void ExpectNoInformationAndExit(ProgramRun& run)
{
    MessageBoxInfo box = AnswerMessageBox(run.processId, IDOK);
    ExpectErrorBox(box, NoInformationText());
    EXPECT_EQ(1, run.WaitExit());
}

class LANGUAGE_SUITE(Entry) : public EndToEndTest {};

}  // namespace

LANGUAGE_TEST_F(Entry, CommandLinesFailingTheGateEndSilentlyWithExitCode0)
{
    TempFolder folder("entry-gate");
    std::string exe = CopyProgramTo(folder);
    for (const char* line : {"", "ab", "/abc", "abcd", "12345", "a bc"}) {
        SCOPED_TRACE(std::string("command line \"") + line + "\"");
        ProgramRun run;
        ASSERT_TRUE(run.Start(exe, line));
        ExpectSilentExit(run);
    }
}

LANGUAGE_TEST_F(Entry, CommandLinesPassingTheGateReachTheSettingsWithoutConfirmation)
{
    // Three characters, or an x/X anywhere but no r/R: the install path (or, for a leading x,
    // the worker), never the uninstall confirmation.
    TempFolder folder("entry-pass");
    std::string exe = CopyProgramTo(folder);
    for (const char* line : {"abc", "/ab", "ABC", "a b", "X12", "X12345", "aX", "/X"}) {
        SCOPED_TRACE(std::string("command line \"") + line + "\"");
        ProgramRun run;
        ASSERT_TRUE(run.Start(exe, line));
        ExpectNoInformationAndExit(run);
    }
}

LANGUAGE_TEST_F(Entry, UninstallConfirmationIsTheFixedJapaneseTextAndCancelEndsWithExitCode0)
{
    TempFolder folder("entry-confirm-cancel");
    std::string exe = CopyProgramTo(folder);
    for (const char* line : {"/r", "war", "R", "/R12"}) {
        SCOPED_TRACE(std::string("command line \"") + line + "\"");
        ProgramRun run;
        ASSERT_TRUE(run.Start(exe, line));
        HWND box = WaitForMessageBox(run.processId);
        ASSERT_NE(nullptr, box);
        ExpectConfirmation(ReadMessageBox(box));
        EXPECT_TRUE(PressButton(box, IDCANCEL));
        EXPECT_TRUE(WaitGone(box));
        // Nothing else: no message 1, no other window, exit code 0.
        ExpectSilentExit(run);
    }
}

LANGUAGE_TEST_F(Entry, UninstallConfirmationOkGoesOnToTheSettings)
{
    TempFolder folder("entry-confirm-ok");
    std::string exe = CopyProgramTo(folder);
    for (const char* line : {"/r", "war"}) {
        SCOPED_TRACE(std::string("command line \"") + line + "\"");
        ProgramRun run;
        ASSERT_TRUE(run.Start(exe, line));
        MessageBoxInfo confirmation = AnswerMessageBox(run.processId, IDOK);
        ExpectConfirmation(confirmation);
        ExpectNoInformationAndExit(run);
    }
}

LANGUAGE_TEST_F(Entry, WorkerCommandLineSkipsTheConfirmation)
{
    // The worker's path contains an r, which would ask for confirmation in any other mode.
    TempFolder folder("entry-worker");
    std::string exe = CopyProgramTo(folder);
    std::string installed = folder / "Program\\SETUP.EXE";
    ASSERT_TRUE(CopyProgram(installed));
    ProgramRun run;
    ASSERT_TRUE(run.Start(exe, "x " + installed));
    ExpectNoInformationAndExit(run);
}

namespace {

// Runs the program under its own name with the Windows version Wine reports to it set through
// the AppDefaults key of that name; the key goes away afterwards.
class LANGUAGE_SUITE(EntryVersion) : public EndToEndTest {
protected:
    void RunWithVersion(const char* version, const char* commandLine, int expectedExit, const std::string& expectedText)
    {
        const std::string lang = InLanguage("en", "ja", "zh");
        const std::string exeName = "tsver-" + std::string(version) + "-" + lang + ".exe";
        const std::string key = "Software\\Wine\\AppDefaults\\" + exeName;
        TempFolder folder(("entry-version-" + std::string(version) + "-" + lang).c_str());
        std::string exe = CopyProgramTo(folder, exeName);
        struct KeyRemover {
            std::string key;
            ~KeyRemover() { DeleteRegistryTree(HKEY_CURRENT_USER, key.c_str()); }
        } remover{key};
        RegistryValueGuard guard(HKEY_CURRENT_USER, key.c_str(), "Version");
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, key.c_str(), "Version", version));

        ProgramRun run;
        ASSERT_TRUE(run.Start(exe, commandLine));
        ExpectErrorBox(AnswerMessageBox(run.processId, IDOK), expectedText);
        EXPECT_EQ(expectedExit, run.WaitExit());
    }
};

}  // namespace

LANGUAGE_TEST_F(EntryVersion, Windows31IsRefusedWithMessage38BeforeTheGate)
{
    // An empty command line would fail the gate silently: the system check comes first.
    RunWithVersion("win31", "", 1, OldWindowsText());
    RunWithVersion("win31", "abc", 1, OldWindowsText());
}

LANGUAGE_TEST_F(EntryVersion, Windows95PassesTheSystemCheck)
{
    RunWithVersion("win95", "abc", 1, NoInformationText());
}

namespace {

// A setup information file the settings accept, so the entry gets as far as its modes.
constexpr char kDemoTitle[] = "Entry Demo";
constexpr int kSheetNextButton = 0x3024;

class LANGUAGE_SUITE(EntryModes) : public EndToEndTest {
protected:
    void SetUp() override
    {
        exe = CopyProgramTo(folder);
        ASSERT_TRUE(WriteFileBytes(folder / "SETUP.INF", std::string("[Install]\r\nTitle=") + kDemoTitle +
                                                             "\r\nFolder=\\TinySetupEntryTest\\Demo\r\n"
                                                             "InstallKey=TinySetupEntryModes\r\n1=SETUP.EXE\r\n"));
    }

    // Expects the install mode: its wizard (a dialog with the wizard's Next button, captioned
    // with message 8), or, should the wizard end at once, the mode's closing message 36
    // captioned with the title. Either way not the uninstall request's message 32.
    void ExpectInstallMode(const ProgramRun& run)
    {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                for (HWND dialog : DialogsOf(run.processId)) {
                    if (GetDlgItem(dialog, kSheetNextButton) != nullptr || GetDlgItem(dialog, 65535) != nullptr)
                        found = dialog;
                }
                return found != nullptr || !run.Running();
            },
            20000);
        ASSERT_NE(nullptr, found) << "neither the wizard nor a message box" << (run.Running() ? "" : " (the program has ended)");
        if (GetDlgItem(found, kSheetNextButton) != nullptr) {
            EXPECT_EQ(SuiteMessage(IDS_WIZARD_CAPTION, {kDemoTitle}), WindowTitle(found));
            return;
        }
        MessageBoxInfo box = ReadMessageBox(found);
        EXPECT_EQ(SuiteMessage(IDS_INSTALL_INTERRUPTED), box.text);
        EXPECT_EQ(kDemoTitle, box.caption);
    }

    TempFolder folder{"entry-modes"};
    std::string exe;
};

}  // namespace

LANGUAGE_TEST_F(EntryModes, InstallCommandLinesRunTheInstallModeWithoutConfirmation)
{
    for (const char* line : {"abc", "X12"}) {
        SCOPED_TRACE(std::string("command line \"") + line + "\"");
        ProgramRun run;
        ASSERT_TRUE(run.Start(exe, line));
        ExpectInstallMode(run);
        run.Kill();
    }
}

LANGUAGE_TEST_F(EntryModes, ConfirmedWarRunsTheInstallModeNotTheUninstall)
{
    // "war" contains r, so it asks first; its first character is w, so it installs.
    ProgramRun run;
    ASSERT_TRUE(run.Start(exe, "war"));
    ExpectConfirmation(AnswerMessageBox(run.processId, IDOK));
    ExpectInstallMode(run);
}

LANGUAGE_TEST_F(EntryModes, ConfirmedSlashRGoesOnToTheUninstallRequest)
{
    ProgramRun run;
    ASSERT_TRUE(run.Start(exe, "/r"));
    ExpectConfirmation(AnswerMessageBox(run.processId, IDOK));
    // The request's own question names the application (message 32, caption the title).
    MessageBoxInfo request = AnswerMessageBox(run.processId, IDCANCEL);
    EXPECT_EQ(SuiteMessage(IDS_UNINSTALL_CONFIRM, {kDemoTitle}), request.text);
    EXPECT_EQ(kDemoTitle, request.caption);
    EXPECT_EQ((std::vector<int>{IDOK, IDCANCEL}), request.buttons);
    EXPECT_EQ(1, run.WaitExit());
    EXPECT_TRUE(FileExists(folder / "SETUP.EXE"));
}
