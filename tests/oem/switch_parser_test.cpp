#include "oem/switch_parser.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using oem::SwitchParser;
using ValueQuery = bool (SwitchParser::*)(std::int32_t*);
using TextQuery = bool (SwitchParser::*)(char*, std::size_t);
constexpr std::int32_t kAbsent = -12345;

// A writable command-line buffer with a parser over it, as the launcher has.
struct CommandLine {
    explicit CommandLine(const std::string& text, text::CodePage codePage = text::SingleByteCodePage())
        : buffer(text.c_str(), text.c_str() + text.size() + 1), parser(buffer.data(), codePage)
    {
    }
    std::string Rest() const { return buffer.data(); }
    // The decoded value, or kAbsent (untouched) when the switch is absent.
    std::int32_t Value(ValueQuery query)
    {
        std::int32_t value = kAbsent;
        const bool found = (parser.*query)(&value);
        EXPECT_EQ(found, value != kAbsent);
        return value;
    }
    std::string Text(TextQuery query, std::size_t capacity = oem::kSwitchTextCapacity)
    {
        std::vector<char> out(capacity + 1, 'X');
        if (!(parser.*query)(out.data(), capacity)) return "<absent>";
        EXPECT_EQ(out[capacity], 'X') << "wrote past the capacity";
        return out.data();
    }
    std::vector<char> buffer;
    SwitchParser parser;
};

struct ValueCase {
    const char* commandLine;
    ValueQuery query;
    std::int32_t expected;
    const char* rest;
};

void ExpectValues(const std::vector<ValueCase>& cases, text::CodePage codePage = text::SingleByteCodePage())
{
    for (const ValueCase& c : cases) {
        CommandLine line(c.commandLine, codePage);
        EXPECT_EQ(line.Value(c.query), c.expected) << c.commandLine;
        EXPECT_EQ(line.Rest(), c.rest) << c.commandLine;
    }
}

TEST(SwitchMatching, CaseSensitiveAnywhereAndAsAPrefix)
{
    ExpectValues({
        {"/VG:1 /NoReboot", &SwitchParser::GetEnableVigilux, kAbsent, "/VG:1 /NoReboot"},
        {"/NoReboot /qn", &SwitchParser::GetNoReboot, kAbsent, "/NoReboot /qn"},
        {"x/noreboot /qn", &SwitchParser::GetNoReboot, 1, "x/qn"},
        {"/ctoXYZ /qn", &SwitchParser::GetCto, 1, "/qn"},
        {"/reseal:0", &SwitchParser::GetReseal, 1, ""},
    });
}

TEST(SwitchMatching, OnlyTheFirstOccurrenceIsDecodedAndCut)
{
    CommandLine line("/vg:1 /vg:0");
    EXPECT_EQ(line.Value(&SwitchParser::GetEnableVigilux), 1);
    EXPECT_EQ(line.Rest(), "/vg:0");
    // Asked again, the parser answers from what it stored and cuts nothing.
    EXPECT_EQ(line.Value(&SwitchParser::GetEnableVigilux), 1);
    EXPECT_EQ(line.Rest(), "/vg:0");
}

TEST(SwitchMatching, SwitchInsideAnotherQuotedValueGoesToTheFirstQuery)
{
    CommandLine line("/keyexist:\"C:\\a /cto\" /qn");
    EXPECT_EQ(line.Value(&SwitchParser::GetCto), 1);
    EXPECT_EQ(line.Rest(), "/keyexist:\"C:\\a /qn");
    // The closing quote went with "/cto", so the text runs on.
    EXPECT_EQ(line.Text(&SwitchParser::GetKeyExistPath), "C:\\a /qn");
    EXPECT_EQ(line.Rest(), "/qn");
}

TEST(SwitchMatching, StepsOverDoubleByteCharactersWhole)
{
    // Under code page 932, 0x81 leads a character; here its trail byte is "/".
    ExpectValues({{"\x81/vg:1", &SwitchParser::GetEnableVigilux, kAbsent, "\x81/vg:1"},
                  {"\x95\x5c\x83\x81/vg:1 \x82\xa0", &SwitchParser::GetEnableVigilux, 1, "\x95\x5c\x83\x81"}},
                 text::ShiftJisCodePage());
    ExpectValues({{"\x81/vg:1", &SwitchParser::GetEnableVigilux, 1, "\x81"}});
}

TEST(SwitchCut, RunsToTheNextSlashOrDash)
{
    ExpectValues({
        {"/noreboot PROP=1 /qn -x", &SwitchParser::GetNoReboot, 1, "/qn -x"},
        {"a /reseal b c d", &SwitchParser::GetReseal, 1, "a "},
        {"/count:-1 /qn", &SwitchParser::GetRebootCount, -1, "-1 /qn"},
        {"/qn /l*v x.log", &SwitchParser::GetRebootCount, kAbsent, "/qn /l*v x.log"},
    });
    CommandLine quoted("/keyexist:\"HKLM\\a-b\" /qn");
    EXPECT_EQ(quoted.Text(&SwitchParser::GetKeyExistPath), "HKLM\\a-b");
    EXPECT_EQ(quoted.Rest(), "-b\" /qn");
}

