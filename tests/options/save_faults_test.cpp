// A save that fails at any step leaves the previous file byte for byte and no
// sibling behind. Faults are injected between the library and the system's
// own file back end, so the clean-up runs against real files.
#include <gtest/gtest.h>

#include <filesystem>

#include "options/file_access.h"
#include "options/options_file.h"
#include "options_test_support.h"

namespace {

using namespace options_test;

enum class Fault { kNone, kCreate, kWrite, kSetEnd, kFlush, kReplace };

class FaultyWritableFile final : public options::WritableFile {
public:
    FaultyWritableFile(std::unique_ptr<options::WritableFile> inner, Fault fault, std::uint32_t writableBytes)
        : inner_(std::move(inner)), fault_(fault), writableBytes_(writableBytes)
    {
    }
    std::uint32_t Write(const void* buffer, std::uint32_t count) override
    {
        if (fault_ == Fault::kWrite) {  // the disk fills up part way through
            const std::uint32_t allowed = std::min(count, writableBytes_);
            writableBytes_ -= allowed;
            return allowed > 0 ? inner_->Write(buffer, allowed) : 0;
        }
        return inner_->Write(buffer, count);
    }
    bool MoveTo(std::uint32_t offset) override { return inner_->MoveTo(offset); }
    bool SetEnd() override { return fault_ != Fault::kSetEnd && inner_->SetEnd(); }
    bool FlushAndClose() override { return inner_->FlushAndClose() && fault_ != Fault::kFlush; }

private:
    std::unique_ptr<options::WritableFile> inner_;
    Fault fault_;
    std::uint32_t writableBytes_;
};

class FaultyFileAccess final : public options::FileAccess {
public:
    explicit FaultyFileAccess(Fault fault, std::uint32_t writableBytes = 0) : fault_(fault), writableBytes_(writableBytes) {}
    bool Exists(const char* path) override { return inner_.Exists(path); }
    std::unique_ptr<options::ReadableFile> OpenForReading(const char* path) override
    {
        return inner_.OpenForReading(path);
    }
    std::unique_ptr<options::WritableFile> CreateSibling(const char* target) override
    {
        if (fault_ == Fault::kCreate) return nullptr;
        auto file = inner_.CreateSibling(target);
        if (!file) return nullptr;
        return std::make_unique<FaultyWritableFile>(std::move(file), fault_, writableBytes_);
    }
    options::ReplaceOutcome ReplaceWithSibling(const char* target) override
    {
        if (fault_ == Fault::kReplace) return options::ReplaceOutcome::kTargetKept;
        return inner_.ReplaceWithSibling(target);
    }
    void DiscardSibling(const char* target) override { inner_.DiscardSibling(target); }

private:
    options::FileAccess& inner_ = options::SystemFileAccess();
    Fault fault_;
    std::uint32_t writableBytes_;
};

class SaveFaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldFile_ = OptionsFileBuilder().Add(IntegerRecord("Old1", 1)).Add(TextRecord("Old2", "kept")).Build();
        WriteFileBytes(path_, oldFile_);
        for (int i = 0; i < 3; ++i) OptionsSetString(handle_.get(), ("New" + std::to_string(i)).c_str(), "replacement");
    }

    void ExpectOldFileIntact()
    {
        EXPECT_EQ(ReadFileBytes(path_), oldFile_);
        EXPECT_EQ(folder_.FileNames(), std::vector<std::string>{"InstOpts.dat"});
        Handle reloaded;
        ASSERT_EQ(OptionsLoad(path_.c_str(), reloaded.get(), 1), OPTS_OK);
        EXPECT_EQ(Names(reloaded.get()), (std::vector<std::string>{"Old2", "Old1"}));
        EXPECT_EQ(Names(handle_.get()), (std::vector<std::string>{"New2", "New1", "New0"}));
    }

    ScratchFolder folder_;
    std::string path_ = folder_.PathOf("InstOpts.dat");
    Bytes oldFile_;
    Handle handle_;
};

TEST_F(SaveFaultTest, EachFailingStepKeepsThePreviousFile)
{
    struct Case {
        Fault fault;
        std::uint32_t writableBytes;
        OptionsResult expected;
    };
    const Case cases[] = {
        {Fault::kCreate, 0, OPTS_E_OPEN_FAILED},
        {Fault::kWrite, 0, OPTS_E_WRITE_FAILED},
        {Fault::kWrite, 100, OPTS_E_WRITE_FAILED},              // inside the second record
        {Fault::kWrite, 3 * 56, OPTS_E_WRITE_FAILED},           // records done, header refused
        {Fault::kSetEnd, 0, OPTS_E_WRITE_FAILED},
        {Fault::kFlush, 0, OPTS_E_WRITE_FAILED},
        {Fault::kReplace, 0, OPTS_E_OPEN_FAILED},
    };
    for (const Case& c : cases) {
        FaultyFileAccess files(c.fault, c.writableBytes);
        EXPECT_EQ(options::SaveOptionsFile(files, path_.c_str(), handle_.get()), c.expected)
            << "fault " << static_cast<int>(c.fault) << " after " << c.writableBytes << " bytes";
        ExpectOldFileIntact();
    }
}

TEST_F(SaveFaultTest, ASaveWithoutFaultsReplacesTheFileAndLeavesNoSibling)
{
    FaultyFileAccess files(Fault::kNone);
    ASSERT_EQ(options::SaveOptionsFile(files, path_.c_str(), handle_.get()), OPTS_OK);
    EXPECT_EQ(folder_.FileNames(), std::vector<std::string>{"InstOpts.dat"});
    EXPECT_EQ(ReadFileBytes(path_), OptionsFileBuilder()
                                        .Add(TextRecord("New2", "replacement"))
                                        .Add(TextRecord("New1", "replacement"))
                                        .Add(TextRecord("New0", "replacement"))
                                        .Build());
}

// A stale sibling from an interrupted save is overwritten, not mistaken for
// the file.
TEST_F(SaveFaultTest, AStaleSiblingIsReplaced)
{
    WriteFileBytes(path_ + ".new", Bytes(5000, 0xEE));
    ASSERT_EQ(OptionsSave(path_.c_str(), handle_.get()), OPTS_OK);
    EXPECT_EQ(folder_.FileNames(), std::vector<std::string>{"InstOpts.dat"});
    Handle reloaded;
    EXPECT_EQ(OptionsLoad(path_.c_str(), reloaded.get(), 1), OPTS_OK);
}

TEST_F(SaveFaultTest, AMissingFolderFailsWithOpenFailed)
{
    EXPECT_EQ(OptionsSave(folder_.PathOf("absent/InstOpts.dat").c_str(), handle_.get()), OPTS_E_OPEN_FAILED);
    ExpectOldFileIntact();
}

TEST_F(SaveFaultTest, AReadOnlyTargetFailsWithOpenFailed)
{
    std::filesystem::permissions(path_, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                            std::filesystem::perms::others_read);
    const OptionsResult result = OptionsSave(path_.c_str(), handle_.get());
    std::filesystem::permissions(path_, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
#ifndef _WIN32
    if (result == OPTS_OK) GTEST_SKIP() << "running as root: file permissions do not bind";
#endif
    EXPECT_EQ(result, OPTS_E_OPEN_FAILED);
    ExpectOldFileIntact();
}

}  // namespace
