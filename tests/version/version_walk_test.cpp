#include "version/version_walk.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

using version::StringIndex;
using version::WideText;
using Bytes = std::vector<std::uint8_t>;

// Little-endian writer of version blocks: header, key, padding, value,
// children on 32-bit boundaries measured from the block's start.

// NUL-terminated text, 8-bit or UTF-16 (ASCII only).
Bytes Text(const std::string& text, bool narrow = false)
{
    Bytes out;
    for (const char c : text + std::string(1, '\0')) {
        out.push_back(static_cast<std::uint8_t>(c));
        if (!narrow) out.push_back(0);
    }
    return out;
}

void PadAndAppend(Bytes& out, const Bytes& more)
{
    while (out.size() % 4 != 0) out.push_back(0);
    out.insert(out.end(), more.begin(), more.end());
}

// `narrow`: 8-bit key and text; `valueLengthOverride` replaces wValueLength.
Bytes Block(const std::string& key, const Bytes& value, const std::vector<Bytes>& children,
            bool narrow = false, std::optional<std::uint16_t> valueLengthOverride = std::nullopt)
{
    Bytes out(6, 0);
    const Bytes keyText = Text(key, narrow);
    out.insert(out.end(), keyText.begin(), keyText.end());
    if (!value.empty()) PadAndAppend(out, value);
    for (const Bytes& child : children) PadAndAppend(out, child);
    const std::size_t valueLength = valueLengthOverride.value_or(narrow ? value.size() : value.size() / 2);
    const std::size_t header[] = {out.size(), valueLength, 1};
    for (int i = 0; i < 3; ++i) {
        out[2 * i] = static_cast<std::uint8_t>(header[i] & 0xFF);
        out[2 * i + 1] = static_cast<std::uint8_t>(header[i] >> 8);
    }
    return out;
}

Bytes Entry(const std::string& key, const std::string& value,
            std::optional<std::uint16_t> valueLength = std::nullopt)
{
    return Block(key, Text(value), {}, false, valueLength);
}

Bytes Table(const std::string& name, const std::vector<Bytes>& entries) { return Block(name, {}, entries); }
Bytes StringFileInfo(const std::vector<Bytes>& tables) { return Block("StringFileInfo", {}, tables); }

WideText W(const std::string& ascii) { return WideText(ascii.begin(), ascii.end()); }

// Latin-1 stands in for the ANSI code page.
WideText Latin1ToWide(const char* text, std::size_t length)
{
    WideText wide;
    for (std::size_t i = 0; i < length; ++i) wide.push_back(static_cast<unsigned char>(text[i]));
    return wide;
}

struct WalkResult {
    int result;
    std::uint16_t taken;
    StringIndex index;
};

// Walks a StringFileInfo block that fills its own buffer exactly, so that
// the sanitizers catch any read past it.
WalkResult Walk(const Bytes& bytes, std::uint16_t language = 0x0409, StringIndex index = {})
{
    WalkResult out{0, 0, std::move(index)};
    std::vector<std::uint8_t> exact(bytes);
    version::StringTableWalk walk;
    walk.block = exact.data();
    walk.blockSize = exact.size();
    walk.index = &out.index;
    walk.defaultLanguage = language;
    walk.ansiToWide = &Latin1ToWide;
    out.result = version::ParseStringFileInfo(walk, 0, &out.taken);
    return out;
}

std::optional<WideText> Value(const StringIndex& index, const std::string& key)
{
    const auto found = index.find(W(key));
    if (found == index.end()) return std::nullopt;
    return found->second;
}

// --- what the index records -------------------------------------------------

