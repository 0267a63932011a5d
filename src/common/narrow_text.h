#pragma once
// Narrow (ANSI) text helpers that step over double-byte characters whole.
//
// Under a double-byte ANSI code page (932 and friends) the trail byte of a
// character may equal "\" or "/" or ".", so every search for such a byte has
// to walk character by character, as CharNextA does.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace text {

// Tells whether a byte starts a double-byte character in the code page.
using LeadBytePredicate = bool (*)(unsigned char);

struct CodePage {
    LeadBytePredicate isLeadByte;
};

// A single-byte code page: no byte is a lead byte.
CodePage SingleByteCodePage();
// Code page 932 (Japanese Shift-JIS) lead bytes, for tests and native tools.
CodePage ShiftJisCodePage();

// The next character after `p`; a lead byte followed by the terminator counts
// as one byte, so the walk never passes the end.
const char* NextChar(const char* p, const CodePage& codePage);

// Position of the last `c` in `text` that is a whole character, or npos.
std::size_t FindLastChar(const char* text, char c, const CodePage& codePage);

// `text` cut before its last `c`; the whole text when it holds none.
std::string CutAtLastChar(const std::string& text, char c, const CodePage& codePage);

// `path` with "-<number>" before the extension of its file name
// ("C:\T\ZEL.log", 2: "C:\T\ZEL-2.log"), or after the name when it has none.
std::string NumberedPath(const std::string& path, unsigned number, const CodePage& codePage);

// The first `maxBytes` bytes of `text` or fewer, never ending on a lead byte
// whose trail byte would be left behind.
std::size_t WholeCharPrefixLength(const char* text, std::size_t maxBytes, const CodePage& codePage);

// Replaces each "%s" of `format` by the next of `args` in turn and "%%" by "%".
// The result is as long as it needs to be; a "%s" without an argument left
// becomes empty text.
std::string FormatText(const std::string& format, std::initializer_list<std::string> args);

// The last `digits` hexadecimal digits of `value` in lowercase, the most
// significant first, zero-padded: HexDigits(0x409, 4) is "0409".
std::string HexDigits(std::uint32_t value, int digits);

}  // namespace text
