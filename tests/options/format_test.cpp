// The options file's layout, the order of records through load, set and
// save, and how damaged or hostile files are refused.
#include <gtest/gtest.h>

#include "options/md5.h"
#include "options_test_support.h"

namespace {

using namespace options_test;

class OptionsFileTest : public ::testing::Test {
protected:
    OptionsResult LoadBytes(const Bytes& bytes, int verify = 1)
    {
        WriteFileBytes(path_, bytes);
        return OptionsLoad(path_.c_str(), handle_.get(), verify);
    }
    Bytes SaveBytes()
    {
        EXPECT_EQ(OptionsSave(path_.c_str(), handle_.get()), OPTS_OK);
        return ReadFileBytes(path_);
    }

    ScratchFolder folder_;
    std::string path_ = folder_.PathOf("InstOpts.dat");
    Handle handle_;
};

// --- Layout of a completed file -------------------------------------------

TEST_F(OptionsFileTest, EmptyHandleSavesAHeaderOnlyFileThatLoadsBack)
{
    const Bytes file = SaveBytes();
    ASSERT_EQ(file.size(), 28u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 12), Bytes({0x4B, 0x45, 0x53, 0xFE, 1, 0, 0, 0, 0, 0, 0, 0}));
    Bytes digest(file.begin() + 12, file.end());
    Decipher(digest.data(), digest.size());
    options::Md5 md5;
    md5.Update(file.data(), 12);
    unsigned char expected[16];
    md5.Finish(expected);
    EXPECT_EQ(digest, Bytes(expected, expected + 16));

    ASSERT_EQ(OptionsSetInteger(handle_.get(), "Stale", 5), OPTS_OK);
    ASSERT_EQ(OptionsLoad(path_.c_str(), handle_.get(), 1), OPTS_OK);
    EXPECT_EQ(OptionsRecordCount(handle_.get()), 0u);
    EXPECT_EQ(OptionsFirstRecord(handle_.get()), nullptr);
}

TEST_F(OptionsFileTest, IntegerOptionIsOneEncipheredRecordOf48Bytes)
{
    ASSERT_EQ(OptionsSetInteger(handle_.get(), "CTO", 1), OPTS_OK);
    const Bytes file = SaveBytes();
    ASSERT_EQ(file.size(), 28u + 48u);
    EXPECT_EQ(options_test::GetLittleEndian32(file.data() + 8), 1u);
    Bytes record(file.begin() + 28, file.end());
    Decipher(record.data(), record.size());
    EXPECT_EQ(record, PlainRecordBytes(IntegerRecord("CTO", 1)));
    EXPECT_EQ(file, OptionsFileBuilder().Add(IntegerRecord("CTO", 1)).Build());
}

TEST_F(OptionsFileTest, TextValueFieldEndsWithOneToEightZeroBytes)
{
    struct Case {
        std::size_t textLength;
        std::uint32_t valueLength;
    };
    for (const Case c : {Case{0, 8}, Case{6, 8}, Case{7, 16}, Case{8, 16}, Case{2047, 2056}}) {
        ASSERT_EQ(OptionsSetString(handle_.get(), "Path", std::string(c.textLength, 'p').c_str()), OPTS_OK);
        const std::vector<RecordSummary> records = Records(handle_.get());
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].valueLength, c.valueLength) << c.textLength << " characters";
        Bytes expected(c.textLength, 'p');
        expected.resize(c.valueLength, 0);
        EXPECT_EQ(records[0].value, expected);
    }
    EXPECT_EQ(OptionsSetString(handle_.get(), "Path", std::string(2048, 'p').c_str()), OPTS_E_INVALID_ARGUMENT);
    EXPECT_EQ(OptionsRecordCount(handle_.get()), 0u);  // the old record of the name is gone too
    EXPECT_EQ(OptionsFind("Path", -1, handle_.get()), nullptr);
}

// --- Order: newest first ---------------------------------------------------

