#pragma once
// The system's ANSI code page as the portable text helpers see it.

#include "common/narrow_text.h"

namespace win {

// Lead bytes as IsDBCSLeadByte reports them for the ANSI code page.
text::CodePage AnsiCodePage();

}  // namespace win
