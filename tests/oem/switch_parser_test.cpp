#include "oem/switch_parser.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

using oem::SwitchParser;
using ValueQuery = bool (SwitchParser::*)(std::int32_t*);
using TextQuery = bool (SwitchParser::*)(char*, std::size_t);

// A writable command-line buffer with a parser over it, as the launcher has.
class CommandLine {
public:
    explicit CommandLine(const std::string& text, text::CodePage codePage = text::SingleByteCodePage())
        : buffer_(text.c_str(), text.c_str() + text.size() + 1), parser_(buffer_.data(), codePage)
    {
    }
    SwitchParser& Parser() { return parser_; }
    std::string Rest() const { return buffer_.data(); }

    std::optional<std::int32_t> Value(ValueQuery query)
    {
        std::int32_t value = -12345;
        if (!(parser_.*query)(&value)) {
            EXPECT_EQ(value, -12345) << "an absent switch must not write its value";
            return std::nullopt;
        }
        return value;
    }
    std::optional<std::string> Text(TextQuery query, std::size_t capacity = oem::kSwitchTextCapacity)
    {
        std::vector<char> out(capacity + 8, 'X');
        if (!(parser_.*query)(out.data(), capacity)) return std::nullopt;
        EXPECT_EQ(out[capacity], 'X') << "wrote past the capacity";
        return std::string(out.data());
    }

private:
    std::vector<char> buffer_;
    SwitchParser parser_;
};

std::optional<std::int32_t> Decode(ValueQuery query, const std::string& commandLine)
{
    CommandLine line(commandLine);
    return line.Value(query);
}

TEST(SwitchMatching, CapitalLettersAreNotRecognised)
{
    CommandLine line("/VG:1 /NoReboot /CTO");
    EXPECT_FALSE(line.Value(&SwitchParser::GetEnableVigilux));
    EXPECT_FALSE(line.Value(&SwitchParser::GetNoReboot));
    EXPECT_FALSE(line.Value(&SwitchParser::GetCto));
    EXPECT_EQ(line.Rest(), "/VG:1 /NoReboot /CTO");
}

TEST(SwitchMatching, OnlyTheFirstOccurrenceIsDecodedAndCut)
{
    CommandLine line("/vg:1 /vg:0");
    EXPECT_EQ(line.Value(&SwitchParser::GetEnableVigilux), 1);
    EXPECT_EQ(line.Rest(), "/vg:0");
    // A second query answers from the stored value and leaves the rest alone.
    EXPECT_EQ(line.Value(&SwitchParser::GetEnableVigilux), 1);
    EXPECT_EQ(line.Rest(), "/vg:0");
}

