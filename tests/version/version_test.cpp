// The version probe on blocks built here: natively the walk, under Wine the reader.
#include <gtest/gtest.h>
#include <array>
#include <cstring>
#include <random>
#ifdef _WIN32
#include "common/module_path.h"
#include "common/system_library.h"
#include "version/product_version.h"
#include "version/version_info_reader.h"
#else
#include "version/version_block.h"
#include "version/version_text.h"
#include "version/version_walk.h"
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Text(const std::u16string& text, bool narrow = false)  // NUL-terminated; `narrow`: low bytes only
{
    Bytes out;
    for (const char16_t c : text + u'\0')
        for (int i = 0; i < 2 - narrow; ++i) out.push_back(static_cast<std::uint8_t>(c >> 8 * i));
    return out;
}

Bytes With(Bytes bytes, std::size_t at, std::size_t word)  // the 16-bit word at `at` replaced
{
    bytes[at] = static_cast<std::uint8_t>(word);
    bytes[at + 1] = static_cast<std::uint8_t>(word >> 8);
    return bytes;
}

// wLength, wValueLength (of text: characters), wType 1, key, value, children; 32-bit aligned.
Bytes Block(const std::u16string& key, const Bytes& value = {}, std::vector<Bytes> children = {}, bool narrow = false)
{
    Bytes out = Text(key, narrow);
    out.insert(out.begin(), 6, 0);
    if (!value.empty()) children.insert(children.begin(), value);
    for (const Bytes& child : children) {
        out.resize((out.size() + 3) & ~std::size_t{3});
        out.insert(out.end(), child.begin(), child.end());
    }
    return With(With(With(out, 0, out.size()), 2, value.size() / (2 - narrow)), 4, 1);
}

#ifndef _WIN32
using version::StringIndex, version::WideText;
// Random tables walked and compared with the index the rules give: of each 16-bit character
// the low byte; keys and table names uppercased; keys cut to 255 characters, values to 511
// and to wValueLength - 1; the plain key from the default language's table, else the first;
// an entry without key, of length 0 or with wValueLength >= wLength ends the walk.
TEST(Walk, IndexFollowsTheRulesOnRandomTables)
{
    auto pick = [random = std::mt19937(7)](std::size_t n) mutable { return random() % n; };
    const auto indexed = [](WideText text, std::size_t length, bool upper) {
        for (char16_t& c : text) c = static_cast<char16_t>(upper ? toupper(c & 0xFF) : c & 0xFF);
        return text.substr(0, length);
    };
    for (int round = 0; round < 400; ++round) {
        const bool narrow = pick(4) == 0;
        const auto [language, own] = std::array<std::pair<std::uint16_t, WideText>, 3>{
            {{0x0409, u"040904B0"}, {0x0407, u"040704B0"}, {0x040C, u"040C04B0"}}}[pick(3)];
        StringIndex expected, index;
        std::vector<Bytes> tables;
        for (std::size_t t = 1 + pick(3), ended = 0; t > 0; --t) {
            const std::u16string name = std::array{u"040904b0", u"040704B0", u"040c04b0", u"040C04E4"}[pick(4)];
            std::vector<Bytes> entries;
            for (std::size_t e = 1 + pick(4); e > 0; --e) {
                std::u16string key(std::array{0, 1, 1, 2, 2, 300}[pick(6)], u'a'),
                    value(std::array{0, 1, 3, 600}[pick(4)], u'a');
                for (char16_t& c : key) c = u"aAb"[pick(3)];
                for (char16_t& c : value) c = u"a.7\u3061"[pick(4)];
                const int valueLength = std::array{-1, -1, -1, -1, -1, 0, 1, 3, 0xFFFF}[pick(9)];  // -1: as built
                const Bytes entry = pick(30) ? Block(key, Text(value, narrow), {}, narrow) : Bytes(8, 0);
                entries.push_back(valueLength < 0 ? entry : With(entry, 2, valueLength));
                if ((ended = ended || key.empty() || valueLength == 0xFFFF || entry.size() == 8)) continue;
                const WideText plain = indexed(key, 255, true), table = indexed(name, 8, true);
                const WideText v = indexed(value, valueLength < 0 ? 511 : std::clamp(valueLength - 1, 0, 511), false);
                if (table == own)
                    expected[plain] = v;
                else
                    expected.emplace(plain, v);
                expected[table + u"\\" + plain] = v;
            }
            tables.push_back(Block(name, {}, entries, narrow));
        }
        Bytes root = Block(u"VS_VERSION_INFO", Bytes(52, 0), {Block(u"StringFileInfo", {}, tables, narrow)});
        root.shrink_to_fit();  // the buffer ends where the block does: the sanitizers catch a read past it
        const version::StringTableWalk walk{root.data(), root.size(), &index, language,
                                            [](const char* text, std::size_t n) { return WideText(text, text + n); }};
        EXPECT_EQ(version::WalkStringTables(walk, 40), 1);  // 40: after "VS_VERSION_INFO"
        EXPECT_EQ(index, expected) << round;
    }
}

