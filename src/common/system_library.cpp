#include "common/system_library.h"

namespace win {
namespace {

// Constant-initialised, so lookups work from the runtime's start-up code
// before any constructor has run. The launcher has one thread.
void* g_boundFunctions[static_cast<int>(LateBound::kCount)] = {};
bool g_lookedUp[static_cast<int>(LateBound::kCount)] = {};

bool Is9xFamily()
{
    return (GetVersion() & 0x80000000u) != 0;
}

void* LookUp(const LateBoundRow& row)
{
    HMODULE library = LoadSystemLibrary(row.library).Release();  // kept: its functions stay in use
    if (!library) return nullptr;
    void* found = reinterpret_cast<void*>(GetProcAddress(library, row.function));
    return TakesSystemExport(row, found != nullptr, Is9xFamily()) ? found : nullptr;
}

}  // namespace

std::string SystemFolder()
{
    char folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(folder, length);
}

std::string WindowsFolder()
{
    char folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(folder, length);
}

UniqueModule LoadSystemLibrary(const char* fileName)
{
    const std::string folder = SystemFolder();
    if (folder.empty()) return UniqueModule();
    const std::string path = folder + "\\" + fileName;
    // The altered search path makes the library's own imports resolve from
    // its folder, the system folder, too.
    return UniqueModule(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

void* FindLateBound(LateBound function)
{
    const int row = static_cast<int>(function);
    if (!g_lookedUp[row]) {
        g_boundFunctions[row] = LookUp(kLateBoundRows[row]);
        g_lookedUp[row] = true;
    }
    return g_boundFunctions[row];
}

}  // namespace win