TEST(ValueDecoding, EnableSwitchesAreOneOnlyForTheNumberOne)
{
    const struct {
        const char* valueText;
        std::int32_t expected;
    } cases[] = {{"1", 1}, {"0", 0}, {"2", 0}, {"abc", 0}, {"1abc", 1}, {" 1", 1}, {"01", 1}, {"10", 0}, {"", 0}};
    const struct {
        ValueQuery query;
        std::string switchText;
    } switches[] = {{&SwitchParser::GetEnableVigilux, "/vg:"},
                    {&SwitchParser::GetEnableScriptBlocking, "/sb:"},
                    {&SwitchParser::GetEnableEmailIn, "/emi:"},
                    {&SwitchParser::GetEnableEmailOut, "/emo:"}};
    for (const auto& sw : switches) {
        for (const auto& c : cases) {
            CommandLine line(sw.switchText + c.valueText);
            EXPECT_EQ(line.Value(sw.query), c.expected) << sw.switchText << c.valueText;
        }
    }
}

TEST(ValueDecoding, IconFirewallAndCount)
{
    ExpectValues({
        {"/icon:1", &SwitchParser::GetNoDesktopIcon, 0, ""},
        {"/icon:0", &SwitchParser::GetNoDesktopIcon, 1, ""},
        {"/icon:2", &SwitchParser::GetNoDesktopIcon, 1, ""},
        {"/icon:", &SwitchParser::GetNoDesktopIcon, 1, ""},
        {"/fw:0", &SwitchParser::GetFirewallLevel, 0, ""},
        {"/fw:2", &SwitchParser::GetFirewallLevel, 2, ""},
        {"/fw:1", &SwitchParser::GetFirewallLevel, 1, ""},
        {"/fw:3", &SwitchParser::GetFirewallLevel, 1, ""},
        {"/fw:-2", &SwitchParser::GetFirewallLevel, 1, "-2"},
        {"/fw:abc", &SwitchParser::GetFirewallLevel, 0, ""},
        {"/count:5", &SwitchParser::GetRebootCount, 5, ""},
        {"/count:", &SwitchParser::GetRebootCount, 0, ""},
        {"/count:+7x", &SwitchParser::GetRebootCount, 7, ""},
        {"/count:\t\r\n 3", &SwitchParser::GetRebootCount, 3, ""},
    });
}

TEST(ValueDecoding, HugeNumbersSaturate)
{
    const std::string huge(400, '9');
    ExpectValues({
        {"/count:2147483647", &SwitchParser::GetRebootCount, INT32_MAX, ""},
        {"/count:2147483648", &SwitchParser::GetRebootCount, INT32_MAX, ""},
        {"/count:-2147483649", &SwitchParser::GetRebootCount, INT32_MIN, "-2147483649"},
        {"/fw:4294967298", &SwitchParser::GetFirewallLevel, 1, ""},
        {"/vg:4294967297", &SwitchParser::GetEnableVigilux, 0, ""},
    });
    CommandLine line("/count:" + huge);
    EXPECT_EQ(line.Value(&SwitchParser::GetRebootCount), INT32_MAX);
}

TEST(QuotedText, EmptyLongUnclosedAndUnquoted)
{
    const std::string path(300, 'p');
    const struct {
        std::string commandLine;
        TextQuery query;
        std::string expected;
        std::string rest;
    } cases[] = {
        {"/keynoexist:\"\" /qn", &SwitchParser::GetKeyNoExistPath, "", "/qn"},
        {"/fileexist:\"" + path + "\"", &SwitchParser::GetFileExistPath, path.substr(0, 259), ""},
        {"/filenoexist:\"" + path.substr(0, 259) + "\"", &SwitchParser::GetFileNoExistPath, path.substr(0, 259), ""},
        {"/fileexist:\"C:\\oem flag.txt", &SwitchParser::GetFileExistPath, "C:\\oem flag.txt", ""},
        {"/keyexist:HKLM", &SwitchParser::GetKeyExistPath, "<absent>", "/keyexist:HKLM"},
    };
    for (const auto& c : cases) {
        CommandLine line(c.commandLine);
        EXPECT_EQ(line.Text(c.query), c.expected) << c.commandLine;
        EXPECT_EQ(line.Rest(), c.rest) << c.commandLine;
    }
}

TEST(QuotedText, SmallerBufferGetsATerminatedPrefix)
{
    CommandLine line("/keyexist:\"HKLM\\Software\"");
    EXPECT_EQ(line.Text(&SwitchParser::GetKeyExistPath, 5), "HKLM");
    EXPECT_EQ(line.Text(&SwitchParser::GetKeyExistPath), "HKLM\\Software");
}

}  // namespace
