// Uninstall end to end: the built program started as the worker by hand, and the whole
// request path from "/r" through the worker copy in the system folder. Each test lays out an
// installed application itself: files, setup information file, uninstall entry, shortcuts,
// registry keys.
#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "base/registry_key.h"
#include "pending_renames.h"
#include "res/resource.h"
#include "support/end_to_end_test.h"
#include "support/expected_messages.h"

namespace {

const char kTitle[] = "TinySetupTest E2E";
const char kEntryKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TinySetupTestE2E";
const char kListedKey[] = "Software\\TinySetupTest\\E2E";
const char kApplicationKey[] = "Software\\Tamberlyn\\tq";
const std::string kDialogCaption = ExpectedText(IDS_UNINSTALL_CAPTION, MessageLanguage::English, {kTitle});
const char kUsersKey[] = "Software\\TinySetupTest\\Another Program";
const char kInstalledFiles[][24] = {"PUZZLE.EXE", "data\\level1.dat", "readme.txt", "TQSETUP.INF", "TQSETUP.EXE"};

std::string ShellFolder(const char* name)
{
    return ReadRegistryValue(HKEY_CURRENT_USER, kShellFoldersKey, name).text();
}



// A message box of the process in front of the dialog. The dialog's icon is a static without
// id (65535), like a message box's text, so it is told apart by its handle.
HWND WaitForBoxOver(DWORD processId, HWND dialog)
{
    HWND box = nullptr;
    WaitUntil([&] {
        for (HWND window : DialogsOf(processId)) {
            if (window != dialog)
                box = window;
        }
        return box != nullptr;
    });
    return box;
}

// The worker copy as the system names it: a 32-bit program sees the system folder redirected
// to syswow64 on a 64-bit system.
std::vector<std::string> NamesOfSystemCopy(const std::string& name)
{
    std::vector<std::string> names = {SystemFolder() + "\\" + name};
    char wow64[MAX_PATH];
    UINT length = GetSystemWow64DirectoryA(wow64, MAX_PATH);
    if (length != 0 && length < MAX_PATH)
        names.push_back(std::string(wow64) + "\\" + name);
    return names;
}

std::string PendingList()
{
    std::string all;
    for (const std::wstring& text : PendingRenameStrings())
        all += "[" + Utf8FromWide(text) + "] ";
    return all;
}

class UninstallEndToEnd : public EndToEndTest {
protected:
    UninstallEndToEnd()
        : root(::testing::UnitTest::GetInstance()->current_test_info()->name()),
          installDir(root / "TinySetupTest E2E\\"),
          program(installDir + "TQSETUP.EXE"),
          menuDir(ShellFolder("Programs") + "\\TinySetupTest E2E"),
          desktopLink(ShellFolder("Desktop") + "\\TinySetupTest E2E.lnk"),
          startupLink(ShellFolder("Startup") + "\\TinySetupTest E2E.lnk"),
          systemCopy(SystemFolder() + "\\TQSETUP.EXE"),
          systemCopy2(SystemFolder() + "\\TQSETUP_1.EXE"),
          usersFile(root / "letter to grandma.txt"),
          execPath(HKEY_CURRENT_USER, kApplicationKey, "ExecPath"),
          tamberlynExisted(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Tamberlyn"))
    {
    }

    void SetUp() override
    {
        DeleteFileA(systemCopy.c_str());
        DeleteRegistryTree(HKEY_CURRENT_USER, kListedKey);
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kEntryKey);
    }

    void TearDown() override
    {
        EndToEndTest::TearDown();
        RemoveTree(menuDir);
        DeleteFileA(desktopLink.c_str());
        DeleteFileA(startupLink.c_str());
        DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\TinySetupTest");
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kEntryKey);
        if (!tamberlynExisted)
            DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Tamberlyn");
        // The worker copy may be let go a moment after its process ended.
        for (const std::string& copy : {systemCopy, systemCopy2})
            WaitUntil([&] { return DeleteFileA(copy.c_str()) || !FileExists(copy); }, 5000);
    }

