#include "instopts/options_handle.h"

#include "instopts/platform_text.h"
#include "instopts/tool_messages.h"

namespace instopts {

int LoadFile(const std::string& path, bool verify, HandlePtr& handle, std::ostream& err)
{
    OptionsLibrary* created = nullptr;
    OptionsResult result = OptionsCreateDefault(&created);
    handle.reset(created);
    if (result == OPTS_OK) result = OptionsLoad(SystemPath(path).c_str(), handle.get(), verify ? 1 : 0);
    return result == OPTS_OK ? kExitOk : Fail(err, path, ExitCodeOf(result), LoadFailure(result, path));
}

int SaveFile(const std::string& path, OptionsLibrary* handle, std::ostream& err)
{
    const OptionsResult result = OptionsSave(SystemPath(path).c_str(), handle);
    return result == OPTS_OK ? kExitOk : Fail(err, path, ExitCodeOf(result), SaveFailure(result));
}

bool EncodeArgument(const CodePageText& codePage, const std::string& text, std::string& bytes, const std::string& path,
                    std::ostream& err)
{
    std::string refusal;
    if (!codePage.Encode(text, bytes, refusal)) {
        Fail(err, path, kExitRefused, refusal);
        return false;
    }
    if (bytes.find('\0') != std::string::npos) {
        Fail(err, path, kExitRefused, "a name or text cannot hold a zero character");
        return false;
    }
    return true;
}

}  // namespace instopts
