#include "log/log_rules.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace diag {
namespace {

std::string TwoDigitsJoined(unsigned a, unsigned b, unsigned c, char separator)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02u%c%02u%c%02u", a % 100, separator, b % 100, separator, c % 100);
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

std::string LogDate(unsigned month, unsigned day, unsigned year) { return TwoDigitsJoined(month, day, year, '/'); }

}  // namespace diag