    // The setup information file of the installation; reg: the lines of its [Reg] section.
    static std::string InfText(bool resident,
                               const std::string& reg = "1=HKEY_CURRENT_USER\\Software\\TinySetupTest\\E2E\r\n")
    {
        return std::string("[Install]\r\nTitle=") + kTitle +
               "\r\nFolder=TinySetupTest E2E\r\nInstallKey=TinySetupTestE2E\r\nTSR=" + (resident ? "1" : "0") +
               "\r\n1=PUZZLE.EXE\r\n2=data\\level1.dat\r\n3=readme.txt\r\n"
               "[Group]\r\n1=Puzzle,PUZZLE.EXE\r\n2=Uninstall Puzzle,TQSETUP.EXE,/r\r\n[Reg]\r\n" + reg;
    }

    void LayOutInstallation(bool resident, const std::string& reg = "")
    {
        std::string inf = reg.empty() ? InfText(resident) : InfText(resident, reg);
        ASSERT_TRUE(WriteFileBytes(installDir + "TQSETUP.INF", inf));
        ASSERT_TRUE(CopyProgram(program));
        for (const char* file : {"PUZZLE.EXE", "data\\level1.dat", "readme.txt"})
            ASSERT_TRUE(WriteFileBytes(installDir + file, file));

        ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kEntryKey, "DisplayName", kTitle));
        ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kEntryKey, "UninstallString", "\"" + program + "\" /r"));
        ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kEntryKey, "MenuDir", menuDir));
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kApplicationKey, "ExecPath", installDir));
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, (std::string(kListedKey) + "\\Scores").c_str(), "best", "9"));

        // The Startup folder lies in Programs: the program-menu removal, which removes emptied
        // parents of its folder, then stops there and leaves the prefix's Programs in place.
        for (const std::string& link :
             {menuDir + "\\Puzzle.lnk", menuDir + "\\Uninstall Puzzle.lnk", desktopLink, startupLink})
            ASSERT_TRUE(WriteFileBytes(link, "link"));

        // The user's own: a file beside the install folder and another program's settings.
        ASSERT_TRUE(WriteFileBytes(usersFile, "the user's own"));
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kUsersKey, "best", "7"));
    }

    void ExpectUsersOwnKept()
    {
        EXPECT_EQ("the user's own", ReadFileBytes(usersFile));
        EXPECT_EQ("7", ReadRegistryValue(HKEY_CURRENT_USER, kUsersKey, "best").text()) << kUsersKey;
    }

    void ExpectInstallationUntouched()
    {
        for (const char* file : kInstalledFiles)
            EXPECT_TRUE(FileExists(installDir + file)) << file;
        EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kEntryKey));
        EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kListedKey));
        EXPECT_TRUE(FileExists(menuDir + "\\Puzzle.lnk"));
        EXPECT_TRUE(FileExists(desktopLink));
        EXPECT_FALSE(FileExists(systemCopy)) << "nothing copied into the system folder";
    }

    void ExpectInstallationRemoved()
    {
        EXPECT_FALSE(FolderExists(installDir)) << "install folder";
        EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kEntryKey)) << "uninstall entry";
        EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kListedKey)) << "key listed in [Reg]";
        EXPECT_EQ(installDir, ReadRegistryValue(HKEY_CURRENT_USER, kApplicationKey, "ExecPath").text())
            << "the application key stays unless listed";
        EXPECT_FALSE(FolderExists(menuDir)) << "program-menu folder";
        EXPECT_FALSE(FileExists(desktopLink));
        EXPECT_FALSE(FileExists(startupLink));
    }

    // Waits for the end of the removal in the worker's dialog, checks the final status and
    // presses Finish; returns the worker's exit code.
    int FinishWorker(HWND dialog, HANDLE worker)
    {
        EXPECT_TRUE(WaitUntil([&] { return ControlEnabled(dialog, IDCANCEL); })) << "Finish never enabled";
        EXPECT_EQ(ExpectedText(IDS_UNINSTALLED, MessageLanguage::English, {kTitle}), ControlText(dialog, 1009));
        DWORD processId = 0;
        GUITHREADINFO gui = {};
        gui.cbSize = sizeof gui;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, &processId), &gui);
        EXPECT_EQ(GetDlgItem(dialog, IDCANCEL), gui.hwndFocus) << "Finish has the focus";
        EXPECT_EQ(1u, DialogsOf(processId).size()) << "no message box but the ones answered";
        PressButton(dialog, IDCANCEL);
        if (WaitForSingleObject(worker, kDefaultDeadlineMs) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(worker, &code);
        return static_cast<int>(code);
    }

    TempFolder root;
    std::string installDir, program, menuDir, desktopLink, startupLink, systemCopy, systemCopy2, usersFile;
    RegistryValueGuard execPath;
    bool tamberlynExisted;
    PendingRenamesGuard pendingRenames;
};

