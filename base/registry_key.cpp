// RegistryKey: one open registry key; reads only NUL-terminated REG_SZ text that fits.
#include "base/registry_key.h"

bool RegistryKey::Open(HKEY root, const char* subKey, REGSAM access)
{
    return key_.KeepIf(RegOpenKeyExA(root, subKey, 0, access, key_.Receive()) == ERROR_SUCCESS);
}

bool RegistryKey::ReadString(const char* name, char* buffer, DWORD capacity)
{
    if (!IsOpen() || capacity == 0)
        return false;
    // Read into a buffer of our own: the platform may write into the buffer even when the call
    // fails or the type is wrong, and a refused value must leave the caller's buffer alone.
    char data[2048];
    DWORD type = 0;
    DWORD size = sizeof data - 1;
    if (RegQueryValueExA(key_.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ)
        return false;
    // Stored data need not carry its terminator; terminate it here.
    data[size] = '\0';
    DWORD length = lstrlenA(data);
    if (length + 1 > capacity)
        return false;
    CopyMemory(buffer, data, length + 1);
    return true;
}

bool ReadShellFolder(const char* name, char* folder, DWORD capacity)
{
    RegistryKey key;
    return key.Open(HKEY_CURRENT_USER, kShellFoldersKey, KEY_READ) && key.ReadString(name, folder, capacity);
}

bool RegistryKey::ReadNumber(const char* name, DWORD* value)
{
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (!IsOpen() || RegQueryValueExA(key_.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
                         ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data)
        return false;
    *value = data;
    return true;
}
