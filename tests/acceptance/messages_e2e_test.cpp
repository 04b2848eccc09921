// Every message the program can show, read from the running built program's own windows (its
// message boxes, the wizard's caption and statics, the uninstall dialog) in the suite's
// language and compared with the message table. Each scenario provokes a handful of messages
// and declares which; a scenario that shows fewer or more than the table credits it with fails,
// and so does a message of the string table that no scenario shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "e2e/language.h"
#include "messages_package.h"
#include "messages_scenarios.h"
#include "wizard/install_steps.h"

namespace {

struct Scenario {
    const char* name;
    std::function<void(class LANGUAGE_SUITE(Messages)&)> run;
};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

class LANGUAGE_SUITE(Messages) : public AcceptancePackage, public ::testing::WithParamInterface<Scenario> {
public:
    LANGUAGE_SUITE(Messages)()
        : AcceptancePackage(std::string("msg-") + GetParam().name + "-" + kLanguageTag),
          title(std::string("Acc ") + GetParam().name + " " + kLanguageTag)
    {
    }

    // Compares a text read from the program with message id formatted with the arguments, and
    // records that the scenario showed the message.
    void Check(int id, const std::string& actual, const std::vector<std::string>& arguments = {})
    {
        seen.insert(id);
        EXPECT_EQ(SuiteMessage(id, arguments), actual) << "message " << id;
    }

    // An error box of the program's own: the text, OK only, an icon.
    void CheckErrorBox(int id, const MessageBoxInfo& box, const std::vector<std::string>& arguments = {})
    {
        Check(id, box.text, arguments);
        EXPECT_EQ(std::vector<int>{IDOK}, box.buttons) << "message " << id;
        EXPECT_TRUE(box.hasIcon) << "message " << id;
    }

    std::string InfText(const std::string& extra, const std::string& group = "", bool resident = false) const
    {
        std::string text = "[Install]\r\nTitle=" + title + "\r\nFolder=TinySetupAcc\\" + key +
                           "\r\nInstallKey=" + key + "\r\nTSR=" + (resident ? "1" : "0") + "\r\n" + extra;
        if (!group.empty())
            text += "[Group]\r\n" + group;
        return text;
    }

    std::string title;
    std::set<int> seen;
};

using Fixture = LANGUAGE_SUITE(Messages);

std::string Stamp(const std::string& path, const std::string& name)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    char stamp[1024];
    FormatFileStamp(stamp, sizeof stamp, name.c_str(), data.ftLastWriteTime);
    return Utf8FromAnsi(stamp);
}

void SetDaysAgo(const std::string& path, int days)
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    FILETIME time;
    SystemTimeToFileTime(&now, &time);
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    value.QuadPart -= static_cast<ULONGLONG>(days) * 24 * 3600 * 10000000ULL;
    time.dwLowDateTime = value.LowPart;
    time.dwHighDateTime = value.HighPart;
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

void MissingSetupFile(Fixture& t)
{
    t.WritePackage("");
    DeleteFileA((t.pkg + "SETUP.INF").c_str());
    ASSERT_TRUE(t.run.Start(t.pkg + "SETUP.EXE", "abc"));
    t.CheckErrorBox(1, AnswerMessageBox(t.run.processId, IDOK));
    EXPECT_EQ(1, t.run.WaitExit());
}

void ConflictingRegistration(Fixture& t)
{
    t.WritePackage(t.InfText(""));
    const std::string other = "Other Application " + std::string(kLanguageTag);
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, t.EntryKey().c_str(), "DisplayName", other));
    ASSERT_TRUE(t.run.Start(t.pkg + "SETUP.EXE", "abc"));
    t.CheckErrorBox(2, AnswerMessageBox(t.run.processId, IDOK), {other});
    EXPECT_EQ(1, t.run.WaitExit());
}

