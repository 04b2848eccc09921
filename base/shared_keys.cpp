// The shared registry keys. Every first-level key of HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE
// is shared (Software, System, Control Panel, Environment), and so are the containers listed
// here, below Software and below its 32-bit view Wow6432Node. HKEY_CLASSES_ROOT is the view of
// Software\Classes: a class of a program's own ("Vendor.Document") lies below that shared key
// and may go, the containers that hold every program's classes may not.
#include "base/shared_keys.h"

#include "base/path.h"

namespace {

// Below "Software\" and "Software\Wow6432Node\" of HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
const char* const kSoftwareContainers[] = {
    "Classes",
    "Microsoft",
    "Microsoft\\Windows",
    "Microsoft\\Windows\\CurrentVersion",
    "Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "Microsoft\\Windows\\CurrentVersion\\App Paths",
    "Microsoft\\Windows\\CurrentVersion\\Run",
    "Microsoft\\Windows\\CurrentVersion\\RunOnce",
    "Microsoft\\Windows\\CurrentVersion\\Explorer",
    "Policies",
};
const char* const kSoftwarePrefixes[] = {"Software\\", "Software\\Wow6432Node\\"};

// Class containers: the registrations of every program's classes and the shell's handlers
// for every file, folder and drive.
const char* const kClassContainers[] = {"CLSID",  "Interface", "TypeLib", "AppID", "*", "AllFilesystemObjects",
                                        "Directory", "Drive",   "Folder"};
// Where they lie below HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE, and below HKEY_CLASSES_ROOT.
const char* const kSoftwareClassPrefixes[] = {"Software\\Classes\\", "Software\\Classes\\Wow6432Node\\",
                                              "Software\\Wow6432Node\\Classes\\"};
const char* const kClassRootPrefixes[] = {"", "Wow6432Node\\"};

// The key path without separators at either end and with doubled ones made single. Steps over
// double-byte characters whole: in the Japanese code page many have 0x5C ("\") as their second
// byte. False when it does not fit (such a key is taken as shared: it cannot be judged).
// *firstLevel tells whether the tidy path is a single key name.
bool TidyKeyPath(const char* subKey, char (&tidy)[kPathCapacity], bool* firstLevel)
{
    size_t used = 0;
    bool pendingSeparator = false;
    *firstLevel = true;
    for (const char* p = subKey; *p;) {
        if (*p == '\\') {
            pendingSeparator = used > 0;
            ++p;
            continue;
        }
        size_t width = IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != '\0' ? 2 : 1;
        if (used + (pendingSeparator ? 1 : 0) + width >= sizeof tidy)
            return false;
        if (pendingSeparator) {
            tidy[used++] = '\\';
            *firstLevel = false;
            pendingSeparator = false;
        }
        for (size_t i = 0; i < width; ++i)
            tidy[used++] = *p++;
    }
    tidy[used] = '\0';
    return true;
}

// True when key is listed (prefix + container) or lies above a listed key. Registry key names
// may hold double-byte characters, but the list is plain ASCII, so it is cut where key ends.
bool IsAtOrAboveListed(const char* key, const char* prefix, const char* container)
{
    char listed[kPathCapacity];
    if (!CopyText(listed, prefix) || !AppendText(listed, container))
        return false;
    int keyLength = lstrlenA(key);
    int listedLength = lstrlenA(listed);
    if (keyLength > listedLength)
        return false;
    if (keyLength < listedLength) {
        if (listed[keyLength] != '\\')
            return false;
        listed[keyLength] = '\0';
    }
    return lstrcmpiA(listed, key) == 0;
}

template <size_t P, size_t C>
bool MatchesList(const char* key, const char* const (&prefixes)[P], const char* const (&containers)[C])
{
    for (const char* prefix : prefixes) {
        for (const char* container : containers) {
            if (IsAtOrAboveListed(key, prefix, container))
                return true;
        }
    }
    return false;
}

}  // namespace

bool IsSharedRegistryKey(HKEY root, const char* subKey)
{
    char key[kPathCapacity];
    bool firstLevel = true;
    if (subKey == nullptr || !TidyKeyPath(subKey, key, &firstLevel) || key[0] == '\0')
        return true;
    if (root == HKEY_CLASSES_ROOT)
        return MatchesList(key, kClassRootPrefixes, kClassContainers);
    return firstLevel || MatchesList(key, kSoftwarePrefixes, kSoftwareContainers) ||
           MatchesList(key, kSoftwareClassPrefixes, kClassContainers);
}
