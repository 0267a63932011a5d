#include "common/narrow_text.h"

#include <cstring>

namespace text {
namespace {

bool NoLeadBytes(unsigned char)
{
    return false;
}

bool ShiftJisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

}  // namespace

CodePage SingleByteCodePage()
{
    return CodePage{&NoLeadBytes};
}
CodePage ShiftJisCodePage()
{
    return CodePage{&ShiftJisLeadByte};
}

const char* NextChar(const char* p, const CodePage& codePage)
{
    if (*p == '\0') return p;
    if (codePage.isLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0') return p + 2;
    return p + 1;
}

std::size_t FindLastChar(const char* text, char c, const CodePage& codePage)
{
    std::size_t found = std::string::npos;
    for (const char* p = text; *p != '\0'; p = NextChar(p, codePage)) {
        if (*p == c) found = static_cast<std::size_t>(p - text);
    }
    return found;
}

std::string CutAtLastChar(const std::string& text, char c, const CodePage& codePage)
{
    const std::size_t at = FindLastChar(text.c_str(), c, codePage);
    return at == std::string::npos ? text : text.substr(0, at);
}

std::size_t WholeCharPrefixLength(const char* text, std::size_t maxBytes, const CodePage& codePage)
{
    std::size_t length = 0;
    for (const char* p = text; *p != '\0';) {
        const char* next = NextChar(p, codePage);
        const std::size_t width = static_cast<std::size_t>(next - p);
        if (length + width > maxBytes) break;
        length += width;
        p = next;
    }
    return length;
}

std::string FormatText(const std::string& format, std::initializer_list<std::string> args)
{
    std::string out;
    out.reserve(format.size() + 64);
    auto arg = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 's') {
                if (arg != args.end()) out += *arg++;
                ++i;
                continue;
            }
            if (format[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

std::string HexDigits(std::uint32_t value, int digits)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) hex.push_back(kDigits[(value >> shift) & 0xF]);
    return hex;
}

std::string NumberedPath(const std::string& path, unsigned number, const CodePage& codePage)
{
    const std::size_t folderEnd = FindLastChar(path.c_str(), '\\', codePage);
    const std::size_t nameStart = folderEnd == std::string::npos ? 0 : folderEnd + 1;
    const std::size_t dot = FindLastChar(path.c_str() + nameStart, '.', codePage);
    const std::size_t insertAt = dot == std::string::npos ? path.size() : nameStart + dot;
    return path.substr(0, insertAt) + "-" + std::to_string(number) + path.substr(insertAt);
}

}  // namespace text
