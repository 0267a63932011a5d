#include "instopts/instopts_commands.h"

#include "instopts/apply_command.h"
#include "instopts/edit_commands.h"
#include "instopts/invocation.h"
#include "instopts/show_command.h"
#include "instopts/tool_messages.h"

namespace instopts {

int RunInstopts(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    Invocation invocation;
    if (!ParseInvocation(args, invocation)) return Usage(err);
    unsigned number = kDefaultCodePage;
    if (invocation.Has("--codepage") && !ParseCodePage(invocation.Value("--codepage"), number)) {
        return Fail(err, "--codepage " + invocation.Value("--codepage"), kExitRefused,
                    "not one of the code pages 874, 932, 936, 949, 950 and 1250 to 1258");
    }
    const CodePageText codePage(number);
    if (!codePage.IsUsable()) {
        return Fail(err, "--codepage " + std::to_string(number), kExitRefused, "this system cannot convert it");
    }
    const std::string& command = invocation.command;
    if (command == "show") return Show(invocation, codePage, out, err);
    if (command == "new") return New(invocation, codePage, in, err);
    if (command == "set") return Set(invocation, codePage, err);
    if (command == "remove") return Remove(invocation, codePage, err);
    return Apply(invocation, codePage, out, err);
}

}  // namespace instopts
