// On Windows the module's calls are counted by patching its import table: each imported heap,
// lock, wait and kernel function listed here is replaced by a wrapper that counts and calls the
// original. Calls the module makes through pointers it looks up itself, calls made inside other
// DLLs on its behalf, and locks of a runtime linked into the module that succeed without an
// imported call (the uncontended mutexes of the C++ thread library) are not seen.
#include "tools/validator/CallCounter.h"

#include "tools/PluginModule.h"
#include "tools/validator/CallCounterHooks.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>

namespace {

enum class Kind { Heap, Lock, Kernel };

void note(Kind kind, const char* function) {
    switch (kind) {
    case Kind::Heap:
        CallCounter::noteHeapCall(function);
        break;
    case Kind::Lock:
        CallCounter::noteLockCall(function);
        break;
    case Kind::Kernel:
        CallCounter::noteSystemCall(function, -1);
        break;
    }
}

template <typename Pointer> Pointer blockMade(const char* function, Pointer block) {
    CallCounter::noteHeapCall(function);
    if (block != nullptr) {
        CallCounter::noteHeapBlocks(1);
    }
    return block;
}

void blockReleased(const char* function, const void* block) {
    CallCounter::noteHeapCall(function);
    if (block != nullptr) {
        CallCounter::noteHeapBlocks(-1);
    }
}

// The originals, filled when the import is patched.
decltype(&malloc) original_malloc;
decltype(&calloc) original_calloc;
decltype(&realloc) original_realloc;
decltype(&free) original_free;
decltype(&_aligned_malloc) original__aligned_malloc;
decltype(&_aligned_realloc) original__aligned_realloc;
decltype(&_aligned_free) original__aligned_free;
decltype(&HeapAlloc) original_HeapAlloc;
decltype(&HeapReAlloc) original_HeapReAlloc;
decltype(&HeapFree) original_HeapFree;
decltype(&LocalAlloc) original_LocalAlloc;
decltype(&LocalFree) original_LocalFree;
decltype(&GlobalAlloc) original_GlobalAlloc;
decltype(&GlobalFree) original_GlobalFree;
decltype(&VirtualAlloc) original_VirtualAlloc;
decltype(&VirtualFree) original_VirtualFree;

void* __cdecl counted_malloc(size_t size) {
    return blockMade("malloc", original_malloc(size));
}
void* __cdecl counted_calloc(size_t count, size_t size) {
    return blockMade("calloc", original_calloc(count, size));
}
void* __cdecl counted_realloc(void* block, size_t size) {
    CallCounter::noteHeapCall("realloc");
    void* const moved = original_realloc(block, size);
    if (block == nullptr && moved != nullptr) {
        CallCounter::noteHeapBlocks(1);
    } else if (block != nullptr && size == 0) {
        CallCounter::noteHeapBlocks(-1);
    }
    return moved;
}
void __cdecl counted_free(void* block) {
    blockReleased("free", block);
    original_free(block);
}
void* __cdecl counted__aligned_malloc(size_t size, size_t alignment) {
    return blockMade("_aligned_malloc", original__aligned_malloc(size, alignment));
}
void* __cdecl counted__aligned_realloc(void* block, size_t size, size_t alignment) {
    CallCounter::noteHeapCall("_aligned_realloc");
    void* const moved = original__aligned_realloc(block, size, alignment);
    if (block == nullptr && moved != nullptr) {
        CallCounter::noteHeapBlocks(1);
    } else if (block != nullptr && size == 0) {
        CallCounter::noteHeapBlocks(-1);
    }
    return moved;
}
void __cdecl counted__aligned_free(void* block) {
    blockReleased("_aligned_free", block);
    original__aligned_free(block);
}
LPVOID WINAPI counted_HeapAlloc(HANDLE heap, DWORD flags, SIZE_T size) {
    return blockMade("HeapAlloc", original_HeapAlloc(heap, flags, size));
}
LPVOID WINAPI counted_HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T size) {
    CallCounter::noteHeapCall("HeapReAlloc");
    return original_HeapReAlloc(heap, flags, block, size);
}
BOOL WINAPI counted_HeapFree(HANDLE heap, DWORD flags, LPVOID block) {
    blockReleased("HeapFree", block);
    return original_HeapFree(heap, flags, block);
}
HLOCAL WINAPI counted_LocalAlloc(UINT flags, SIZE_T size) {
    return blockMade("LocalAlloc", original_LocalAlloc(flags, size));
}
HLOCAL WINAPI counted_LocalFree(HLOCAL block) {
    blockReleased("LocalFree", block);
    return original_LocalFree(block);
}
HGLOBAL WINAPI counted_GlobalAlloc(UINT flags, SIZE_T size) {
    return blockMade("GlobalAlloc", original_GlobalAlloc(flags, size));
}
HGLOBAL WINAPI counted_GlobalFree(HGLOBAL block) {
    blockReleased("GlobalFree", block);
    return original_GlobalFree(block);
}
LPVOID WINAPI counted_VirtualAlloc(LPVOID address, SIZE_T size, DWORD type, DWORD protection) {
    CallCounter::noteHeapCall("VirtualAlloc");
    return original_VirtualAlloc(address, size, type, protection);
}
BOOL WINAPI counted_VirtualFree(LPVOID address, SIZE_T size, DWORD type) {
    CallCounter::noteHeapCall("VirtualFree");
    return original_VirtualFree(address, size, type);
}

