#include "log/log_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using diag::LogFilePath;
using text::ShiftJisCodePage;
using text::SingleByteCodePage;

TEST(LogFilePath, BesideTheExecutableWithOptionalProcessId)
{
    const auto sb = SingleByteCodePage();
    EXPECT_EQ(LogFilePath("C:\\Setup\\setup.exe", "RIDEvuz.log", false, 1234, sb), "C:\\Setup\\RIDEvuz.log");
    EXPECT_EQ(LogFilePath("C:\\Setup\\setup.exe", "RIDEvuz.log", true, 1234, sb), "C:\\Setup\\RIDEvuz#1234.log");
    EXPECT_EQ(LogFilePath("C:\\Setup\\setup", "RIDEvuz", true, 7, sb), "C:\\Setup\\RIDEvuz#7.log");
    EXPECT_EQ(LogFilePath("setup.exe", "RIDEvuz.log", false, 1234, sb), "");
    // "\x95\x5c" is one character whose trail byte is a backslash.
    EXPECT_EQ(LogFilePath("C:\\\x95\x5csetup.exe", "RIDEvuz.log", false, 1, ShiftJisCodePage()), "C:\\RIDEvuz.log");
}

TEST(LogFilePath, OverlongPathFails)
{
    const std::string exe = "C:\\" + std::string(244, 'f') + "\\x.exe";  // folder of 248 bytes
    EXPECT_EQ(LogFilePath(exe, "RIDEvuz.log", false, 1, SingleByteCodePage()).size(), 259u);
    EXPECT_EQ(LogFilePath(exe, "RIDEvuz.logs", false, 1, SingleByteCodePage()), "");
    EXPECT_EQ(LogFilePath(exe, "RIDEvuz.log", true, 1, SingleByteCodePage()), "");
}

std::string Compose(const std::string& prefix, const std::string& message, std::size_t capacity = 2048)
{
    std::vector<char> line(capacity + 1, 'X');
    const std::size_t length =
        diag::ComposeLogLine(line.data(), capacity, prefix.c_str(), message.c_str(), ShiftJisCodePage());
    EXPECT_EQ(line[capacity], 'X') << "wrote past the capacity";
    EXPECT_EQ(length, std::string(line.data()).size());
    return line.data();
}

TEST(LogLine, PlainTextEndingInExactlyOneLineBreak)
{
    EXPECT_EQ(Compose("Exception: ", "Unable to save InstOpts.dat"), "Exception: Unable to save InstOpts.dat\r\n");
    EXPECT_EQ(Compose("Exception: ", "100% %s %n"), "Exception: 100% %s %n\r\n");
    EXPECT_EQ(Compose("Exception: ", "done\n"), "Exception: done\n");
    EXPECT_EQ(Compose("Exception: ", "done\r"), "Exception: done\r\r\n");
    EXPECT_EQ(Compose("", ""), "\r\n");
}

TEST(LogLine, LongMessagesAreCutWithinTheBuffer)
{
    const std::string message(5000, 'm');
    EXPECT_EQ(Compose("Exception: ", message), "Exception: " + std::string(1024, 'm') + "\r\n");
    EXPECT_EQ(Compose("Exception: ", message, 20), "Exception: " + std::string(6, 'm') + "\r\n");
    EXPECT_EQ(Compose("Exception: ", message, 3), "\r\n");
    // A double-byte character that does not fit is left out whole.
    EXPECT_EQ(Compose("ab", "c\x82\xa0", 7), "abc\r\n");
}

TEST(LogHeader, TimeAndDateInTwoDigitFields)
{
    EXPECT_EQ(diag::LogClockTime(9, 5, 3), "09:05:03");
    EXPECT_EQ(diag::LogClockTime(23, 59, 59), "23:59:59");
    EXPECT_EQ(diag::LogDate(1, 2, 2007), "01/02/07");
}

}  // namespace
