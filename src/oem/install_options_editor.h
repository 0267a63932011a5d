#pragma once
// Edits one install-options file through the options library: load with the
// digest checked, set the options the OEM switches ask for, save. Every
// failure is reported as one line to the failure log and as a small code.
// Portable, so the packager's tool applies switches exactly as the launcher.

#include <cstdint>
#include <string>
#include <vector>

#include "oem/oem_option_plan.h"
#include "options/options_library.h"

namespace oem {

// Receives each failure line (without the "Exception: " prefix). The caller
// owns it and keeps it alive as long as the editor.
class FailureLog {
public:
    virtual void Write(const char* line) = 0;

protected:
    ~FailureLog() = default;
};

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
    explicit InstallOptionsEditor(FailureLog& failureLog);
    ~InstallOptionsEditor();
    InstallOptionsEditor(const InstallOptionsEditor&) = delete;
    InstallOptionsEditor& operator=(const InstallOptionsEditor&) = delete;

    // Loads the options file at `path` with its digest checked; Save writes
    // back to the same path.
    EditorResult Load(const char* path);
    // Why the last Load failed, as the options library names it (a missing
    // file OPTS_E_FILE_NOT_FOUND, a read-only one OPTS_E_OPEN_FAILED);
    // OPTS_OK after a successful one.
    OptionsResult LoadResult() const { return loadResult_; }
    // One planned write: an integer option, or a factory pair (the
    // "...Exists" flag, then the location text).
    EditorResult Apply(const OptionWrite& write);
    EditorResult Save();

private:
    EditorResult SetInteger(const char* name, std::int32_t value, const char* failureLine);
    EditorResult SetFactoryPair(const OptionWrite& write, std::string& location);

    std::string path_;           // empty until a successful Load
    std::string factoryRegKey_;  // the editor's copies of the location texts
    std::string factoryFile_;
    OptionsLibrary* handle_ = nullptr;
    OptionsResult loadResult_ = OPTS_OK;
    FailureLog& failureLog_;
};

// Applies every planned write in order; a failed write is logged and the
// next one still runs. kEditorFailed when any write failed, else kEditorOk.
EditorResult ApplyOptionWrites(InstallOptionsEditor& editor, const std::vector<OptionWrite>& writes);

}  // namespace oem
