// Every window of the program as the user meets it, in the suite's language: the wizard's
// three pages, the about box, the closing message, the "/r" questions and the uninstall dialog.
// Each visible control must lie whole inside its parent's client area, measured on the real
// windows; a page drawn narrower than its controls (a sheet sized with another font than its
// pages) cuts buttons and texts off at its edge. CTest runs the suite at 96 and at 192 dots per
// inch (--dpi=N).
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "e2e/language.h"
#include "messages_package.h"

namespace {

constexpr int kMessageTextId = 0xFFFF;
constexpr DWORD kCopyDeadlineMs = 20000;
constexpr int kWizardNextId = 0x3024;

// The resolution CTest runs the suite at (--dpi=N on the command line).
int SuiteDpi()
{
    std::string line = GetCommandLineA();
    size_t at = line.find("--dpi=");
    return at == std::string::npos ? 96 : std::stoi(line.substr(at + 6));
}

std::string Describe(const RECT& rect)
{
    return "(" + std::to_string(rect.left) + "," + std::to_string(rect.top) + ")-(" + std::to_string(rect.right) +
           "," + std::to_string(rect.bottom) + ")";
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// What a walk over one window found: the visible controls measured, by id, and a line for each
// control that reaches outside its parent's client area.
struct Measure {
    std::set<int> ids;
    std::vector<std::string> outside;
};

BOOL CALLBACK MeasureControl(HWND control, LPARAM parameter)
{
    Measure* measure = reinterpret_cast<Measure*>(parameter);
    if (!IsWindowVisible(control))
        return TRUE;
    HWND parent = GetAncestor(control, GA_PARENT);
    RECT client;
    RECT box;
    GetClientRect(parent, &client);
    GetWindowRect(control, &box);
    // The control in the parent's client coordinates, where the client area is (0,0)-(w,h).
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&box), 2);
    int id = GetDlgCtrlID(control);
    measure->ids.insert(id);
    if (box.left < client.left || box.top < client.top || box.right > client.right || box.bottom > client.bottom) {
        measure->outside.push_back(ClassOf(control) + " " + std::to_string(id) + " \"" + WindowTitle(control) +
                                   "\" at " + Describe(box) + " in the client area " + Describe(client) + " of " +
                                   ClassOf(parent) + " \"" + WindowTitle(parent) + "\"");
    }
    return TRUE;
}

// Every descendant of the top-level window (a sheet's page and the page's controls alike).
Measure MeasureWindow(HWND window)
{
    Measure measure;
    EnumChildWindows(window, MeasureControl, reinterpret_cast<LPARAM>(&measure));
    return measure;
}

class LANGUAGE_SUITE(Layout) : public AcceptancePackage {
public:
    LANGUAGE_SUITE(Layout)() : AcceptancePackage(std::string("layout-") + kLanguageTag) {}

    std::string InfText() const
    {
        return "[Install]\r\nTitle=Pondway Puzzle\r\nFolder=TinySetupAcc\\" + key + "\r\nInstallKey=" + key +
               "\r\nMenu=Pondway\\Puzzle\r\n1=PUZZLE.EXE\r\n2=README.TXT\r\n"
               "[Group]\r\n1=Pondway Puzzle,PUZZLE.EXE\r\n2=Uninstall Pondway Puzzle,SETUP.EXE,/r\r\n";
    }

    // The installed copy's "/r" runs as a program of its own; the worker copy as another.
    ProgramRun request, worker;
};

using Fixture = LANGUAGE_SUITE(Layout);

// A window on the way: how to bring it up (nullptr when it did not come), the control that
// must be among those measured, and how to leave it for the next one.
struct Stop {
    const char* name;
    std::function<HWND(Fixture&)> open;
    int keyControl;
    std::function<void(Fixture&, HWND)> leave;
};

HWND OpenFolderPage(Fixture& t)
{
    return t.StartInstaller() ? t.sheet : nullptr;
}

// The Japanese page keeps its About button hidden; the command reaches the box all the same.
HWND OpenAboutBox(Fixture& t)
{
    PostCommand(t.folderPage, IDC_ABOUT);
    return WaitForDialogWithControl(t.run.processId, IDC_COMMENTS);
}

void CloseAboutBox(Fixture&, HWND about)
{
    PressButton(about, IDOK);
    EXPECT_TRUE(WaitGone(about)) << "the about box stays";
}

HWND OpenMenuPage(Fixture& t)
{
    t.TryDestination(t.dest);
    t.menuPage = WaitForPageWith(t.sheet, IDC_MENU_SHORTCUTS);
    return t.menuPage != nullptr && WaitForWizardButton(t.sheet, kWizardNext) ? t.sheet : nullptr;
}

void PressNext(Fixture& t, HWND)
{
    PressWizardButton(t.sheet, PSBTN_NEXT);
}