TEST_F(UninstallEndToEnd, WorkerStartedByHandRemovesTheInstallation)
{
    LayOutInstallation(false);
    std::string worker = root / "worker\\TQSETUP.EXE";
    ASSERT_TRUE(CopyProgram(worker));
    // A file in use makes the removal stop in a message box, so the dialog can be seen at work.
    std::string readme = installDir + "readme.txt";
    HANDLE held = CreateFileA(readme.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);

    ProgramRun run;
    ASSERT_TRUE(run.Start(worker, "x " + program));
    HWND dialog = WaitForDialog(run.processId, kDefaultDeadlineMs, kDialogCaption);
    ASSERT_NE(nullptr, dialog) << "uninstall dialog";
    HWND box = WaitForBoxOver(run.processId, dialog);
    ASSERT_NE(nullptr, box);
    MessageBoxInfo info = ReadMessageBox(box);
    EXPECT_EQ(ExpectedText(IDS_DELETE_FAILED, MessageLanguage::English, {readme}), info.text);
    EXPECT_EQ(dialog, info.owner);
    EXPECT_EQ(std::vector<int>{IDOK}, info.buttons);
    EXPECT_TRUE(info.hasIcon);
    // While the removal runs: the template's text, Finish disabled, the registration gone.
    EXPECT_EQ("Uninstalling ...", ControlText(dialog, 1009));
    EXPECT_FALSE(ControlEnabled(dialog, IDCANCEL));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kEntryKey)) << "deleted before the removal";

    // The removal stops at the file and keeps what another attempt needs, registered again.
    CloseHandle(held);
    PressButton(box, IDOK);
    EXPECT_EQ(1, FinishWorker(dialog, run.process));
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kEntryKey));
    for (const char* file : {"readme.txt", "TQSETUP.INF", "TQSETUP.EXE"})
        EXPECT_TRUE(FileExists(installDir + file)) << file;

    ProgramRun again;
    ASSERT_TRUE(again.Start(worker, "x " + program));
    dialog = WaitForDialog(again.processId, kDefaultDeadlineMs, kDialogCaption);
    ASSERT_NE(nullptr, dialog) << "uninstall dialog of the second attempt";
    EXPECT_EQ(1, FinishWorker(dialog, again.process));
    ExpectInstallationRemoved();
    EXPECT_TRUE(FileExists(worker)) << "the worker copy stays until the next start";
    EXPECT_TRUE(PendingDeletionOf(worker)) << "worker copy scheduled for deletion: " << PendingList();
}

TEST_F(UninstallEndToEnd, CancelAtEitherQuestionChangesNothing)
{
    LayOutInstallation(false);

    ProgramRun first;
    ASSERT_TRUE(first.Start(program, "/r"));
    MessageBoxInfo question = AnswerMessageBox(first.processId, IDCANCEL);
    EXPECT_EQ("ゲームを削除します。\nよろしいですか？", question.text);
    EXPECT_EQ("ゲームの削除", question.caption);
    EXPECT_EQ(0, first.WaitExit());
    ExpectInstallationUntouched();

    ProgramRun second;
    ASSERT_TRUE(second.Start(program, "/r"));
    AnswerMessageBox(second.processId, IDOK);
    MessageBoxInfo confirmation = AnswerMessageBox(second.processId, IDCANCEL);
    EXPECT_EQ(ExpectedText(IDS_UNINSTALL_CONFIRM, MessageLanguage::English, {kTitle}), confirmation.text);
    EXPECT_EQ(kTitle, confirmation.caption);
    EXPECT_EQ((std::vector<int>{IDOK, IDCANCEL}), confirmation.buttons);
    EXPECT_TRUE(confirmation.hasIcon);
    EXPECT_EQ(nullptr, confirmation.owner);
    EXPECT_EQ(1, second.WaitExit());
    ExpectInstallationUntouched();
}

