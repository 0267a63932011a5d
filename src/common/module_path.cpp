#include "common/module_path.h"

#include <windows.h>

#include "common/ansi_code_page.h"

namespace win {

std::string ModulePath()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : MAX_PATH - 1);
}

std::string GetSetupFolder()
{
    return text::CutAtLastChar(ModulePath(), '\\', AnsiCodePage());
}

}  // namespace win