// Records of every value length and an unknown type are carried byte for
// byte; a save writes the new option, then the loaded records in reverse.
TEST_F(OptionsFileTest, LoadSetSaveKeepsEveryRecordAndReversesTheOrder)
{
    PlainRecord bytesRecord;
    bytesRecord.nameField = "Blob";
    bytesRecord.type = OPTION_TYPE_BYTES;
    bytesRecord.valueLength = 2056;
    for (int i = 0; i < 2056; ++i) bytesRecord.value.push_back(static_cast<unsigned char>(i * 7));
    PlainRecord oddType = TextRecord("Odd", "seven!!");
    oddType.type = 9;  // unknown types are carried, not interpreted
    const PlainRecord eight = TextRecord("Eight", "1234567");
    const PlainRecord sixteen = TextRecord("Sixteen", "123456789012345");
    ASSERT_EQ(LoadBytes(OptionsFileBuilder().Add(eight).Add(sixteen).Add(bytesRecord).Add(oddType).Build()), OPTS_OK);
    EXPECT_EQ(Names(handle_.get()), (std::vector<std::string>{"Odd", "Blob", "Sixteen", "Eight"}));
    ASSERT_EQ(OptionsSetInteger(handle_.get(), "N", 4), OPTS_OK);
    EXPECT_EQ(SaveBytes(), OptionsFileBuilder()
                               .Add(IntegerRecord("N", 4))
                               .Add(oddType)
                               .Add(bytesRecord)
                               .Add(sixteen)
                               .Add(eight)
                               .Build());
}

TEST_F(OptionsFileTest, DuplicateNamesFromAFileStayAndASetReplacesTheLaterOne)
{
    ASSERT_EQ(LoadBytes(OptionsFileBuilder().Add(TextRecord("A", "first")).Add(TextRecord("A", "second")).Build()),
              OPTS_OK);
    EXPECT_EQ(OptionsRecordCount(handle_.get()), 2u);
    const OptionRecordView found = OptionsViewRecord(OptionsFind("A", -1, handle_.get()));
    EXPECT_STREQ(reinterpret_cast<const char*>(found.value), "second");

    ASSERT_EQ(OptionsSetString(handle_.get(), "A", "third"), OPTS_OK);
    const std::vector<RecordSummary> records = Records(handle_.get());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(OptionsRecordCount(handle_.get()), 2u);
    EXPECT_STREQ(reinterpret_cast<const char*>(records[0].value.data()), "third");
    EXPECT_STREQ(reinterpret_cast<const char*>(records[1].value.data()), "first");
}

// --- Names and the editing operations -------------------------------------

TEST_F(OptionsFileTest, NamesAreWholeCaseSensitiveStringsOfAtMost31Bytes)
{
    const std::string name31(31, 'n');
    EXPECT_EQ(OptionsSetInteger(handle_.get(), name31.c_str(), 1), OPTS_OK);
    EXPECT_EQ(OptionsSetInteger(handle_.get(), (name31 + "n").c_str(), 1), OPTS_E_INVALID_ARGUMENT);
    EXPECT_EQ(OptionsSetString(handle_.get(), (name31 + "n").c_str(), "x"), OPTS_E_INVALID_ARGUMENT);
    EXPECT_EQ(OptionsSetInteger(handle_.get(), "noreboot", 1), OPTS_OK);
    EXPECT_EQ(OptionsSetInteger(handle_.get(), "NoReboot", 1), OPTS_OK);
    EXPECT_EQ(OptionsRemove(handle_.get(), "NOREBOOT"), OPTS_OK);
    EXPECT_EQ(OptionsRemove(handle_.get(), "noreboot"), OPTS_OK);
    // Setting a name again replaces its record, type and all, at the head.
    ASSERT_EQ(OptionsSetString(handle_.get(), name31.c_str(), "text"), OPTS_OK);
    EXPECT_EQ(Names(handle_.get()), (std::vector<std::string>{name31, "NoReboot"}));
    EXPECT_EQ(OptionsRecordCount(handle_.get()), 2u);
    EXPECT_NE(OptionsFind(name31.c_str(), OPTION_TYPE_STRING, handle_.get()), nullptr);
    EXPECT_EQ(OptionsFind(name31.c_str(), OPTION_TYPE_INTEGER, handle_.get()), nullptr);
}

