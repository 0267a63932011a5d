#include "version/version_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using text::ShiftJisCodePage;
using text::SingleByteCodePage;
using version::CopyNarrowValue;

TEST(NameCase, LeavesDoubleByteTrailBytesAlone)
{
    // "\x83\x61" is one Shift-JIS character whose trail byte is "a".
    EXPECT_EQ(version::UppercaseAscii("\x83\x61" "a", ShiftJisCodePage()), "\x83\x61" "A");
}

TEST(QueryPath, NamesTheTranslationInLowercaseHex)
{
    EXPECT_EQ(version::TranslatedQueryPath(0x0C0A, 0x04E4, "X"), "\\StringFileInfo\\0c0a04e4\\X");
}

TEST(QueryPath, NameTooLongForThePathBufferHasNoPath)
{
    const std::string prefix = "\\StringFileInfo\\";
    const std::string fits(259 - prefix.size(), 'N');
    EXPECT_EQ(version::QualifiedQueryPath(fits).size(), 259u);
    EXPECT_EQ(version::QualifiedQueryPath(fits + "N"), "");
    EXPECT_EQ(version::TranslatedQueryPath(0x0409, 0x04B0, std::string(300, 'N')), "");
}

TEST(CopyValue, CutsAtTheBufferAndTerminates)
{
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(CopyNarrowValue("1.2.3.4.5.6", buffer, 5, SingleByteCodePage()), 4u);
    EXPECT_STREQ(buffer, "1.2.");
    EXPECT_EQ(buffer[5], 'x');

    EXPECT_EQ(CopyNarrowValue("1.2", buffer, 1, SingleByteCodePage()), 0u);
    EXPECT_STREQ(buffer, "");
    buffer[0] = 'x';
    EXPECT_EQ(CopyNarrowValue("1.2", buffer, 0, SingleByteCodePage()), 0u);
    EXPECT_EQ(buffer[0], 'x');
}

TEST(CopyValue, NeverSplitsADoubleByteCharacter)
{
    const std::string value = "12\x83\x61";  // two digits, one double-byte character
    char buffer[8];
    EXPECT_EQ(CopyNarrowValue(value, buffer, 4, ShiftJisCodePage()), 2u);
    EXPECT_STREQ(buffer, "12");
    EXPECT_EQ(CopyNarrowValue(value, buffer, 5, ShiftJisCodePage()), 4u);
    EXPECT_EQ(std::string(buffer), value);
}

}  // namespace
