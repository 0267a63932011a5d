#include "log/diagnostic_log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using diag::DiagnosticLog;

// Each case runs in its own Wine prefix, so it may set "DebugLog" freely.
void SetDebugLog(DWORD type, const std::vector<BYTE>& data)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Kestrova", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "DebugLog", 0, type, data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

void SetDebugLogMode(BYTE mode) { SetDebugLog(REG_DWORD, {mode, 0, 0, 0}); }

// A fresh folder standing in for the executable's; removed with its files.
class LogFolder {
public:
    LogFolder()
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        static int count = 0;
        path_ = std::string(temp) + "diaglog" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++count);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~LogFolder()
    {
        for (const std::string& name : Files()) DeleteFileA((path_ + "\\" + name).c_str());
        RemoveDirectoryA(path_.c_str());
    }
    std::string ExecutablePath() const { return path_ + "\\setup.exe"; }
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path_ + "\\*.log").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do names.push_back(found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream file(path_ + "\\" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

private:
    std::string path_;
};

// Checks "Log started at HH:MM:SS on MM/DD/YY.\r\n" at `at` and steps past it.
void ExpectHeader(const std::string& content, std::size_t& at)
{
    const std::string shape = "Log started at 00:00:00 on 00/00/00.\r\n";
    ASSERT_GE(content.size(), at + shape.size()) << content;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const char c = content[at + i];
        if (shape[i] == '0') {
            EXPECT_TRUE(c >= '0' && c <= '9') << content;
        } else {
            EXPECT_EQ(c, shape[i]) << content;
        }
    }
    at += shape.size();
}

std::string AfterHeader(const std::string& content)
{
    std::size_t at = 0;
    ExpectHeader(content, at);
    return content.substr(std::min(at, content.size()));
}

void RunLog(const LogFolder& folder, const std::vector<const char*>& messages)
{
    DiagnosticLog log("RIDEvuz.log", folder.ExecutablePath());
    for (const char* message : messages) log.WriteException(message);
}

TEST(DiagnosticLogFile, EachRunAppendsItsHeaderAndLines)
{
    SetDebugLogMode(1);
    LogFolder folder;
    RunLog(folder, {"Unable to save InstOpts.dat"});
    RunLog(folder, {"100% %s%n%d"});  // a message is text, never a format
    ASSERT_EQ(folder.Files(), std::vector<std::string>{"RIDEvuz.log"});
    const std::string content = folder.Read("RIDEvuz.log");
    std::size_t at = 0;
    ExpectHeader(content, at);
    const std::string first = "Exception: Unable to save InstOpts.dat\r\n";
    EXPECT_EQ(content.substr(at, first.size()), first);
    at += first.size();
    ExpectHeader(content, at);
    EXPECT_EQ(content.substr(at), "Exception: 100% %s%n%d\r\n");
}

TEST(DiagnosticLogModes, FileNameAndWhetherAnythingReachesTheDisk)
{
    const std::string perProcess = "RIDEvuz#" + std::to_string(GetCurrentProcessId()) + ".log";
    const struct {
        BYTE mode;
        std::vector<std::string> files;
    } cases[] = {{1, {"RIDEvuz.log"}}, {3, {perProcess}}, {5, {"RIDEvuz.log"}}, {4, {}}, {2, {}}, {8, {}}};
    for (const auto& c : cases) {
        SetDebugLogMode(c.mode);
        LogFolder folder;
        RunLog(folder, {"x"});
        ASSERT_EQ(folder.Files(), c.files) << "mode " << int(c.mode);
        if (!c.files.empty()) {
            EXPECT_EQ(AfterHeader(folder.Read(c.files[0])), "Exception: x\r\n");
        }
    }
}

TEST(DiagnosticLogModes, OnlyValuesOfAtMostFourBytesCount)
{
    LogFolder folder;
    RunLog(folder, {"no value"});
    SetDebugLog(REG_BINARY, {1, 0, 0, 0, 0, 0, 0, 0});
    RunLog(folder, {"eight bytes"});
    EXPECT_TRUE(folder.Files().empty());
    SetDebugLog(REG_BINARY, {1});
    RunLog(folder, {"one byte"});
    EXPECT_EQ(AfterHeader(folder.Read("RIDEvuz.log")), "Exception: one byte\r\n");
}

TEST(DiagnosticLogFallback, UnopenableFileFallsBackWithoutWriting)
{
    SetDebugLogMode(1);
    LogFolder folder;
    const std::string missing = folder.ExecutablePath() + "-missing";
    {
        DiagnosticLog log("RIDEvuz.log", missing + "\\setup.exe");
        log.WriteException("to the debugger instead");
    }
    EXPECT_EQ(GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(folder.Files().empty());
}

}  // namespace
