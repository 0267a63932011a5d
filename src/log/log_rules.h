#pragma once
// The diagnostic log's pure rules: where its file goes and how a line is
// composed and ended. The Windows side gathers the values and does the I/O.

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/narrow_text.h"

namespace diag {

// Bits of the registry value "DebugLog". Other bits are ignored, but any
// non-zero value switches the log on.
constexpr std::uint32_t LOG_TO_FILE = 1;
constexpr std::uint32_t LOG_PER_PROCESS_FILE = 2;  // only together with LOG_TO_FILE
constexpr std::uint32_t LOG_TO_DEBUGGER = 4;

// Size of each line buffer, terminator included.
constexpr std::size_t kLogLineCapacity = 2048;
// The most text one line carries before its prefix and line break, as
// wvsprintfA produces at most this much.
constexpr std::size_t kMaxLogText = 1024;
// The longest log file path, as the ANSI file functions take it.
constexpr std::size_t kMaxLogPathLength = 259;

// The log file's path: `baseName` in the folder of `executablePath` (found
// with a double-byte-aware search for the last backslash). With
// `perProcess`, the path's last "." and what follows become
// "#<processId>.log"; without a "." that text is appended. Empty when the
// executable path holds no backslash or the result would exceed
// kMaxLogPathLength.
std::string LogFilePath(const std::string& executablePath, const std::string& baseName, bool perProcess,
                        unsigned long processId, const text::CodePage& codePage);

// Ends the `length` bytes of text in `line` with "\r\n" and a terminator,
// unless the text already ends with a line feed (then only the terminator).
// `line` must have room for `length` + 3 bytes. Returns the new length.
std::size_t TerminateLogLine(char* line, std::size_t length);

// Composes `prefix` and `message` as plain text (no conversions) into
// `line`, keeping at most kMaxLogText bytes of the message and never
// splitting a double-byte character, then ends the line as
// TerminateLogLine does. Never writes past `capacity`. Returns the length.
std::size_t ComposeLogLine(char* line, std::size_t capacity, const char* prefix, const char* message,
                           const text::CodePage& codePage);

// "HH:MM:SS" on the 24-hour clock and "MM/DD/YY", for the header line.
std::string LogClockTime(unsigned hour, unsigned minute, unsigned second);
std::string LogDate(unsigned month, unsigned day, unsigned year);

}  // namespace diag
