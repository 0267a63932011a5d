#pragma once
// The packager's tool for install-options files, as a function of its
// arguments so tests can run it in-process.
//
//   instopts show FILE [--no-verify] [--json]
//   instopts new FILE
//   instopts set FILE NAME --int N | --text S
//   instopts remove FILE NAME
//   instopts apply FILE -- SETUP-ARGUMENTS...
//
// Returns 0 on success, the options library's result code on a failure
// (after one line on `err` naming the file and the fault), 2 with the usage
// for a wrong invocation.

#include <iosfwd>
#include <string>
#include <vector>

namespace instopts {

int RunInstopts(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace instopts