// The copy page at its end: the final status and the uninstall hint are shown.
HWND OpenFinishedCopyPage(Fixture& t)
{
    t.copyPage = WaitForPageWith(t.sheet, IDC_STATUS, kCopyDeadlineMs);
    return t.copyPage != nullptr && WaitForWizardButton(t.sheet, kWizardFinish, kCopyDeadlineMs) ? t.sheet : nullptr;
}

void PressFinish(Fixture& t, HWND)
{
    PressWizardButton(t.sheet, PSBTN_FINISH);
}

HWND OpenClosingMessage(Fixture& t)
{
    return WaitForMessageBox(t.run.processId);
}

void AnswerClosingMessage(Fixture& t, HWND box)
{
    AnswerBox(box, IDOK);
    EXPECT_EQ(1, t.run.WaitExit());
}

// The fixed Japanese question, in every interface language.
HWND OpenFirstQuestion(Fixture& t)
{
    if (!t.request.Start(t.dest + "SETUP.EXE", "/r"))
        return nullptr;
    return WaitForMessageBox(t.request.processId);
}

void AnswerOk(Fixture&, HWND box)
{
    AnswerBox(box, IDOK);
}

HWND OpenConfirmation(Fixture& t)
{
    return WaitForMessageBox(t.request.processId);
}

// Cancelled: the uninstall dialog is brought up by a worker copy started by hand, which keeps
// the system folder out of the test.
void CancelConfirmation(Fixture& t, HWND box)
{
    AnswerBox(box, IDCANCEL);
    EXPECT_EQ(1, t.request.WaitExit());
}

// The dialog once the removal has run: the final status and an enabled Finish.
HWND OpenFinishedUninstallDialog(Fixture& t)
{
    std::string copy = t.root / "worker\\SETUP.EXE";
    if (!CopyProgram(copy) || !t.worker.Start(copy, "x " + t.dest + "SETUP.EXE"))
        return nullptr;
    HWND dialog = WaitForDialogWithControl(t.worker.processId, IDC_UNINSTALL_STATUS);
    return dialog != nullptr && WaitUntil([&] { return ControlEnabled(dialog, IDC_FINISH); }, kCopyDeadlineMs)
               ? dialog
               : nullptr;
}

void PressUninstallFinish(Fixture& t, HWND dialog)
{
    PressButton(dialog, IDC_FINISH);
    EXPECT_EQ(1, t.worker.WaitExit());
}

LANGUAGE_TEST_F(Layout, EveryVisibleControlOfEveryWindowLiesInsideItsParentsClientArea)
{
    // Wine reads the user's "LogPixels" when a program starts. The value is put back: the tests
    // share one prefix, and those that follow run at its own resolution.
    RegistryValueGuard restore(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels");
    HKEY desktop;
    DWORD dpi = SuiteDpi();
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &desktop, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<BYTE*>(&dpi), sizeof dpi));
    RegCloseKey(desktop);
    WritePackage(InfText());
    ASSERT_TRUE(WriteFileBytes(pkg + "PUZZLE.EXE", "puzzle"));
    ASSERT_TRUE(WriteFileBytes(pkg + "README.TXT", "read me"));

    const Stop stops[] = {
        {"folder page", OpenFolderPage, IDC_BROWSE, nullptr},
        {"about box", OpenAboutBox, IDOK, CloseAboutBox},
        {"program-menu page", OpenMenuPage, IDC_MENU_FOLDER, PressNext},
        {"copy page", OpenFinishedCopyPage, IDC_UNINSTALL_HINT, PressFinish},
        {"closing message", OpenClosingMessage, kMessageTextId, AnswerClosingMessage},
        {"first question of /r", OpenFirstQuestion, kMessageTextId, AnswerOk},
        {"confirmation of /r", OpenConfirmation, kMessageTextId, CancelConfirmation},
        {"uninstall dialog", OpenFinishedUninstallDialog, IDC_FINISH, PressUninstallFinish},
    };
    for (const Stop& stop : stops) {
        HWND window = stop.open(*this);
        ASSERT_NE(nullptr, window) << stop.name << " did not come";
        if (window == sheet) {  // the program runs at the resolution: Next, 14 dialog units high
            RECT next;
            GetWindowRect(GetDlgItem(sheet, kWizardNextId), &next);
            EXPECT_NEAR(22, (next.bottom - next.top) * 96 / SuiteDpi(), 4) << "Next's height at " << SuiteDpi() << " dpi";
        }
        Measure measure = MeasureWindow(window);
        EXPECT_EQ(1u, measure.ids.count(stop.keyControl))
            << stop.name << ": control " << stop.keyControl << " is not among the visible ones";
        std::string lines;
        for (const std::string& line : measure.outside)
            lines += "\n  " + line;
        EXPECT_EQ("", lines) << stop.name << " (" << measure.ids.size() << " visible controls)";
        if (!measure.outside.empty())
            SaveScreenshot(std::string("Layout-") + kLanguageTag + "-" + stop.name);
        if (stop.leave)
            stop.leave(*this, window);
    }
}

}  // namespace
