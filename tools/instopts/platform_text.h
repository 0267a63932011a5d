#pragma once
// What the tool takes from the system it runs on: its arguments, file paths
// and terminal in Unicode, and the system's own converters between a Windows
// code page and Unicode. Built from platform_text_posix.cpp (UTF-8
// arguments and terminal, iconv) or platform_text_win32.cpp (UTF-16
// arguments, the console, MultiByteToWideChar and WideCharToMultiByte).

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace instopts {

// The arguments after the program's name, in UTF-8.
std::vector<std::string> CommandArguments(int argc, char** argv);
// A UTF-8 path as the system's narrow file functions take it.
std::string SystemPath(const std::string& path);
// Standard output and standard error, taking UTF-8 text.
std::ostream& TerminalOutput();
std::ostream& TerminalErrors();

// One code page's converter, one character at a time and strict: bytes the
// code page leaves undefined and characters it lacks fail, never replaced by
// a default or a look-alike. Both give what Windows' table gives: natively
// iconv, with Windows' characters where glibc's differ (windows_characters.h).
class CodePageConverter {
public:
    explicit CodePageConverter(unsigned codePage);
    ~CodePageConverter();
    CodePageConverter(const CodePageConverter&) = delete;
    CodePageConverter& operator=(const CodePageConverter&) = delete;

    // False when the system cannot convert this code page.
    bool IsOpen() const;
    // The one character that `bytes` (one or two bytes) stand for.
    bool Decode(const std::string& bytes, char32_t& character) const;
    bool Encode(char32_t character, std::string& bytes) const;

private:
    struct Converters;
    std::unique_ptr<Converters> converters_;
};

}  // namespace instopts
