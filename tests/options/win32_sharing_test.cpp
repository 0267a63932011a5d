// The Win32 back end's sharing and its replace without MoveFileExA, under
// Wine: a load shares reading, a save is exclusive.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/unique_handle.h"
#include "options/file_access_win32.h"
#include "options_test_support.h"

namespace {

using namespace options_test;

win::UniqueFile OpenHeld(const std::string& path, DWORD access, DWORD share)
{
    return win::UniqueFile(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

class Win32SharingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        file_ = OptionsFileBuilder().Add(IntegerRecord("A", 1)).Build();
        WriteFileBytes(path_, file_);
    }
    ScratchFolder folder_;
    std::string path_ = folder_.PathOf("InstOpts.dat");
    Bytes file_;
    Handle handle_;
};

TEST_F(Win32SharingTest, ALoadSharesReadingButNotWithAWriter)
{
    {
        win::UniqueFile reader = OpenHeld(path_, GENERIC_READ, FILE_SHARE_READ);
        ASSERT_TRUE(reader);
        EXPECT_EQ(OptionsLoad(path_.c_str(), handle_.get(), 1), OPTS_OK);
    }
    win::UniqueFile writer = OpenHeld(path_, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(writer);
    EXPECT_EQ(OptionsLoad(path_.c_str(), handle_.get(), 1), OPTS_E_OPEN_FAILED);
}

TEST_F(Win32SharingTest, ASaveWhileAnotherReadsFailsAndKeepsTheFile)
{
    OptionsSetInteger(handle_.get(), "B", 2);
    {
        win::UniqueFile reader = OpenHeld(path_, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(reader);
        EXPECT_EQ(OptionsSave(path_.c_str(), handle_.get()), OPTS_E_OPEN_FAILED);
    }
    EXPECT_EQ(ReadFileBytes(path_), file_);
    EXPECT_EQ(folder_.FileNames(), std::vector<std::string>{"InstOpts.dat"});
    EXPECT_EQ(OptionsSave(path_.c_str(), handle_.get()), OPTS_OK);
    EXPECT_EQ(folder_.FileNames(), std::vector<std::string>{"InstOpts.dat"});
}

// The 9x family's replace: delete, then rename, the sibling kept until then.
TEST_F(Win32SharingTest, DeleteThenRenameReplacesOrKeepsTheTarget)
{
    const std::string sibling = path_ + ".new";
    WriteFileBytes(sibling, Bytes{1, 2, 3});
    {
        win::UniqueFile reader = OpenHeld(path_, GENERIC_READ, FILE_SHARE_READ);
        EXPECT_EQ(options::ReplaceByDeleteThenRename(sibling.c_str(), path_.c_str()),
                  options::ReplaceOutcome::kTargetKept);
    }
    EXPECT_EQ(ReadFileBytes(path_), file_);
    EXPECT_EQ(options::ReplaceByDeleteThenRename(sibling.c_str(), path_.c_str()), options::ReplaceOutcome::kReplaced);
    EXPECT_EQ(ReadFileBytes(path_), (Bytes{1, 2, 3}));
    EXPECT_EQ(folder_.FileNames(), std::vector<std::string>{"InstOpts.dat"});
}

}  // namespace
