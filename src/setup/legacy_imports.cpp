// The posix thread runtime that mingw links into every static program
// imports a few kernel32 functions that later Windows versions added:
// GetTickCount64 (Vista), the vectored exception handler pair (XP),
// TryEnterCriticalSection and GetHandleInformation (NT only). Windows refuses
// to start a program whose imports it lacks, so setup.exe would not even
// reach WinMain on Windows 98, Me or 2000. The import pointers are defined
// here instead, so the linker takes none of these from kernel32's import
// library: each one finds the system's own function at run time, with a
// fallback where the system has none.
#include <windows.h>

#include "common/system_library.h"

namespace {

template <typename Function>
Function Kernel32(const char* name)
{
    return win::FindSystemFunctionAs<Function>("kernel32.dll", name);
}

ULONGLONG WINAPI TickCount64()
{
    static const auto real = Kernel32<ULONGLONG(WINAPI*)()>("GetTickCount64");
    if (real) return real();
    // Older systems: the 32-bit count, carried over its wrap-around.
    static DWORD last = 0;
    static ULONGLONG high = 0;
    const DWORD now = GetTickCount();
    if (now < last) high += 0x100000000ULL;
    last = now;
    return high + now;
}

PVOID WINAPI AddVectoredHandler(ULONG first, PVECTORED_EXCEPTION_HANDLER handler)
{
    static const auto real =
        Kernel32<PVOID(WINAPI*)(ULONG, PVECTORED_EXCEPTION_HANDLER)>("AddVectoredExceptionHandler");
    return real ? real(first, handler) : nullptr;
}

ULONG WINAPI RemoveVectoredHandler(PVOID handle)
{
    static const auto real = Kernel32<ULONG(WINAPI*)(PVOID)>("RemoveVectoredExceptionHandler");
    return real ? real(handle) : 0;
}

// Without it (Windows 98 and Me) a try-lock waits for the lock; setup.exe
// runs its code on one thread, so it never waits.
BOOL WINAPI TryEnterSection(LPCRITICAL_SECTION section)
{
    static const auto real = Kernel32<BOOL(WINAPI*)(LPCRITICAL_SECTION)>("TryEnterCriticalSection");
    if (real) return real(section);
    EnterCriticalSection(section);
    return TRUE;
}

// Windows 98 and Me have no handle flags to report.
BOOL WINAPI HandleInformation(HANDLE handle, LPDWORD flags)
{
    static const auto real = Kernel32<BOOL(WINAPI*)(HANDLE, LPDWORD)>("GetHandleInformation");
    if (real) return real(handle, flags);
    if (flags) *flags = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

// The import pointers under the names kernel32's import library gives them.
extern "C" {
void* legacyTickCount64 __asm__("__imp__GetTickCount64@0") = reinterpret_cast<void*>(&TickCount64);
void* legacyAddVectored __asm__("__imp__AddVectoredExceptionHandler@8") =
    reinterpret_cast<void*>(&AddVectoredHandler);
void* legacyRemoveVectored __asm__("__imp__RemoveVectoredExceptionHandler@4") =
    reinterpret_cast<void*>(&RemoveVectoredHandler);
void* legacyTryEnter __asm__("__imp__TryEnterCriticalSection@4") =
    reinterpret_cast<void*>(&TryEnterSection);
void* legacyHandleInformation __asm__("__imp__GetHandleInformation@8") =
    reinterpret_cast<void*>(&HandleInformation);
}
