#include "common/module_path.h"

#include <windows.h>

#include <cstring>

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

// A path of at most MAX_PATH - 1 wide characters; fixed arrays keep the
// library's wide string code out of setup.exe.
struct WidePath {
    wchar_t text[MAX_PATH] = {};
    int length = 0;
};

// `wide` in the ANSI code page, or empty when a character has no exact
// counterpart there. Windows puts "?" or a look-alike (a plain "a" for an "a"
// with a macron) in its place, naming a file that does not exist; only a text
// that converts back to itself is exact. The round trip serves every code
// page, UTF-8 too.
std::string ExactAnsiText(const WidePath& wide)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.text, wide.length, nullptr, 0, nullptr, nullptr);
    if (wide.length == 0 || size <= 0) return std::string();
    std::string ansi(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.text, wide.length, &ansi[0], size, nullptr, nullptr);

    WidePath back;
    back.length = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), size, back.text, MAX_PATH);
    const bool same = back.length == wide.length &&
                      std::memcmp(back.text, wide.text, wide.length * sizeof(wchar_t)) == 0;
    return same ? ansi : std::string();
}

WidePath WideModulePath(GetModuleFileNameWFunction getModuleFileName)
{
    WidePath path;
    const DWORD length = getModuleFileName(nullptr, path.text, MAX_PATH);
    path.length = length < MAX_PATH ? static_cast<int>(length) : 0;
    return path;
}

WidePath ShortPath(const WidePath& longPath)
{
    auto getShortPathName = LateBoundAs<GetShortPathNameWFunction>(LateBound::kGetShortPathNameW);
    WidePath path;
    const DWORD length = getShortPathName ? getShortPathName(longPath.text, path.text, MAX_PATH) : 0;
    path.length = length < MAX_PATH ? static_cast<int>(length) : 0;
    return path;
}

}  // namespace

std::string ModulePath()
{
    // The 9x family names its files in the ANSI code page: nothing is lost.
    // Its wide functions are stubs, which the late-bound lookup never takes.
    auto getModuleFileName = LateBoundAs<GetModuleFileNameWFunction>(LateBound::kGetModuleFileNameW);
    if (!getModuleFileName) return AnsiModulePath();
    const WidePath longPath = WideModulePath(getModuleFileName);
    if (longPath.length == 0) return AnsiModulePath();

    const std::string exact = ExactAnsiText(longPath);
    if (!exact.empty()) return exact;
    return ExactAnsiText(ShortPath(longPath));
}

std::string GetSetupFolder()
{
    return text::CutAtLastChar(ModulePath(), '\\', AnsiCodePage());
}

}  // namespace win