TEST(WalkIndex, RecordsPlainAndQualifiedKeysUppercased)
{
    const auto walked = Walk(StringFileInfo({Table("040904b0", {
        Entry("ProductVersion", "1.2.3.4"), Entry("CompanyName", "Kestrova")})}));
    EXPECT_EQ(walked.result, 1);
    EXPECT_EQ(Value(walked.index, "PRODUCTVERSION"), W("1.2.3.4"));
    EXPECT_EQ(Value(walked.index, "040904B0\\PRODUCTVERSION"), W("1.2.3.4"));
    EXPECT_EQ(Value(walked.index, "040904B0\\COMPANYNAME"), W("Kestrova"));
    EXPECT_EQ(walked.index.size(), 4u);
}

TEST(WalkIndex, DefaultLanguageTableWinsThePlainKey)
{
    const Bytes german = Table("040704B0", {Entry("ProductVersion", "7.0")});
    const Bytes english = Table("040904b0", {Entry("ProductVersion", "9.0")});
    const Bytes french = Table("040C04B0", {Entry("ProductVersion", "12.0")});

    EXPECT_EQ(Value(Walk(StringFileInfo({german, english}), 0x0409).index, "PRODUCTVERSION"), W("9.0"));
    EXPECT_EQ(Value(Walk(StringFileInfo({english, german}), 0x0409).index, "PRODUCTVERSION"), W("9.0"));
    // No table of the default language: the first table in block order.
    EXPECT_EQ(Value(Walk(StringFileInfo({german, english}), 0x0411).index, "PRODUCTVERSION"), W("7.0"));
    EXPECT_EQ(Value(Walk(StringFileInfo({french, german}), 0x0411).index, "PRODUCTVERSION"), W("12.0"));
    // Hexadecimal letters of the language match the uppercased table key.
    EXPECT_EQ(Value(Walk(StringFileInfo({german, french}), 0x040C).index, "PRODUCTVERSION"), W("12.0"));

    const auto both = Walk(StringFileInfo({german, english}), 0x0411);
    EXPECT_EQ(Value(both.index, "040704B0\\PRODUCTVERSION"), W("7.0"));
    EXPECT_EQ(Value(both.index, "040904B0\\PRODUCTVERSION"), W("9.0"));
}

TEST(WalkIndex, ValueFromAnEarlierQueryCountsAsPresent)
{
    const StringIndex queried = {{W("PRODUCTVERSION"), W("queried")}};
    const Bytes other = Table("040704B0", {Entry("ProductVersion", "7.0")});
    const Bytes native = Table("040904B0", {Entry("ProductVersion", "9.0")});
    EXPECT_EQ(Value(Walk(StringFileInfo({other}), 0x0409, queried).index, "PRODUCTVERSION"),
              W("queried"));
    EXPECT_EQ(Value(Walk(StringFileInfo({native}), 0x0409, queried).index, "PRODUCTVERSION"),
              W("9.0"));
}

TEST(WalkIndex, ValueLengthCutsTheText)
{
    const auto walked = Walk(StringFileInfo({Table("040904b0", {
        Entry("Zero", "dropped", 0), Entry("One", "dropped", 1), Entry("Three", "1.2.3", 3)})}));
    EXPECT_EQ(Value(walked.index, "ZERO"), W(""));
    EXPECT_EQ(Value(walked.index, "ONE"), W(""));
    EXPECT_EQ(Value(walked.index, "THREE"), W("1."));
}

TEST(WalkIndex, EightBitKeysGoThroughTheAnsiConversion)
{
    const Bytes entry = Block("ProductVersion", Text("8.0\xE9", true), {}, true);
    const Bytes table = Block("040904b0", {}, {entry}, true);
    const auto walked = Walk(Block("StringFileInfo", {}, {table}, true));
    EXPECT_EQ(Value(walked.index, "040904B0\\PRODUCTVERSION"), (WideText{u'8', u'.', u'0', 0xE9}));
}

// --- limits ------------------------------------------------------------------

