#pragma once
// Text held in a Windows code page, converted to and from UTF-8 without
// loss: a byte the code page leaves undefined stands for the Unicode
// character of the same number (as Windows maps 1252's five holes), so
// encoding the decoded text gives the original bytes back, but for a
// character the code page holds under two byte pairs (932's NEC and IBM
// rows): it encodes to its usual pair.

#include <string>

#include "common/narrow_text.h"
#include "instopts/platform_text.h"

namespace instopts {

constexpr unsigned kDefaultCodePage = 1252;  // Western European Windows

// The code pages the tool takes: 874, 932, 936, 949, 950 and 1250 to 1258.
bool IsSupportedCodePage(unsigned number);

// Appends character `c` as UTF-8.
void AppendUtf8(char32_t c, std::string& out);

class CodePageText {
public:
    // `number` is a supported code page.
    explicit CodePageText(unsigned number);

    unsigned Number() const { return number_; }
    // False when the system cannot convert the code page.
    bool IsUsable() const { return converter_.IsOpen(); }
    // How the launcher's parser walks this code page's double-byte characters.
    text::CodePage LeadBytes() const { return leadBytes_; }

    std::string Decode(const std::string& bytes) const;
    // The bytes of UTF-8 `text`; false, with `refusal` saying why, for text
    // that is not UTF-8 or holds a character the code page lacks.
    bool Encode(const std::string& text, std::string& bytes, std::string& refusal) const;

private:
    unsigned number_;
    text::CodePage leadBytes_;
    CodePageConverter converter_;
};

}  // namespace instopts
