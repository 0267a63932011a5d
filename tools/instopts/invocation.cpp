#include "instopts/invocation.h"

#include <cerrno>
#include <cstdlib>

#include "instopts/code_page_text.h"

namespace instopts {
namespace {

// A command's words and the options it takes, with a value or without.
struct CommandForm {
    const char* command;
    std::size_t wordCount;
    std::vector<std::string> flags;
    std::vector<std::string> valued;
    bool takesSetupArguments;
};

const CommandForm kCommandForms[] = {
    {"show", 1, {"--json", "--no-verify"}, {"--codepage"}, false},
    {"new", 1, {}, {"--from", "--codepage"}, false},
    {"set", 2, {}, {"--int", "--text", "--codepage"}, false},
    {"remove", 2, {}, {"--codepage"}, false},
    {"apply", 1, {}, {"--codepage"}, true},
};

bool Contains(const std::vector<std::string>& list, const std::string& item)
{
    for (const std::string& entry : list) {
        if (entry == item) return true;
    }
    return false;
}

const CommandForm* FindForm(const std::vector<std::string>& args)
{
    for (const CommandForm& form : kCommandForms) {
        if (!args.empty() && args[0] == form.command) return &form;
    }
    return nullptr;
}

}  // namespace

bool ParseInvocation(const std::vector<std::string>& args, Invocation& invocation)
{
    const CommandForm* form = FindForm(args);
    if (!form) return false;
    invocation.command = args[0];
    bool setupArgumentsGiven = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (form->takesSetupArguments && arg == "--") {
            invocation.setupArguments.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            setupArgumentsGiven = true;
            break;
        }
        if (Contains(form->flags, arg)) {
            if (!invocation.options.emplace(arg, "").second) return false;
        } else if (Contains(form->valued, arg)) {
            if (i + 1 == args.size() || !invocation.options.emplace(arg, args[i + 1]).second) return false;
            ++i;
        } else if (arg.compare(0, 2, "--") == 0) {
            return false;
        } else {
            invocation.words.push_back(arg);
        }
    }
    return invocation.words.size() == form->wordCount && setupArgumentsGiven == form->takesSetupArguments;
}

bool ParseCodePage(const std::string& text, unsigned& number)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    number = static_cast<unsigned>(std::stoul(text));
    return IsSupportedCodePage(number);
}

bool ParseInteger(const std::string& text, std::int32_t& value)
{
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != 0 || parsed < -2147483648LL || parsed > 4294967295LL) return false;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(parsed));
    return true;
}

}  // namespace instopts