TEST(WalkLimits, CutsLongKeysAndValuesAndReadsOn)
{
    const std::string longKey(300, 'k');
    const std::string longValue(600, 'v');
    const auto walked = Walk(StringFileInfo({Table("040904b0", {
        Entry(longKey, longValue), Entry("After", "still read")})}));
    EXPECT_EQ(Value(walked.index, std::string(255, 'K')), W(std::string(511, 'v')));
    EXPECT_EQ(Value(walked.index, "AFTER"), W("still read"));
}

TEST(WalkLimits, BlockEndingAtTheBufferEndIsWalked)
{
    const Bytes info = StringFileInfo({Table("040904b0", {Entry("K", "v")})});
    ASSERT_EQ(info.size() % 4, 0u);
    EXPECT_EQ(Walk(info).index.size(), 2u);

    Bytes short_by_one(info.begin(), info.end() - 1);
    const auto walked = Walk(short_by_one);
    EXPECT_EQ(walked.result, 0);
    EXPECT_TRUE(walked.index.empty());
}

TEST(WalkLimits, TableLongerThanTheBufferIsNotWalked)
{
    Bytes table = Table("040904b0", {Entry("K", "v")});
    const Bytes info = StringFileInfo({table});
    Bytes grown = info;
    const std::size_t tableAt = info.size() - table.size();
    grown[tableAt] = static_cast<std::uint8_t>(table.size() + 1);
    const auto walked = Walk(grown);
    EXPECT_EQ(walked.result, 1);
    EXPECT_TRUE(walked.index.empty());
}

// --- failures end the walk ----------------------------------------------------

TEST(WalkFailures, EmptyKeyEndsTheWholeWalk)
{
    const auto walked = Walk(StringFileInfo({
        Table("040904b0", {Entry("Before", "1"), Entry("", "no key"), Entry("After", "2")}),
        Table("040704b0", {Entry("NextTable", "3")})}));
    EXPECT_EQ(walked.result, 1);
    EXPECT_EQ(Value(walked.index, "BEFORE"), W("1"));
    EXPECT_FALSE(Value(walked.index, "AFTER"));
    EXPECT_FALSE(Value(walked.index, "NEXTTABLE"));
}

TEST(WalkFailures, ValueLengthNotBelowLengthEndsTheTable)
{
    Bytes bad = Entry("Bad", "x");
    bad[2] = bad[0];  // wValueLength = wLength
    bad[3] = bad[1];
    const auto walked = Walk(StringFileInfo({Table("040904b0", {Entry("Before", "1"), bad,
                                                                 Entry("After", "2")})}));
    EXPECT_EQ(Value(walked.index, "BEFORE"), W("1"));
    EXPECT_FALSE(Value(walked.index, "BAD"));
    EXPECT_FALSE(Value(walked.index, "AFTER"));
}

TEST(WalkFailures, ZeroLengthBlocksEndTheWalk)
{
    Bytes zeroEntry(8, 0);
    const auto walked = Walk(StringFileInfo({Table("040904b0", {Entry("A", "1"), zeroEntry}),
                                             Table("040704b0", {Entry("B", "2")})}));
    EXPECT_EQ(Value(walked.index, "A"), W("1"));
    EXPECT_FALSE(Value(walked.index, "B"));

}

TEST(WalkStringTables, StartsAfterTheFixedInformation)
{
    Bytes root = Block("VS_VERSION_INFO", Bytes(52, 0), {StringFileInfo({Table("040904b0", {
        Entry("ProductVersion", "1.0")})})});
    StringIndex index;
    version::StringTableWalk walk;
    walk.block = root.data();
    walk.blockSize = root.size();
    walk.index = &index;
    walk.ansiToWide = &Latin1ToWide;
    EXPECT_EQ(version::WalkStringTables(walk, 40), 1);
    EXPECT_EQ(Value(index, "PRODUCTVERSION"), W("1.0"));

    walk.blockSize = 40 + 52;  // nothing after the fixed information
    EXPECT_EQ(version::WalkStringTables(walk, 40), 0);
}

}  // namespace
