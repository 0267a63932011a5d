#pragma once
// The tool's one hexadecimal writer and reader: byte blocks in `show`,
// escaped bytes, code point names and recipe fields.

#include <cstddef>
#include <string>

namespace instopts {

// Two digits a byte, lowercase unless `upper`.
std::string Hex(const unsigned char* bytes, std::size_t length, bool upper = false);
// The bytes of an even number of hexadecimal digits (either case); false
// for anything else.
bool ParseHex(const std::string& digits, std::string& bytes);

}  // namespace instopts