// Lock, wait and kernel functions: counted, then passed on unchanged.
#define VELTRANE_COUNTED(kind, result, convention, name, parameters, arguments)                    \
    decltype(&name) original_##name;                                                               \
    result convention counted_##name parameters {                                                  \
        note(Kind::kind, #name);                                                                   \
        return original_##name arguments;                                                          \
    }

VELTRANE_COUNTED(Lock, void, WINAPI, EnterCriticalSection, (LPCRITICAL_SECTION section), (section))
VELTRANE_COUNTED(Lock, BOOL, WINAPI, TryEnterCriticalSection, (LPCRITICAL_SECTION section),
                 (section))
VELTRANE_COUNTED(Lock, void, WINAPI, AcquireSRWLockExclusive, (PSRWLOCK lock), (lock))
VELTRANE_COUNTED(Lock, void, WINAPI, AcquireSRWLockShared, (PSRWLOCK lock), (lock))
VELTRANE_COUNTED(Lock, BOOLEAN, WINAPI, TryAcquireSRWLockExclusive, (PSRWLOCK lock), (lock))
VELTRANE_COUNTED(Lock, BOOLEAN, WINAPI, TryAcquireSRWLockShared, (PSRWLOCK lock), (lock))
VELTRANE_COUNTED(Lock, BOOL, WINAPI, SleepConditionVariableCS,
                 (PCONDITION_VARIABLE condition, PCRITICAL_SECTION section, DWORD milliseconds),
                 (condition, section, milliseconds))
VELTRANE_COUNTED(Lock, BOOL, WINAPI, SleepConditionVariableSRW,
                 (PCONDITION_VARIABLE condition, PSRWLOCK lock, DWORD milliseconds, ULONG flags),
                 (condition, lock, milliseconds, flags))
VELTRANE_COUNTED(Lock, DWORD, WINAPI, WaitForSingleObject, (HANDLE object, DWORD milliseconds),
                 (object, milliseconds))
VELTRANE_COUNTED(Lock, DWORD, WINAPI, WaitForSingleObjectEx,
                 (HANDLE object, DWORD milliseconds, BOOL alertable),
                 (object, milliseconds, alertable))
VELTRANE_COUNTED(Lock, DWORD, WINAPI, WaitForMultipleObjects,
                 (DWORD count, const HANDLE* objects, BOOL all, DWORD milliseconds),
                 (count, objects, all, milliseconds))
VELTRANE_COUNTED(Kernel, void, WINAPI, Sleep, (DWORD milliseconds), (milliseconds))
VELTRANE_COUNTED(Kernel, DWORD, WINAPI, SleepEx, (DWORD milliseconds, BOOL alertable),
                 (milliseconds, alertable))
