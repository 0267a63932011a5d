#pragma once
// instopts apply FILE -- SETUP-ARGUMENTS: the OEM switches of a setup
// command line applied to the file exactly as the launcher applies them to
// its staged copy, with the argument text that would reach the installer
// printed.

#include <iosfwd>

#include "instopts/code_page_text.h"
#include "instopts/invocation.h"

namespace instopts {

int Apply(const Invocation& invocation, const CodePageText& codePage, std::ostream& out, std::ostream& err);

}  // namespace instopts
