#include "oem/install_options.h"

#include <windows.h>

#include "common/ansi_code_page.h"
#include "common/maker_key.h"
#include "common/module_path.h"
#include "common/own_file.h"
#include "common/registry_values.h"
#include "common/system_library.h"
#include "common/unique_handle.h"
#include "log/launcher_log.h"
#include "oem/oem_option_plan.h"
#include "oem/switch_parser.h"

namespace oem {
namespace {

using win::kMakerKey;
constexpr char kStagedPathValue[] = "Instopts";
constexpr char kOptionsFileName[] = "\\instopts.dat";

std::string StagingFolder()
{
    return win::WindowsFolder() + "\\TEMP";
}

bool KeyIsEmpty(HKEY key)
{
    DWORD subkeys = 0, values = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                         nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return subkeys == 0 && values == 0;
}

// SHDeleteEmptyKeyA deletes the key only when it holds nothing, but shlwapi
// versions differ in what they count (Wine's deletes a key that still holds
// values), and the key holds "DebugLog" and the resume record too: the
// launcher makes sure itself that nothing else goes with it.
void DeleteMakerKeyWhenEmpty(HKEY key)
{
    if (!KeyIsEmpty(key)) return;
    using DeleteEmptyKeyFunction = DWORD(WINAPI*)(HKEY, LPCSTR);
    auto deleteEmptyKey = win::LateBoundAs<DeleteEmptyKeyFunction>(win::LateBound::kSHDeleteEmptyKeyA);
    if (deleteEmptyKey) deleteEmptyKey(HKEY_LOCAL_MACHINE, kMakerKey);
}

// Copies what is left of `from` into `to`, in 4 KiB pieces.
bool CopyInto(HANDLE from, HANDLE to)
{
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(from, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        DWORD written = 0;
        if (!WriteFile(to, buffer, read, &written, nullptr) || written != read) return false;
    }
    return read == 0;
}

// Every user may create files in the Windows TEMP folder, so whatever is
// already at the staged path may have been planted there: a hard link or a
// symbolic link to a file the user may not write would turn an overwriting
// copy against that file. Deleting removes the link, never its target; the
// copy then goes into a file setup creates new, never into what is there. A
// folder or a read-only file that stays in the way would drop every OEM
// switch: the copy then takes a numbered name beside it.
win::OwnFile CopyAsFreshFile(const std::string& from, const std::string& to)
{
    DeleteFileA(to.c_str());
    const win::UniqueFile source(CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!source) return {};
    win::OwnFile copy = win::CreateOwnFileNear(to, GENERIC_WRITE);
    if (copy.file && !CopyInto(source.Get(), copy.file.Get())) {
        copy.file.Reset();
        DeleteFileA(copy.path.c_str());
        return {};
    }
    return copy;
}

// A value left by an interrupted run names a file that may since have been
// replaced by anyone: it goes before anything is staged.
void ForgetStagedPath()
{
    if (const win::UniqueKey key = win::OpenMakerKey(KEY_SET_VALUE)) RegDeleteValueA(key.Get(), kStagedPathValue);
}

}  // namespace

bool StageInstallOptions(const std::string& optionsFolder)
{
    const std::string shippedPath = win::GetSetupFolder() + "\\" + optionsFolder + kOptionsFileName;
    const std::string stagingFolder = StagingFolder();
    if (GetFileAttributesA(stagingFolder.c_str()) == INVALID_FILE_ATTRIBUTES) {
        CreateDirectoryA(stagingFolder.c_str(), nullptr);
    }
    const std::string fixedPath = stagingFolder + kOptionsFileName;

    ForgetStagedPath();
    win::OwnFile staged = CopyAsFreshFile(shippedPath, fixedPath);
    if (!staged.file) {
        diag::LauncherLog().WriteException(
            ("Unable to copy the InstOpts.dat file to the TEMP folder (error " + std::to_string(GetLastError()) + ").")
                .c_str());
        return false;
    }
    staged.file.Reset();
    const std::string& stagedPath = staged.path;
    if (stagedPath != fixedPath) {
        diag::LauncherLog().Write("The options are staged as %s: %s could not be created.", stagedPath.c_str(),
                                  fixedPath.c_str());
    }
    const bool madeWritable = SetFileAttributesA(stagedPath.c_str(), FILE_ATTRIBUTE_NORMAL) != FALSE;
    const bool loaded = LauncherOptionsEditor().Load(stagedPath.c_str()) == kEditorOk;
    win::WriteMachineText(kMakerKey, kStagedPathValue, stagedPath);
    return madeWritable && loaded;
}

void ApplyOemSwitches(char* commandLine, const std::string& optionsFolder)
{
    const bool staged = StageInstallOptions(optionsFolder);
    // Every query runs even when nothing was staged, so every recognised
    // switch leaves the command line in all cases.
    SwitchParser parser(commandLine, win::AnsiCodePage());
    const std::vector<OptionWrite> writes = PlanOemOptions(parser);
    if (!staged) return;
    InstallOptionsEditor& editor = LauncherOptionsEditor();
    ApplyOptionWrites(editor, writes);
    editor.Save();
}

void RemoveStagedInstallOptions()
{
    const win::UniqueKey key = win::OpenMakerKey(KEY_ALL_ACCESS);
    if (!key) return;
    std::string stagedPath;
    if (win::ReadPathText(key.Get(), kStagedPathValue, stagedPath) == ERROR_SUCCESS) {
        RegDeleteValueA(key.Get(), kStagedPathValue);
        DeleteFileA(stagedPath.c_str());
    }
    DeleteMakerKeyWhenEmpty(key.Get());
}

}  // namespace oem
