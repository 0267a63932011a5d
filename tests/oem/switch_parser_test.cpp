#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "switch_model.h"

// Command lines of up to 15 pieces: every switch, some in the wrong case,
// values of every kind, quotes, blanks, "/", "-", an installer property and
// Shift-JIS characters, one with "\" for its trail byte.
static std::string RandomCommandLine(std::mt19937& random)
{
    static const std::vector<std::string> kPieces = [] {
        std::vector<std::string> pieces = {
            "/VG:", "/NoReboot", "/Count:",    "\"",         " ",           " ",           "/",
            "-",    "PROP=1",    "\x81",       "\x95\x5c",   "\x82\xa0",    "1",           "0",
            "2",    "3",         "-2",         "01",         " 1",          "\t+7x",       "1abc",
            "abc",  "10",        "2147483647", "2147483648", "-2147483648", "-2147483649", "99999999999999999999"};
        pieces.push_back(std::string(300, 'p'));
        for (const auto& s : oem_model::kSwitches) pieces.insert(pieces.end(), 2, s.text);
        return pieces;
    }();
    std::string line;
    for (int n = random() % 16; n > 0; --n) line += kPieces[random() % kPieces.size()];
    return line;
}

TEST(SwitchParser, AgreesWithTheModelOnRandomCommandLines)
{
    std::mt19937 random(20240607);
    for (int i = 0; i < 5000; ++i) {
        const std::string line = RandomCommandLine(random);
        const text::CodePage codePage = i % 2 ? text::ShiftJisCodePage() : text::SingleByteCodePage();
        const std::string model = oem_model::ModelPlan(line, codePage);
        ASSERT_EQ(oem_model::ParserPlan(line, codePage), model)
            << "command line [" << line << "], code page " << (i % 2 ? 932 : 1252);
        // What the installer will receive, judged before the launcher's own cut: the model's first pass.
        const std::size_t cutStart = model.find("| ") + 2;
        ASSERT_EQ(oem::WithoutOemSwitches(line, codePage),
                  model.substr(cutStart, model.find(" | ", cutStart) - cutStart))
            << line;
    }
}

// The row of kOemSwitches whose switch is typed as `text`.
static std::size_t RowOf(const char* text)
{
    const auto* row = std::find_if(std::begin(oem::kOemSwitches), std::end(oem::kOemSwitches),
                                   [&](const oem::OemSwitch& s) { return std::string(s.text) == text; });
    return static_cast<std::size_t>(row - std::begin(oem::kOemSwitches));
}

TEST(SwitchParser, SmallerBufferGetsATerminatedPrefix)
{
    char line[] = "/keyexist:\"HKLM\\Software\"";
    oem::SwitchParser parser(line);
    char text[5];
    ASSERT_TRUE(parser.CutText(RowOf("/keyexist:\""), text, sizeof text));
    EXPECT_STREQ(text, "HKLM");
    // The parser keeps at most kSwitchTextCapacity - 1 characters, whatever the caller offers.
    std::string longLine = "/fileexist:\"" + std::string(oem::kSwitchTextCapacity + 9, 'f');
    oem::SwitchParser longParser(longLine.data());
    std::string kept(oem::kSwitchTextCapacity + 9, '\0');
    ASSERT_TRUE(longParser.CutText(RowOf("/fileexist:\""), kept.data(), kept.size()));
    EXPECT_EQ(std::strlen(kept.c_str()), oem::kSwitchTextCapacity - 1);
}