TEST(SwitchMatching, MatchesAnywhereAndAsAPrefix)
{
    CommandLine line("x/noreboot /ctoXYZ /qn");
    EXPECT_EQ(line.Value(&SwitchParser::GetCto), 1);
    EXPECT_EQ(line.Rest(), "x/noreboot /qn");
    EXPECT_EQ(line.Value(&SwitchParser::GetNoReboot), 1);
    EXPECT_EQ(line.Rest(), "x/qn");
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

TEST(SwitchMatching, NeverStartsOnADoubleByteTrailByte)
{
    // 0x81 leads a double-byte character whose trail byte is "/".
    CommandLine shiftJis("\x81/vg:1", text::ShiftJisCodePage());
    EXPECT_FALSE(shiftJis.Value(&SwitchParser::GetEnableVigilux));
    EXPECT_EQ(shiftJis.Rest(), "\x81/vg:1");

    CommandLine singleByte("\x81/vg:1");
    EXPECT_EQ(singleByte.Value(&SwitchParser::GetEnableVigilux), 1);
    EXPECT_EQ(singleByte.Rest(), "\x81");
}

TEST(SwitchMatching, StepsOverDoubleByteTextAroundTheSwitches)
{
    // "\x95\x5c" ends in a backslash byte, "\x83\x81" in a lead-byte value.
    CommandLine line("\x95\x5c\x83\x81/vg:1 /sb:1 \x82\xa0", text::ShiftJisCodePage());
    EXPECT_EQ(line.Value(&SwitchParser::GetEnableScriptBlocking), 1);
    EXPECT_EQ(line.Value(&SwitchParser::GetEnableVigilux), 1);
    EXPECT_EQ(line.Rest(), "\x95\x5c\x83\x81");
}

TEST(SwitchCut, RunsToTheNextSlashOrDash)
{
    CommandLine line("/noreboot PROP=1 /qn -x");
    EXPECT_EQ(line.Value(&SwitchParser::GetNoReboot), 1);
    EXPECT_EQ(line.Rest(), "/qn -x");

    CommandLine words("a /reseal b c d");
    EXPECT_EQ(words.Value(&SwitchParser::GetReseal), 1);
    EXPECT_EQ(words.Rest(), "a ");
}

TEST(SwitchCut, NegativeCountKeepsItsSignInTheCommandLine)
{
    CommandLine line("/count:-1 /qn");
    EXPECT_EQ(line.Value(&SwitchParser::GetRebootCount), -1);
    EXPECT_EQ(line.Rest(), "-1 /qn");
}

TEST(SwitchCut, QuotedPathWithADashIsDecodedWholeButCutAtTheDash)
{
    CommandLine line("/keyexist:\"HKLM\\a-b\" /qn");
    EXPECT_EQ(line.Text(&SwitchParser::GetKeyExistPath), "HKLM\\a-b");
    EXPECT_EQ(line.Rest(), "-b\" /qn");
}

TEST(SwitchCut, AbsentSwitchLeavesTheLineAlone)
{
    CommandLine line("/qn /l*v x.log");
    EXPECT_FALSE(line.Value(&SwitchParser::GetRebootCount));
    EXPECT_FALSE(line.Text(&SwitchParser::GetFileExistPath));
    EXPECT_EQ(line.Rest(), "/qn /l*v x.log");
}

TEST(ValueDecoding, EnableSwitchesAreOneOnlyForTheNumberOne)
{
    const struct {
        const char* valueText;
        std::int32_t expected;
    } cases[] = {{"1", 1}, {"0", 0}, {"2", 0}, {"abc", 0}, {"1abc", 1}, {" 1", 1}, {"01", 1}, {"10", 0}, {"", 0}};
    const struct {
        ValueQuery query;
        const char* switchText;
    } switches[] = {{&SwitchParser::GetEnableVigilux, "/vg:"},
                    {&SwitchParser::GetEnableScriptBlocking, "/sb:"},
                    {&SwitchParser::GetEnableEmailIn, "/emi:"},
                    {&SwitchParser::GetEnableEmailOut, "/emo:"}};
    for (const auto& sw : switches) {
        for (const auto& c : cases) {
            EXPECT_EQ(Decode(sw.query, std::string(sw.switchText) + c.valueText), c.expected)
                << sw.switchText << c.valueText;
        }
    }
}

TEST(ValueDecoding, DesktopIconIsInverted)
{
    EXPECT_EQ(Decode(&SwitchParser::GetNoDesktopIcon, "/icon:1"), 0);
    EXPECT_EQ(Decode(&SwitchParser::GetNoDesktopIcon, "/icon:0"), 1);
    EXPECT_EQ(Decode(&SwitchParser::GetNoDesktopIcon, "/icon:2"), 1);
    EXPECT_EQ(Decode(&SwitchParser::GetNoDesktopIcon, "/icon:"), 1);
}

TEST(ValueDecoding, FirewallHasThreeLevels)
{
    EXPECT_EQ(Decode(&SwitchParser::GetFirewallLevel, "/fw:0"), 0);
    EXPECT_EQ(Decode(&SwitchParser::GetFirewallLevel, "/fw:2"), 2);
    EXPECT_EQ(Decode(&SwitchParser::GetFirewallLevel, "/fw:1"), 1);
    EXPECT_EQ(Decode(&SwitchParser::GetFirewallLevel, "/fw:3"), 1);
    EXPECT_EQ(Decode(&SwitchParser::GetFirewallLevel, "/fw:-2"), 1);
    EXPECT_EQ(Decode(&SwitchParser::GetFirewallLevel, "/fw:abc"), 0);
}

TEST(ValueDecoding, CountIsTheNumberItself)
{
    EXPECT_EQ(Decode(&SwitchParser::GetRebootCount, "/count:5"), 5);
    EXPECT_EQ(Decode(&SwitchParser::GetRebootCount, "/count:"), 0);
    EXPECT_EQ(Decode(&SwitchParser::GetRebootCount, "/count:+7x"), 7);
    EXPECT_EQ(Decode(&SwitchParser::GetRebootCount, "/count:\t\r\n 3"), 3);
    EXPECT_EQ(Decode(&SwitchParser::GetRebootCount, "/count:- 3"), 0);
}

TEST(ValueDecoding, HugeNumbersSaturate)
{
    EXPECT_EQ(Decode(&SwitchParser::GetRebootCount, "/count:2147483647"), INT32_MAX);
    EXPECT_EQ(Decode(&SwitchParser::GetRebootCount, "/count:2147483648"), INT32_MAX);
    EXPECT_EQ(Decode(&SwitchParser::GetRebootCount, "/count:-2147483648"), INT32_MIN);
    EXPECT_EQ(Decode(&SwitchParser::GetRebootCount, "/count:-2147483649"), INT32_MIN);
    EXPECT_EQ(Decode(&SwitchParser::GetRebootCount, "/count:" + std::string(400, '9')), INT32_MAX);
    EXPECT_EQ(Decode(&SwitchParser::GetFirewallLevel, "/fw:4294967298"), 1);
    EXPECT_EQ(Decode(&SwitchParser::GetEnableVigilux, "/vg:4294967297"), 0);
}

TEST(ValueDecoding, PresenceSwitchesAreAlwaysOne)
{
    EXPECT_EQ(Decode(&SwitchParser::GetNoReboot, "/noreboot"), 1);
    EXPECT_EQ(Decode(&SwitchParser::GetReseal, "/reseal:0"), 1);
    EXPECT_EQ(Decode(&SwitchParser::GetCto, "/cto0"), 1);
}

TEST(QuotedText, EmptyQuotesArePresentWithEmptyText)
{
    CommandLine line("/keynoexist:\"\" /qn");
    EXPECT_EQ(line.Text(&SwitchParser::GetKeyNoExistPath), "");
    EXPECT_EQ(line.Rest(), "/qn");
}

TEST(QuotedText, LongTextKeepsItsFirst259Characters)
{
    const std::string path(300, 'p');
    CommandLine line("/fileexist:\"" + path + "\"");
    EXPECT_EQ(line.Text(&SwitchParser::GetFileExistPath), path.substr(0, 259));
    EXPECT_EQ(line.Rest(), "");

    const std::string exact(259, 'q');
    CommandLine fits("/filenoexist:\"" + exact + "\"");
    EXPECT_EQ(fits.Text(&SwitchParser::GetFileNoExistPath), exact);
}

TEST(QuotedText, MissingClosingQuoteRunsToTheEnd)
{
    CommandLine line("/fileexist:\"C:\\oem flag.txt");
    EXPECT_EQ(line.Text(&SwitchParser::GetFileExistPath), "C:\\oem flag.txt");
}

TEST(QuotedText, SmallerBufferGetsATerminatedPrefix)
{
    CommandLine line("/keyexist:\"HKLM\\Software\"");
    EXPECT_EQ(line.Text(&SwitchParser::GetKeyExistPath, 5), "HKLM");
    EXPECT_EQ(line.Text(&SwitchParser::GetKeyExistPath), "HKLM\\Software");
}

TEST(QuotedText, UnquotedSwitchIsNotRecognised)
{
    CommandLine line("/keyexist:HKLM");
    EXPECT_FALSE(line.Text(&SwitchParser::GetKeyExistPath));
    EXPECT_EQ(line.Rest(), "/keyexist:HKLM");
}

}  // namespace