VELTRANE_COUNTED(Kernel, BOOL, WINAPI, SwitchToThread, (), ())
VELTRANE_COUNTED(Kernel, BOOL, WINAPI, SetEvent, (HANDLE event), (event))
VELTRANE_COUNTED(Kernel, BOOL, WINAPI, ResetEvent, (HANDLE event), (event))
VELTRANE_COUNTED(Kernel, BOOL, WINAPI, ReleaseMutex, (HANDLE mutex), (mutex))
VELTRANE_COUNTED(Kernel, BOOL, WINAPI, ReleaseSemaphore,
                 (HANDLE semaphore, LONG count, LPLONG previous), (semaphore, count, previous))
VELTRANE_COUNTED(Kernel, BOOL, WINAPI, CloseHandle, (HANDLE object), (object))
VELTRANE_COUNTED(Kernel, HANDLE, WINAPI, CreateFileA,
                 (LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                  DWORD disposition, DWORD attributes, HANDLE templateFile),
                 (name, access, share, security, disposition, attributes, templateFile))
VELTRANE_COUNTED(Kernel, HANDLE, WINAPI, CreateFileW,
                 (LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                  DWORD disposition, DWORD attributes, HANDLE templateFile),
                 (name, access, share, security, disposition, attributes, templateFile))
VELTRANE_COUNTED(Kernel, BOOL, WINAPI, ReadFile,
                 (HANDLE file, LPVOID buffer, DWORD size, LPDWORD done, LPOVERLAPPED overlapped),
                 (file, buffer, size, done, overlapped))
VELTRANE_COUNTED(Kernel, BOOL, WINAPI, WriteFile,
                 (HANDLE file, LPCVOID buffer, DWORD size, LPDWORD done, LPOVERLAPPED overlapped),
                 (file, buffer, size, done, overlapped))
VELTRANE_COUNTED(Kernel, HANDLE, WINAPI, CreateThread,
                 (LPSECURITY_ATTRIBUTES security, SIZE_T stack, LPTHREAD_START_ROUTINE start,
                  LPVOID argument, DWORD flags, LPDWORD id),
                 (security, stack, start, argument, flags, id))
VELTRANE_COUNTED(Kernel, void, WINAPI, OutputDebugStringA, (LPCSTR text), (text))
VELTRANE_COUNTED(Kernel, FILE*, __cdecl, fopen, (const char* name, const char* mode), (name, mode))
VELTRANE_COUNTED(Kernel, size_t, __cdecl, fwrite,
                 (const void* data, size_t size, size_t count, FILE* file),
                 (data, size, count, file))
VELTRANE_COUNTED(Kernel, int, __cdecl, fputs, (const char* text, FILE* file), (text, file))
VELTRANE_COUNTED(Kernel, int, __cdecl, fflush, (FILE * file), (file))
VELTRANE_COUNTED(Kernel, int, __cdecl, fclose, (FILE * file), (file))

#undef VELTRANE_COUNTED

struct Hook {
    const char* name;
    void* replacement;
    void** original;
};