void FolderPage(Fixture& t)
{
    t.WritePackage(t.InfText(""));
    ASSERT_TRUE(WriteFileBytes(t.root / "blocker", "a file where a folder is wanted"));
    const std::string other = "Other " + std::string(kLanguageTag);
    ASSERT_TRUE(WriteFileBytes(t.root / "other\\SETUP.INF", "[Install]\r\nTitle=" + other + "\r\n"));
    // Room for the folder, not for the installed program's path in it.
    const std::string longFolder = t.root / (std::string(250 - t.root.path().size(), 'L') + "\\");
    ASSERT_TRUE(t.StartInstaller());
    t.Check(7, ControlText(t.folderPage, IDC_PROMPT), {t.title});
    t.Check(8, WindowTitle(t.sheet), {t.title});

    struct Refusal {
        std::string destination;
        int id;
        std::vector<std::string> arguments;
    };
    const Refusal refusals[] = {
        {"Games\\Puzzle", 12, {}},
        {"C:\\", 11, {}},
        {t.root / "blocker\\App", 5, {t.root / "blocker"}},
        {t.root / "bad|name\\App", 6, {t.root / "bad|name"}},
        {t.root / "other", 42, {t.root / "other\\", other}},
        {longFolder, 43, {}},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.destination);
        t.TryDestination(refusal.destination);
        MessageBoxInfo box = AnswerMessageBox(t.run.processId, IDOK);
        t.CheckErrorBox(refusal.id, box, refusal.arguments);
        EXPECT_EQ(t.sheet, box.owner) << "owned by the page, whose wizard window the box belongs to";
        EXPECT_EQ(t.folderPage, CurrentPage(t.sheet)) << "the page stays";
    }
    // A folder that holds the user's files: the user decides, and No stays on the page.
    ASSERT_TRUE(WriteFileBytes(t.root / "users\\todo.txt", "the user's"));
    t.TryDestination(t.root / "users");
    MessageBoxInfo question = AnswerMessageBox(t.run.processId, IDNO);
    t.Check(41, question.text, {t.root / "users\\"});
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), question.buttons);
    EXPECT_EQ(t.folderPage, CurrentPage(t.sheet)) << "the page stays";

    PressWizardButton(t.sheet, PSBTN_CANCEL);
    MessageBoxInfo box = AnswerMessageBox(t.run.processId, IDOK);
    t.Check(36, box.text);
    EXPECT_EQ(t.title, box.caption);
    EXPECT_EQ(1, t.run.WaitExit());
}

void CopyPage(Fixture& t)
{
    t.WritePackage(t.InfText("1=missing.txt\r\n2=newer.txt\r\n3=locked.txt\r\n", "1=Uninstall It,SETUP.EXE,/r\r\n"));
    for (const char* name : {"newer.txt", "locked.txt"}) {
        ASSERT_TRUE(WriteFileBytes(t.pkg + name, "from the package"));
        ASSERT_TRUE(WriteFileBytes(t.dest + name, "installed earlier"));
        SetDaysAgo(t.pkg + name, 10);
    }
    SetDaysAgo(t.dest + "newer.txt", 1);
    // Installed earlier by this package, so its folder is its own.
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, t.EntryKey().c_str(), "DisplayName", t.title));
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, t.EntryKey().c_str(), "UninstallString", "\"" + t.dest + "SETUP.EXE\" /r"));
    SetDaysAgo(t.dest + "locked.txt", 20);
    std::string newerTarget = t.dest + "newer.txt";
    std::vector<std::string> questionArguments = {newerTarget, Stamp(newerTarget, "newer.txt"),
                                                  Stamp(t.pkg + "newer.txt", "newer.txt")};
    HANDLE held = CreateFileA((t.dest + "locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    struct Closer {
        HANDLE handle;
        ~Closer() { CloseHandle(handle); }
    } closer{held};

    ASSERT_TRUE(t.StartInstaller());
    ASSERT_TRUE(t.LeaveFolderAndMenuPages());

    t.CheckErrorBox(21, AnswerMessageBox(t.run.processId, IDOK), {"missing.txt"});
    MessageBoxInfo question = AnswerMessageBox(t.run.processId, IDNO);
    t.Check(19, question.text, questionArguments);
    t.Check(20, question.caption);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), question.buttons);
    t.CheckErrorBox(18, AnswerMessageBox(t.run.processId, IDOK), {t.dest + "locked.txt"});

    // Two files were not installed: neither the page nor the closing box speaks of success.
    ASSERT_TRUE(WaitForWizardButton(t.sheet, kWizardFinish, 20000));
    t.Check(40, ControlText(t.copyPage, IDC_STATUS));
    t.Check(9, ControlText(t.copyPage, IDC_UNINSTALL_HINT), {"Uninstall It"});
    PressWizardButton(t.sheet, PSBTN_FINISH);
    MessageBoxInfo done = AnswerMessageBox(t.run.processId, IDOK);
    t.Check(40, done.text);
    EXPECT_EQ(t.title, done.caption);
    EXPECT_TRUE(done.hasIcon);
    EXPECT_EQ(1, t.run.WaitExit());
    EXPECT_EQ("installed earlier", ReadFileBytes(newerTarget)) << "answered No";
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, t.EntryKey().c_str())) << "registered, to be uninstalled";
}

