#include "common/ansi_code_page.h"

#include <windows.h>

namespace win {
namespace {

bool IsAnsiLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

}  // namespace

text::CodePage AnsiCodePage() { return text::CodePage{&IsAnsiLeadByte}; }

}  // namespace win
