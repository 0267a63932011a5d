// The packager's tool, run in-process, for what the guides' examples leave out.
#include <sys/stat.h>

#include <sstream>

#include "instopts_commands.h"
#include "options_test_support.h"

namespace {

using namespace options_test;

// Byte blocks, unknown types and texts that are not UTF-8 (U+FFFD in JSON);
// integers out of range are wrong invocations, and a file that does not load,
// or is read-only, is never saved over.
TEST(Instopts, ShowsEveryTypeAndChangesNothingOnAFailure)
{
    ScratchFolder folder;
    const std::string path = folder.PathOf("InstOpts.dat");
    const Bytes file = OptionsFileBuilder()
                           .Add(IntegerRecord("Count", -2147483647 - 1))
                           .Add({"Text", OPTION_TYPE_STRING, 16, {'c', 'a', 'f', 0xE9, 0, 'x'}})
                           .Add({"Blob", OPTION_TYPE_BYTES, 8, {4, 0, 0, 0, 0xDE, 0xAD, 0x01, 0x02}})
                           .Add({"Odd", 9, 8, {0xAB}})
                           .Build();
    WriteFileBytes(path, file);
    std::ostringstream out, err;
    const auto run = [&](const std::vector<std::string>& args) { return instopts::RunInstopts(args, out, err); };
    EXPECT_EQ(run({"show", path}), 0);
    EXPECT_EQ(run({"show", path, "--json"}), 0);
    EXPECT_EQ(out.str(), "Count = -2147483648  [integer, L=8]\nText = caf\xE9  [string, L=16]\n"
                         "Blob = dead0102  [bytes, L=8]\nOdd = ab00000000000000  [type 9, L=8]\n"
                         "{\"length\":8,\"name\":\"Count\",\"type\":\"integer\",\"value\":-2147483648}\n"
                         "{\"length\":16,\"name\":\"Text\",\"type\":\"string\",\"value\":\"caf\xEF\xBF\xBD\"}\n"
                         "{\"length\":8,\"name\":\"Blob\",\"type\":\"bytes\",\"value\":\"dead0102\"}\n"
                         "{\"length\":8,\"name\":\"Odd\",\"type\":9,\"value\":\"ab00000000000000\"}\n");
    for (const char* value : {"-2147483649", "4294967296", "1x"}) EXPECT_EQ(run({"set", path, "N", "--int", value}), 2);
    EXPECT_EQ(run({"apply", folder.PathOf("absent.dat"), "--", "/cto"}), 5);
    chmod(path.c_str(), 0444);  // the owner's write bit decides, for root too
    EXPECT_EQ(run({"apply", path, "--", "/cto"}), 3);
    chmod(path.c_str(), 0644);
    WriteFileBytes(path, Bytes(file.begin(), file.end() - 1));
    EXPECT_EQ(run({"set", path, "N", "--int", "1"}), OPTS_E_DIGEST_MISMATCH);
    EXPECT_EQ(run({"remove", path, "Odd"}), OPTS_E_DIGEST_MISMATCH);
    EXPECT_EQ(ReadFileBytes(path), Bytes(file.begin(), file.end() - 1));
}

}  // namespace