TEST(VersionRules, HoldWhereTheReaderNeverGoes)  // a resource of header and key only, a buffer of no bytes
{
    EXPECT_TRUE(version::IsAcceptableVersionBlock(With(Block(u"VS_VERSION_INFOX"), 0, 36).data(), 36));
    EXPECT_EQ(version::CopyNarrowValue("1", nullptr, 0, text::SingleByteCodePage()), 0u);
}
#else
// The string queries the reader asks the system, without "\StringFileInfo\".
std::vector<std::string> queries;
BOOL WINAPI CountingQuery(LPCVOID block, LPCSTR path, LPVOID* buffer, PUINT length)
{
    if (std::strncmp(path, "\\StringFileInfo\\", 16) == 0) queries.push_back(path + 16);
    return version::SystemVersionQuery()(block, path, buffer, length);
}

// Fixed information, the string tables and, unless `pairs` is null, its (language, code page) words.
Bytes Resource(const std::vector<Bytes>& tables, const char16_t* pairs = u"\u0409\u04b0")
{
    const Bytes words = Text(pairs ? pairs : u"");
    const Bytes translation =
        With(With(Block(u"Translation", Bytes(words.begin(), words.end() - 2)), 2, words.size() - 2), 4, 0);
    const std::vector<Bytes> children = {Block(u"StringFileInfo", {}, tables),
                                         Block(u"VarFileInfo", {}, {translation})};
    const Bytes fixed = With(With(Bytes(52, 0), 0, 0x04BD), 2, 0xFEEF);  // its signature, then zeros
    return With(With(Block(u"VS_VERSION_INFO", fixed, pairs ? children : std::vector<Bytes>{children[0]}), 2, 52), 4,
                0);
}

// Registered with LC_ALL=ja_JP: Wine's default language is then 0x0411, its ANSI code page 932.
TEST(VersionReader, ChecksTheBlockAsksTheTranslationsThenWalksAndKeepsWhatItFound)
{
    ASSERT_EQ(GetSystemDefaultLangID(), 0x0411);
    const Bytes english = Block(u"040904b0", {}, {Block(u"ProductVersion", Text(u"1.2"))}),
                resource = Resource({english});
    const Bytes japanese =
        Block(u"041104b0", {}, {Block(u"ProductVersion", Text(u"11")), Block(u"\u30c2", Text(u"\u65e5\u672c"))});
    const std::string longest(234, 'N');  // "\StringFileInfo\040904b0\" and it fill 259 bytes
    // clang-format off
    const struct { Bytes resource; std::string name; const char* text; std::vector<std::string> queries; } rows[] = {
        {resource, "productVersion", "1.2", {"040904b0\\PRODUCTVERSION"}},
        {resource, "040904B0\\ProductVersion", "1.2", {"040904B0\\PRODUCTVERSION"}},
        {resource, longest, "keep", std::vector<std::string>(3, "040904b0\\" + longest)},
        {resource, longest + "N", "keep", {}},
        {With(resource, 0, resource.size() + 1), "ProductVersion", "keep", {}},
        {With(resource, 2, resource.size() + 1), "ProductVersion", "keep", {}},
        {With(resource, 2, resource.size()), "ProductVersion", "1.2",
         {"040904e4\\PRODUCTVERSION", "040904b0\\PRODUCTVERSION"}},
        {With(resource, 28, 'i'), "ProductVersion", "keep", {}},  // key VS_VERSION_iNFO
        {Resource({english}, nullptr), "ProductVersion", "1.2",
         {"040904e4\\PRODUCTVERSION", "040904b0\\PRODUCTVERSION"}},
        {Resource({english}, u""), "ProductVersion", "1.2", {}},
        {Resource({english, japanese}, u"\u0409\u04e4"), "ProductVersion", "11", {"040904e4\\PRODUCTVERSION"}},
        {Resource({japanese}, u"\u0411\u04b0"), "\x83\x61", "\x93\xFA", {"041104b0\\\x83\x61"}},  // ヂ, half of 日本
    };
    // clang-format on
    for (const auto& row : rows) {
        queries.clear();
        version::VersionInfoReader reader(row.resource.data(), row.resource.size(), &CountingQuery);
        for (int time = 1; time <= 2; ++time) {  // the second time from the index
            char buffer[MAX_PATH] = "keep";      // 4 bytes allowed: 3 characters and the NUL
            EXPECT_EQ(reader.GetStringValue(row.name.c_str(), buffer, 4), std::strcmp(row.text, "keep") != 0) << time;
            EXPECT_STREQ(buffer, row.text) << time;
        }
        EXPECT_EQ(queries, row.queries) << row.name;
    }
}

TEST(VersionReader, ReadsModuleFiles)  // msi.dll has a version resource, this program none; the third is missing
{
    char buffer[MAX_PATH] = "keep";
    EXPECT_EQ(version::GetProductVersion(win::ModulePath().c_str(), buffer, sizeof buffer), 0);
    EXPECT_EQ(version::GetProductVersion((win::ModulePath() + "x").c_str(), buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "keep");
    SetErrorMode(0);
    EXPECT_EQ(version::GetProductVersion((win::SystemFolder() + "\\msi.dll").c_str(), buffer, sizeof buffer), 1);
    EXPECT_EQ(SetErrorMode(0), 0u);  // the quiet mode of the mapping is gone again
    EXPECT_TRUE(std::strspn(buffer, "0123456789.") == std::strlen(buffer) && std::strchr(buffer, '.')) << buffer;
}
#endif

}  // namespace
