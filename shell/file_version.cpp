// The fixed file version of a file's version resource, as the system's list of programs shows it.
#include "shell/file_version.h"

#include <windows.h>

#include "base/handle.h"

namespace {

// Four numbers of at most five digits, three dots and the terminator.
constexpr int kVersionTextCapacity = 24;

}  // namespace

bool ReadFileVersion(const char* path, char* out, int capacity)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    HeapBlock block;
    void* fixed = nullptr;
    UINT length = 0;
    // A resource without the fixed part gives it with the length 0.
    if (capacity < kVersionTextCapacity || size == 0 || AllocateHeapBlock(block, size) == nullptr ||
        !GetFileVersionInfoA(path, 0, size, block.Get()) || !VerQueryValueA(block.Get(), "\\", &fixed, &length) ||
        length < sizeof(VS_FIXEDFILEINFO))
        return false;
    const VS_FIXEDFILEINFO* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
    wsprintfA(out, "%u.%u.%u.%u", static_cast<unsigned>(HIWORD(info->dwFileVersionMS)),
              static_cast<unsigned>(LOWORD(info->dwFileVersionMS)), static_cast<unsigned>(HIWORD(info->dwFileVersionLS)),
              static_cast<unsigned>(LOWORD(info->dwFileVersionLS)));
    return true;
}
