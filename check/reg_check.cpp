// [Reg] values, judged by the uninstaller's own reading of a value and its list of shared keys:
// a value it refuses is found now, not at the user's uninstall.
#include "check/checks.h"

#include "base/shared_keys.h"
#include "base/text.h"
#include "check/report.h"
#include "setup/entry_reader.h"
#include "setup/install_state.h"
#include "uninstall/removal.h"

namespace {

constexpr const char* kReg = "Reg";

}  // namespace

void CheckRegistryEntries(const CheckedFile& file)
{
    // One byte more than a key path holds, as the uninstaller reads it.
    char value[kPathCapacity + 1];
    int count = 0;
    for (int i = 1;; ++i) {
        char key[16];
        CopyText(key, NumberText(static_cast<unsigned>(i)));
        DWORD length = ReadNumberedEntry(file.package.infPath, kReg, static_cast<unsigned>(i), value, sizeof value);
        if (length == 0)
            break;
        count = i;
        int line = LineOf(file.text, kReg, key);
        HKEY root = nullptr;
        const char* subKey = nullptr;
        if (length >= kPathCapacity)
            Report(Severity::Error, line, kReg, key, "longer than 259 characters: the uninstaller refuses it (\"Found abnormal Reg section.\")");
        else if (!SplitRegEntry(value, &root, &subKey))
            Report(Severity::Error, line, kReg, key, "not HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_CLASSES_ROOT followed by a key below it: the uninstaller refuses it (\"Found abnormal Reg section.\")");
        else if (JudgeRegistryKey(root, subKey) == KeyShare::Shared)
            Report(Severity::Error, line, kReg, key, "\"", subKey, "\" is a key shared by many programs or the system's own, or lies above one: the uninstaller refuses it (\"Found abnormal Reg section.\")");
        else if (JudgeRegistryKey(root, subKey) == KeyShare::ClassName)
            Report(Severity::Warning, line, kReg, key, "\"", subKey, "\" is a file extension or a class: the uninstaller removes it only when the install found it absent");
    }
    CheckNumbering(file, kReg, count);
}
