#include "instopts/platform_text.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <ostream>
#include <streambuf>

namespace instopts {
namespace {

std::wstring WideFrom(const std::string& text, UINT codePage)
{
    const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string NarrowFrom(const std::wstring& wide, UINT codePage)
{
    const int length =
        WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), &text[0], length, nullptr, nullptr);
    return text;
}

// Writes whole lines: to a console window as UTF-16, so every character
// shows whatever the console's code page; to a file or pipe as the UTF-8
// bytes, the same as the native tool writes.
class TerminalBuffer : public std::streambuf {
public:
    explicit TerminalBuffer(DWORD which) : handle_(GetStdHandle(which)) {}
    ~TerminalBuffer() override { Flush(); }

protected:
    int overflow(int c) override
    {
        if (c != traits_type::eof()) xsputn(reinterpret_cast<const char*>(&c), 1);
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize length) override
    {
        pending_.append(text, static_cast<std::size_t>(length));
        if (std::memchr(text, '\n', static_cast<std::size_t>(length))) Flush();
        return length;
    }
    int sync() override
    {
        Flush();
        return 0;
    }

private:
    void Flush()
    {
        if (pending_.empty()) return;
        DWORD mode = 0;
        DWORD written = 0;
        if (GetConsoleMode(handle_, &mode)) {
            const std::wstring wide = WideFrom(pending_, CP_UTF8);
            WriteConsoleW(handle_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        } else {
            WriteFile(handle_, pending_.data(), static_cast<DWORD>(pending_.size()), &written, nullptr);
        }
        pending_.clear();
    }

    HANDLE handle_;
    std::string pending_;
};

}  // namespace

std::vector<std::string> CommandArguments(int, char**)
{
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; words && i < count; ++i) arguments.push_back(NarrowFrom(words[i], CP_UTF8));
    LocalFree(words);
    return arguments;
}

std::string SystemPath(const std::string& path)
{
    return NarrowFrom(WideFrom(path, CP_UTF8), CP_ACP);
}

std::ostream& TerminalOutput()
{
    static TerminalBuffer buffer(STD_OUTPUT_HANDLE);
    static std::ostream stream(&buffer);
    return stream;
}

std::ostream& TerminalErrors()
{
    static TerminalBuffer buffer(STD_ERROR_HANDLE);
    static std::ostream stream(&buffer);
    return stream;
}

struct CodePageConverter::Converters {
    UINT codePage;
};

CodePageConverter::CodePageConverter(unsigned codePage)
    : converters_(IsValidCodePage(codePage) ? new Converters{codePage} : nullptr)
{
}

CodePageConverter::~CodePageConverter() = default;

bool CodePageConverter::IsOpen() const
{
    return converters_ != nullptr;
}

bool CodePageConverter::Decode(const std::string& bytes, char32_t& character) const
{
    wchar_t wide[2];
    int length = MultiByteToWideChar(converters_->codePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                     static_cast<int>(bytes.size()), wide, 2);
    // The strict conversion refuses the single bytes Windows' table gives
    // private-use characters (932's A0 and FD to FF, for instance), though
    // the ANSI functions see those characters and WideCharToMultiByte gives
    // them those bytes: they are the bytes' characters.
    if (length == 0 && bytes.size() == 1) {
        const bool privateUse = MultiByteToWideChar(converters_->codePage, 0, bytes.data(), 1, wide, 2) == 1 &&
                                wide[0] >= 0xE000 && wide[0] <= 0xF8FF;
        length = privateUse ? 1 : 0;
    }
    if (length == 1) {
        character = wide[0];
        return true;
    }
    if (length == 2 && wide[0] >= 0xD800 && wide[0] < 0xDC00 && wide[1] >= 0xDC00 && wide[1] < 0xE000) {
        character = 0x10000 + ((char32_t(wide[0]) - 0xD800) << 10) + (wide[1] - 0xDC00);
        return true;
    }
    return false;
}

bool CodePageConverter::Encode(char32_t character, std::string& bytes) const
{
    wchar_t wide[2] = {static_cast<wchar_t>(character), 0};
    int wideLength = 1;
    if (character >= 0x10000) {
        wide[0] = static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10));
        wide[1] = static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF));
        wideLength = 2;
    }
    char narrow[8];
    BOOL usedDefault = FALSE;
    // No best fit: a character the code page lacks must fail, not become a look-alike.
    const int length = WideCharToMultiByte(converters_->codePage, WC_NO_BEST_FIT_CHARS, wide, wideLength, narrow,
                                           sizeof narrow, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return false;
    bytes.assign(narrow, static_cast<std::size_t>(length));
    return true;
}

}  // namespace instopts
