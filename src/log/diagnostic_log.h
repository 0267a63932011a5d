#pragma once
// The diagnostic log: off unless the registry value "DebugLog" under
// HKLM "Software\Kestrova" switches it on, then lines go to a text file
// beside the executable, to the debugger output, or to both.

#include <windows.h>

#include <cstdint>
#include <string>

#include "common/unique_handle.h"
#include "log/log_rules.h"

namespace diag {

class DiagnosticLog {
public:
    // Reads "DebugLog" once; when on, opens `baseName` in the executable's
    // folder (see OpenLogFile) and writes the header line.
    explicit DiagnosticLog(const char* baseName);
    // The same with the file placed beside `executablePath` instead of the
    // running executable; tests point it at a folder of their own.
    DiagnosticLog(const char* baseName, const std::string& executablePath);
    ~DiagnosticLog();
    DiagnosticLog(const DiagnosticLog&) = delete;
    DiagnosticLog& operator=(const DiagnosticLog&) = delete;

    // Formats one line with the wvsprintfA rules (at most 1024 characters)
    // and emits it. The format must be the caller's own constant text.
    void Write(const char* format, ...);
    // Emits "Exception: " and `message`, taken as plain text: a "%" in it
    // is written as it stands.
    void WriteException(const char* message);

private:
    void Open(const char* baseName, const std::string& executablePath);
    void Emit(const char* line, std::size_t length);

    std::uint32_t mode_ = 0;
    win::UniqueFile file_;
    CRITICAL_SECTION lock_;
    // One buffer per writing operation, used only inside the lock.
    char writeLine_[kLogLineCapacity];
    char exceptionLine_[kLogLineCapacity];
};

}  // namespace diag
