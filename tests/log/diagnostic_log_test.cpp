// The diagnostic log's Win32 side under Wine: the "DebugLog" value, the file
// each run appends to, and the debugger output.
#include "log/diagnostic_log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

TEST(DiagnosticLog, TheValueChoosesFileAndDebuggerAndEachRunAppends)
{
    // A debug monitor's shared buffer, always ready: it keeps the last text sent.
    CreateEventA(nullptr, TRUE, TRUE, "DBWIN_BUFFER_READY");
    const HANDLE sent = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY");
    const HANDLE buffer = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "DBWIN_BUFFER");
    const char* lastSent = static_cast<const char*>(MapViewOfFile(buffer, FILE_MAP_READ, 0, 0, 0)) + sizeof(DWORD);
    const std::regex twoRuns(
        "(Log started at \\d\\d:\\d\\d:\\d\\d on \\d\\d/\\d\\d/\\d\\d\\.\r\n"
        "Exception: 100% %s%d\r\n){2}");
    const std::string perProcess = "RIDEvuz#" + std::to_string(GetCurrentProcessId()) + ".log";
    // clang-format off
    const struct {
        std::vector<BYTE> value;  // "DebugLog", binary; none when empty
        const char* folder;       // in place of the executable's
        std::string file;
        bool debugger;
    } cases[] = {
        {{1, 0, 0, 0}, "C:\\mode1", "RIDEvuz.log", false}, {{3}, "C:\\mode3", perProcess, false},
        {{5}, "C:\\mode5", "RIDEvuz.log", true},          {{4}, "C:\\mode4", "", true},
        {{2}, "C:\\mode2", "", false},  // a file per process needs the file bit too
        {{8}, "C:\\mode8", "", false},  {{1, 0, 0, 0, 0}, "C:\\long", "", false}, {{}, "C:\\none", "", false},
        {{1}, "C:\\missing\\folder", "", true},  // no file: the debugger instead
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Kestrova", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
        RegDeleteValueA(key, "DebugLog");
        if (!c.value.empty()) RegSetValueExA(key, "DebugLog", 0, REG_BINARY, c.value.data(), c.value.size());
        RegCloseKey(key);
        CreateDirectoryA(c.folder, nullptr);
        ResetEvent(sent);
        for (int run = 0; run < 2; ++run) {
            diag::DiagnosticLog("RIDEvuz.log", std::string(c.folder) + "\\setup.exe").WriteException("100% %s%d");
        }
        // Taken first: GoogleTest sends each failure it reports to the debugger too.
        const std::string debugger = WaitForSingleObject(sent, 0) == WAIT_OBJECT_0 ? lastSent : "nothing";
        EXPECT_EQ(debugger, c.debugger ? "Exception: 100% %s%d\r\n" : "nothing");
        for (const std::string& name : {std::string("RIDEvuz.log"), perProcess}) {
            std::ostringstream text;
            text << std::ifstream(c.folder + ("\\" + name), std::ios::binary).rdbuf();
            EXPECT_TRUE(name == c.file ? std::regex_match(text.str(), twoRuns) : text.str().empty()) << text.str();
        }
    }
}
