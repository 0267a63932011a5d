#include "instopts/code_page_text.h"

#include "instopts/hex_text.h"

namespace instopts {
namespace {

bool IsDoubleByteLead(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

text::CodePage LeadBytesOf(unsigned number)
{
    if (number == 932) return text::ShiftJisCodePage();
    if (number == 936 || number == 949 || number == 950) return text::CodePage{&IsDoubleByteLead};
    return text::SingleByteCodePage();
}

// The character starting at `at`, stepping past it; false for bytes that are
// not UTF-8 (overlong forms and surrogates included).
bool NextUtf8(const std::string& text, std::size_t& at, char32_t& c)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const int trailCount = lead < 0x80                   ? 0
                           : lead >= 0xC2 && lead < 0xE0 ? 1
                           : lead >= 0xE0 && lead < 0xF0 ? 2
                           : lead >= 0xF0 && lead < 0xF5 ? 3
                                                         : -1;
    if (trailCount < 0 || text.size() - at <= static_cast<std::size_t>(trailCount)) return false;
    static const char32_t kLeadMask[] = {0x7F, 0x1F, 0x0F, 0x07};
    static const char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    c = lead & kLeadMask[trailCount];
    for (int i = 1; i <= trailCount; ++i) {
        const auto trail = static_cast<unsigned char>(text[at + i]);
        if ((trail & 0xC0) != 0x80) return false;
        c = c << 6 | (trail & 0x3F);
    }
    if (c < kSmallest[trailCount] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return false;
    at += static_cast<std::size_t>(trailCount) + 1;
    return true;
}

std::string CodePointName(char32_t c)
{
    const unsigned char bytes[] = {static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 8),
                                   static_cast<unsigned char>(c)};
    return "U+" + Hex(bytes + (c > 0xFFFF ? 0 : 1), c > 0xFFFF ? 3 : 2, true);
}

}  // namespace

void AppendUtf8(char32_t c, std::string& out)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsSupportedCodePage(unsigned number)
{
    return number == 874 || number == 932 || number == 936 || number == 949 || number == 950 ||
           (number >= 1250 && number <= 1258);
}

CodePageText::CodePageText(unsigned number) : number_(number), leadBytes_(LeadBytesOf(number)), converter_(number) {}

std::string CodePageText::Decode(const std::string& bytes) const
{
    std::string text;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        char32_t c = 0;
        // A double-byte character when its two bytes make one, even where
        // they are not its usual bytes (932 holds the NEC and IBM rows'
        // characters twice); otherwise the byte alone, or the character of
        // its number when it is undefined.
        if (leadBytes_.isLeadByte(byte) && at + 1 < bytes.size() && converter_.Decode(bytes.substr(at, 2), c)) {
            at += 2;
        } else {
            if (!converter_.Decode(bytes.substr(at, 1), c)) c = byte;
            at += 1;
        }
        AppendUtf8(c, text);
    }
    return text;
}

bool CodePageText::Encode(const std::string& text, std::string& bytes, std::string& refusal) const
{
    bytes.clear();
    for (std::size_t at = 0; at < text.size();) {
        char32_t c = 0;
        if (!NextUtf8(text, at, c)) {
            refusal = "not UTF-8 text";
            return false;
        }
        std::string encoded;
        char32_t back = 0;
        // One character is one byte or a lead byte and its trail byte; glibc
        // writes some of 1255's and 1258's as a letter and a combining mark,
        // which Windows refuses.
        if (converter_.Encode(c, encoded) && encoded.size() == (leadBytes_.isLeadByte(encoded[0]) ? 2u : 1u) &&
            converter_.Decode(encoded, back) && back == c) {
            bytes += encoded;
        } else if (c < 0x100 && !converter_.Decode(std::string(1, static_cast<char>(c)), back)) {
            bytes += static_cast<char>(c);
        } else {
            std::string character;
            AppendUtf8(c, character);
            refusal =
                "code page " + std::to_string(number_) + " has no \"" + character + "\" (" + CodePointName(c) + ")";
            return false;
        }
    }
    return true;
}

}  // namespace instopts
