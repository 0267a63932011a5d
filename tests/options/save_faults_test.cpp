// A save that fails at any step leaves the previous file byte for byte and no
// sibling behind. Faults are injected between the library and the system's
// own file back end, so the clean-up runs against real files.
#include <gtest/gtest.h>

#include <filesystem>

#include "options/options_file.h"
#include "options_test_support.h"

namespace {

using namespace options_test;

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

// Saves cut off after any number of bytes are the reliability suite's.
TEST_F(SaveFaultTest, EachFailingStepKeepsThePreviousFile)
{
    const std::pair<Fault, OptionsResult> cases[] = {
        {Fault::kCreate, OPTS_E_OPEN_FAILED}, {Fault::kWrite, OPTS_E_WRITE_FAILED},
        {Fault::kSetEnd, OPTS_E_WRITE_FAILED}, {Fault::kFlush, OPTS_E_WRITE_FAILED},
        {Fault::kReplace, OPTS_E_OPEN_FAILED},
    };
    for (const auto& [fault, expected] : cases) {
        FaultyFileAccess files(fault);
        EXPECT_EQ(options::SaveOptionsFile(files, path_.c_str(), handle_.get()), expected)
            << "fault " << static_cast<int>(fault);
        ExpectOldFileIntact();
    }
}

// Whatever an interrupted save or another user left at the sibling's name is
// replaced by a file of the save's own, never written through: a stale file,
// or a hard link to a file elsewhere. A folder in the way fails the save.
TEST_F(SaveFaultTest, WhateverIsAtTheSiblingsNameIsNeverWrittenThrough)
{
    const std::string sibling = path_ + ".new", victim = folder_.PathOf("victim");
    const Bytes saved = OptionsFileBuilder()
                            .Add(TextRecord("New2", "replacement"))
                            .Add(TextRecord("New1", "replacement"))
                            .Add(TextRecord("New0", "replacement"))
                            .Build();
    for (const char* planted : {"stale file", "hard link", "folder"}) {
        SCOPED_TRACE(planted);
        WriteFileBytes(path_, oldFile_);
        WriteFileBytes(victim, Bytes(5000, 0xEE));
        if (planted[0] == 's') WriteFileBytes(sibling, Bytes(5000, 0xEE));
        if (planted[0] == 'h') std::filesystem::create_hard_link(victim, sibling);
        if (planted[0] == 'f') std::filesystem::create_directory(sibling);

        const OptionsResult result = OptionsSave(path_.c_str(), handle_.get());

        EXPECT_EQ(ReadFileBytes(victim), Bytes(5000, 0xEE));
        std::filesystem::remove(victim);
        if (planted[0] == 'f') {
            EXPECT_EQ(result, OPTS_E_OPEN_FAILED);
            std::filesystem::remove(sibling);
            ExpectOldFileIntact();
        } else {
            EXPECT_EQ(result, OPTS_OK);
            EXPECT_EQ(ReadFileBytes(path_), saved);
            EXPECT_EQ(folder_.FileNames(), std::vector<std::string>{"InstOpts.dat"});
        }
    }
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
