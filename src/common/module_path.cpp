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

    const std::u16string back = AnsiToUtf16(ansi.data(), ansi.size());
    const bool same = back.size() == static_cast<std::size_t>(wide.length) &&
                      std::memcmp(back.data(), wide.text, back.size() * sizeof(char16_t)) == 0;
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

std::string FindModulePath()
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

}  // namespace

std::string ModulePath()
{
    // Found once: the executable does not move while it runs, and its short
    // form asks the file system.
    static const std::string path = FindModulePath();
    return path;
}

std::string GetSetupFolder()
{
    return text::CutAtLastChar(ModulePath(), '\\', AnsiCodePage());
}

}  // namespace win
