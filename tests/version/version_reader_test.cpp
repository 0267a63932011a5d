// The reader and GetProductVersion on real modules, under Wine with the
// system's own VerQueryValueA.
#include "version/product_version.h"
#include "version/version_info_reader.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "common/module_path.h"
#include "common/system_library.h"

// While set, every allocation of this program fails. The library's own
// operator delete frees with free(), as this new allocates with malloc().
bool failAllocations = false;

void* operator new(std::size_t size)
{
    if (failAllocations) throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

namespace {

using version::GetProductVersion;
using version::VersionInfoReader;

std::string ModulePath(const std::string& name)
{
    return win::GetSetupFolder() + "\\version_modules\\" + name + ".dll";
}

// A file written by the test, removed again at the end.
class TempFile {
public:
    TempFile(const std::string& name, const std::vector<unsigned char>& bytes)
    {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        path_ = std::string(folder) + name;
        std::FILE* file = std::fopen(path_.c_str(), "wb");
        if (file) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
    }
    ~TempFile() { DeleteFileA(path_.c_str()); }
    const char* Path() const { return path_.c_str(); }

private:
    std::string path_;
};

// `size` bytes with the PE header offset at 0x3C and `signature` there.
std::vector<unsigned char> FakePe(std::uint32_t peOffset, std::size_t size, const char* signature)
{
    std::vector<unsigned char> bytes(size, 'x');
    for (int i = 0; i < 4; ++i) bytes[0x3C + i] = static_cast<unsigned char>(peOffset >> (8 * i));
    if (signature != nullptr && peOffset + 4 <= size) std::memcpy(&bytes[peOffset], signature, 4);
    return bytes;
}

// Counts the string queries and keeps their paths; forwards to the system.
std::vector<std::string> stringQueries;
BOOL WINAPI CountingQuery(LPCVOID block, LPCSTR path, LPVOID* buffer, PUINT length)
{
    if (std::strncmp(path, "\\StringFileInfo", 15) == 0) stringQueries.push_back(path);
    return version::SystemVersionQuery()(block, path, buffer, length);
}

struct Lookup {
    int result;
    std::string text;
};

Lookup Ask(VersionInfoReader& reader, const char* name, std::size_t size = MAX_PATH)
{
    std::vector<char> buffer(size + 1, '\0');
    std::strcpy(buffer.data(), size >= 5 ? "keep" : "");
    const int result = reader.GetStringValue(name, buffer.data(), size);
    return {result, buffer.data()};
}

Lookup ProductVersionOf(const std::string& path)
{
    char buffer[MAX_PATH] = "keep";
    const int result = GetProductVersion(path.c_str(), buffer, sizeof buffer);
    return {result, buffer};
}

// --- which modules give a valid reader ----------------------------------------

TEST(VersionReaderLoad, FilesWithoutAUsableVersionResourceGiveNothing)
{
    const TempFile text("version_test_text.dll", {'h', 'e', 'l', 'l', 'o', '\r', '\n'});
    const TempFile atEnd("version_test_at_end.dll", FakePe(0x80, 0x80, nullptr));
    const TempFile fakePe("version_test_fake_pe.dll", FakePe(0x80, 0x100, "PE\0\0"));
    const std::string cases[] = {
        ModulePath("does_not_exist"), text.Path(), atEnd.Path(), fakePe.Path(),
        ModulePath("no_version"), ModulePath("key_wrong_case"),
        ModulePath("value_length_above_length"), ModulePath("length_beyond_resource"),
    };
    for (const std::string& path : cases) {
        SCOPED_TRACE(path);
        VersionInfoReader reader(path.c_str());
        EXPECT_FALSE(reader.IsValid());
        EXPECT_EQ(reader.FixedInfo().dwSignature, 0u);
        EXPECT_EQ(Ask(reader, "ProductVersion").result, 0);
        EXPECT_EQ(ProductVersionOf(path).text, "keep");
    }
}

TEST(VersionReaderLoad, PeCheckLooksOnlyAtTheStoredOffset)
{
    const TempFile fakePe("version_test_fake_pe.dll", FakePe(0x80, 0x100, "PE\0\0"));
    // The signature in the last four bytes; one byte later is the at-end case above.
    const TempFile lastBytes("version_test_last_bytes.dll", FakePe(0x7C, 0x80, "PE\0\0"));
    EXPECT_EQ(VersionInfoReader(fakePe.Path()).IsPeFile(), 1);
    EXPECT_EQ(VersionInfoReader(lastBytes.Path()).IsPeFile(), 1);
    EXPECT_EQ(VersionInfoReader(ModulePath("one_translation").c_str()).IsPeFile(), 1);
}

TEST(VersionReaderLoad, WellFormedBlocksAreAccepted)
{
    EXPECT_EQ(ProductVersionOf(ModulePath("length_equals_resource")).text, "3.1.4.1");
    EXPECT_EQ(ProductVersionOf(ModulePath("key_extra_chars")).text, "3.1.4.1");
}

// --- translation tables ----------------------------------------------------------

TEST(VersionReaderTranslations, ModuleWithoutTableGetsTheDefaultPairs)
{
    VersionInfoReader reader(ModulePath("no_translation").c_str());
    ASSERT_TRUE(reader.IsValid());
    ASSERT_EQ(reader.TranslationBytes(), 8u);
    EXPECT_TRUE(reader.OwnsTranslations());
    const WORD* pairs = reader.Translations();
    EXPECT_EQ(std::vector<WORD>(pairs, pairs + 4), (std::vector<WORD>{0x0409, 1252, 0x0409, 1200}));
    EXPECT_EQ(Ask(reader, "ProductVersion").text, "2.0.0.1");
}

TEST(VersionReaderTranslations, EmptyTableAsksNothingAndTheWalkAnswers)
{
    stringQueries.clear();
    VersionInfoReader reader(ModulePath("empty_translation").c_str(), &CountingQuery);
    ASSERT_TRUE(reader.IsValid());
    EXPECT_EQ(reader.TranslationBytes(), 0u);
    EXPECT_EQ(Ask(reader, "ProductVersion").text, "2.0.0.2");
    EXPECT_TRUE(stringQueries.empty());
}

TEST(VersionReaderTranslations, TableNamingNoStringTableFallsBackToTheWalk)
{
    stringQueries.clear();
    VersionInfoReader reader(ModulePath("unnamed_translation").c_str(), &CountingQuery);
    const Lookup found = Ask(reader, "ProductVersion");
    EXPECT_EQ(found.result, 1);
    EXPECT_EQ(found.text, "2.0.0.3");
    EXPECT_EQ(stringQueries, (std::vector<std::string>{
        "\\StringFileInfo\\040904e4\\PRODUCTVERSION"}));
}

// --- lookups ---------------------------------------------------------------------

// The name's case does not matter, and a repeated question is answered from
// the index without asking the system again.
TEST(VersionReaderLookup, NamesAreAskedOnceWhateverTheirCase)
{
    stringQueries.clear();
    VersionInfoReader reader(ModulePath("one_translation").c_str(), &CountingQuery);
    for (const char* name : {"ProductVersion", "productversion", "PRODUCTVERSION"}) {
        const Lookup found = Ask(reader, name);
        EXPECT_EQ(found.result, 1) << name;
        EXPECT_EQ(found.text, "1.2.3.4") << name;
        EXPECT_EQ(stringQueries.size(), 1u) << name;
    }
    EXPECT_EQ(Ask(reader, "CompanyName").text, "Kestrova");
}

TEST(VersionReaderLookup, QualifiedNameIsAskedOnceWhateverTheTranslations)
{
    stringQueries.clear();
    VersionInfoReader reader(ModulePath("unnamed_translation").c_str(), &CountingQuery);
    const Lookup found = Ask(reader, "040904b0\\ProductVersion");
    EXPECT_EQ(found.text, "2.0.0.3");
    EXPECT_EQ(stringQueries, (std::vector<std::string>{"\\StringFileInfo\\040904B0\\PRODUCTVERSION"}));

    VersionInfoReader other(ModulePath("two_tables").c_str());
    EXPECT_EQ(Ask(other, "040704b0\\productversion").text, "7.0.0.0");
    EXPECT_EQ(Ask(other, "040904B0\\ProductVersion").text, "9.0.0.0");
}

TEST(VersionReaderLookup, MissingNameLeavesTheBufferAlone)
{
    VersionInfoReader reader(ModulePath("one_translation").c_str());
    const Lookup missing = Ask(reader, "FileDescription");
    EXPECT_EQ(missing.result, 0);
    EXPECT_EQ(missing.text, "keep");
    EXPECT_EQ(Ask(reader, (std::string(300, 'N')).c_str()).result, 0);
    EXPECT_EQ(Ask(reader, (std::string("040904b0\\") + std::string(300, 'N')).c_str()).result, 0);
}

TEST(VersionReaderLookup, LongValueIsCutToTheBuffer)
{
    const Lookup found = ProductVersionOf(ModulePath("long_value"));
    EXPECT_EQ(found.result, 1);
    ASSERT_EQ(found.text.size(), 259u);
    EXPECT_EQ(found.text.substr(0, 12), "012345678901");

    VersionInfoReader reader(ModulePath("long_value").c_str());
    const Lookup small = Ask(reader, "ProductVersion", 5);
    EXPECT_EQ(small.text, "0123");
}

TEST(VersionReaderLookup, OddEntriesOfTheWalk)
{
    VersionInfoReader reader(ModulePath("odd_entries").c_str());
    ASSERT_TRUE(reader.IsValid());
    // wValueLength 1 and 0: recorded with empty text.
    const Lookup version = Ask(reader, "ProductVersion");
    EXPECT_EQ(version.result, 1);
    EXPECT_EQ(version.text, "");
    EXPECT_EQ(Ask(reader, "Comments").result, 1);
    EXPECT_EQ(Ask(reader, "FileDescription").text, "kept");
    // The entry with an empty key ended its table.
    EXPECT_EQ(Ask(reader, "LegalCopyright").result, 0);
}

TEST(VersionReaderLookup, TableBeyondTheBufferIsNotWalked)
{
    VersionInfoReader reader(ModulePath("table_beyond_buffer").c_str());
    ASSERT_TRUE(reader.IsValid());
    EXPECT_EQ(Ask(reader, "ProductVersion").result, 0);
}

TEST(VersionReaderLookup, OutOfMemoryFindsNothingAndDoesNotThrow)
{
    VersionInfoReader reader(ModulePath("unnamed_translation").c_str());
    char buffer[MAX_PATH] = "keep";
    failAllocations = true;
    const int result = reader.GetStringValue("ProductVersion", buffer, sizeof buffer);
    failAllocations = false;
    EXPECT_EQ(result, 0);
    EXPECT_STREQ(buffer, "keep");

    const std::string path = ModulePath("one_translation");
    failAllocations = true;
    VersionInfoReader starved(path.c_str());
    failAllocations = false;
    EXPECT_FALSE(starved.IsValid());
}

// --- the system's own installer library ----------------------------------------------

TEST(InstallerLibrary, SystemMsiDllHasADottedProductVersion)
{
    const Lookup found = ProductVersionOf(win::SystemFolder() + "\\msi.dll");
    EXPECT_EQ(found.result, 1);
    EXPECT_NE(found.text, "keep");
    EXPECT_NE(found.text.find('.'), std::string::npos);
    EXPECT_EQ(found.text.find_first_not_of("0123456789."), std::string::npos) << found.text;
    std::printf("msi.dll ProductVersion: %s\n", found.text.c_str());
}

// --- the plain key follows the system's default language -----------------------------

// Run with LC_ALL set and EXPECTED_DEFAULT_LANGUAGE naming the language it gives.
TEST(DefaultLanguage, PlainKeyComesFromTheDefaultLanguageTable)
{
    const char* expected = std::getenv("EXPECTED_DEFAULT_LANGUAGE");
    if (expected == nullptr) GTEST_SKIP() << "EXPECTED_DEFAULT_LANGUAGE is not set";
    const LANGID language = GetSystemDefaultLangID();
    ASSERT_EQ(language, std::strtoul(expected, nullptr, 16));

    VersionInfoReader reader(ModulePath("two_tables").c_str());
    // 0x0409 has its own table; 0x0411 has none, and the first table wins.
    EXPECT_EQ(Ask(reader, "ProductVersion").text, language == 0x0409 ? "9.0.0.0" : "7.0.0.0");
    EXPECT_EQ(Ask(reader, "040704B0\\ProductVersion").text, "7.0.0.0");
    EXPECT_EQ(Ask(reader, "040904B0\\ProductVersion").text, "9.0.0.0");
}

// Under code page 932 "\x65e5\x672c" is four bytes, two per character.
TEST(DefaultLanguage, DoubleByteCharacterIsNeverSplit)
{
    if (GetACP() != 932) GTEST_SKIP() << "needs the Japanese ANSI code page";
    VersionInfoReader reader(ModulePath("one_translation").c_str());
    EXPECT_EQ(Ask(reader, "Comments", 4).text, "\x93\xFA");          // from the platform query
    EXPECT_EQ(Ask(reader, "Comments", 5).text, "\x93\xFA\x96\x7B");  // from the index
}

}  // namespace