// Every file installed: the status line and the closing box say so.
void CleanInstall(Fixture& t)
{
    t.WritePackage(t.InfText("1=readme.txt\r\n"));
    ASSERT_TRUE(WriteFileBytes(t.pkg + "readme.txt", "read me"));
    ASSERT_TRUE(t.StartInstaller());
    ASSERT_TRUE(t.LeaveFolderAndMenuPages());
    ASSERT_TRUE(WaitForWizardButton(t.sheet, kWizardFinish, 20000));
    EXPECT_EQ(1u, DialogsOf(t.run.processId).size()) << "no box on the way";
    t.Check(22, ControlText(t.copyPage, IDC_STATUS));
    PressWizardButton(t.sheet, PSBTN_FINISH);
    MessageBoxInfo done = AnswerMessageBox(t.run.processId, IDOK);
    t.Check(35, done.text);
    EXPECT_EQ(t.title, done.caption);
    EXPECT_EQ(1, t.run.WaitExit());
    EXPECT_EQ("read me", ReadFileBytes(t.dest + "readme.txt"));
}

// Entry 1 and entry 2 held open and a "Reg" value in lower case: message 27 for the value,
// 24 for each file, 28 for entry 1, and the removal stops.
void RemovalStopsAtEntry1(Fixture& t)
{
    t.LayOutInstallation(t.InfText("1=main.exe\r\n2=data.txt\r\n") +
                             "[Reg]\r\n1=hkey_current_user\\Software\\TinySetupTest\\AccMsg\r\n",
                         {"main.exe", "data.txt"});
    std::vector<HANDLE> held;
    for (const char* name : {"main.exe", "data.txt"})
        held.push_back(CreateFileA((t.dest + name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    struct Closer {
        std::vector<HANDLE>& handles;
        ~Closer()
        {
            for (HANDLE handle : handles)
                CloseHandle(handle);
        }
    } closer{held};

    HWND dialog = t.StartWorker();
    ASSERT_NE(nullptr, dialog) << "uninstall dialog";
    t.Check(29, WindowTitle(dialog), {t.title});
    struct Box {
        int id;
        std::vector<std::string> arguments;
    };
    const Box boxes[] = {{27, {}},
                         {24, {t.dest + "data.txt"}},
                         {24, {t.dest + "main.exe"}},
                         {28, {t.dest + "main.exe", t.title}}};
    for (const Box& expected : boxes) {
        HWND box = WaitForBoxBesides(t.run.processId, dialog);
        ASSERT_NE(nullptr, box) << "message " << expected.id;
        MessageBoxInfo info = AnswerBox(box, IDOK);
        t.CheckErrorBox(expected.id, info, expected.arguments);
        EXPECT_EQ(dialog, info.owner);
    }
    ASSERT_TRUE(WaitUntil([&] { return ControlEnabled(dialog, IDC_FINISH); }));
    t.Check(30, ControlText(dialog, IDC_UNINSTALL_STATUS), {t.title});
    PressButton(dialog, IDC_FINISH);
    EXPECT_EQ(1, t.run.WaitExit());
    EXPECT_TRUE(FileExists(t.dest + "SETUP.INF")) << "the removal stopped at entry 1";
}

// A sub-folder the entries do not name keeps the install folder: message 26.
void RemovalKeepsFolder(Fixture& t)
{
    t.LayOutInstallation(t.InfText("1=main.exe\r\n"), {"main.exe", "extra\\notes.txt"});
    HWND dialog = t.StartWorker();
    ASSERT_NE(nullptr, dialog) << "uninstall dialog";
    t.Check(29, WindowTitle(dialog), {t.title});
    HWND box = WaitForBoxBesides(t.run.processId, dialog);
    ASSERT_NE(nullptr, box);
    std::string folder = t.dest.substr(0, t.dest.size() - 1);
    t.CheckErrorBox(26, AnswerBox(box, IDOK), {folder});
    ASSERT_TRUE(WaitUntil([&] { return ControlEnabled(dialog, IDC_FINISH); }));
    t.Check(30, ControlText(dialog, IDC_UNINSTALL_STATUS), {t.title});
    PressButton(dialog, IDC_FINISH);
    EXPECT_EQ(1, t.run.WaitExit());
    EXPECT_FALSE(FileExists(t.dest + "main.exe"));
    EXPECT_TRUE(FileExists(t.dest + "extra\\notes.txt"));
}

// The request of a resident program: message 32 followed by 33 in one box; Cancel.
void ResidentRequestCancelled(Fixture& t)
{
    t.LayOutInstallation(t.InfText("1=main.exe\r\n", "", true), {"main.exe"});
    ASSERT_TRUE(t.run.Start(t.dest + "SETUP.EXE", "/r"));
    AnswerMessageBox(t.run.processId, IDOK);  // the fixed Japanese question
    MessageBoxInfo box = AnswerMessageBox(t.run.processId, IDCANCEL);
    // Message 32 formatted with the title, message 33 right after it.
    std::string first = SuiteMessage(32, {t.title});
    t.Check(32, box.text.substr(0, std::min(first.size(), box.text.size())), {t.title});
    t.Check(33, box.text.size() > first.size() ? box.text.substr(first.size()) : std::string());
    EXPECT_EQ(t.title, box.caption);
    EXPECT_EQ((std::vector<int>{IDOK, IDCANCEL}), box.buttons);
    EXPECT_EQ(1, t.run.WaitExit());
    EXPECT_TRUE(FileExists(t.dest + "main.exe"));
}

// A folder in the system folder under the worker copy's name: the copy cannot be made and
// the start fails, message 34.
void WorkerStartFailure(Fixture& t)
{
    const std::string exeName = std::string("TSACC34") + kLanguageTag + ".EXE";
    const std::string blocker = SystemFolder() + "\\" + exeName;
    ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr) || FolderExists(blocker)) << blocker;
    struct Remover {
        std::string path;
        ~Remover() { RemoveDirectoryA(path.c_str()); }
    } remover{blocker};
    t.LayOutInstallation(t.InfText("1=main.exe\r\n"), {"main.exe"}, exeName);
    ASSERT_TRUE(t.run.Start(t.dest + exeName, "/r"));
    AnswerMessageBox(t.run.processId, IDOK);  // the fixed Japanese question
    MessageBoxInfo confirmation = AnswerMessageBox(t.run.processId, IDOK);
    t.Check(32, confirmation.text, {t.title});
    MessageBoxInfo box = AnswerMessageBox(t.run.processId, IDOK);
    t.CheckErrorBox(34, box);
    EXPECT_EQ(nullptr, box.owner);
    EXPECT_EQ(1, t.run.WaitExit());
    EXPECT_TRUE(FileExists(t.dest + "main.exe")) << "nothing removed";
    EXPECT_TRUE(FolderExists(blocker)) << "the folder in the way is left alone";
}

// "/r" from the package beside the user's files, and a worker started by hand on it: neither
// is the installed copy that the registration names, so both say so and remove nothing.
void NotTheInstalledCopy(Fixture& t)
{
    t.LayOutInstallation(t.InfText("1=main.exe\r\n"), {"main.exe"});
    t.WritePackage(t.InfText("1=main.exe\r\n"));
    ASSERT_TRUE(WriteFileBytes(t.pkg + "main.exe", "main.exe"));
    ASSERT_TRUE(WriteFileBytes(t.pkg + "holiday.jpg", "the user's own"));
    const std::string packageCopy = t.pkg + "SETUP.EXE";

    ASSERT_TRUE(t.run.Start(packageCopy, "/r"));
    AnswerMessageBox(t.run.processId, IDOK);  // the fixed Japanese question
    AnswerMessageBox(t.run.processId, IDOK);  // message 32
    MessageBoxInfo box = AnswerMessageBox(t.run.processId, IDOK);
    t.CheckErrorBox(39, box, {packageCopy, t.title});
    EXPECT_EQ(t.title, box.caption);
    EXPECT_EQ(1, t.run.WaitExit());

    std::string worker = t.root / "worker\\SETUP.EXE";
    ASSERT_TRUE(CopyProgram(worker));
    ASSERT_TRUE(t.run.Start(worker, "x " + packageCopy));
    t.CheckErrorBox(39, AnswerMessageBox(t.run.processId, IDOK), {packageCopy, t.title});
    EXPECT_EQ(1, t.run.WaitExit());

    for (const std::string& file : {t.pkg + "SETUP.EXE", t.pkg + "main.exe", t.pkg + "holiday.jpg",
                                    t.dest + "SETUP.EXE", t.dest + "main.exe"})
        EXPECT_TRUE(FileExists(file)) << file;
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, t.EntryKey().c_str()));
}

