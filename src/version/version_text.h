#pragma once
// Text rules of the version lookup: case folding of names, the query paths,
// and the copy of a value into the caller's buffer.

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/narrow_text.h"

namespace version {

// Keys and names are matched with their ASCII letters uppercased; other
// characters are left as they are, and so are the trail bytes of double-byte
// characters, which may fall in the range of ASCII letters.
std::string UppercaseAscii(std::string text, const text::CodePage& codePage);
std::u16string UppercaseAscii(std::u16string text);

// The query paths are formed in a 260-byte buffer; a name that would make a
// longer path has no path (empty result) and is not asked for.
constexpr std::size_t kQueryPathCapacity = 260;

// "\StringFileInfo\040904b0\NAME" for the translation pair (0x0409, 0x04B0).
std::string TranslatedQueryPath(std::uint16_t language, std::uint16_t codePage, const std::string& name);
// "\StringFileInfo\TABLE\NAME" for a name that already holds its table.
std::string QualifiedQueryPath(const std::string& name);

// Copies `value` into `buffer` and NUL-terminates it: at most bufferSize - 1
// bytes, never the lead byte of a double-byte character without its trail
// byte. Returns the bytes copied; writes nothing when bufferSize is 0.
std::size_t CopyNarrowValue(const std::string& value, char* buffer, std::size_t bufferSize,
                            const text::CodePage& codePage);

}  // namespace version