TEST(OptionsHandle, MissingArgumentsAndOverlongKeysAreRefused)
{
    OptionsLibrary* handle = reinterpret_cast<OptionsLibrary*>(1);
    const Bytes key129(129, 1);
    EXPECT_EQ(OptionsCreate(&handle, key129.data(), 129), OPTS_E_KEY_TOO_LONG);
    EXPECT_EQ(OptionsCreate(nullptr, key129.data(), 8), OPTS_E_INVALID_ARGUMENT);
    EXPECT_EQ(OptionsCreate(&handle, key129.data(), 0), OPTS_E_INVALID_ARGUMENT);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(OptionsCreate(&handle, key129.data(), 128), OPTS_OK);
    EXPECT_EQ(OptionsDestroy(handle), OPTS_OK);

    Handle valid;
    EXPECT_EQ(OptionsSetInteger(valid.get(), nullptr, 1), OPTS_E_INVALID_ARGUMENT);
    EXPECT_EQ(OptionsSetString(valid.get(), "A", nullptr), OPTS_E_INVALID_ARGUMENT);
    EXPECT_EQ(OptionsLoad(nullptr, valid.get(), 1), OPTS_E_INVALID_ARGUMENT);
    EXPECT_EQ(OptionsSave("x", nullptr), OPTS_E_INVALID_ARGUMENT);
}

// A handle with another key writes a file that the built-in key refuses.
TEST_F(OptionsFileTest, TheKeyIsTheHandles)
{
    const unsigned char otherKey[] = {1, 2, 3};
    OptionsLibrary* other = nullptr;
    ASSERT_EQ(OptionsCreate(&other, otherKey, 3), OPTS_OK);
    OptionsSetInteger(other, "A", 1);
    ASSERT_EQ(OptionsSave(path_.c_str(), other), OPTS_OK);
    EXPECT_EQ(OptionsLoad(path_.c_str(), other, 1), OPTS_OK);
    OptionsDestroy(other);
    EXPECT_EQ(OptionsLoad(path_.c_str(), handle_.get(), 1), OPTS_E_DIGEST_MISMATCH);
}

// --- Files that are not what they claim -----------------------------------

TEST_F(OptionsFileTest, MissingShortAndForeignFilesAreRefusedBeforeAnyRecord)
{
    EXPECT_EQ(OptionsLoad(folder_.PathOf("absent.dat").c_str(), handle_.get(), 1), OPTS_E_FILE_NOT_FOUND);
    Bytes valid = OptionsFileBuilder().Build();
    EXPECT_EQ(LoadBytes(Bytes(valid.begin(), valid.begin() + 27)), OPTS_E_BAD_FORMAT);
    EXPECT_EQ(LoadBytes(Bytes(valid.begin(), valid.begin() + 27), 0), OPTS_E_BAD_FORMAT);
    valid[3] = 0xFF;
    EXPECT_EQ(LoadBytes(valid, 0), OPTS_E_BAD_FORMAT);
    EXPECT_EQ(OptionsLoad(folder_.PathOf("").c_str(), handle_.get(), 1), OPTS_E_OPEN_FAILED);  // a folder
}

// Lengths a writer of this format never makes: refused with 5 before any
// storage is touched, also when the digest is intact.
TEST_F(OptionsFileTest, ImpossibleValueLengthsAreRefused)
{
    for (std::uint32_t valueLength : {12u, 2057u, 2064u, 0xFFFFFFF8u, 0xFFFFFFFFu}) {
        PlainRecord record = TextRecord("Bad", "x");
        record.valueLength = valueLength;
        record.value.assign(16, 'v');
        record.rawValue = true;
        EXPECT_EQ(LoadBytes(OptionsFileBuilder().Add(TextRecord("Good", "g")).Add(record).Build()), OPTS_E_BAD_FORMAT)
            << "L = " << valueLength;
        EXPECT_EQ(OptionsRecordCount(handle_.get()), 1u);  // the count matches the records held
        EXPECT_EQ(Names(handle_.get()), std::vector<std::string>{"Good"});
    }
}

