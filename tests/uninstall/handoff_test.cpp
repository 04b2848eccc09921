// Uninstall request: the confirmation, the hand-off event's name and a worker that cannot be
// started. The whole hand-off between two processes is driven in the end-to-end tests.
#include <gtest/gtest.h>

#include <string>

#include "install_state_fixture.h"
#include "res/resource.h"
#include "setup/exit_codes.h"
#include "support/expected_messages.h"
#include "uninstall/handoff.h"

namespace {


std::string CurrentFolder()
{
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

const std::string kWorkerFailedText = ExpectedText(IDS_WORKER_FAILED, MessageLanguage::English);

TEST(HandOffEvent, BothProcessesReachTheSameEventThroughTheInstalledPath)
{
    const char installedPath[] = "C:\\Program Files\\TinySetupTest Puzzle\\TQSETUP.EXE";
    char requestName[MAX_PATH];
    ASSERT_TRUE(MakeHandOffEventName(installedPath, requestName, sizeof requestName));
    HANDLE created = CreateEventA(nullptr, FALSE, FALSE, requestName);
    ASSERT_NE(nullptr, created) << "name \"" << requestName << "\", error " << GetLastError();
    EXPECT_NE(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());

    // The worker derives the name from its own copy of the path.
    std::string workerCopy = installedPath;
    char workerName[MAX_PATH];
    ASSERT_TRUE(MakeHandOffEventName(workerCopy.c_str(), workerName, sizeof workerName));
    HANDLE opened = OpenEventA(EVENT_MODIFY_STATE, FALSE, workerName);
    ASSERT_NE(nullptr, opened) << "error " << GetLastError();
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(created, 0)) << "not signalled when created";
    EXPECT_TRUE(SetEvent(opened));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(created, 0));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(created, 0)) << "auto-reset";
    CloseHandle(opened);
    CloseHandle(created);

    // Another installation's path names another event.
    char otherName[MAX_PATH];
    ASSERT_TRUE(
        MakeHandOffEventName("C:\\Program Files\\TinySetupTest Other\\TQSETUP.EXE", otherName, sizeof otherName));
    EXPECT_STRNE(requestName, otherName);

    char small[8] = "x";
    EXPECT_FALSE(MakeHandOffEventName(installedPath, small, sizeof small));
    EXPECT_STREQ("", small);
}

class UninstallRequest : public InstallStateTest {
protected:
    UninstallRequest() : InstallStateTest("uninstall-request") {}

    void SetUp() override
    {
        InstallStateTest::SetUp();
        startFolder = CurrentFolder();
        Copy(testPackage.title, "TinySetupTest Request");
        Copy(testPackage.exeName, "TQREQUEST.EXE");
        Copy(installState.modulePath, installDir + "TQREQUEST.EXE");
        workerPath = SystemFolder() + "\\TQREQUEST.EXE";
        DeleteFileA(workerPath.c_str());
        // Not a program: should anything try to start it, nothing runs.
        ASSERT_TRUE(WriteFileBytes(installDir + "TQREQUEST.EXE", "not a program"));
        // Registered as the installed copy, which alone may start the worker.
        Copy(testPackage.installKey, "TinySetupTestRequest");
        ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kEntryKey, "DisplayName", "TinySetupTest Request"));
        ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kEntryKey, "UninstallString",
                                      "\"" + installDir + "TQREQUEST.EXE\" /r"));
    }

    void TearDown() override
    {
        SetCurrentDirectoryA(startFolder.c_str());
        DeleteFileA(workerPath.c_str());
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kEntryKey);
        InstallStateTest::TearDown();
    }

    static constexpr const char* kEntryKey =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TinySetupTestRequest";

    std::string startFolder;
    std::string workerPath;
};

TEST_F(UninstallRequest, CancelAtTheConfirmationChangesNothing)
{
    struct Case {
        bool resident;
        std::string text;
    } cases[] = {
        {false, ExpectedText(IDS_UNINSTALL_CONFIRM, MessageLanguage::English, {"TinySetupTest Request"})},
        {true, ExpectedText(IDS_UNINSTALL_CONFIRM, MessageLanguage::English, {"TinySetupTest Request"}) +
                   ExpectedText(IDS_RESIDENT_NOTE, MessageLanguage::English)},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.resident ? "resident" : "not resident");
        testPackage.residentProgram = row.resident;
        MessageBoxRecorder recorder(IDCANCEL);
        RequestUninstall(testPackage, Boxes(), nullptr);

        ASSERT_EQ(1u, recorder.boxes.size());
        const RecordedBox& box = recorder.boxes[0];
        EXPECT_EQ(row.text, box.text);
        EXPECT_EQ(nullptr, box.owner);
        EXPECT_TRUE(box.hasCaption);
        EXPECT_EQ("TinySetupTest Request", box.caption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION | MB_OKCANCEL), box.style);
        EXPECT_FALSE(FileExists(workerPath)) << "nothing copied into the system folder";
        EXPECT_EQ(startFolder, CurrentFolder());
    }
}

TEST_F(UninstallRequest, ASecondRequestWhileTheWorkerRunsEndsAtOnce)
{
    // The event the worker of this installed copy holds while it removes the installation.
    std::string name = installDir + "TQREQUEST.EXE/running";
    for (char& c : name)
        c = c == '\\' ? '/' : c;
    HANDLE running = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    ASSERT_NE(nullptr, running);

    MessageBoxRecorder recorder(IDOK);
    EXPECT_EQ(kExitFailed, RequestUninstall(testPackage, Boxes(), "/quiet"));
    EXPECT_EQ(kExitModeEnded, RequestUninstall(testPackage, Boxes(), nullptr));
    CloseHandle(running);
    EXPECT_TRUE(recorder.boxes.empty()) << "not even the question";
    EXPECT_FALSE(FileExists(workerPath));
}

TEST_F(UninstallRequest, WorkerThatCannotBeStartedIsReportedWithoutWaiting)
{
    MessageBoxRecorder recorder(IDOK);
    DWORD start = GetTickCount();
    RequestUninstall(testPackage, Boxes(), nullptr);
    DWORD elapsed = GetTickCount() - start;

    ASSERT_EQ(2u, recorder.boxes.size());
    const RecordedBox& box = recorder.boxes[1];
    EXPECT_EQ(kWorkerFailedText, box.text);
    EXPECT_EQ(nullptr, box.owner);
    EXPECT_FALSE(box.hasCaption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), box.style);
    EXPECT_LT(elapsed, 900u) << "no wait for a worker that never started";
    EXPECT_EQ("not a program", ReadFileBytes(workerPath)) << "the copy in the system folder";
    EXPECT_EQ(0, lstrcmpiA(SystemFolder().c_str(), CurrentFolder().c_str())) << CurrentFolder();
}

TEST_F(UninstallRequest, WorkerPathTooLongIsRefusedBeforeAnythingHappens)
{
    // The system folder and this name exceed a path: a cut path would name another file.
    std::string longName = std::string(250, 'Q') + ".EXE";
    Copy(testPackage.exeName, longName);
    MessageBoxRecorder recorder(IDOK);
    RequestUninstall(testPackage, Boxes(), nullptr);

    ASSERT_EQ(2u, recorder.boxes.size());
    EXPECT_EQ(kWorkerFailedText, recorder.boxes[1].text);
    EXPECT_EQ(startFolder, CurrentFolder());
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA((SystemFolder() + "\\QQQQQQQQ*").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << "no copy under a cut name: " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

}  // namespace
