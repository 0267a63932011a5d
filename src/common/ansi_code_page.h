#pragma once
// The system's ANSI code page as the portable text helpers see it, and ANSI
// text read as UTF-16.

#include <cstddef>
#include <string>

#include "common/narrow_text.h"

namespace win {

// Lead bytes as IsDBCSLeadByte reports them for the ANSI code page.
text::CodePage AnsiCodePage();

// `length` bytes of ANSI text as UTF-16 (no terminator is converted or
// needed); empty when they do not convert.
std::u16string AnsiToUtf16(const char* text, std::size_t length);

}  // namespace win
