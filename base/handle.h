// Owners of handles: one small template whose destructor releases what it holds, with one
// traits record per kind naming the release call and the value that means "no handle", and an
// owner of a COM interface pointer. These are the only places that release a handle.
#pragma once

#include <windows.h>

template <typename Traits>
class HandleOwner {
public:
    using Handle = typename Traits::Handle;

    HandleOwner() = default;
    explicit HandleOwner(Handle handle) : handle_(handle) {}
    ~HandleOwner() { Close(); }
    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;

    Handle Get() const { return handle_; }
    bool IsOpen() const { return handle_ != Traits::None(); }

    // Releases what is held and hands out the slot for a call that returns a handle through a
    // pointer (RegOpenKeyExA and the like).
    Handle* Receive()
    {
        Close();
        return &handle_;
    }

    // After a call that filled the slot of Receive(): keeps the handle when the call succeeded,
    // and forgets whatever a failed call left in the slot. Returns succeeded.
    bool KeepIf(bool succeeded)
    {
        if (!succeeded)
            handle_ = Traits::None();
        return succeeded;
    }

    // Releases what is held and takes handle instead.
    void Reset(Handle handle)
    {
        Close();
        handle_ = handle;
    }

    // Idempotent: a second call finds nothing to release.
    void Close()
    {
        if (IsOpen()) {
            Traits::Release(handle_);
            handle_ = Traits::None();
        }
    }

private:
    Handle handle_ = Traits::None();
};

// Events, processes and other kernel objects: "no handle" is null.
struct KernelObjectTraits {
    using Handle = HANDLE;
    static Handle None() { return nullptr; }
    static void Release(Handle handle) { CloseHandle(handle); }
};

// Files opened with CreateFileA: "no handle" is INVALID_HANDLE_VALUE.
struct FileTraits {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Release(Handle handle) { CloseHandle(handle); }
};

// Directory searches of FindFirstFileA.
struct FindTraits {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Release(Handle handle) { FindClose(handle); }
};

struct RegistryTraits {
    using Handle = HKEY;
    static Handle None() { return nullptr; }
    static void Release(Handle handle) { RegCloseKey(handle); }
};

// Libraries loaded at run time with LoadLibraryA.
struct LibraryTraits {
    using Handle = HMODULE;
    static Handle None() { return nullptr; }
    static void Release(Handle module) { FreeLibrary(module); }
};

// Blocks of the process heap.
struct HeapBlockTraits {
    using Handle = void*;
    static Handle None() { return nullptr; }
    static void Release(Handle block) { HeapFree(GetProcessHeap(), 0, block); }
};

using KernelObject = HandleOwner<KernelObjectTraits>;
using FileHandle = HandleOwner<FileTraits>;
using FindHandle = HandleOwner<FindTraits>;
using RegistryHandle = HandleOwner<RegistryTraits>;
using HeapBlock = HandleOwner<HeapBlockTraits>;
using LoadedLibrary = HandleOwner<LibraryTraits>;

// A block of size bytes from the process heap (flags as HeapAlloc takes them), or an empty
// owner when there is no room.
inline void* AllocateHeapBlock(HeapBlock& block, SIZE_T size, DWORD flags = 0)
{
    block.Reset(HeapAlloc(GetProcessHeap(), flags, size));
    return block.Get();
}

// Owner of one reference to a COM interface.
template <typename Interface>
class ComPointer {
public:
    ComPointer() = default;
    ~ComPointer() { Close(); }
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;

    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }
    bool IsSet() const { return pointer_ != nullptr; }

    // The slot for a call that hands out a reference (CoCreateInstance, QueryInterface).
    Interface** Receive()
    {
        Close();
        return &pointer_;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }

    void Close()
    {
        if (pointer_ != nullptr) {
            pointer_->Release();
            pointer_ = nullptr;
        }
    }

private:
    Interface* pointer_ = nullptr;
};
