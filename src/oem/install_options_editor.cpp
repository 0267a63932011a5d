#include "oem/install_options_editor.h"

#include "oem/file_state.h"
#include "options/options_library.h"

namespace oem {

InstallOptionsEditor::InstallOptionsEditor(FailureLog& failureLog) : failureLog_(failureLog) {}

InstallOptionsEditor::~InstallOptionsEditor()
{
    if (handle_ != nullptr) OptionsDestroy(handle_);
}

EditorResult InstallOptionsEditor::Load(const char* path)
{
    switch (QueryFileState(path)) {
    case FileState::kMissing:
        loadResult_ = OPTS_E_FILE_NOT_FOUND;
        failureLog_.Write("Instopts.dat file could not be found.");
        return kFileNotFound;
    case FileState::kReadOnly:
        loadResult_ = OPTS_E_OPEN_FAILED;
        failureLog_.Write("Instopts.dat file is Read Only.");
        return kFileReadOnly;
    case FileState::kWritable: break;
    }
    // A second load starts from a fresh handle rather than leaking the first.
    OptionsDestroy(handle_);
    handle_ = nullptr;
    loadResult_ = OptionsCreateDefault(&handle_);
    if (loadResult_ != OPTS_OK) {
        failureLog_.Write("Unable to initialize the options library.");
        return kLibraryFailed;
    }
    loadResult_ = OptionsLoad(path, handle_, 1);
    if (loadResult_ != OPTS_OK) {
        failureLog_.Write("Unable to load the InstOpts.dat file.");
        return kLibraryFailed;
    }
    path_ = path;
    return kEditorOk;
}

EditorResult InstallOptionsEditor::SetInteger(const char* name, std::int32_t value, const char* failureLine)
{
    if (OptionsSetInteger(handle_, name, value) == OPTS_OK) return kEditorOk;
    failureLog_.Write(failureLine);
    return kEditorFailed;
}

EditorResult InstallOptionsEditor::SetFactoryPair(const OptionWrite& write, std::string& location)
{
    const EditorResult flagResult = SetInteger(write.integerName, write.value, write.integerFailure);
    location = write.text;
    if (OptionsSetString(handle_, write.textName, location.c_str()) != OPTS_OK) {
        failureLog_.Write(write.textFailure);
        return kEditorFailed;
    }
    return flagResult;
}

EditorResult InstallOptionsEditor::Apply(const OptionWrite& write)
{
    if (!write.IsFactoryPair()) return SetInteger(write.integerName, write.value, write.integerFailure);
    std::string& location = write.setting == OemSetting::kFactoryRegKey ? factoryRegKey_ : factoryFile_;
    return SetFactoryPair(write, location);
}

EditorResult InstallOptionsEditor::Save()
{
    if (OptionsSave(path_.c_str(), handle_) == OPTS_OK) return kEditorOk;
    failureLog_.Write("Unable to save InstOpts.dat");
    return kEditorFailed;
}

EditorResult ApplyOptionWrites(InstallOptionsEditor& editor, const std::vector<OptionWrite>& writes)
{
    EditorResult result = kEditorOk;
    for (const OptionWrite& write : writes) {
        if (editor.Apply(write) != kEditorOk) result = kEditorFailed;
    }
    return result;
}

}  // namespace oem
