#include "setup/launcher_messages.h"

#include "common/system_library.h"
#include "common/unique_handle.h"
#include "log/launcher_log.h"
#include "setup/installer_command.h"

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

int DefaultAnswer(UINT type)
{
    return (type & MB_TYPEMASK) == MB_OKCANCEL ? IDCANCEL : IDOK;
}

// Where an administrator looks for what an unattended deployment met. The 9x
// family has no event log: its advapi32 exports stubs, not taken.
void ReportToEventLog(const SetupContext& context, const std::string& text, UINT type)
{
    using RegisterFunction = HANDLE(WINAPI*)(LPCSTR, LPCSTR);
    using ReportFunction = BOOL(WINAPI*)(HANDLE, WORD, WORD, DWORD, PSID, WORD, DWORD, LPCSTR*, LPVOID);
    using DeregisterFunction = BOOL(WINAPI*)(HANDLE);
    const auto registerSource = win::LateBoundAs<RegisterFunction>(win::LateBound::kRegisterEventSourceA);
    const auto report = win::LateBoundAs<ReportFunction>(win::LateBound::kReportEventA);
    const auto deregister = win::LateBoundAs<DeregisterFunction>(win::LateBound::kDeregisterEventSource);
    if (!registerSource || !report || !deregister) return;

    const std::string sourceName = InstallerWindowTitle(context.productName, context.caption);
    const HANDLE source = registerSource(nullptr, sourceName.c_str());
    if (!source) return;
    const win::UniqueCall deregisterAtEnd([&] { deregister(source); });
    const WORD eventType = (type & MB_ICONMASK) == MB_ICONERROR ? EVENTLOG_ERROR_TYPE : EVENTLOG_INFORMATION_TYPE;
    LPCSTR strings[] = {text.c_str()};
    report(source, eventType, 0, 0, nullptr, 1, 0, strings, nullptr);
}

}  // namespace

int ShowMessage(const SetupContext& context, const std::string& text, UINT type)
{
    if (context.quiet == QuietMode::kNone) {
        return MessageBoxA(nullptr, text.c_str(), context.caption.c_str(), type);
    }
    ReportToEventLog(context, text, type);
    diag::LauncherLog().Write("Not shown in quiet mode: %s", OnOneLine(text).c_str());
    return DefaultAnswer(type);
}

}  // namespace setup
