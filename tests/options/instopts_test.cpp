// The packager's tool, run in-process: round trips, JSON lines, failure
// lines and exit codes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <sstream>

#include "instopts_commands.h"
#include "options_test_support.h"

namespace {

using namespace options_test;

struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

ToolRun Instopts(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int exitCode = instopts::RunInstopts(args, out, err);
    return {exitCode, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class InstoptsTest : public ::testing::Test {
protected:
    ScratchFolder folder_;
    std::string path_ = folder_.PathOf("InstOpts.dat");
};

TEST_F(InstoptsTest, NewSetRemoveShowRoundTrip)
{
    ASSERT_EQ(Instopts({"new", path_}).exitCode, 0);
    EXPECT_EQ(ReadFileBytes(path_).size(), 28u);
    EXPECT_EQ(Instopts({"set", path_, "INSTALL:NoReboot", "--int", "1"}).exitCode, 0);
    EXPECT_EQ(Instopts({"set", path_, "Path", "--text", "C:\\Kestrova"}).exitCode, 0);
    EXPECT_EQ(Instopts({"set", path_, "Level", "--int", "-7"}).exitCode, 0);
    EXPECT_EQ(Instopts({"set", path_, "Mask", "--int", "4294967295"}).exitCode, 0);
    EXPECT_EQ(Instopts({"remove", path_, "Level"}).exitCode, 0);
    EXPECT_EQ(Instopts({"remove", path_, "Absent"}).exitCode, 0);

    Handle handle;
    ASSERT_EQ(OptionsLoad(path_.c_str(), handle.get(), 1), OPTS_OK);
    const ToolRun shown = Instopts({"show", path_});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    // File order is the reverse of the loaded list.
    std::vector<std::string> expected;
    for (const RecordSummary& r : Records(handle.get())) expected.insert(expected.begin(), r.name);
    const std::vector<std::string> lines = Lines(shown.out);
    ASSERT_EQ(lines.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(lines[i].rfind(expected[i] + " = ", 0), 0u) << lines[i];
    EXPECT_NE(shown.out.find("Path = C:\\Kestrova  [string, L=16]"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("Mask = -1  [integer, L=8]"), std::string::npos) << shown.out;
}

TEST_F(InstoptsTest, JsonLinesParseAndShowEveryType)
{
    PlainRecord blob;
    blob.nameField = "Blob";
    blob.type = OPTION_TYPE_BYTES;
    blob.valueLength = 8;
    blob.value = {3, 0, 0, 0, 0xDE, 0xAD, 0x01};
    WriteFileBytes(path_, OptionsFileBuilder()
                              .Add(IntegerRecord("Count", -3))
                              .Add(TextRecord("Text", "caf\xE9"))  // a code-page byte, not UTF-8
                              .Add(blob)
                              .Build());
    const ToolRun shown = Instopts({"show", path_, "--json"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    const std::vector<std::string> lines = Lines(shown.out);
    ASSERT_EQ(lines.size(), 3u);
    const auto count = nlohmann::json::parse(lines[0]);
    EXPECT_EQ(count["name"], "Count");
    EXPECT_EQ(count["type"], "integer");
    EXPECT_EQ(count["value"], -3);
    EXPECT_EQ(count["length"], 8);
    const auto text = nlohmann::json::parse(lines[1]);
    EXPECT_EQ(text["type"], "string");
    EXPECT_EQ(text["value"], "caf\xEF\xBF\xBD");
    const auto bytes = nlohmann::json::parse(lines[2]);
    EXPECT_EQ(bytes["type"], "bytes");
    EXPECT_EQ(bytes["value"], "dead01");
}

TEST_F(InstoptsTest, FailuresNameTheFileAndExitWithTheLibrarysCode)
{
    struct Case {
        Bytes file;
        std::vector<std::string> extra;
        int exitCode;
        const char* message;
    };
    Bytes good = OptionsFileBuilder().Add(IntegerRecord("A", 1)).Build();
    Bytes flipped = good;
    flipped[40] ^= 1;
    OptionsFileBuilder big;
    for (int i = 0; i < 126; ++i) big.Add(TextRecord("T" + std::to_string(i), std::string(2047, 't')));
    const Case cases[] = {
        {Bytes(27, 0), {}, 5, "not an options file"},
        {flipped, {}, 6, "digest mismatch: the file was changed or damaged"},
        {OptionsFileBuilder().Add(IntegerRecord("A", 1)).Count(2).Build(), {}, 5, "damaged: a record is cut short"},
        {big.Build(), {}, 6, "too large to verify"},
        {big.Build(), {"--no-verify"}, 0, ""},
    };
    for (const Case& c : cases) {
        WriteFileBytes(path_, c.file);
        std::vector<std::string> args = {"show", path_};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const ToolRun run = Instopts(args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.message;
        if (c.exitCode == 0) continue;
        EXPECT_EQ(run.err.rfind("instopts: " + path_ + ": " + c.message, 0), 0u) << run.err;
        EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
        EXPECT_EQ(Instopts({"set", path_, "B", "--int", "2"}).exitCode, c.exitCode);
        EXPECT_EQ(ReadFileBytes(path_), c.file);  // an edit never saves over a file it could not load
    }

    EXPECT_EQ(Instopts({"show", folder_.PathOf("absent.dat")}).exitCode, OPTS_E_FILE_NOT_FOUND);
    WriteFileBytes(path_, good);
    const ToolRun longName = Instopts({"set", path_, std::string(32, 'n'), "--int", "1"});
    EXPECT_EQ(longName.exitCode, OPTS_E_INVALID_ARGUMENT);
    EXPECT_NE(longName.err.find("at most 31 bytes"), std::string::npos);
    const ToolRun exists = Instopts({"new", path_});
    EXPECT_EQ(exists.exitCode, OPTS_E_OPEN_FAILED);
    EXPECT_EQ(ReadFileBytes(path_), good);
    EXPECT_EQ(Instopts({"new", folder_.PathOf("absent/x.dat")}).exitCode, OPTS_E_OPEN_FAILED);
}

TEST_F(InstoptsTest, ApplyWritesSwitchesAsTheLauncherDoes)
{
    ASSERT_EQ(Instopts({"new", path_}).exitCode, 0);
    ASSERT_EQ(Instopts({"set", path_, "INSTOPTS:FirewallSecurityLevel", "--int", "2"}).exitCode, 0);

    const ToolRun applied = Instopts({"apply", path_, "--", "PROP=1", "/vg:1", "/fw:1", "/count:-3",
                                      "/keyexist:\"HKLM\\Soft\"", "/cto"});

    ASSERT_EQ(applied.exitCode, 0) << applied.err;
    // The command line as the installer would get it: the switches are cut,
    // "/count:" keeps its sign because a cut stops at "-".
    EXPECT_EQ(applied.out, "PROP=1 -3 \n");
    const std::vector<std::string> lines = Lines(Instopts({"show", path_}).out);
    const std::vector<std::string> expected = {
        "CTO = 1  [integer, L=8]",
        "INSTOPTS:FactoryRegKey = HKLM\\Soft  [string, L=16]",
        "INSTOPTS:FactoryRegKeyExists = 1  [integer, L=8]",
        "INSTOPTS:RebootCount = -3  [integer, L=8]",
        "INSTALL:EnableVigilux = 1  [integer, L=8]",
        "INSTOPTS:FirewallSecurityLevel = 2  [integer, L=8]",  // level 1 leaves it
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(InstoptsTest, ApplyCutsSwitchesEvenWhenTheFileDoesNotLoad)
{
    const ToolRun applied = Instopts({"apply", path_, "--", "/noreboot", "/reseal"});

    EXPECT_EQ(applied.exitCode, 5);
    EXPECT_EQ(applied.out, "\n");
    EXPECT_EQ(applied.err, "instopts: " + path_ + ": Instopts.dat file could not be found.\n");
}

TEST(Instopts, WrongInvocationsPrintUsageAndExit2)
{
    const std::vector<std::vector<std::string>> wrong = {
        {}, {"frobnicate", "x"}, {"show", "x", "--verbose"}, {"new", "x", "y"}, {"set", "x", "N"},
        {"set", "x", "N", "--int", "twelve"}, {"set", "x", "N", "--int", "4294967296"},
        {"set", "x", "N", "--float", "1"}, {"remove", "x"}, {"apply", "x", "/vg:1"},
    };
    for (const auto& args : wrong) {
        const ToolRun run = Instopts(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err.rfind("usage: instopts", 0), 0u);
        EXPECT_TRUE(run.out.empty());
    }
}

}  // namespace
