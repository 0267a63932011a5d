#pragma once
// The packager's tool for install-options files, as a function of its
// arguments so tests can run it in-process.
//
//   instopts show FILE [--json] [--no-verify] [--codepage N]
//   instopts new FILE [--from RECIPE|-] [--codepage N]
//   instopts set FILE NAME --int N | --text S [--codepage N]
//   instopts remove FILE NAME [--codepage N]
//   instopts apply FILE [--codepage N] -- SETUP-ARGUMENTS...
//
// Arguments, recipes and everything printed are UTF-8; names and texts are
// stored in Windows code page N, 1252 unless given. A failure writes one line
// on `err` naming the file and the fault, a wrong invocation the usage; the
// exit codes are in tool_messages.h.

#include <iosfwd>
#include <string>
#include <vector>

namespace instopts {

// `in` is the recipe of `new --from -`.
int RunInstopts(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace instopts
