// The options library over files in memory: the order of records through
// load, set and save, value fields and names, and the files a load refuses.
#include "options/memory_file_access.h"
#include "options/options_file.h"
#include "options_test_support.h"

namespace {

using namespace options_test;
using NameList = std::vector<std::string>;

OptionsResult Load(OptionsLibrary* handle, const Bytes& bytes, int verify = 1)
{
    options::MemoryFileAccess files;
    files.Files()["in.dat"] = bytes;
    return options::LoadOptionsFile(files, "in.dat", handle, verify);
}

Bytes Save(OptionsLibrary* handle)
{
    options::MemoryFileAccess files;
    EXPECT_EQ(options::SaveOptionsFile(files, "out.dat", handle), OPTS_OK);
    return files.Files()["out.dat"];
}

// The longest value field, a byte block, an unknown type and a 32-byte name
// are carried as they are; a save writes the newest option first, then the
// loaded ones in reverse. A set replaces the record of its name (compared
// byte for byte) whatever its type, and a refused one still drops it. A
// text's value field ends with 1 to 8 zero bytes on a block boundary.
TEST(OptionsFile, LoadSetSaveKeepsEveryRecordAndReversesTheOrder)
{
    PlainRecord blob{"Blob", OPTION_TYPE_BYTES, 2056, {}}, odd{"Odd", 9, 8, {'o', 'd', 'd'}};
    for (int i = 0; i < 2056; ++i) blob.value.push_back(static_cast<unsigned char>(i * 7));
    const PlainRecord text = TextRecord("Text", "7 bytes"), full = IntegerRecord(std::string(32, 'Z'), -1);
    Handle handle;
    OptionsLibrary* h = handle.get();
    const auto file = [&](const PlainRecord& first) {
        return OptionsFileBuilder().Add(first).Add(odd).Add(blob).Add(full).Add(text).Build();
    };
    const PlainRecord number = IntegerRecord("Path", 5);
    ASSERT_EQ(Load(h, OptionsFileBuilder().Add(text).Add(full).Add(blob).Add(odd).Add(number).Build()), OPTS_OK);
    for (const auto& [length, valueLength] : {std::pair<std::size_t, unsigned>{0, 8}, {6, 8}, {7, 16}, {2047, 2056}}) {
        ASSERT_EQ(OptionsSetString(h, "Path", std::string(length, 'p').c_str()), OPTS_OK);
        EXPECT_EQ(Save(h), file({"Path", OPTION_TYPE_STRING, valueLength, Bytes(length, 'p')}));
    }
    ASSERT_EQ(OptionsSetInteger(h, "path", 1), OPTS_OK);
    EXPECT_EQ(OptionsSetString(h, "Path", std::string(2048, 'p').c_str()), OPTS_E_INVALID_ARGUMENT);
    EXPECT_EQ(OptionsSetInteger(h, std::string(32, 'Z').c_str(), 1), OPTS_E_INVALID_ARGUMENT);
    ASSERT_EQ(OptionsSetInteger(h, std::string(31, 'Z').c_str(), 1), OPTS_OK);  // not the 32-byte name
    EXPECT_EQ(OptionsRecordCount(h), 6u);
    ASSERT_EQ(OptionsRemove(h, std::string(31, 'Z').c_str()), OPTS_OK);
    EXPECT_EQ(OptionsRecordCount(h), 5u);
    EXPECT_EQ(Save(h), file(IntegerRecord("path", 1)));
}

// A pushed record is saved as given (all 32 bytes of its name field, bytes
// after the name's zero too), ahead of the others, and counted; one a file
// could not hold (a 33-byte name, a value field length off the block size or
// over 2056, no value bytes) adds nothing.
TEST(OptionsFile, APushedRecordIsSavedAsGiven)
{
    const PlainRecord odd{std::string("Z\0", 2) + std::string(30, 'z'), 0x80000009u, 16, {'a', 0, 'b'}};
    Bytes field = odd.value;
    field.resize(16, 0);
    Handle handle;
    ASSERT_EQ(OptionsSetInteger(handle.get(), "A", 1), OPTS_OK);
    const OptionRecordView view{odd.nameField.data(), 32, static_cast<std::int32_t>(odd.type), 16, field.data()};
    ASSERT_EQ(OptionsPushRecord(handle.get(), &view), OPTS_OK);
    EXPECT_EQ(Save(handle.get()), OptionsFileBuilder().Add(odd).Add(IntegerRecord("A", 1)).Build());
    const std::string name33(33, 'N');
    for (const OptionRecordView& bad : {OptionRecordView{name33.data(), 33, 0, 8, field.data()},
                                        {"L", 1, 0, 12, field.data()},
                                        {"L", 1, 0, 2064, field.data()},
                                        {"V", 1, 0, 8, nullptr}}) {
        EXPECT_EQ(OptionsPushRecord(handle.get(), &bad), OPTS_E_INVALID_ARGUMENT) << bad.valueLength;
    }
    EXPECT_EQ(OptionsRecordCount(handle.get()), 2u);
}

// A file refused at its header or digest leaves the handle's own records; a
// record pass that stops keeps those read. The count equals the records held.
TEST(OptionsFile, RefusedFilesKeepTheCountEqualToTheRecordsHeld)
{
    const OptionsFileBuilder two = OptionsFileBuilder().Add(IntegerRecord("A", 1)).Add(IntegerRecord("B", 2));
    OptionsLibrary* other = nullptr;  // a key as long as the built-in one
    ASSERT_EQ(OptionsCreate(&other, reinterpret_cast<const unsigned char*>("5E21C793"), 8), OPTS_OK);
    const Bytes otherKeys = Save(other);
    OptionsDestroy(other);
    OptionsFileBuilder big;
    for (int i = 0; i < 125; ++i) big.Add(TextRecord("T", std::string(2047, 't')));  // 262,028 bytes
    Bytes foreign = two.Build(), appended = foreign;
    foreign[3] = 0xFF;
    appended.push_back(0);
    const Bytes overLimit = OptionsFileBuilder(big).Trailing(Bytes(117, 0)).Build();
    struct Row {
        std::string what;
        Bytes file;
        int verify;
        OptionsResult result;
        NameList names;
    };
    std::vector<Row> rows = {
        {"foreign, unverified", foreign, 0, OPTS_E_BAD_FORMAT, {"Kept"}},
        {"an appended byte", appended, 1, OPTS_E_DIGEST_MISMATCH, {"Kept"}},
        {"another key", otherKeys, 1, OPTS_E_DIGEST_MISMATCH, {"Kept"}},
        {"digested trailing bytes", OptionsFileBuilder(two).Trailing({1, 2, 3}).Build(), 1, OPTS_OK, {"B", "A"}},
        {"a count beyond the records", OptionsFileBuilder(two).Count(3).Build(), 1, OPTS_E_BAD_FORMAT, {"B", "A"}},
        {"262,144 bytes", OptionsFileBuilder(big).Trailing(Bytes(116, 0)).Build(), 1, OPTS_OK, NameList(125, "T")},
        {"262,145 bytes", overLimit, 1, OPTS_E_DIGEST_MISMATCH, {"Kept"}},
        {"262,145 bytes, unverified", overLimit, 0, OPTS_OK, NameList(125, "T")},
    };
    for (std::uint32_t valueLength : {12u, 2064u, 0xFFFFFFF8u}) {  // never written: refused, digest or not
        const PlainRecord bad{"Bad", OPTION_TYPE_STRING, valueLength, Bytes(16, 'v'), true};
        const Bytes file = OptionsFileBuilder(two).Add(bad).Build();
        rows.push_back({"L=" + std::to_string(valueLength), file, 1, OPTS_E_BAD_FORMAT, {"B", "A"}});
    }
    for (const Row& row : rows) {
        Handle handle;
        ASSERT_EQ(OptionsSetInteger(handle.get(), "Kept", 7), OPTS_OK);
        EXPECT_EQ(Load(handle.get(), row.file, row.verify), row.result) << row.what;
        EXPECT_EQ(Names(handle.get()), row.names) << row.what;
        EXPECT_EQ(OptionsRecordCount(handle.get()), row.names.size()) << row.what;
    }
}

}  // namespace
