#include "instopts/hex_text.h"

#include <cctype>

#include "common/narrow_text.h"

namespace instopts {
namespace {

int DigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string Hex(const unsigned char* bytes, std::size_t length, bool upper)
{
    std::string hex;
    for (std::size_t i = 0; i < length; ++i) hex += text::HexDigits(bytes[i], 2);
    if (upper) {
        for (char& c : hex) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return hex;
}

bool ParseHex(const std::string& digits, std::string& bytes)
{
    if (digits.size() % 2 != 0) return false;
    bytes.clear();
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int high = DigitValue(digits[i]);
        const int low = DigitValue(digits[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes += static_cast<char>(high * 16 + low);
    }
    return true;
}

}  // namespace instopts
