#pragma once
// The running executable's path and folder, as the ANSI functions can use them.

#include <string>

namespace win {

// The executable's path (at most 259 characters). On the NT family, when the
// ANSI code page cannot hold its name without loss (a Cyrillic folder on a
// Western Windows), its short form, which is plain ASCII; every path the
// launcher derives from it then names real files. Empty when neither form
// serves (short names turned off): nothing beside the executable can be
// reached by an ANSI path. Found on the first call and kept.
std::string ModulePath();

// The executable's folder without a trailing backslash, found with a
// double-byte-aware search for the last backslash; the whole path when it
// holds none.
std::string GetSetupFolder();

}  // namespace win
