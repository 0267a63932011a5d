#pragma once
// The commands that write a file with the options library's own operations:
//   new FILE [--from RECIPE|-]   a file of exactly the recipe's records
//   set FILE NAME --int N | --text S
//   remove FILE NAME
// A failure leaves the file as it was.

#include <iosfwd>

#include "instopts/code_page_text.h"
#include "instopts/invocation.h"

namespace instopts {

// `in` is the recipe of `new --from -`.
int New(const Invocation& invocation, const CodePageText& codePage, std::istream& in, std::ostream& err);
int Set(const Invocation& invocation, const CodePageText& codePage, std::ostream& err);
int Remove(const Invocation& invocation, const CodePageText& codePage, std::ostream& err);

}  // namespace instopts
