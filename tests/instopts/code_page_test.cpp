// The tool's code pages, in both builds: natively over the C library's
// converters, and in the Windows build under Wine over Windows' own, whose
// characters are the reference.
#include <gtest/gtest.h>

#include "instopts/code_page_text.h"
#include "instopts/hex_text.h"
#include "options/md5.h"

namespace {

using instopts::CodePageText;

// Text and its bytes in each kind of code page (Western, Central European,
// Cyrillic, the double-byte Japanese, Chinese and Korean ones). A character
// held under two pairs (932's NEC and IBM rows, 950's duplicates) reads from
// either and is written as its usual pair.
TEST(CodePages, StoreTextAsTheCodePageHoldsItAndGiveItBack)
{
    // clang-format off
    const struct { unsigned codePage; std::string bytes; const char* text; std::string usualBytes; } kRows[] = {
        {1252, "M\xFCnchen \x80", "München €", ""}, {1250, "\xA3\xF3\x64\x9F", "Łódź", ""},
        {1251, "\xCC\xEE\xF1\xEA\xE2\xE0", "Москва", ""}, {932, "\x93\xFA\x96\x7B\xB6\xC5", "日本ｶﾅ", ""},
        {936, "\xD6\xD0\xCE\xC4", "中文", ""}, {949, "\xC7\xD1\xB1\xB9", "한국", ""}, {950, "\xA4\xA4\xA4\xE5", "中文", ""},
        {932, "\xEE\xEF", "ⅰ", "\xFA\x40"}, {932, "\xFA\x54", "￢", "\x81\xCA"}, {932, "\x87\x90", "≒", "\x81\xE0"},
        {950, "\xA2\xCC", "十", "\xA4\x51"},
    };
    // clang-format on
    for (const auto& row : kRows) {
        const CodePageText codePage(row.codePage);
        std::string bytes, refusal;
        EXPECT_EQ(codePage.Decode(row.bytes), row.text) << row.codePage;
        EXPECT_TRUE(codePage.Encode(row.text, bytes, refusal)) << row.codePage << ": " << refusal;
        EXPECT_EQ(bytes, row.usualBytes.empty() ? row.bytes : row.usualBytes) << row.codePage;
    }
}

// Every byte, pair and character of every code page maps alike in both
// builds: the digests are the Windows build's under Wine.
TEST(CodePages, MapEveryByteAndCharacterAsWindowsDoes)
{
    // clang-format off
    const struct { unsigned codePage; const char* digest; } kRows[] = {
        {874, "e408f4f3bed914213e6fb2a70f975325"}, {932, "8c8f7c30566a6a509ece3e207eeed92b"},
        {936, "6af299abb1720d1e821cf5518b304caa"}, {949, "8be461a92e9bd22c03cd416a029156e5"},
        {950, "3003f7bee1c62b02a5d4757cd0427798"}, {1250, "3714aec826d3e440d0433509efc3db35"},
        {1251, "39084f3a58b61d8a19fd335782ca3d37"}, {1252, "8197d2394d859636dee3f059931c9d9f"},
        {1253, "711a26148a8bafe777298bb39cc24dbb"}, {1254, "a754b8033d3546edef6a85f902b70467"},
        {1255, "80b56d54d741eac88fed7ca57b200432"}, {1256, "5906856067fdd19ab746fcc90849eb78"},
        {1257, "17e0f694cb84244bd543e5e9541d7ae6"}, {1258, "16a7330521153d7db67351ad1750e3c5"},
    };
    // clang-format on
    for (const auto& row : kRows) {
        const CodePageText codePage(row.codePage);
        options::Md5 md5;
        const auto add = [&md5](const std::string& text) {
            md5.Update(reinterpret_cast<const unsigned char*>(text.c_str()), text.size() + 1);
        };
        for (unsigned lead = 0; lead < 0x100; ++lead) {
            add(codePage.Decode(std::string(1, static_cast<char>(lead))));
            for (unsigned trail = 0; codePage.LeadBytes().isLeadByte(lead) && trail < 0x100; ++trail) {
                add(codePage.Decode({static_cast<char>(lead), static_cast<char>(trail)}));
            }
        }
        for (char32_t c = 0; c < 0x10000; ++c) {
            std::string text, bytes, refusal;
            instopts::AppendUtf8(c, text);
            add(codePage.Encode(text, bytes, refusal) ? "+" + bytes : "-");
        }
        unsigned char digest[16];
        md5.Finish(digest);
        EXPECT_EQ(instopts::Hex(digest, sizeof digest), row.digest) << "code page " << row.codePage;
    }
}

}  // namespace
