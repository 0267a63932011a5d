#include "log/log_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

static std::string Path(const std::string& executable, const char* baseName, bool perProcess)
{
    return diag::LogFilePath(executable, baseName, perProcess, 1234, text::ShiftJisCodePage());
}

TEST(LogFilePath, BesideTheExecutableWithinThePathLimit)
{
    EXPECT_EQ(Path("C:\\Setup\\setup.exe", "RIDEvuz.log", false), "C:\\Setup\\RIDEvuz.log");
    EXPECT_EQ(Path("C:\\Setup\\setup.exe", "RIDEvuz.log", true), "C:\\Setup\\RIDEvuz#1234.log");
    EXPECT_EQ(Path("C:\\Setup\\setup", "RIDEvuz", true), "C:\\Setup\\RIDEvuz#1234.log");
    EXPECT_EQ(Path("setup.exe", "RIDEvuz.log", false), "");
    EXPECT_EQ(Path("C:\\\x95\x5csetup.exe", "RIDEvuz.log", false), "C:\\RIDEvuz.log");  // trail byte "\"
    const std::string folder = "C:\\" + std::string(244, 'f') + "\\";                   // 248 bytes
    EXPECT_EQ(Path(folder + "x.exe", "RIDEvuz.log", false), folder + "RIDEvuz.log");    // 259 bytes
    EXPECT_EQ(Path(folder + "x.exe", "RIDEvuz.logs", false), "");
    EXPECT_EQ(Path(folder + "x.exe", "RIDEvuz.log", true), "");
}

static std::string Compose(const char* prefix, const std::string& message, std::size_t capacity = 2048)
{
    std::vector<char> line(capacity);  // exactly the capacity: an overrun is caught
    const std::size_t length =
        diag::ComposeLogLine(line.data(), capacity, prefix, message.c_str(), text::ShiftJisCodePage());
    EXPECT_EQ(length, std::strlen(line.data()));
    return line.data();
}

TEST(LogLine, PlainTextCutToTheLimitEndingInOneLineBreak)
{
    EXPECT_EQ(Compose("Exception: ", "100% %s %n"), "Exception: 100% %s %n\r\n");
    EXPECT_EQ(Compose("Exception: ", "done\n"), "Exception: done\n");
    EXPECT_EQ(Compose("Exception: ", "done\r"), "Exception: done\r\r\n");
    EXPECT_EQ(Compose("", ""), "\r\n");
    const std::string longText(5000, 'm');
    EXPECT_EQ(Compose("Exception: ", longText), "Exception: " + longText.substr(0, 1024) + "\r\n");
    EXPECT_EQ(Compose("Exception: ", longText, 20), "Exception: mmmmmm\r\n");
    EXPECT_EQ(Compose("Exception: ", longText, 3), "\r\n");
    EXPECT_EQ(Compose("ab", "c\x82\xa0", 7), "abc\r\n");  // the character that does not fit stays out whole
}

TEST(LogHeader, TimeAndDateInTwoDigitFields)
{
    EXPECT_EQ(diag::LogClockTime(9, 5, 13), "09:05:13");
    EXPECT_EQ(diag::LogDate(1, 12, 2007), "01/12/07");
}
