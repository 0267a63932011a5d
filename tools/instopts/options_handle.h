#pragma once
// The commands' use of the options library: a handle that frees itself,
// loading and saving with the failure said in the tool's words, and the
// command line's UTF-8 text in a code page's bytes.

#include <iosfwd>
#include <memory>
#include <string>

#include "instopts/code_page_text.h"
#include "options/options_library.h"

namespace instopts {

struct HandleDeleter {
    void operator()(OptionsLibrary* handle) const { OptionsDestroy(handle); }
};
using HandlePtr = std::unique_ptr<OptionsLibrary, HandleDeleter>;

// Loads the file into a new handle; an exit code, after saying why on a failure.
int LoadFile(const std::string& path, bool verify, HandlePtr& handle, std::ostream& err);
int SaveFile(const std::string& path, OptionsLibrary* handle, std::ostream& err);

// UTF-8 text from the command line in the code page's bytes; false after
// saying why it cannot be stored (for the file at `path`).
bool EncodeArgument(const CodePageText& codePage, const std::string& text, std::string& bytes, const std::string& path,
                    std::ostream& err);

}  // namespace instopts