// Windows 3.1 as Wine reports it to a program of this name.
void OldWindows(Fixture& t)
{
    const std::string exeName = std::string("tsacc-win31-") + kLanguageTag + ".exe";
    const std::string appKey = "Software\\Wine\\AppDefaults\\" + exeName;
    struct KeyRemover {
        std::string key;
        ~KeyRemover() { DeleteRegistryTree(HKEY_CURRENT_USER, key.c_str()); }
    } remover{appKey};
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, appKey.c_str(), "Version", "win31"));
    std::string exe = t.root / exeName;
    ASSERT_TRUE(CopyProgram(exe));
    ASSERT_TRUE(t.run.Start(exe, "abc"));
    t.CheckErrorBox(38, AnswerMessageBox(t.run.processId, IDOK));
    EXPECT_EQ(1, t.run.WaitExit());
}

// "/?" lists the switches of the unattended modes, in the user's language.
void SwitchesHelp(Fixture& t)
{
    std::string exe = t.root / "SETUP.EXE";
    ASSERT_TRUE(CopyProgram(exe));
    ASSERT_TRUE(t.run.Start(exe, "/?"));
    t.CheckErrorBox(44, AnswerMessageBox(t.run.processId, IDOK));
    EXPECT_EQ(0, t.run.WaitExit());
}

