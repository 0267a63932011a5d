#include "version/version_text.h"

#include <cstring>

namespace version {
namespace {

template <typename Char>
Char UppercaseAsciiChar(Char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<Char>(c - 'a' + 'A') : c;
}

std::string WithinPathCapacity(std::string path)
{
    return path.size() < kQueryPathCapacity ? path : std::string();
}

}  // namespace

std::string UppercaseAscii(std::string text, const text::CodePage& codePage)
{
    for (char* p = &text[0]; *p != '\0'; p = const_cast<char*>(text::NextChar(p, codePage))) {
        *p = UppercaseAsciiChar(*p);
    }
    return text;
}

std::u16string UppercaseAscii(std::u16string text)
{
    for (char16_t& c : text) c = UppercaseAsciiChar(c);
    return text;
}

std::string TranslatedQueryPath(std::uint16_t language, std::uint16_t codePage, const std::string& name)
{
    return WithinPathCapacity("\\StringFileInfo\\" + text::HexDigits(language, 4) + text::HexDigits(codePage, 4) +
                              "\\" + name);
}

std::string QualifiedQueryPath(const std::string& name)
{
    return WithinPathCapacity("\\StringFileInfo\\" + name);
}

std::size_t CopyNarrowValue(const std::string& value, char* buffer, std::size_t bufferSize,
                            const text::CodePage& codePage)
{
    if (bufferSize == 0) return 0;
    const std::size_t length = text::WholeCharPrefixLength(value.c_str(), bufferSize - 1, codePage);
    std::memcpy(buffer, value.data(), length);
    buffer[length] = '\0';
    return length;
}

}  // namespace version
