#pragma once
// Edits one install-options file through the options library: load with the
// digest checked, set the options the OEM switches ask for, save. Every
// failure is reported as one line to the failure log and as a small code.
// Portable, so the packager's tool applies switches exactly as the launcher.

#include <cstdint>
#include <string>
#include <vector>

#include "oem/oem_option_plan.h"

struct OptionsLibrary;

namespace oem {

// Receives each failure line (without the "Exception: " prefix).
using FailureLog = void (*)(const char* line);

// The editor's results: its own codes, not the options library's. Their
// numbers are the ones the launcher always reported; 4 was never one of them.
enum EditorResult : int {
    kEditorOk = 0,
    kEditorFailed = 1,   // a setter or Save failed (already logged)
    kLibraryFailed = 2,  // Load: creating the handle or loading the file failed
    kFileReadOnly = 3,   // Load
    kFileNotFound = 5,   // Load
};

class InstallOptionsEditor {
public:
    explicit InstallOptionsEditor(FailureLog failureLog);
    virtual ~InstallOptionsEditor();
    InstallOptionsEditor(const InstallOptionsEditor&) = delete;
    InstallOptionsEditor& operator=(const InstallOptionsEditor&) = delete;

    // Loads the options file at `path` with its digest checked; Save writes
    // back to the same path.
    EditorResult Load(const char* path);
    // One planned write: an integer option, or a factory pair (the
    // "...Exists" flag, then the location text).
    EditorResult Apply(const OptionWrite& write);
    EditorResult Save();

    const std::string& LoadedPath() const { return path_; }

private:
    EditorResult SetInteger(const char* name, std::int32_t value, const char* failureLine);
    EditorResult SetFactoryPair(const OptionWrite& write, std::string& location);

    std::string path_;           // empty until a successful Load
    std::string factoryRegKey_;  // the editor's copies of the location texts
    std::string factoryFile_;
    OptionsLibrary* handle_ = nullptr;
    FailureLog failureLog_;
};

// Applies every planned write in order; a failed write is logged and the
// next one still runs. kEditorFailed when any write failed, else kEditorOk.
EditorResult ApplyOptionWrites(InstallOptionsEditor& editor, const std::vector<OptionWrite>& writes);

}  // namespace oem