const std::vector<Scenario>& Scenarios()
{
    static const std::vector<Scenario> scenarios = {
        {"MissingSetupFile", MissingSetupFile},
        {"ConflictingRegistration", ConflictingRegistration},
        {"FolderPage", FolderPage},
        {"CopyPage", CopyPage},
        {"CleanInstall", CleanInstall},
        {"RemovalStopsAtEntry1", RemovalStopsAtEntry1},
        {"RemovalKeepsFolder", RemovalKeepsFolder},
        {"ResidentRequestCancelled", ResidentRequestCancelled},
        {"WorkerStartFailure", WorkerStartFailure},
        {"NotTheInstalledCopy", NotTheInstalledCopy},
        {"OldWindows", OldWindows},
        {"SwitchesHelp", SwitchesHelp},
    };
    return scenarios;
}

// The ids the message table credits to a scenario.
std::set<int> DeclaredFor(const std::string& scenario)
{
    std::set<int> ids;
    for (const MessageScenarios& message : ScenarioTable()) {
        if (std::find(message.scenarios.begin(), message.scenarios.end(), scenario) != message.scenarios.end())
            ids.insert(message.id);
    }
    return ids;
}

std::string Listed(const std::set<int>& ids)
{
    std::string text;
    for (int id : ids)
        text += " " + std::to_string(id);
    return text;
}