TEST_F(UninstallEndToEnd, RequestStartsTheWorkerCopyFromTheSystemFolder)
{
    LayOutInstallation(true);
    // Another vendor's program of the same name in the system folder: the worker takes a free name.
    ASSERT_TRUE(WriteFileBytes(systemCopy, "another vendor's setup"));

    ProgramRun request;
    ASSERT_TRUE(request.Start(program, "/r"));
    AnswerMessageBox(request.processId, IDOK);
    MessageBoxInfo confirmation = AnswerMessageBox(request.processId, IDOK);
    EXPECT_EQ(ExpectedText(IDS_UNINSTALL_CONFIRM, MessageLanguage::English, {kTitle}) +
                  ExpectedText(IDS_RESIDENT_NOTE, MessageLanguage::English),
              confirmation.text);
    EXPECT_EQ(kTitle, confirmation.caption);

    // The worker signals once the registration is gone; the request ends then.
    EXPECT_EQ(1, request.WaitExit());
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kEntryKey)) << "gone when the request ends";

    HWND dialog = WaitForDialog(0, kDefaultDeadlineMs, kDialogCaption);
    ASSERT_NE(nullptr, dialog) << "worker dialog";
    DWORD workerId = 0;
    GetWindowThreadProcessId(dialog, &workerId);
    EXPECT_NE(request.processId, workerId);
    std::vector<std::string> names = NamesOfSystemCopy("TQSETUP_1.EXE");
    std::string image = ImageOfProcess(workerId);
    EXPECT_TRUE(lstrcmpiA(names[0].c_str(), image.c_str()) == 0 ||
                (names.size() > 1 && lstrcmpiA(names[1].c_str(), image.c_str()) == 0))
        << image;
    HANDLE worker = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, workerId);
    ASSERT_NE(nullptr, worker);

    EXPECT_EQ(1, FinishWorker(dialog, worker));
    CloseHandle(worker);

    ExpectInstallationRemoved();
    EXPECT_EQ(ReadFileBytes(SETUP_EXE_PATH), ReadFileBytes(systemCopy2)) << "the worker copy";
    EXPECT_EQ("another vendor's setup", ReadFileBytes(systemCopy));
    bool scheduled = false;
    for (const std::string& name : names)
        scheduled = scheduled || PendingDeletionOf(name);
    EXPECT_TRUE(scheduled) << "worker copy scheduled for deletion: " << PendingList();
}

