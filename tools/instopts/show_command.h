#pragma once
// instopts show FILE [--json] [--no-verify]: every record in file order, as
// a line of text or as a recipe line.

#include <iosfwd>

#include "instopts/code_page_text.h"
#include "instopts/invocation.h"

namespace instopts {

int Show(const Invocation& invocation, const CodePageText& codePage, std::ostream& out, std::ostream& err);

}  // namespace instopts
