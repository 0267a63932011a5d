// The tool's code pages, in both builds: natively over the C library's
// converters, and in the Windows build under Wine over Windows' own, whose
// characters are the reference.
#include <gtest/gtest.h>

#include "code_page_text.h"

namespace {

using instopts::CodePageText;

// Text and its bytes in each kind of code page (Western, Central European,
// Cyrillic, the double-byte Japanese, Chinese and Korean ones). A character
// held under two pairs (932's NEC and IBM rows, 950's duplicates) reads from
// either and is written as its usual pair.
TEST(CodePages, StoreTextAsTheCodePageHoldsItAndGiveItBack)
{
    const struct { unsigned codePage; std::string bytes; const char* text; std::string usualBytes; } kRows[] = {
        {1252, "M\xFCnchen \x80", "München €", ""},
        {1250, "\xA3\xF3\x64\x9F", "Łódź", ""},
        {1251, "\xCC\xEE\xF1\xEA\xE2\xE0", "Москва", ""},
        {932, "\x93\xFA\x96\x7B\xB6\xC5", "日本ｶﾅ", ""},
        {936, "\xD6\xD0\xCE\xC4", "中文", ""},
        {949, "\xC7\xD1\xB1\xB9", "한국", ""},
        {950, "\xA4\xA4\xA4\xE5", "中文", ""},
        {932, "\xEE\xEF", "ⅰ", "\xFA\x40"},
        {932, "\xFA\x54", "￢", "\x81\xCA"},
        {932, "\x87\x90", "≒", "\x81\xE0"},
        {950, "\xA2\xCC", "十", "\xA4\x51"},
    };
    for (const auto& row : kRows) {
        const CodePageText codePage(row.codePage);
        std::string bytes, refusal;
        EXPECT_EQ(codePage.Decode(row.bytes), row.text) << row.codePage;
        EXPECT_TRUE(codePage.Encode(row.text, bytes, refusal)) << row.codePage << ": " << refusal;
        EXPECT_EQ(bytes, row.usualBytes.empty() ? row.bytes : row.usualBytes) << row.codePage;
    }
}

}  // namespace