// "/r" from a package unpacked among the user's downloads, and a worker started by hand on it:
// neither is the copy the registration names, so both say so and remove nothing. The installed
// copy, named by its short path, removes the installation; when entry 1 is in use the removal
// stops (message 28) and the uninstall entry is back as the install wrote it, so that the
// retry through "/r" finds it and finishes.
TEST_F(UninstallEndToEnd, OnlyTheRegisteredCopyRemovesAndAnIncompleteRemovalStaysRegistered)
{
    LayOutInstallation(false);
    std::string downloads = root / "Downloads\\";
    std::string packageCopy = downloads + "TQSETUP.EXE";
    ASSERT_TRUE(CopyProgram(packageCopy));
    ASSERT_TRUE(WriteFileBytes(downloads + "TQSETUP.INF", InfText(false)));
    for (const char* file : {"PUZZLE.EXE", "data\\level1.dat", "readme.txt", "holiday.jpg"})
        ASSERT_TRUE(WriteFileBytes(downloads + file, file));
    const std::string refusal = ExpectedText(IDS_NOT_INSTALLED_COPY, MessageLanguage::English, {packageCopy, kTitle});
    auto expectNothingRemoved = [&](const char* when) {
        SCOPED_TRACE(when);
        ExpectInstallationUntouched();
        for (const char* file : {"TQSETUP.EXE", "TQSETUP.INF", "PUZZLE.EXE", "data\\level1.dat", "readme.txt", "holiday.jpg"})
            EXPECT_TRUE(FileExists(downloads + file)) << file;
        ExpectUsersOwnKept();
    };

    ProgramRun request;
    ASSERT_TRUE(request.Start(packageCopy, "/r"));
    AnswerMessageBox(request.processId, IDOK);  // the fixed Japanese question
    EXPECT_EQ(ExpectedText(IDS_UNINSTALL_CONFIRM, MessageLanguage::English, {kTitle}),
              AnswerMessageBox(request.processId, IDOK).text);
    MessageBoxInfo box = AnswerMessageBox(request.processId, IDOK);
    EXPECT_EQ(refusal, box.text);
    EXPECT_EQ(kTitle, box.caption);
    EXPECT_TRUE(box.hasIcon);
    EXPECT_EQ(1, request.WaitExit());
    expectNothingRemoved("request from the package");

    std::string worker = root / "worker\\TQSETUP.EXE";
    ASSERT_TRUE(CopyProgram(worker));
    ProgramRun byHand;
    ASSERT_TRUE(byHand.Start(worker, "x " + packageCopy));
    EXPECT_EQ(refusal, AnswerMessageBox(byHand.processId, IDOK).text);
    EXPECT_EQ(1, byHand.WaitExit());
    EXPECT_TRUE(DialogsOf(byHand.processId).empty());
    expectNothingRemoved("worker on the package");

    // The installed copy by its short name, entry 1 held open by the running application.
    RegistryValue displayName = ReadRegistryValue(HKEY_LOCAL_MACHINE, kEntryKey, "DisplayName");
    RegistryValue command = ReadRegistryValue(HKEY_LOCAL_MACHINE, kEntryKey, "UninstallString");
    RegistryValue menu = ReadRegistryValue(HKEY_LOCAL_MACHINE, kEntryKey, "MenuDir");
    char shortPath[MAX_PATH];
    DWORD length = GetShortPathNameA(program.c_str(), shortPath, MAX_PATH);
    ASSERT_TRUE(length != 0 && length < MAX_PATH);
    std::string shortProgram = shortPath;
    ASSERT_NE(program, shortProgram) << "the install folder has a long name";
    std::string shortFolder = shortProgram.substr(0, shortProgram.rfind('\\') + 1);
    HANDLE held = CreateFileA((installDir + "PUZZLE.EXE").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    ProgramRun stopped;
    ASSERT_TRUE(stopped.Start(worker, "x " + shortProgram));
    HWND dialog = WaitForDialog(stopped.processId, kDefaultDeadlineMs, kDialogCaption);
    ASSERT_NE(nullptr, dialog) << "uninstall dialog";
    for (const std::string& text :
         {ExpectedText(IDS_DELETE_FAILED, MessageLanguage::English, {shortFolder + "PUZZLE.EXE"}),
          ExpectedText(IDS_ENTRY1_DELETE_FAILED, MessageLanguage::English, {shortFolder + "PUZZLE.EXE", kTitle})}) {
        HWND stop = WaitForBoxOver(stopped.processId, dialog);
        ASSERT_NE(nullptr, stop) << text;
        EXPECT_EQ(text, ReadMessageBox(stop).text);
        PressButton(stop, IDOK);
        WaitGone(stop);
    }
    EXPECT_TRUE(WaitUntil([&] { return ControlEnabled(dialog, IDCANCEL); }));
    PressButton(dialog, IDCANCEL);
    EXPECT_EQ(1, stopped.WaitExit());
    CloseHandle(held);
    for (const auto& value : {std::make_pair("DisplayName", displayName), std::make_pair("UninstallString", command),
                              std::make_pair("MenuDir", menu)}) {
        RegistryValue back = ReadRegistryValue(HKEY_LOCAL_MACHINE, kEntryKey, value.first);
        EXPECT_TRUE(value.second.exists) << value.first;
        EXPECT_EQ(value.second.type, back.type) << value.first;
        EXPECT_EQ(value.second.data, back.data) << value.first << " written back as the install wrote it";
    }
    EXPECT_TRUE(FileExists(program)) << "left for the retry";
    EXPECT_TRUE(FileExists(installDir + "PUZZLE.EXE"));

    // The retry, as the user starts it: through "/r" of the installed copy.
    ProgramRun retry;
    ASSERT_TRUE(retry.Start(program, "/r"));
    AnswerMessageBox(retry.processId, IDOK);
    AnswerMessageBox(retry.processId, IDOK);
    EXPECT_EQ(1, retry.WaitExit());
    HWND retryDialog = WaitForDialog(0, kDefaultDeadlineMs, kDialogCaption);
    ASSERT_NE(nullptr, retryDialog) << "worker dialog of the retry";
    DWORD workerId = 0;
    GetWindowThreadProcessId(retryDialog, &workerId);
    HANDLE retryWorker = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, workerId);
    ASSERT_NE(nullptr, retryWorker);
    EXPECT_EQ(1, FinishWorker(retryDialog, retryWorker));
    CloseHandle(retryWorker);
    ExpectInstallationRemoved();
    for (const char* file : {"TQSETUP.EXE", "TQSETUP.INF", "PUZZLE.EXE", "data\\level1.dat", "readme.txt", "holiday.jpg"})
        EXPECT_TRUE(FileExists(downloads + file)) << "the package beside the user's files: " << file;
    ExpectUsersOwnKept();
}

