#include "setup/resume_shortcut.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <string>

#include "common/ansi_code_page.h"
#include "common/maker_key.h"
#include "common/module_path.h"
#include "common/registry_values.h"
#include "common/system_library.h"
#include "common/unique_handle.h"
#include "setup/runtime_rules.h"

namespace setup {
namespace {

using Microsoft::WRL::ComPtr;

using win::kMakerKey;
constexpr char kResumeSubkey[] = "Setup.tmp";
constexpr char kShortcutValue[] = "Shortcut";
constexpr int kStartupFolderId = 7;  // CSIDL_STARTUP

// The record's key, the maker's key's subkey.
std::string ResumeKey()
{
    return std::string(kMakerKey) + "\\" + kResumeSubkey;
}

using GetFolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

// SHGetFolderPathA is in shell32 from Windows 2000 (and Me) on; Windows 98
// has it only in shfolder.dll, which the redistributable installs.
GetFolderPathFunction BindGetFolderPath()
{
    if (auto inShell = win::LateBoundAs<GetFolderPathFunction>(win::LateBound::kShell32GetFolderPath)) {
        return inShell;
    }
    return win::LateBoundAs<GetFolderPathFunction>(win::LateBound::kShFolderGetFolderPath);
}

// The current user's Startup folder; false when it cannot be found.
bool FindStartupFolder(std::string& folder)
{
    const GetFolderPathFunction getFolderPath = BindGetFolderPath();
    if (!getFolderPath) return false;
    char path[MAX_PATH] = {};
    if (FAILED(getFolderPath(nullptr, kStartupFolderId, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return false;
    }
    folder = path;
    return true;
}

// The shell link object and its interfaces. Defined here rather than taken
// from mingw's libuuid, whose one object file holds every GUID it knows
// (about 35 KiB).
const CLSID kShellLinkClass = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kShellLinkInterface = {0x000214EE, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Reads and deletes the record's "Shortcut" value. False when there is no
// record. A value too long for the record buffer still counts as a record,
// read as empty text.
bool TakeResumeRecord(std::string& shortcutName)
{
    win::UniqueKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ResumeKey().c_str(), 0, KEY_ALL_ACCESS, key.Put()) != ERROR_SUCCESS) {
        return false;
    }
    const LONG read = win::ReadPathText(key.Get(), kShortcutValue, shortcutName);
    if (read != ERROR_SUCCESS && read != ERROR_MORE_DATA) return false;
    if (read == ERROR_MORE_DATA) shortcutName.clear();
    RegDeleteValueA(key.Get(), kShortcutValue);
    return true;
}

void DeleteResumeKey()
{
    if (const win::UniqueKey makerKey = win::OpenMakerKey(KEY_ALL_ACCESS)) {
        RegDeleteKeyA(makerKey.Get(), kResumeSubkey);
    }
}

}  // namespace

void PlantResumeShortcut(const std::string& productName)
{
    const std::string targetPath = win::ModulePath();

    if (FAILED(CoInitialize(nullptr))) return;
    // Declared first, so the COM pointers are released before the apartment ends.
    win::UniqueCall apartment([] { CoUninitialize(); });
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, kShellLinkInterface,
                                reinterpret_cast<void**>(link.GetAddressOf())))) {
        return;
    }
    ComPtr<IPersistFile> linkFile;
    if (FAILED(link.As(&linkFile))) return;
    std::string startupFolder;
    if (!FindStartupFolder(startupFolder)) return;

    // The record comes first: a restart between the two leaves a record the
    // next start can clean up, never an unrecorded shortcut. Without a record
    // the shortcut is still written.
    win::WriteMachineText(ResumeKey().c_str(), kShortcutValue, productName);

    const std::string shortcutPath = ResumeShortcutPath(startupFolder, productName);
    const std::u16string linkPath = win::AnsiToUtf16(shortcutPath.data(), shortcutPath.size());
    const std::string workingFolder = text::CutAtLastChar(targetPath, '\\', win::AnsiCodePage());
    link->SetPath(targetPath.c_str());
    link->SetWorkingDirectory(workingFolder.c_str());
    linkFile->Save(reinterpret_cast<LPCOLESTR>(linkPath.c_str()), TRUE);
}

void RemoveResumeShortcut()
{
    std::string shortcutName;
    if (!TakeResumeRecord(shortcutName)) return;
    DeleteResumeKey();
    std::string startupFolder;
    if (FindStartupFolder(startupFolder)) {
        DeleteFileA(ResumeShortcutPath(startupFolder, shortcutName).c_str());
    }
}

}  // namespace setup
