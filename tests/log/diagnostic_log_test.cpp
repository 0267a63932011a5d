#include "log/diagnostic_log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using diag::DiagnosticLog;

// Each case runs in its own Wine prefix, so it may set the machine's
// "DebugLog" freely.
void SetDebugLog(DWORD type, const std::vector<BYTE>& data)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Kestrova", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, "DebugLog", 0, type, data.data(), static_cast<DWORD>(data.size())), ERROR_SUCCESS);
    RegCloseKey(key);
}

void SetDebugLogMode(DWORD mode)
{
    SetDebugLog(REG_DWORD, {static_cast<BYTE>(mode), static_cast<BYTE>(mode >> 8), static_cast<BYTE>(mode >> 16),
                            static_cast<BYTE>(mode >> 24)});
}

// A fresh folder that stands in for the executable's; removed with its files.
class LogFolder {
public:
    LogFolder()
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "difflog" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(GetTickCount());
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
        HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") names.push_back(name);
        } while (FindNextFileA(search, &found));
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

// "Log started at HH:MM:SS on MM/DD/YY.\r\n"
bool IsHeaderLine(const std::string& line)
{
    const std::string shape = "Log started at 00:00:00 on 00/00/00.\r\n";
    if (line.size() != shape.size()) return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digitWanted = shape[i] == '0';
        if (digitWanted ? !isdigit(static_cast<unsigned char>(line[i])) : line[i] != shape[i]) return false;
    }
    return true;
}

constexpr std::size_t kHeaderLength = sizeof("Log started at 00:00:00 on 00/00/00.\r\n") - 1;

TEST(DiagnosticLogFile, HeaderAndLinesAppendAcrossRuns)
{
    SetDebugLogMode(1);
    LogFolder folder;
    {
        DiagnosticLog log("RIDEvuz.log", folder.ExecutablePath());
        log.WriteException("Unable to save InstOpts.dat");
    }
    {
        DiagnosticLog log("RIDEvuz.log", folder.ExecutablePath());
        log.WriteException("Unable to set the reboot count setting.");
    }
    ASSERT_EQ(folder.Files(), std::vector<std::string>{"RIDEvuz.log"});
    const std::string content = folder.Read("RIDEvuz.log");
    const std::string first = "Exception: Unable to save InstOpts.dat\r\n";
    const std::string second = "Exception: Unable to set the reboot count setting.\r\n";
    ASSERT_EQ(content.size(), 2 * kHeaderLength + first.size() + second.size()) << content;
    EXPECT_TRUE(IsHeaderLine(content.substr(0, kHeaderLength))) << content;
    EXPECT_EQ(content.substr(kHeaderLength, first.size()), first);
    EXPECT_TRUE(IsHeaderLine(content.substr(kHeaderLength + first.size(), kHeaderLength))) << content;
    EXPECT_EQ(content.substr(2 * kHeaderLength + first.size()), second);
}

TEST(DiagnosticLogFile, PerProcessFileCarriesTheProcessId)
{
    SetDebugLogMode(3);
    LogFolder folder;
    {
        DiagnosticLog log("RIDEvuz.log", folder.ExecutablePath());
        log.WriteException("x");
    }
    const std::string name = "RIDEvuz#" + std::to_string(GetCurrentProcessId()) + ".log";
    ASSERT_EQ(folder.Files(), std::vector<std::string>{name});
    EXPECT_EQ(folder.Read(name).substr(kHeaderLength), "Exception: x\r\n");
}

TEST(DiagnosticLogFile, FileAndDebuggerTogetherStillFillTheFile)
{
    SetDebugLogMode(5);
    LogFolder folder;
    {
        DiagnosticLog log("RIDEvuz.log", folder.ExecutablePath());
        log.WriteException("both");
    }
    EXPECT_EQ(folder.Read("RIDEvuz.log").substr(kHeaderLength), "Exception: both\r\n");
}

TEST(DiagnosticLogFile, MessagesAreWrittenAsPlainTextWithOneLineBreak)
{
    SetDebugLogMode(1);
    LogFolder folder;
    {
        DiagnosticLog log("RIDEvuz.log", folder.ExecutablePath());
        log.WriteException("100% %s%n%d");
        log.WriteException("ends in a line feed\n");
        log.WriteException("ends in a return\r");
        log.WriteException(std::string(3000, 'L').c_str());
    }
    EXPECT_EQ(folder.Read("RIDEvuz.log").substr(kHeaderLength),
              "Exception: 100% %s%n%d\r\n"
              "Exception: ends in a line feed\n"
              "Exception: ends in a return\r\r\n"
              "Exception: " + std::string(1024, 'L') + "\r\n");
}

TEST(DiagnosticLogOff, DebuggerOnlyAndBitsWithoutTargetWriteNothingToDisk)
{
    for (DWORD mode : {4u, 2u, 8u}) {
        SetDebugLogMode(mode);
        LogFolder folder;
        {
            DiagnosticLog log("RIDEvuz.log", folder.ExecutablePath());
            log.WriteException("nowhere on disk");
        }
        EXPECT_TRUE(folder.Files().empty()) << "mode " << mode;
    }
}

TEST(DiagnosticLogOff, MissingOrOverlongValueLeavesTheLogOff)
{
    LogFolder folder;
    {
        DiagnosticLog log("RIDEvuz.log", folder.ExecutablePath());
        log.WriteException("no key");
    }
    SetDebugLog(REG_BINARY, {1, 0, 0, 0, 0, 0, 0, 0});
    {
        DiagnosticLog log("RIDEvuz.log", folder.ExecutablePath());
        log.WriteException("eight bytes");
    }
    EXPECT_TRUE(folder.Files().empty());
}

TEST(DiagnosticLogOff, ShortValueOfAnyTypeCounts)
{
    SetDebugLog(REG_BINARY, {1});
    LogFolder folder;
    {
        DiagnosticLog log("RIDEvuz.log", folder.ExecutablePath());
    }
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"RIDEvuz.log"});
}

TEST(DiagnosticLogFallback, UnopenableFileFallsBackWithoutWriting)
{
    SetDebugLogMode(1);
    LogFolder folder;
    const std::string missingFolder = folder.ExecutablePath() + "-missing\\setup.exe";
    {
        DiagnosticLog log("RIDEvuz.log", missingFolder);
        log.WriteException("to the debugger instead");
    }
    EXPECT_TRUE(folder.Files().empty());
    EXPECT_EQ(GetFileAttributesA((folder.ExecutablePath() + "-missing").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
