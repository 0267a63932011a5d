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
// Options go anywhere after the command word (for apply, before "--").
// Arguments, recipes and everything printed are UTF-8; names and texts are
// stored in Windows code page N, 1252 unless given. A failure writes one line
// on `err` naming the file and the fault, a wrong invocation the usage.

#include <iosfwd>
#include <string>
#include <vector>

namespace instopts {

// The tool's exit codes, each with one meaning whatever the command.
enum ExitCode : int {
    kExitOk = 0,
    kExitFailed = 1,          // apply: a switch's option or the save failed (its lines say which)
    kExitRefused = 2,         // wrong invocation, or a name, text, character or recipe line refused
    kExitNotFound = 3,        // the options file or the recipe does not exist
    kExitCannotOpen = 4,      // cannot open, create or replace the file (read-only, in use, exists for new)
    kExitDamaged = 5,         // not an options file, or a record cut short
    kExitDigestMismatch = 6,  // changed or damaged since it was written, or too large to verify
    kExitOutOfMemory = 8,
    kExitWriteFailed = 9,     // disk full?; the previous file stays
};

// `in` is the recipe of `new --from -`.
int RunInstopts(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace instopts
