#include "common/system_library.h"

namespace win {

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

}  // namespace win
