// The shared registry keys. Every first-level key of HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE
// is shared (Software, System, Control Panel, Environment), and so are the containers listed
// here, below Software and below its 32-bit view Wow6432Node, and the system's control sets
// below HKEY_LOCAL_MACHINE\System. HKEY_CLASSES_ROOT is the view of Software\Classes: the
// containers that hold every program's classes and the system's own classes never go; a file
// extension or a class directly below it is every program's until an install shows otherwise.
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
    "Microsoft\\Windows\\CurrentVersion\\Explorer\\?",
    "Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
    "Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options",
    "Microsoft\\Windows NT\\CurrentVersion\\Fonts",
    "Policies",
};
const char* const kSoftwarePrefixes[] = {"Software\\", "Software\\Wow6432Node\\"};

// Class containers: the registrations of every program's classes and the shell's handlers
// for every file, folder and drive.
const char* const kClassContainers[] = {"CLSID",     "Interface", "TypeLib", "AppID",   "*",
                                        "AllFilesystemObjects", "Directory", "Drive", "Folder", "exefile",
                                        "lnkfile",   "batfile",   "cmdfile", "comfile", "txtfile",
                                        "Applications", "SystemFileAssociations"};

// Where they lie below HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE, and below HKEY_CLASSES_ROOT.
const char* const kSoftwareClassPrefixes[] = {"Software\\Classes\\", "Software\\Classes\\Wow6432Node\\",
                                              "Software\\Wow6432Node\\Classes\\"};
const char* const kClassRootPrefixes[] = {"", "Wow6432Node\\"};

// A key directly below them: a file extension (".txt") or a class ("txtfile", "Vendor.Document").
const char* const kClassNames[] = {"?"};

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

// The end of the key name that starts at name: the next separator or the end. A double-byte
// character is stepped over whole.
const char* NameEnd(const char* name)
{
    while (*name && *name != '\\')
        name += IsDBCSLeadByte(static_cast<BYTE>(*name)) && name[1] != '\0' ? 2 : 1;
    return name;
}

// Where key lies against the listed key ("?" standing for any one key name): at it or above it,
// below it, or apart. Both are tidy paths; names compare without regard to case.
enum class Relation { AtOrAbove, Below, Apart };

Relation Relate(const char* key, const char* listed)
{
    for (const char* name = key;; name = NameEnd(name) + 1) {
        const char* end = NameEnd(name);
        const char* listedEnd = NameEnd(listed);
        bool anyName = listedEnd - listed == 1 && *listed == '?';
        if (!anyName && CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name, static_cast<int>(end - name), listed,
                                       static_cast<int>(listedEnd - listed)) != CSTR_EQUAL)
            return Relation::Apart;
        if (*end == '\0')
            return Relation::AtOrAbove;
        if (*listedEnd == '\0')
            return Relation::Below;
        listed = listedEnd + 1;
    }
}

bool IsAtOrAboveListed(const char* key, const char* prefix, const char* container)
{
    char listed[kPathCapacity];
    return CopyText(listed, prefix) && AppendText(listed, container) && Relate(key, listed) == Relation::AtOrAbove;
}

// Below HKEY_LOCAL_MACHINE\System lie the control sets with the system's services, hardware and
// settings. All of it is the system's, down to each service's own key; only what lies below a
// service's key ("...\Services\Vendor Driver\Parameters") may be a program's.
bool IsSystemKey(HKEY root, const char* key)
{
    return root == HKEY_LOCAL_MACHINE && Relate(key, "System") != Relation::Apart &&
           Relate(key, "System\\?\\Services\\?") != Relation::Below;
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

KeyShare JudgeRegistryKey(HKEY root, const char* subKey)
{
    char key[kPathCapacity];
    bool firstLevel = true;
    if (subKey == nullptr || !TidyKeyPath(subKey, key, &firstLevel) || key[0] == '\0')
        return KeyShare::Shared;
    if (root == HKEY_CLASSES_ROOT)
        return MatchesList(key, kClassRootPrefixes, kClassContainers) ? KeyShare::Shared
               : MatchesList(key, kClassRootPrefixes, kClassNames)    ? KeyShare::ClassName
                                                                      : KeyShare::Own;
    if (firstLevel || MatchesList(key, kSoftwarePrefixes, kSoftwareContainers) ||
        MatchesList(key, kSoftwareClassPrefixes, kClassContainers) || IsSystemKey(root, key))
        return KeyShare::Shared;
    return MatchesList(key, kSoftwareClassPrefixes, kClassNames) ? KeyShare::ClassName : KeyShare::Own;
}

bool IsSharedRegistryKey(HKEY root, const char* subKey)
{
    return JudgeRegistryKey(root, subKey) == KeyShare::Shared;
}
