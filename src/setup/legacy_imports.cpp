// The posix thread runtime that mingw links into every static program
// imports kernel32 functions that not every Windows the launcher supports
// has: GetTickCount64 (Vista), the vectored exception handler pair (XP),
// and TryEnterCriticalSection, GetHandleInformation and
// SetProcessAffinityMask, which Windows 98 and Me export only as stubs that
// always fail. Windows refuses to start a program whose imports it lacks, so
// setup.exe would not even reach WinMain there. The import pointers are
// defined here instead, so the linker takes none of these from kernel32's
// import library: each one uses the system's function where the late-bound
// table gives one, and a fallback elsewhere. The names are the i386 ones
// (underscore, stdcall size), so only the 32-bit setup.exe builds this file.
#if !defined(__i386__)
#error "legacy_imports.cpp replaces i386 import names; the 64-bit build leaves it out"
#endif
#include <windows.h>

#include "common/system_library.h"

namespace {

using win::LateBound;
using win::LateBoundAs;

ULONGLONG WINAPI TickCount64()
{
    if (auto real = LateBoundAs<ULONGLONG(WINAPI*)()>(LateBound::kGetTickCount64)) return real();
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
    using Function = PVOID(WINAPI*)(ULONG, PVECTORED_EXCEPTION_HANDLER);
    auto real = LateBoundAs<Function>(LateBound::kAddVectoredExceptionHandler);
    return real ? real(first, handler) : nullptr;
}

ULONG WINAPI RemoveVectoredHandler(PVOID handle)
{
    auto real = LateBoundAs<ULONG(WINAPI*)(PVOID)>(LateBound::kRemoveVectoredExceptionHandler);
    return real ? real(handle) : 0;
}

// Without it (Windows 98 and Me) a try-lock waits for the lock; setup.exe
// runs its code on one thread, so it never waits.
BOOL WINAPI TryEnterSection(LPCRITICAL_SECTION section)
{
    if (auto real = LateBoundAs<BOOL(WINAPI*)(LPCRITICAL_SECTION)>(LateBound::kTryEnterCriticalSection)) {
        return real(section);
    }
    EnterCriticalSection(section);
    return TRUE;
}

// Windows 98 and Me have no handle flags to report.
BOOL WINAPI HandleInformation(HANDLE handle, LPDWORD flags)
{
    if (auto real = LateBoundAs<BOOL(WINAPI*)(HANDLE, LPDWORD)>(LateBound::kGetHandleInformation)) {
        return real(handle, flags);
    }
    if (flags) *flags = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

BOOL WINAPI DebuggerPresent()
{
    auto real = LateBoundAs<BOOL(WINAPI*)()>(LateBound::kIsDebuggerPresent);
    return real ? real() : FALSE;
}

// Windows 98 and Me run every process on their one processor.
BOOL WINAPI ProcessAffinityMask(HANDLE process, DWORD_PTR mask)
{
    if (auto real = LateBoundAs<BOOL(WINAPI*)(HANDLE, DWORD_PTR)>(LateBound::kSetProcessAffinityMask)) {
        return real(process, mask);
    }
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}

}  // namespace

// The import pointers under the names kernel32's import library gives them.
extern "C" {
void* legacyTickCount64 __asm__("__imp__GetTickCount64@0") = reinterpret_cast<void*>(&TickCount64);
void* legacyAddVectored __asm__("__imp__AddVectoredExceptionHandler@8") = reinterpret_cast<void*>(&AddVectoredHandler);
void* legacyRemoveVectored __asm__("__imp__RemoveVectoredExceptionHandler@4") =
    reinterpret_cast<void*>(&RemoveVectoredHandler);
void* legacyTryEnter __asm__("__imp__TryEnterCriticalSection@4") = reinterpret_cast<void*>(&TryEnterSection);
void* legacyHandleInformation __asm__("__imp__GetHandleInformation@8") = reinterpret_cast<void*>(&HandleInformation);
void* legacyDebuggerPresent __asm__("__imp__IsDebuggerPresent@0") = reinterpret_cast<void*>(&DebuggerPresent);
void* legacyProcessAffinity __asm__("__imp__SetProcessAffinityMask@8") = reinterpret_cast<void*>(&ProcessAffinityMask);
}
