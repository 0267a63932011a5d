#pragma once
// The tool's exit codes and the text of every failure it reports: the table
// the packagers' guide documents, one code per fault whatever the command.

#include <iosfwd>
#include <string>

#include "options/options_library.h"

namespace instopts {

enum ExitCode : int {
    kExitOk = 0,
    kExitFailed = 1,          // apply: a switch's option or the save failed (its lines say which)
    kExitRefused = 2,         // wrong invocation, or a name, text, character or recipe line refused
    kExitNotFound = 3,        // the options file or the recipe does not exist
    kExitCannotOpen = 4,      // cannot open, create or replace the file (read-only, in use, exists for new)
    kExitDamaged = 5,         // not an options file, or a record cut short
    kExitDigestMismatch = 6,  // changed or damaged since it was written, or too large to verify
    kExitOutOfMemory = 8,
    kExitWriteFailed = 9,  // disk full?; the previous file stays
};

// Writes the usage; a wrong invocation's exit code.
int Usage(std::ostream& err);
// Writes "instopts: WHERE: WHAT" as the one line of a failure; returns `code`.
int Fail(std::ostream& err, const std::string& where, int code, const std::string& what);

// The exit code of an options library result.
int ExitCodeOf(OptionsResult result);
// What a failed load, save or edit means, for the file at `path`.
std::string LoadFailure(OptionsResult result, const std::string& path);
std::string SaveFailure(OptionsResult result);
std::string EditFailure(OptionsResult result);

}  // namespace instopts
