// Packages for the wizard frame's end-to-end tests and the steps every such test takes.
#include "frame_package.h"

#include <windows.h>
#include <prsht.h>

#include <gtest/gtest.h>

bool WriteSizedFile(const std::string& path, unsigned long long size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

unsigned long long FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

FramePackage::FramePackage(const char* name, const std::string& install) : folder(name), exe(folder / "SETUP.EXE")
{
    ready = CopyProgram(exe) && WriteFileBytes(folder / "SETUP.INF", "[Install]\r\n" + install);
}

HWND StartWizard(ProgramRun& run, const FramePackage& package, const std::string& captionUtf8)
{
    if (!package.ready) {
        ADD_FAILURE() << "the package in " << package.folder.path() << " could not be written";
        return nullptr;
    }
    // Three characters pass the command-line gate and ask for the install wizard.
    if (!run.Start(package.exe, "abc")) {
        ADD_FAILURE() << "could not start " << package.exe;
        return nullptr;
    }
    HWND sheet = WaitForDialog(run.processId, 20000, captionUtf8);
    if (sheet == nullptr) {
        std::string seen;
        for (HWND window : DialogsOf(run.processId))
            seen += " \"" + WindowTitle(window) + "\"";
        ADD_FAILURE() << "no wizard captioned \"" << captionUtf8 << "\"; windows of the program:" << seen
                      << (run.Running() ? "" : " (the program has ended)");
        return nullptr;
    }
    if (WaitForPageWith(sheet, 1001) == nullptr || !WaitForWizardButton(sheet, kNextButtonId)) {
        ADD_FAILURE() << "the wizard shows no destination page with Next";
        return nullptr;
    }
    return sheet;
}

ShownBox AnswerBox(DWORD processId, int button)
{
    ShownBox box;
    HWND window = WaitForMessageBox(processId);
    if (window == nullptr)
        return box;
    box.info = ReadMessageBox(window);
    HWND icon = GetDlgItem(window, 1088);
    box.iconShown = icon != nullptr && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
    PressButton(window, button);
    WaitGone(window);
    return box;
}

ShownBox NextWithDestination(const ProgramRun& run, HWND sheet, const std::string& textUtf8)
{
    HWND page = CurrentPage(sheet);
    if (!SetControlText(page, 1001, textUtf8) || !PressWizardButton(sheet, PSBTN_NEXT))
        return ShownBox();
    return AnswerBox(run.processId, IDOK);
}
