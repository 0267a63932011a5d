#include "setup/launcher_messages.h"

#include "log/launcher_log.h"

namespace setup {
namespace {

// The log holds one line per message, so the box's line breaks become blanks.
std::string OnOneLine(std::string text)
{
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

int DefaultAnswer(UINT type) { return (type & MB_TYPEMASK) == MB_OKCANCEL ? IDCANCEL : IDOK; }

}  // namespace

int ShowMessage(const SetupContext& context, const std::string& text, UINT type)
{
    if (context.quiet == QuietMode::kNone) {
        return MessageBoxA(nullptr, text.c_str(), context.caption.c_str(), type);
    }
    diag::LauncherLog().Write("Not shown in quiet mode: %s", OnOneLine(text).c_str());
    return DefaultAnswer(type);
}

}  // namespace setup