// "Reg" values naming keys that hold other programs' keys (a packager's slip): each is refused
// with message 27 and the removal goes on; the program's own keys below shared ones go.
TEST_F(UninstallEndToEnd, SharedRegistryKeysAreRefusedAndTheProgramsOwnKeysGo)
{
    // The test reads HKEY_LOCAL_MACHINE\Software through the same view as the program, whichever
    // edition both are built as; the 32-bit view's own name, Wow6432Node, is refused as well.
    const char kOwnAppPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\TinySetupTestE2E.exe";
    const char kOtherEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TinySetupTestOtherProgram";
    struct Remover {
        const char* key;
        ~Remover() { DeleteRegistryTree(HKEY_LOCAL_MACHINE, key); }
    } ownRemover{kOwnAppPath}, otherRemover{kOtherEntry};
    std::string reg = "1=HKEY_CURRENT_USER\\Software\r\n"
                      "2=HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\r\n"
                      "3=HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\\r\n"
                      "4=HKEY_CURRENT_USER\\Software\\TinySetupTest\\E2E\r\n"
                      "5=HKEY_LOCAL_MACHINE\\" + std::string(kOwnAppPath) + "\r\n"
                      "6=HKEY_CLASSES_ROOT\\CLSID\r\n"
                      "7=HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\r\n";
    LayOutInstallation(false, reg);
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kOwnAppPath, "", program));
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kOtherEntry, "DisplayName", "Another Program"));
    std::string worker = root / "worker\\TQSETUP.EXE";
    ASSERT_TRUE(CopyProgram(worker));

    ProgramRun run;
    ASSERT_TRUE(run.Start(worker, "x " + program));
    HWND dialog = WaitForDialog(run.processId, kDefaultDeadlineMs, kDialogCaption);
    ASSERT_NE(nullptr, dialog) << "uninstall dialog";
    for (int i = 0; i < 5; ++i) {
        HWND box = WaitForBoxOver(run.processId, dialog);
        ASSERT_NE(nullptr, box) << "box " << i;
        EXPECT_EQ(ExpectedText(IDS_ABNORMAL_REG, MessageLanguage::English), ReadMessageBox(box).text);
        PressButton(box, IDOK);
        WaitGone(box);
    }
    EXPECT_EQ(1, FinishWorker(dialog, run.process));

    ExpectInstallationRemoved();
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kOwnAppPath)) << "below a shared key: the program's own";
    EXPECT_EQ("Another Program", ReadRegistryValue(HKEY_LOCAL_MACHINE, kOtherEntry, "DisplayName").text());
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Wine")) << "another vendor's settings";
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kShellFoldersKey));
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kCurrentVersionKey));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, "CLSID"));
    ExpectUsersOwnKept();
}

// Escape, the close box and Alt+F4, from the moment the dialog shows until the removal has
// run: none ends the dialog before the removal, which runs whole. (Those still queued when it
// has run may end it then, as Finish would.)
TEST_F(UninstallEndToEnd, ClosingTheDialogBeforeTheRemovalRanIsIgnored)
{
    LayOutInstallation(false);
    std::string worker = root / "worker\\TQSETUP.EXE";
    ASSERT_TRUE(CopyProgram(worker));
    ProgramRun run;
    ASSERT_TRUE(run.Start(worker, "x " + program));
    HWND dialog = WaitForDialog(run.processId, kDefaultDeadlineMs, kDialogCaption);
    ASSERT_NE(nullptr, dialog) << "uninstall dialog";

    // Entry 3, the first file the removal deletes, tells whether a close came before it ran.
    int closedBeforeRemoval = 0;
    WaitUntil([&] {
        bool notYet = FileExists(installDir + "readme.txt");
        PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        DWORD_PTR result = 0;
        if (SendMessageTimeoutA(dialog, WM_COMMAND, IDCANCEL, 0, SMTO_NORMAL, 5000, &result) && notYet &&
            FileExists(installDir + "readme.txt"))
            ++closedBeforeRemoval;
        return !IsWindow(dialog) || ControlEnabled(dialog, IDCANCEL);
    });
    EXPECT_GT(closedBeforeRemoval, 0) << "no close reached the dialog before the removal";
    if (IsWindow(dialog))
        PressButton(dialog, IDCANCEL);
    EXPECT_EQ(1, run.WaitExit());
    ExpectInstallationRemoved();
    ExpectUsersOwnKept();
}

}  // namespace
