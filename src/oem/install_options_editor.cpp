#include "oem/install_options_editor.h"

#include "oem/file_state.h"
#include "options/options_library.h"

namespace oem {

InstallOptionsEditor::InstallOptionsEditor(FailureLog failureLog) : failureLog_(failureLog) {}

InstallOptionsEditor::~InstallOptionsEditor()
{
    if (handle_ != nullptr) OptionsDestroy(handle_);
}

EditorResult InstallOptionsEditor::Load(const char* path)
{
    switch (QueryFileState(path)) {
    case FileState::Missing:
        failureLog_("Instopts.dat file could not be found.");
        return kFileNotFound;
    case FileState::ReadOnly:
        failureLog_("Instopts.dat file is Read Only.");
        return kFileReadOnly;
    case FileState::Writable:
        break;
    }
    // A second load starts from a fresh handle rather than leaking the first.
    OptionsDestroy(handle_);
    handle_ = nullptr;
    if (OptionsCreateDefault(&handle_) != OPTS_OK) {
        failureLog_("Unable to initialize the options library.");
        return kLibraryFailed;
    }
    if (OptionsLoad(path, handle_, 1) != OPTS_OK) {
        failureLog_("Unable to load the InstOpts.dat file.");
        return kLibraryFailed;
    }
    path_ = path;
    return kEditorOk;
}

EditorResult InstallOptionsEditor::SetInteger(const char* name, std::int32_t value, const char* failureLine)
{
    if (OptionsSetInteger(handle_, name, value) == OPTS_OK) return kEditorOk;
    failureLog_(failureLine);
    return kEditorFailed;
}

EditorResult InstallOptionsEditor::SetFactoryPair(const OptionWrite& write, std::string& location)
{
    const EditorResult flagResult = SetInteger(write.integerName, write.value, write.integerFailure);
    location = write.text;
    if (OptionsSetString(handle_, write.textName, location.c_str()) != OPTS_OK) {
        failureLog_(write.textFailure);
        return kEditorFailed;
    }
    return flagResult;
}

EditorResult InstallOptionsEditor::Apply(const OptionWrite& write)
{
    if (!write.IsFactoryPair()) return SetInteger(write.integerName, write.value, write.integerFailure);
    std::string& location =
        write.setting == OemSetting::kFactoryRegKey ? factoryRegKey_ : factoryFile_;
    return SetFactoryPair(write, location);
}

EditorResult InstallOptionsEditor::Save()
{
    if (OptionsSave(path_.c_str(), handle_) == OPTS_OK) return kEditorOk;
    failureLog_("Unable to save InstOpts.dat");
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
