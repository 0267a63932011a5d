#include "log/diagnostic_log.h"

#include <cstdarg>
#include <cstring>

#include "common/ansi_code_page.h"
#include "common/little_endian.h"
#include "common/module_path.h"
#include "common/registry_values.h"

namespace diag {
namespace {

constexpr char kModeValue[] = "DebugLog";
constexpr char kExceptionPrefix[] = "Exception: ";

// Any value of at most 4 bytes serves, whatever its type; a missing key or
// value, or a longer one, leaves the log off.
std::uint32_t ReadDebugLogMode()
{
    const win::UniqueKey key = win::OpenMakerKey(KEY_READ);
    if (!key) return 0;
    BYTE data[sizeof(std::uint32_t)] = {};
    DWORD size = sizeof data;
    if (RegQueryValueExA(key.Get(), kModeValue, nullptr, nullptr, data, &size) != ERROR_SUCCESS) return 0;
    return common::ReadLittleEndian32(data);
}

// Every run appends to the same file, which others may read meanwhile.
win::UniqueFile OpenLogFile(const std::string& path)
{
    if (path.empty()) return win::UniqueFile();
    win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) SetFilePointer(file.Get(), 0, nullptr, FILE_END);
    return file;
}

// Holds the log's lock until the scope ends.
auto Locked(CRITICAL_SECTION& section)
{
    EnterCriticalSection(&section);
    return win::UniqueCall([&section] { LeaveCriticalSection(&section); });
}

}  // namespace

DiagnosticLog::DiagnosticLog(const char* baseName) : DiagnosticLog(baseName, win::ModulePath()) {}

DiagnosticLog::DiagnosticLog(const char* baseName, const std::string& executablePath)
{
    InitializeCriticalSection(&lock_);
    Open(baseName, executablePath);
}

DiagnosticLog::~DiagnosticLog()
{
    file_.Reset();
    DeleteCriticalSection(&lock_);
}

void DiagnosticLog::Open(const char* baseName, const std::string& executablePath)
{
    mode_ = ReadDebugLogMode();
    if (mode_ == 0) return;
    if (mode_ & LOG_TO_FILE) {
        const bool perProcess = (mode_ & LOG_PER_PROCESS_FILE) != 0;
        file_ =
            OpenLogFile(LogFilePath(executablePath, baseName, perProcess, GetCurrentProcessId(), win::AnsiCodePage()));
        // Read-only media and the like: the lines still reach the debugger.
        if (!file_) mode_ = LOG_TO_DEBUGGER;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string time = LogClockTime(now.wHour, now.wMinute, now.wSecond);
    const std::string date = LogDate(now.wMonth, now.wDay, now.wYear);
    Write("Log started at %s on %s.", time.c_str(), date.c_str());
}

void DiagnosticLog::Write(const char* format, ...)
{
    if (mode_ == 0) return;
    const auto locked = Locked(lock_);
    va_list args;
    va_start(args, format);
    // wvsprintfA stops at 1024 characters, well inside the 2048-byte buffer,
    // which leaves room for the line break.
    writeLine_[0] = '\0';
    wvsprintfA(writeLine_, format, args);
    va_end(args);
    // Measured rather than trusted from the result, which differs between
    // systems when the text is cut.
    const void* end = std::memchr(writeLine_, '\0', kMaxLogText);
    const std::size_t length = end ? static_cast<const char*>(end) - writeLine_ : kMaxLogText;
    Emit(writeLine_, TerminateLogLine(writeLine_, length));
}

void DiagnosticLog::WriteException(const char* message)
{
    if (mode_ == 0) return;
    const auto locked = Locked(lock_);
    Emit(exceptionLine_,
         ComposeLogLine(exceptionLine_, sizeof exceptionLine_, kExceptionPrefix, message, win::AnsiCodePage()));
}

void DiagnosticLog::Emit(const char* line, std::size_t length)
{
    if ((mode_ & LOG_TO_FILE) && file_) {
        DWORD written = 0;
        WriteFile(file_.Get(), line, static_cast<DWORD>(length), &written, nullptr);
    }
    if (mode_ & LOG_TO_DEBUGGER) OutputDebugStringA(line);
}

}  // namespace diag