LANGUAGE_TEST_P(LANGUAGE_SUITE(Messages), Shows)
{
    GetParam().run(*this);
    EXPECT_EQ(Listed(DeclaredFor(GetParam().name)), Listed(seen)) << "messages the scenario checked";
}

LANGUAGE_INSTANTIATE(Scenario, LANGUAGE_SUITE(Messages), ::testing::ValuesIn(Scenarios()),
                         [](const ::testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

// The string table linked into this program is the one the built program carries.
BOOL CALLBACK CollectStringBlock(HMODULE, LPCSTR, LPSTR name, LONG_PTR blocks)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<int>*>(blocks)->push_back(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

// Every id with a text in the string table, in one language.
std::set<int> StringTableIds(LANGID language)
{
    std::vector<int> blocks;
    EnumResourceNamesA(nullptr, MAKEINTRESOURCEA(6), CollectStringBlock, reinterpret_cast<LONG_PTR>(&blocks));
    std::set<int> ids;
    for (int block : blocks) {
        HRSRC resource = FindResourceExA(nullptr, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(block), language);
        if (resource == nullptr)
            continue;
        const WCHAR* data = static_cast<const WCHAR*>(LockResource(LoadResource(nullptr, resource)));
        for (int i = 0; i < 16; ++i) {
            WORD length = *data++;
            if (length != 0)
                ids.insert((block - 1) * 16 + i);
            data += length;
        }
    }
    return ids;
}

TEST(LANGUAGE_SUITE(MessageCoverage), EveryStringTableIdIsInTheTableAndEveryShownOneHasAScenario)
{
    std::set<std::string> scenarioNames;
    for (const Scenario& scenario : Scenarios())
        scenarioNames.insert(scenario.name);
    for (LANGID language : {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT),
                            MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL)}) {
        std::set<int> ids = StringTableIds(language);
        EXPECT_EQ(std::size(kExpectedMessages), ids.size()) << "language " << language;
        EXPECT_EQ(ScenarioTable().size(), ids.size()) << "language " << language;
        for (int id : ids) {
            EXPECT_NE(nullptr, FindExpectedMessage(id))
                << "string table id " << id << " has no text in support/expected_messages.h";
            const MessageScenarios* message = FindScenarios(id);
            ASSERT_NE(nullptr, message) << "string table id " << id << " has no entry in messages_scenarios.h";
            if (id == 37) {
                EXPECT_TRUE(message->scenarios.empty()) << "message 37 is a file-name suffix, never shown";
                continue;
            }
            // Shown when the common controls cannot be loaded; Wine's message box needs them
            // then as well, so only the unattended modes' log can carry it here.
            if (id == 45)
                continue;
            EXPECT_FALSE(message->scenarios.empty()) << "message " << id << " is shown by no scenario";
            for (const std::string& name : message->scenarios)
                EXPECT_EQ(1u, scenarioNames.count(name)) << "message " << id << " names scenario " << name;
        }
    }
}

}  // namespace
