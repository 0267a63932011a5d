#include "instopts/apply_command.h"

#include <ostream>
#include <vector>

#include "instopts/options_handle.h"
#include "instopts/platform_text.h"
#include "instopts/tool_messages.h"
#include "oem/install_options_editor.h"
#include "oem/oem_option_plan.h"
#include "oem/switch_parser.h"

namespace instopts {
namespace {

// The editor's failure lines, each as one of the tool's failure lines for
// the file.
class EditorFailures final : public oem::FailureLog {
public:
    EditorFailures(std::ostream& err, const std::string& path) : err_(err), path_(path) {}
    void Write(const char* line) override { Fail(err_, path_, kExitFailed, line); }

private:
    std::ostream& err_;
    const std::string& path_;
};

// The words after "--", joined by single blanks as setup's command line.
std::string JoinSetupArguments(const std::vector<std::string>& words)
{
    std::string joined;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) joined += ' ';
        joined += words[i];
    }
    return joined;
}

}  // namespace

// The switches are cut even when the file cannot be loaded, as in the
// launcher; then nothing is written, and the exit code says why the editor
// could not load it.
int Apply(const Invocation& invocation, const CodePageText& codePage, std::ostream& out, std::ostream& err)
{
    const std::string& path = invocation.words[0];
    std::string setupArguments;
    if (!EncodeArgument(codePage, JoinSetupArguments(invocation.setupArguments), setupArguments, path, err)) {
        return kExitRefused;
    }
    EditorFailures failures(err, path);
    oem::InstallOptionsEditor editor(failures);
    const oem::EditorResult loaded = editor.Load(SystemPath(path).c_str());

    std::vector<char> commandLine(setupArguments.begin(), setupArguments.end());
    commandLine.push_back('\0');
    oem::SwitchParser parser(commandLine.data(), codePage.LeadBytes());
    const std::vector<oem::OptionWrite> writes = oem::PlanOemOptions(parser);
    out << codePage.Decode(commandLine.data()) << '\n';
    if (loaded != oem::kEditorOk) return ExitCodeOf(editor.LoadResult());
    bool failed = oem::ApplyOptionWrites(editor, writes) != oem::kEditorOk;
    if (editor.Save() != oem::kEditorOk) failed = true;
    return failed ? kExitFailed : kExitOk;
}

}  // namespace instopts