#define VELTRANE_HOOK(name)                                                                        \
    Hook {                                                                                         \
#name, reinterpret_cast < void*>(&counted_##name),                                         \
            reinterpret_cast < void**>(&original_##name)                                           \
    }

const Hook hooks[] = {
    VELTRANE_HOOK(malloc),
    VELTRANE_HOOK(calloc),
    VELTRANE_HOOK(realloc),
    VELTRANE_HOOK(free),
    VELTRANE_HOOK(_aligned_malloc),
    VELTRANE_HOOK(_aligned_realloc),
    VELTRANE_HOOK(_aligned_free),
    VELTRANE_HOOK(HeapAlloc),
    VELTRANE_HOOK(HeapReAlloc),
    VELTRANE_HOOK(HeapFree),
    VELTRANE_HOOK(LocalAlloc),
    VELTRANE_HOOK(LocalFree),
    VELTRANE_HOOK(GlobalAlloc),
    VELTRANE_HOOK(GlobalFree),
    VELTRANE_HOOK(VirtualAlloc),
    VELTRANE_HOOK(VirtualFree),
    VELTRANE_HOOK(EnterCriticalSection),
    VELTRANE_HOOK(TryEnterCriticalSection),
    VELTRANE_HOOK(AcquireSRWLockExclusive),
    VELTRANE_HOOK(AcquireSRWLockShared),
    VELTRANE_HOOK(TryAcquireSRWLockExclusive),
    VELTRANE_HOOK(TryAcquireSRWLockShared),
    VELTRANE_HOOK(SleepConditionVariableCS),
    VELTRANE_HOOK(SleepConditionVariableSRW),
    VELTRANE_HOOK(WaitForSingleObject),
    VELTRANE_HOOK(WaitForSingleObjectEx),
    VELTRANE_HOOK(WaitForMultipleObjects),
    VELTRANE_HOOK(Sleep),
    VELTRANE_HOOK(SleepEx),
    VELTRANE_HOOK(SwitchToThread),
    VELTRANE_HOOK(SetEvent),
    VELTRANE_HOOK(ResetEvent),
    VELTRANE_HOOK(ReleaseMutex),
    VELTRANE_HOOK(ReleaseSemaphore),
    VELTRANE_HOOK(CloseHandle),
    VELTRANE_HOOK(CreateFileA),
    VELTRANE_HOOK(CreateFileW),
    VELTRANE_HOOK(ReadFile),
    VELTRANE_HOOK(WriteFile),
    VELTRANE_HOOK(CreateThread),
    VELTRANE_HOOK(OutputDebugStringA),
    VELTRANE_HOOK(fopen),
    VELTRANE_HOOK(fwrite),
    VELTRANE_HOOK(fputs),
    VELTRANE_HOOK(fflush),
    VELTRANE_HOOK(fclose),
};

#undef VELTRANE_HOOK

const Hook* hookFor(const char* name) {
    for (const Hook& hook : hooks) {
        if (std::strcmp(hook.name, name) == 0) {
            return &hook;
        }
    }
    return nullptr;
}

bool replaceSlot(void** slot, void* replacement) {
    DWORD previous = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &previous)) {
        return false;
    }
    *slot = replacement;
    VirtualProtect(slot, sizeof *slot, previous, &previous);
    return true;
}

// Patches every import of the module that has a hook; returns the names it could not patch.
std::string patchImports(HMODULE module) {
    auto* const base = reinterpret_cast<unsigned char*>(module);
    const auto* const dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* const nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::string unpatched;
    if (directory.VirtualAddress == 0) {
        return unpatched;
    }
    for (auto* library =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         library->Name != 0; ++library) {
        if (library->OriginalFirstThunk == 0) {
            continue; // names unknown: a bound import table without its lookup table
        }
        const auto* names =
            reinterpret_cast<const IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto* const byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            const char* const name = reinterpret_cast<const char*>(byName->Name);
            const Hook* const hook = hookFor(name);
            if (hook == nullptr) {
                continue;
            }
            void** const slot = reinterpret_cast<void**>(&slots->u1.Function);
            // One original per name: a second library's function of the same name stays.
            if (*hook->original != nullptr && *hook->original != *slot) {
                unpatched += (unpatched.empty() ? "" : ", ") + std::string(name);
                continue;
            }
            *hook->original = *slot;
            if (!replaceSlot(slot, hook->replacement)) {
                unpatched += (unpatched.empty() ? "" : ", ") + std::string(name);
            }
        }
    }
    return unpatched;
}

} // namespace

namespace CallCounter {

std::string attach(const PluginModule& module) {
    const std::string unpatched = patchImports(static_cast<HMODULE>(module.nativeHandle()));
    return unpatched.empty() ? unpatched : "imports not counted: " + unpatched;
}

const char* coverage() {
    return "the heap, lock, wait, sleep, file, event and thread functions the module imports";
}

bool trapSystemCalls(std::string& whyNot) {
    whyNot.clear(); // kernel calls are counted through the module's imports
    return false;
}

} // namespace CallCounter