TEST_F(OptionsFileTest, ANameFieldWithoutAZeroIsA32ByteName)
{
    const std::string full(32, 'Z');
    ASSERT_EQ(LoadBytes(OptionsFileBuilder().Add(IntegerRecord(full, 5)).Build()), OPTS_OK);
    EXPECT_EQ(Names(handle_.get()), std::vector<std::string>{full});
    EXPECT_EQ(OptionsFind(full.substr(0, 31).c_str(), -1, handle_.get()), nullptr);
    EXPECT_NE(OptionsFind(full.c_str(), -1, handle_.get()), nullptr);
    EXPECT_EQ(OptionsFind((full + "Z").c_str(), -1, handle_.get()), nullptr);
    ASSERT_EQ(OptionsSetInteger(handle_.get(), full.substr(0, 31).c_str(), 1), OPTS_OK);
    EXPECT_EQ(OptionsRecordCount(handle_.get()), 2u);
}

TEST_F(OptionsFileTest, ACountBeyondTheRecordsPassesTheDigestAndFailsTheRecordPass)
{
    ASSERT_EQ(LoadBytes(OptionsFileBuilder().Add(IntegerRecord("A", 1)).Add(IntegerRecord("B", 2)).Count(3).Build()),
              OPTS_E_BAD_FORMAT);
    EXPECT_EQ(Names(handle_.get()), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(OptionsRecordCount(handle_.get()), 2u);
    ASSERT_EQ(LoadBytes(OptionsFileBuilder().Count(0xFFFFFFFF).Build(), 0), OPTS_E_BAD_FORMAT);
    EXPECT_EQ(OptionsRecordCount(handle_.get()), 0u);
}

TEST_F(OptionsFileTest, TrailingBytesAreDigestedSkippedAndDroppedBySave)
{
    const Bytes withTail = OptionsFileBuilder().Add(IntegerRecord("A", 1)).Trailing(Bytes(13, 0xAB)).Build();
    ASSERT_EQ(LoadBytes(withTail), OPTS_OK);
    EXPECT_EQ(SaveBytes(), OptionsFileBuilder().Add(IntegerRecord("A", 1)).Build());
    Bytes appended = OptionsFileBuilder().Add(IntegerRecord("A", 1)).Build();
    appended.push_back(0);  // bytes the digest does not cover
    EXPECT_EQ(LoadBytes(appended), OPTS_E_DIGEST_MISMATCH);
}

TEST_F(OptionsFileTest, FilesAbove262144BytesLoadOnlyUnverified)
{
    OptionsFileBuilder builder;
    for (int i = 0; i < 125; ++i) builder.Add(TextRecord("T" + std::to_string(i), std::string(2047, 't')));
    const Bytes atLimit = builder.Trailing(Bytes(262144 - 28 - 125 * 2096, 0)).Build();
    ASSERT_EQ(atLimit.size(), 262144u);
    EXPECT_EQ(LoadBytes(atLimit), OPTS_OK);
    const Bytes overLimit = builder.Trailing(Bytes(262145 - 28 - 125 * 2096, 0)).Build();
    EXPECT_EQ(LoadBytes(overLimit), OPTS_E_DIGEST_MISMATCH);
    EXPECT_EQ(OptionsRecordCount(handle_.get()), 125u);  // untouched by the refused load
    ASSERT_EQ(OptionsSetInteger(handle_.get(), "Marker", 1), OPTS_OK);
    EXPECT_EQ(LoadBytes(overLimit, 0), OPTS_OK);
    EXPECT_EQ(OptionsRecordCount(handle_.get()), 125u);
    EXPECT_EQ(OptionsFind("Marker", -1, handle_.get()), nullptr);
}

}  // namespace
