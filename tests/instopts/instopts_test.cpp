// The packager's tool, run in-process: code pages, how records show,
// recipes, and the exit codes of every command.
#include <algorithm>
#include <sstream>

#include "instopts/code_page_text.h"
#include "instopts/instopts_commands.h"
#include "options_test_support.h"

namespace {

using namespace options_test;
using instopts::CodePageText;

struct Outcome {
    int code;
    std::string out, err;
};

Outcome Instopts(const std::vector<std::string>& args, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = instopts::RunInstopts(args, in, out, err);
    return {code, out.str(), err.str()};
}

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream words(line);
    return {std::istream_iterator<std::string>(words), {}};
}

// Runs the tool with relative paths inside a scratch folder.
struct InScratchFolder : ScratchFolder {
    const std::filesystem::path previous = std::filesystem::current_path();
    InScratchFolder() { std::filesystem::current_path(folder); }
    ~InScratchFolder() { std::filesystem::current_path(previous); }
};

// A byte the code page leaves undefined is the character of its number, in
// 1252's holes and in a double-byte code page's broken pair; a character the
// code page lacks, and text that is not UTF-8, are refused by name.
TEST(InstoptsCodePages, KeepUndefinedBytesAndRefuseWhatTheyCannotHold)
{
    const CodePageText western(1252), japanese(932);
    EXPECT_EQ(western.Decode("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(japanese.Decode("\x81 \x93"), "\u0081 \u0093");
    std::string bytes, refusal;
    EXPECT_TRUE(japanese.Encode("\u0081 \u0093", bytes, refusal));
    EXPECT_EQ(bytes, "\x81 \x93");

    EXPECT_FALSE(western.Encode("Łódź", bytes, refusal));
    EXPECT_EQ(refusal, "code page 1252 has no \"Ł\" (U+0141)");
    EXPECT_FALSE(japanese.Encode("€", bytes, refusal));
    EXPECT_EQ(refusal, "code page 932 has no \"€\" (U+20AC)");
    // Latin-1, cut short, overlong, a surrogate, past U+10FFFF.
    for (const char* text : {"M\xFCnchen", "\xE2\x82", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
        EXPECT_FALSE(western.Encode(text, bytes, refusal)) << text;
        EXPECT_EQ(refusal, "not UTF-8 text");
    }
}

// Every type, both ways of showing: control characters escaped on one line,
// types unsigned, and the fields JSON needs to rebuild what the value
// alone would not (bytes after a text's zero, an integer's stray byte, a
// broken double-byte pair in a name).
TEST(InstoptsShow, PrintsEachRecordOnOneLineAndAsJsonThatRebuildsIt)
{
    InScratchFolder folder;
    WriteFileBytes("o.dat", OptionsFileBuilder()
                                .Add(IntegerRecord("Count", -2147483647 - 1))
                                .Add({"Text\n", OPTION_TYPE_STRING, 16, {'c', 0xE9, '\t', '\n', 1, 0x7F, 0x81, 0, 'x'}})
                                .Add({"Blob", OPTION_TYPE_BYTES, 8, {4, 0, 0, 0, 0xDE, 0xAD, 0x01, 0x02}})
                                .Add({"Odd", 0x80000000u, 8, {0xAB}})
                                .Add({"Int", OPTION_TYPE_INTEGER, 8, {7, 0, 0, 0, 0, 1}})
                                .Add({"\xF7 ", OPTION_TYPE_STRING, 8, {}})
                                .Build());
    EXPECT_EQ(Instopts({"show", "o.dat"}).out,
              "Count = -2147483648  [integer, L=8]\nText\\n = c\u00E9\\t\\n\\x01\\x7f\\x81  [string, L=16]\n"
              "Blob = dead0102  [bytes, L=8]\nOdd = ab00000000000000  [type 2147483648, L=8]\n"
              "Int = 7  [integer, L=8]\n\u00F7  =   [string, L=8]\n");
    const Outcome json = Instopts({"show", "o.dat", "--json", "--codepage", "932"});
    EXPECT_EQ(json.out,
              "{\"name\":\"Count\",\"type\":\"integer\",\"value\":-2147483648,\"length\":8}\n"
              "{\"name\":\"Text\\n\",\"type\":\"string\",\"value\":\"c\u00E9\\t\\n\\u0001\u007F\u0081\",\"length\":16,"
              "\"valueField\":\"63e9090a017f81007800000000000000\"}\n"
              "{\"name\":\"Blob\",\"type\":\"bytes\",\"value\":\"dead0102\",\"length\":8}\n"
              "{\"name\":\"Odd\",\"type\":2147483648,\"value\":\"ab00000000000000\",\"length\":8}\n"
              "{\"name\":\"Int\",\"type\":\"integer\",\"value\":7,\"length\":8,\"valueField\":\"0700000000010000\"}\n"
              "{\"name\":\"\u00F7 \",\"type\":\"string\",\"value\":\"\",\"length\":8,\"nameField\":\"f720\"}\n");
    EXPECT_EQ(Instopts({"new", "again.dat", "--from", "-", "--codepage", "932"}, json.out).code, 0);
    EXPECT_EQ(ReadFileBytes("again.dat"), ReadFileBytes("o.dat"));
}

// Any loadable file: records of every type, name fields of any bytes (names
// of 0 to 32 bytes, bytes after their zero), value fields of any bytes and
// lengths, in single- and double-byte code pages.
TEST(InstoptsRecipes, ShowJsonOfAnyFileRebuildsTheSameFile)
{
    InScratchFolder folder;
    std::mt19937 random(20240611);
    const auto randomBytes = [&](std::size_t count, int lowest) {
        std::string bytes;
        while (bytes.size() < count) bytes += static_cast<char>(lowest + random() % (256 - lowest));
        return bytes;
    };
    for (int round = 0; round < 150; ++round) {
        OptionsFileBuilder builder;
        for (int records = random() % 6; records > 0; --records) {
            const std::uint32_t types[] = {0, 1, 2, static_cast<std::uint32_t>(random())};
            PlainRecord record{
                randomBytes(random() % 33, random() % 2), types[random() % 4], 8 * std::uint32_t(random() % 5), {}};
            const std::string value = randomBytes(random() % (record.valueLength + 1), random() % 2);
            record.value.assign(value.begin(), value.end());
            builder.Add(record);
        }
        const Bytes file = builder.Build();
        WriteFileBytes("o.dat", file);
        const std::string codePage = std::to_string(std::vector<unsigned>{1252, 1250, 932, 936, 949}[round % 5]);
        const Outcome json = Instopts({"show", "o.dat", "--json", "--codepage", codePage});
        std::filesystem::remove("again.dat");
        const Outcome rebuilt = Instopts({"new", "again.dat", "--codepage", codePage, "--from", "-"}, json.out);
        ASSERT_EQ(rebuilt.code, 0) << rebuilt.err << json.out;
        ASSERT_EQ(ReadFileBytes("again.dat"), file) << codePage << '\n' << json.out;
    }
}

// A recipe may be written by hand: a mark and CRLF from a Windows editor,
// comments, blank lines, the type as a number, no length (the library's).
// A malformed line is refused by its number, and no file is written.
TEST(InstoptsRecipes, TakeHandWrittenLinesAndRefuseAMalformedOneByItsNumber)
{
    InScratchFolder folder;
    const std::string good = "{\"name\":\"A\",\"type\":\"string\",\"value\":\"1234567\"}";
    const std::string handWritten =
        "\xEF\xBB\xBF" + good + "\r\n\n  # comment\n{\"name\":\"B\",\"type\":1,\"value\":-1}\n";
    EXPECT_EQ(Instopts({"new", "hand.dat", "--from", "-"}, handWritten).code, 0);
    EXPECT_EQ(Instopts({"show", "hand.dat"}).out, "A = 1234567  [string, L=16]\nB = -1  [integer, L=8]\n");

    const std::string longName(33, 'N');
    // clang-format off
    const struct { std::string line, error; } kRows[] = {
        {"{\"name\":\"A\"", "not JSON"},
        {"[1]", "not a JSON object"},
        {"{\"name\":\"A\",\"type\":1,\"value\":1,\"colour\":1}", "unknown key \"colour\""},
        {"{\"type\":1,\"value\":1}", "no \"name\" text"},
        {"{\"name\":\"" + longName + "\",\"type\":1,\"value\":1}", "a name takes at most 32 bytes, none of them zero"},
        {"{\"name\":\"A\",\"type\":\"float\",\"value\":1}",
         "\"type\" is \"string\", \"integer\", \"bytes\" or a number up to 4294967295"},
        {"{\"name\":\"A\",\"type\":-1,\"value\":1}",
         "\"type\" is \"string\", \"integer\", \"bytes\" or a number up to 4294967295"},
        {"{\"name\":\"A\",\"type\":1}", "no \"value\""},
        {"{\"name\":\"A\",\"type\":1,\"value\":4294967296}",
         "an integer's \"value\" is from -2147483648 to 4294967295"},
        {"{\"name\":\"A\",\"type\":1,\"value\":-2147483649}",
         "an integer's \"value\" is from -2147483648 to 4294967295"},
        {"{\"name\":\"A\",\"type\":1,\"value\":1.5}", "an integer's \"value\" is from -2147483648 to 4294967295"},
        {"{\"name\":\"A\",\"type\":0,\"value\":1}", "a string's \"value\" is a text"},
        {"{\"name\":\"A\",\"type\":0,\"value\":\"Łódź\"}", "code page 1252 has no \"Ł\" (U+0141)"},
        {"{\"name\":\"A\",\"type\":0,\"value\":\"a\\u0000b\"}", "a text cannot hold a zero character"},
        {"{\"name\":\"A\",\"type\":\"bytes\",\"value\":\"abc\"}", "\"value\" of this type is hexadecimal digits"},
        {"{\"name\":\"A\",\"type\":1,\"value\":1,\"length\":12}", "\"length\" is a multiple of 8 from 0 to 2056"},
        {"{\"name\":\"A\",\"type\":0,\"value\":\"12345678\",\"length\":8}",
         "the value takes 9 bytes, more than the value field's 8"},
        {"{\"name\":\"A\",\"type\":0,\"valueField\":\"00\"}",
         "\"valueField\" is hexadecimal digits for a multiple of 8 bytes up to 2056"},
        {"{\"name\":\"A\",\"type\":0,\"valueField\":\"\",\"length\":8}", "\"valueField\" is not \"length\" bytes"},
        {"{\"nameField\":\"4g\",\"type\":0,\"value\":\"\"}", "\"nameField\" is hexadecimal digits for up to 32 bytes"},
    };
    // clang-format on
    for (const auto& row : kRows) {
        const Outcome run =
            Instopts({"new", "bad.dat", "--from", "-"}, good + "\n\n# the bad line\n" + row.line + "\n");
        EXPECT_EQ(run.code, 2) << row.line;
        EXPECT_EQ(run.err, "instopts: standard input:4: " + row.error + "\n");
        EXPECT_FALSE(std::filesystem::exists("bad.dat")) << row.line;
    }
}

// One exit code per fault, whatever the command; a failure is one line naming
// the file (a wrong invocation the usage), and changes no file.
TEST(InstoptsExitCodes, MeanTheSameInEveryCommand)
{
    InScratchFolder folder;
    const Bytes good = OptionsFileBuilder().Add(IntegerRecord("CTO", 1)).Build();
    for (const char* name : {"good.dat", "readonly.dat"}) WriteFileBytes(name, good);
    std::filesystem::permissions("readonly.dat", std::filesystem::perms::owner_read);
    WriteFileBytes("notes.txt", {'h', 'i', '\n'});
    WriteFileBytes("digest.dat", Bytes(good.begin(), good.end() - 1));
    const std::vector<std::string> files = {"good.dat", "readonly.dat", "notes.txt", "digest.dat"};
    std::vector<Bytes> before;
    for (const std::string& file : files) before.push_back(ReadFileBytes(file));
    // clang-format off
    const struct { const char* command; int code; } kRows[] = {
        {"show good.dat --codepage 932 --json", 0},
        {"show missing.dat", 3}, {"set missing.dat N --int 1", 3}, {"remove missing.dat N", 3},
        {"apply missing.dat -- /vg:1", 3}, {"new new.dat --from missing.jsonl", 3},
        {"new good.dat", 4}, {"apply readonly.dat -- /vg:1", 4},
        {"show notes.txt", 5}, {"set notes.txt N --text x", 5}, {"apply notes.txt -- /vg:1", 5},
        {"show digest.dat", 6}, {"remove digest.dat CTO", 6}, {"apply digest.dat -- /vg:1", 6},
        {"remove good.dat NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN", 2},
        {"set good.dat NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN --int 1", 2},
        {"set good.dat N --text Łódź", 2}, {"set good.dat Łódź --int 1", 2}, {"apply good.dat -- /keyexist:Łódź", 2},
        {"set good.dat N --text Łódź --codepage 1200", 2}, {"set good.dat N --int 1x", 2},
        {"set good.dat N --int 1 --text x", 2}, {"show good.dat --colour", 2}, {"show good.dat --json --json", 2},
        {"show", 2}, {"apply good.dat /vg:1", 2}, {"copy good.dat", 2},
    };
    // clang-format on
    for (const auto& row : kRows) {
        const Outcome run = Instopts(Words(row.command));
        EXPECT_EQ(run.code, row.code) << row.command << '\n' << run.err;
        const bool oneLine = std::count(run.err.begin(), run.err.end(), '\n') == 1 && run.err.find("instopts: ") == 0;
        EXPECT_TRUE(row.code == 0 || oneLine || run.err.find("usage: ") == 0) << row.command << '\n' << run.err;
    }
    for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(ReadFileBytes(files[i]), before[i]) << files[i];
    EXPECT_FALSE(std::filesystem::exists("new.dat"));
}

}  // namespace
