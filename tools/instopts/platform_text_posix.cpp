#include "instopts/platform_text.h"

#include <iconv.h>

#include <iostream>

#include "instopts/windows_characters.h"

namespace instopts {

std::vector<std::string> CommandArguments(int argc, char** argv)
{
    return {argv + 1, argv + argc};
}

std::string SystemPath(const std::string& path)
{
    return path;
}

std::ostream& TerminalOutput()
{
    return std::cout;
}

std::ostream& TerminalErrors()
{
    return std::cerr;
}

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// One whole conversion from the initial state, with what a stateful
// converter holds back (1258 waits for a combining mark) flushed. Any
// irreversible step counts as a failure.
bool Convert(iconv_t converter, const std::string& in, std::string& out)
{
    if (converter == kNoConverter) return false;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char* inNext = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[32];
    char* outNext = buffer;
    std::size_t outLeft = sizeof buffer;
    if (iconv(converter, &inNext, &inLeft, &outNext, &outLeft) != 0 || inLeft != 0) return false;
    if (iconv(converter, nullptr, nullptr, &outNext, &outLeft) != 0) return false;
    out.assign(buffer, outNext);
    return true;
}

}  // namespace

struct CodePageConverter::Converters {
    unsigned codePage = 0;
    iconv_t toUnicode = kNoConverter;
    iconv_t fromUnicode = kNoConverter;
    ~Converters()
    {
        if (toUnicode != kNoConverter) iconv_close(toUnicode);
        if (fromUnicode != kNoConverter) iconv_close(fromUnicode);
    }
};

CodePageConverter::CodePageConverter(unsigned codePage) : converters_(new Converters)
{
    converters_->codePage = codePage;
    const std::string name = "CP" + std::to_string(codePage);
    converters_->toUnicode = iconv_open("UTF-32LE", name.c_str());
    converters_->fromUnicode = iconv_open(name.c_str(), "UTF-32LE");
}

CodePageConverter::~CodePageConverter() = default;

bool CodePageConverter::IsOpen() const
{
    return converters_->toUnicode != kNoConverter && converters_->fromUnicode != kNoConverter;
}

// Where glibc's tables differ from Windows', Windows' characters and bytes.
bool CodePageConverter::Decode(const std::string& bytes, char32_t& character) const
{
    if (WindowsCharacterOf(converters_->codePage, bytes, character)) return true;
    std::string utf32;
    if (!Convert(converters_->toUnicode, bytes, utf32) || utf32.size() != 4) return false;
    character = 0;
    for (int i = 3; i >= 0; --i) character = character << 8 | static_cast<unsigned char>(utf32[i]);
    return true;
}

bool CodePageConverter::Encode(char32_t character, std::string& bytes) const
{
    if (WindowsBytesOf(converters_->codePage, character, bytes)) return true;
    std::string utf32;
    for (int i = 0; i < 4; ++i) utf32 += static_cast<char>(character >> (8 * i) & 0xFF);
    return Convert(converters_->fromUnicode, utf32, bytes) && !bytes.empty();
}

}  // namespace instopts
