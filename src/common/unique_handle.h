#pragma once
// The Windows members of the RAII family: files, kernel objects, registry
// keys and modules.

#include <windows.h>

#include "common/unique_resource.h"

namespace win {

using common::Unique;
using common::UniqueCall;

// Keeps GetLastError across a close that is not checked.
class LastErrorKeeper {
public:
    LastErrorKeeper() : error_(GetLastError()) {}
    ~LastErrorKeeper() { SetLastError(error_); }
    LastErrorKeeper(const LastErrorKeeper&) = delete;
    LastErrorKeeper& operator=(const LastErrorKeeper&) = delete;

private:
    DWORD error_;
};

struct FileTraits {  // CreateFileA fails with INVALID_HANDLE_VALUE
    using type = HANDLE;
    using ErrorKeeper = LastErrorKeeper;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Close(HANDLE h) { return CloseHandle(h) != FALSE; }
};
struct KernelTraits {  // CreateMutexA, OpenProcessToken, CreateProcessA fail with NULL
    using type = HANDLE;
    using ErrorKeeper = LastErrorKeeper;
    static HANDLE Invalid() { return nullptr; }
    static bool Close(HANDLE h) { return CloseHandle(h) != FALSE; }
};
struct RegKeyTraits {
    using type = HKEY;
    using ErrorKeeper = LastErrorKeeper;
    static HKEY Invalid() { return nullptr; }
    static bool Close(HKEY h) { return RegCloseKey(h) == ERROR_SUCCESS; }
};
struct ModuleTraits {
    using type = HMODULE;
    using ErrorKeeper = LastErrorKeeper;
    static HMODULE Invalid() { return nullptr; }
    static bool Close(HMODULE h) { return FreeLibrary(h) != FALSE; }
};

using UniqueFile = Unique<FileTraits>;
using UniqueHandle = Unique<KernelTraits>;
using UniqueKey = Unique<RegKeyTraits>;
using UniqueModule = Unique<ModuleTraits>;

}  // namespace win
