#pragma once
// Walks the string tables of a version block into a key/value index.
//
// The walk reads nothing but the bytes of the block it is given: it runs the
// same natively (tests, fuzzing) as in the launcher. Every block it visits
// must lie wholly inside the block buffer; keys and values are cut to the
// reading limits below, and every loop advances, so a malformed block ends
// the walk early but never makes it read outside the buffer or run forever.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace version {

// Keys and values as the index holds them: 16-bit characters.
using WideText = std::u16string;
using StringIndex = std::map<WideText, WideText>;

// Converts 8-bit text of the ANSI code page to wide text. Injected so that
// the walk itself stays portable.
using AnsiToWide = WideText (*)(const char* text, std::size_t length);

// A key keeps at most 255 characters, a value at most 511; longer text is cut.
constexpr std::size_t kKeyCapacity = 256;
constexpr std::size_t kValueCapacity = 512;

struct StringTableWalk {
    const std::uint8_t* block = nullptr;  // the whole buffer the walk may read
    std::size_t blockSize = 0;
    StringIndex* index = nullptr;
    std::uint16_t defaultLanguage = 0;  // the system's default language
    AnsiToWide ansiToWide = nullptr;
};

// Walks from the first child block after the 52 bytes of fixed file
// information at `fixedInfoAt`: 0 when that child lies outside the buffer,
// 1 otherwise, however far the walk got.
int WalkStringTables(const StringTableWalk& walk, std::size_t fixedInfoAt);

}  // namespace version
