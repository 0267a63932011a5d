#include "log/log_rules.h"

#include <algorithm>
#include <cstring>

namespace diag {
namespace {

// Written out by hand: the C library's formatted printing would bring its
// whole number formatter into setup.exe for these eight characters.
void AppendTwoDigits(std::string& text, unsigned value)
{
    text += static_cast<char>('0' + value % 100 / 10);
    text += static_cast<char>('0' + value % 10);
}

std::string TwoDigitsJoined(unsigned a, unsigned b, unsigned c, char separator)
{
    std::string text;
    AppendTwoDigits(text, a);
    text += separator;
    AppendTwoDigits(text, b);
    text += separator;
    AppendTwoDigits(text, c);
    return text;
}

}  // namespace

std::string LogFilePath(const std::string& executablePath, const std::string& baseName, bool perProcess,
                        unsigned long processId, const text::CodePage& codePage)
{
    const std::size_t backslash = text::FindLastChar(executablePath.c_str(), '\\', codePage);
    if (backslash == std::string::npos) return std::string();
    std::string path = executablePath.substr(0, backslash + 1) + baseName;
    if (perProcess) {
        // Each process writes a file of its own: "RIDEvuz#1234.log".
        const std::size_t dot = text::FindLastChar(path.c_str(), '.', codePage);
        if (dot != std::string::npos) path.erase(dot);
        path += "#" + std::to_string(processId) + ".log";
    }
    if (path.size() > kMaxLogPathLength) return std::string();
    return path;
}

std::size_t TerminateLogLine(char* line, std::size_t length)
{
    if (length == 0 || line[length - 1] != '\n') {
        line[length++] = '\r';
        line[length++] = '\n';
    }
    line[length] = '\0';
    return length;
}

std::size_t ComposeLogLine(char* line, std::size_t capacity, const char* prefix, const char* message,
                           const text::CodePage& codePage)
{
    constexpr std::size_t kLineEnd = 3;  // "\r\n" and the terminator
    if (capacity < kLineEnd) {
        if (capacity > 0) line[0] = '\0';
        return 0;
    }
    const std::size_t room = capacity - kLineEnd;
    const std::size_t prefixLength = std::min(std::strlen(prefix), room);
    std::memcpy(line, prefix, prefixLength);
    const std::size_t messageRoom = std::min(kMaxLogText, room - prefixLength);
    const std::size_t messageLength = text::WholeCharPrefixLength(message, messageRoom, codePage);
    std::memcpy(line + prefixLength, message, messageLength);
    return TerminateLogLine(line, prefixLength + messageLength);
}

std::string LogClockTime(unsigned hour, unsigned minute, unsigned second)
{
    return TwoDigitsJoined(hour, minute, second, ':');
}

std::string LogDate(unsigned month, unsigned day, unsigned year)
{
    return TwoDigitsJoined(month, day, year, '/');
}

}  // namespace diag
