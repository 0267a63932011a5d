#include "common/module_path.h"

#include <windows.h>

#include "common/ansi_code_page.h"
#include "common/system_library.h"

namespace win {
namespace {

using GetModuleFileNameWFunction = DWORD(WINAPI*)(HMODULE, LPWSTR, DWORD);
using GetShortPathNameWFunction = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);

std::string AnsiModulePath()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : MAX_PATH - 1);
}

// `wide` in the ANSI code page, or empty when a character has no exact
// counterpart there. Windows puts "?" or a look-alike (a plain "a" for an "a"
// with a macron) in its place, naming a file that does not exist; only a text
// that converts back to itself is exact. The round trip serves every code
// page, UTF-8 too.
std::string ExactAnsiText(const std::wstring& wide)
{
    const int wideLength = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), wideLength, nullptr, 0, nullptr, nullptr);
    if (wide.empty() || size <= 0) return std::string();
    std::string ansi(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), wideLength, &ansi[0], size, nullptr, nullptr);

    std::wstring back(wide.size(), L'\0');
    const int backLength = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), size, &back[0], wideLength);
    return backLength == wideLength && back == wide ? ansi : std::string();
}

std::wstring WideModulePath(GetModuleFileNameWFunction getModuleFileName)
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = getModuleFileName(nullptr, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

std::wstring ShortPath(const std::wstring& longPath)
{
    auto getShortPathName = LateBoundAs<GetShortPathNameWFunction>(LateBound::kGetShortPathNameW);
    wchar_t path[MAX_PATH] = {};
    const DWORD length = getShortPathName ? getShortPathName(longPath.c_str(), path, MAX_PATH) : 0;
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

}  // namespace

std::string ModulePath()
{
    // The 9x family names its files in the ANSI code page: nothing is lost.
    // Its wide functions are stubs, which the late-bound lookup never takes.
    auto getModuleFileName = LateBoundAs<GetModuleFileNameWFunction>(LateBound::kGetModuleFileNameW);
    if (!getModuleFileName) return AnsiModulePath();
    const std::wstring longPath = WideModulePath(getModuleFileName);
    if (longPath.empty()) return AnsiModulePath();

    const std::string exact = ExactAnsiText(longPath);
    if (!exact.empty()) return exact;
    return ExactAnsiText(ShortPath(longPath));
}

std::string GetSetupFolder()
{
    return text::CutAtLastChar(ModulePath(), '\\', AnsiCodePage());
}

}  // namespace win
