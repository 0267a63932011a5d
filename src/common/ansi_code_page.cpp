#include "common/ansi_code_page.h"

#include <windows.h>

namespace win {
namespace {

bool IsAnsiLeadByte(unsigned char c)
{
    return IsDBCSLeadByte(c) != FALSE;
}

}  // namespace

text::CodePage AnsiCodePage()
{
    return text::CodePage{&IsAnsiLeadByte};
}

std::u16string AnsiToUtf16(const char* text, std::size_t length)
{
    if (length == 0) return std::u16string();
    const int count = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    if (count <= 0) return std::u16string();
    std::u16string wide(static_cast<std::size_t>(count), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), reinterpret_cast<wchar_t*>(&wide[0]), count);
    return wide;
}

}  // namespace win
