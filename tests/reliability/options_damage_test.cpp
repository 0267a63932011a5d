// Damaged options files and interrupted saves, exhaustively over a few
// files of different shapes: every truncation and every single-bit change is
// refused by a verified load without touching the handle's records, and a
// save cut off after any number of bytes leaves the old file loadable.
#include <gtest/gtest.h>

#include "options/memory_file_access.h"
#include "options/options_file.h"
#include "options_test_support.h"

namespace {

using namespace options_test;

struct ShapedFile {
    const char* shape;
    Bytes bytes;
};

std::vector<ShapedFile> FilesOfEveryShape()
{
    PlainRecord blob;
    blob.nameField = "INSTALL:Blob";
    blob.type = OPTION_TYPE_BYTES;
    blob.valueLength = 64;
    for (int i = 0; i < 64; ++i) blob.value.push_back(static_cast<unsigned char>(i * 37));
    return {
        {"header only", OptionsFileBuilder().Build()},
        {"one integer", OptionsFileBuilder().Add(IntegerRecord("INSTALL:NoReboot", 1)).Build()},
        {"longest text", OptionsFileBuilder().Add(TextRecord("INSTALL:Path", std::string(2047, 'p'))).Build()},
        {"mixed", OptionsFileBuilder()
                      .Add(IntegerRecord("INSTALL:EnableVigilux", 1))
                      .Add(TextRecord("INSTALL:FactoryRegKey", "HKLM\\Software\\Maker"))
                      .Add(blob)
                      .Add(IntegerRecord(std::string(32, 'N'), -1))
                      .Build()},
    };
}

class DamagedFileLoad : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(OptionsSetInteger(handle_.get(), "Kept", 7), OPTS_OK); }

    OptionsResult VerifiedLoad(const Bytes& bytes)
    {
        files_.Files()["InstOpts.dat"] = bytes;
        return options::LoadOptionsFile(files_, "InstOpts.dat", handle_.get(), 1);
    }

    options::MemoryFileAccess files_;
    Handle handle_;
};

TEST_F(DamagedFileLoad, EveryTruncationIsRefused)
{
    for (const ShapedFile& file : FilesOfEveryShape()) {
        SCOPED_TRACE(file.shape);
        ASSERT_EQ(VerifiedLoad(file.bytes), OPTS_OK);
        ASSERT_EQ(OptionsSetInteger(handle_.get(), "Kept", 7), OPTS_OK);
        const std::vector<std::string> before = Names(handle_.get());
        for (std::size_t length = 0; length < file.bytes.size(); ++length) {
            ASSERT_NE(VerifiedLoad(Bytes(file.bytes.begin(), file.bytes.begin() + length)), OPTS_OK)
                << length << " of " << file.bytes.size() << " bytes";
        }
        EXPECT_EQ(Names(handle_.get()), before);
    }
}

TEST_F(DamagedFileLoad, EveryFlippedBitIsRefused)
{
    for (const ShapedFile& file : FilesOfEveryShape()) {
        SCOPED_TRACE(file.shape);
        for (std::size_t at = 0; at < file.bytes.size(); ++at) {
            for (int bit = 0; bit < 8; ++bit) {
                Bytes damaged = file.bytes;
                damaged[at] ^= static_cast<unsigned char>(1u << bit);
                ASSERT_NE(VerifiedLoad(damaged), OPTS_OK) << "byte " << at << " bit " << bit;
            }
        }
        EXPECT_EQ(Names(handle_.get()), std::vector<std::string>{"Kept"});
    }
}

TEST(InterruptedSave, ASaveCutOffAfterAnyByteKeepsTheOldFile)
{
    ScratchFolder folder;
    const std::string path = folder.PathOf("InstOpts.dat");
    const Bytes oldFile = OptionsFileBuilder().Add(IntegerRecord("Old", 1)).Add(TextRecord("Path", "kept")).Build();
    WriteFileBytes(path, oldFile);
    Handle edited;
    ASSERT_EQ(OptionsLoad(path.c_str(), edited.get(), 1), OPTS_OK);
    ASSERT_EQ(OptionsSetInteger(edited.get(), "INSTALL:NoReboot", 1), OPTS_OK);
    ASSERT_EQ(OptionsSetString(edited.get(), "INSTALL:FactoryFile", std::string(300, 'f').c_str()), OPTS_OK);

    // Every byte count short of the whole new file, whatever order the save
    // writes its header, digest and records in.
    options::MemoryFileAccess memory;
    ASSERT_EQ(options::SaveOptionsFile(memory, "size.dat", edited.get()), OPTS_OK);
    const auto newSize = static_cast<std::uint32_t>(memory.Files()["size.dat"].size());
    ASSERT_EQ(newSize, 28u + 3 * 48 + 40 + 304);
    for (std::uint32_t capacity = 0; capacity < newSize; ++capacity) {
        FaultyFileAccess disk(Fault::kWrite, capacity);
        ASSERT_EQ(options::SaveOptionsFile(disk, path.c_str(), edited.get()), OPTS_E_WRITE_FAILED)
            << capacity << " bytes";
        ASSERT_EQ(ReadFileBytes(path), oldFile) << capacity << " bytes";
        ASSERT_EQ(folder.FileNames(), std::vector<std::string>{"InstOpts.dat"}) << capacity << " bytes";
    }
    Handle reloaded;
    ASSERT_EQ(OptionsLoad(path.c_str(), reloaded.get(), 1), OPTS_OK);
    EXPECT_EQ(Names(reloaded.get()), (std::vector<std::string>{"Path", "Old"}));

    FaultyFileAccess enough(Fault::kWrite, newSize);
    ASSERT_EQ(options::SaveOptionsFile(enough, path.c_str(), edited.get()), OPTS_OK);
    EXPECT_EQ(ReadFileBytes(path).size(), newSize);
    ASSERT_EQ(OptionsLoad(path.c_str(), reloaded.get(), 1), OPTS_OK);
    // A save writes the records newest last, so they load back in reverse.
    EXPECT_EQ(Names(reloaded.get()),
              (std::vector<std::string>{"Old", "Path", "INSTALL:NoReboot", "INSTALL:FactoryFile"}));
}

}  // namespace
