// Saves and loads through the system's file back end, POSIX natively and
// Win32 under Wine.
#include "options/file_access.h"
#include "options/options_file.h"
#include "options_test_support.h"

#ifdef _WIN32
#include <windows.h>

#include "common/unique_handle.h"
#include "options/file_access_win32.h"
#else
#include <unistd.h>
#endif

namespace {

using namespace options_test;
using options::ReplaceOutcome;
namespace fs = std::filesystem;

enum class Fault { kNone, kWrite, kSetEnd, kFlush, kReplace, kTargetGone };

// The system's back end with one step of a save made to fail; a write fault
// lets `writable` bytes through and then no more, as a full disk.
struct FaultyFiles final : options::FileAccess {
    struct Sibling final : options::WritableFile {
        Sibling(std::unique_ptr<options::WritableFile> d, FaultyFiles& f) : disk(std::move(d)), files(f) {}
        std::uint32_t Write(const void* buffer, std::uint32_t count) override
        {
            if (files.fault == Fault::kWrite) count = std::min(count, files.writable);
            if (files.fault == Fault::kWrite) files.writable -= count;
            return count > 0 ? disk->Write(buffer, count) : 0;
        }
        bool MoveTo(std::uint32_t offset) override { return disk->MoveTo(offset); }
        bool SetEnd() override { return files.fault != Fault::kSetEnd && disk->SetEnd(); }
        bool FlushAndClose() override { return disk->FlushAndClose() && files.fault != Fault::kFlush; }
        std::unique_ptr<options::WritableFile> disk;
        FaultyFiles& files;
    };
    FaultyFiles(Fault f, std::uint32_t w) : fault(f), writable(w) {}
    bool Exists(const char* path) override { return disk.Exists(path); }
    std::unique_ptr<options::ReadableFile> OpenForReading(const char* p) override { return disk.OpenForReading(p); }
    std::unique_ptr<options::WritableFile> CreateSibling(const char* target) override
    {
        auto file = disk.CreateSibling(target);
        return file ? std::make_unique<Sibling>(std::move(file), *this) : nullptr;
    }
    ReplaceOutcome ReplaceWithSibling(const char* target) override
    {
        if (fault == Fault::kTargetGone) fs::remove(target);  // deleted, then the rename failed
        if (fault == Fault::kTargetGone) return ReplaceOutcome::kTargetGone;
        return fault == Fault::kReplace ? ReplaceOutcome::kTargetKept : disk.ReplaceWithSibling(target);
    }
    void DiscardSibling(const char* target) override { disk.DiscardSibling(target); }
    options::FileAccess& disk = options::SystemFileAccess();
    Fault fault;
    std::uint32_t writable;
};

// An options file on disk, the bytes it holds before a save and after one,
// and a handle holding the new options.
struct SaveTarget {
    SaveTarget()
    {
        EXPECT_EQ(OptionsSetString(handle.get(), "Path", "C:\\OEM"), OPTS_OK);
        EXPECT_EQ(OptionsSetInteger(handle.get(), "CTO", 1), OPTS_OK);
        WriteFileBytes(path, oldFile);
    }
    ScratchFolder folder;
    const std::string path = folder.PathOf("InstOpts.dat"), sibling = path + ".new";
    const Bytes oldFile = OptionsFileBuilder().Add(IntegerRecord("Old", 1)).Build();
    const Bytes newFile = OptionsFileBuilder().Add(IntegerRecord("CTO", 1)).Add(TextRecord("Path", "C:\\OEM")).Build();
    Handle handle;
};

// A failing step or a full disk after any number of bytes fails the save and
// leaves the previous file; a stale file or a hard link at the sibling's name
// gives way to a file of the save's own. A folder there fails a POSIX save;
// on Windows, where anyone may plant one in the TEMP folder, the sibling
// takes a numbered name beside it.
TEST(SystemFiles, ASaveReplacesTheFileWholeOrNotAtAll)
{
    SaveTarget target;
    auto& [folder, path, sibling, oldFile, newFile, handle] = target;
    const std::string victim = folder.PathOf("victim");
    struct Case {
        Fault fault;
        std::uint32_t writable;
        std::string planted;
        OptionsResult result;
    };
#ifdef _WIN32
    const OptionsResult kFolderAtSibling = OPTS_OK;
#else
    const OptionsResult kFolderAtSibling = OPTS_E_OPEN_FAILED;
#endif
    std::vector<Case> cases = {
        {Fault::kSetEnd, 0, "", OPTS_E_WRITE_FAILED}, {Fault::kFlush, 0, "", OPTS_E_WRITE_FAILED},
        {Fault::kReplace, 0, "", OPTS_E_OPEN_FAILED}, {Fault::kNone, 0, "stale file", OPTS_OK},
        {Fault::kNone, 0, "hard link", OPTS_OK},      {Fault::kNone, 0, "folder", kFolderAtSibling}};
    for (std::uint32_t n = 0; n < newFile.size(); ++n) cases.push_back({Fault::kWrite, n, "", OPTS_E_WRITE_FAILED});
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "fault " << int(c.fault) << ", " << c.writable << " bytes, " << c.planted);
        WriteFileBytes(path, oldFile);
        WriteFileBytes(victim, Bytes(5000, 0xEE));
        if (c.planted == "stale file") WriteFileBytes(sibling, Bytes(5000, 0xEE));
        if (c.planted == "hard link") fs::create_hard_link(victim, sibling);
        if (c.planted == "folder") fs::create_directory(sibling);
        FaultyFiles files(c.fault, c.writable);
        EXPECT_EQ(options::SaveOptionsFile(files, path.c_str(), handle.get()), c.result);
        EXPECT_EQ(ReadFileBytes(victim), Bytes(5000, 0xEE));
        fs::remove(victim);
        if (c.planted == "folder") fs::remove(sibling);
        EXPECT_EQ(ReadFileBytes(path), c.result == OPTS_OK ? newFile : oldFile);
        EXPECT_FALSE(fs::exists(sibling));
        EXPECT_FALSE(fs::exists(folder.PathOf("InstOpts.dat-1.new")));
    }
    // Deleted before a rename that failed: the sibling is all that is left, so it stays.
    FaultyFiles targetGone(Fault::kTargetGone, 0);
    EXPECT_EQ(options::SaveOptionsFile(targetGone, path.c_str(), handle.get()), OPTS_E_OPEN_FAILED);
    EXPECT_EQ(ReadFileBytes(sibling), newFile);
    fs::remove(sibling);
    WriteFileBytes(path, oldFile);
#ifndef _WIN32
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);  // kept by the replacement
    EXPECT_EQ(OptionsSave(path.c_str(), handle.get()), OPTS_OK);
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
#endif
}

// A read-only target fails the save and is kept. On Windows a load shares
// only reading, a save is exclusive, and the 9x family's delete-then-rename
// keeps a busy target.
TEST(SystemFiles, AReadOnlyOrBusyTargetIsKept)
{
    SaveTarget target;
    auto& [folder, path, sibling, oldFile, newFile, handle] = target;
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const OptionsResult readOnly = OptionsSave(path.c_str(), handle.get());
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
#ifndef _WIN32
    // Root writes whatever the permissions say: CTest reports this as skipped
    // (the Win32 back end's check of the attribute runs under Wine whoever runs it).
    if (readOnly == OPTS_OK && geteuid() == 0) GTEST_SKIP() << "running as root: file permissions do not bind";
#else
    const auto open = [&](DWORD access, DWORD share) {
        return win::UniqueFile(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
    };
    {
        const win::UniqueFile reader = open(GENERIC_READ, FILE_SHARE_READ);
        ASSERT_TRUE(reader) << "no reader: the sharing checks cannot run";
        EXPECT_EQ(OptionsLoad(path.c_str(), handle.get(), 1), OPTS_OK);
        EXPECT_EQ(OptionsSave(path.c_str(), handle.get()), OPTS_E_OPEN_FAILED);
        WriteFileBytes(sibling, newFile);
        EXPECT_EQ(options::ReplaceByDeleteThenRename(sibling.c_str(), path.c_str()), ReplaceOutcome::kTargetKept);
    }
    {
        const win::UniqueFile writer = open(GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(writer) << "no writer: the sharing check cannot run";
        EXPECT_EQ(OptionsLoad(path.c_str(), handle.get(), 1), OPTS_E_OPEN_FAILED);
    }
    EXPECT_EQ(ReadFileBytes(path), oldFile);
    EXPECT_EQ(options::ReplaceByDeleteThenRename(sibling.c_str(), path.c_str()), ReplaceOutcome::kReplaced);
    EXPECT_EQ(ReadFileBytes(path), newFile);
    EXPECT_FALSE(fs::exists(sibling));
    EXPECT_EQ(options::ReplaceByDeleteThenRename(sibling.c_str(), path.c_str()), ReplaceOutcome::kTargetGone);
#endif
    EXPECT_EQ(readOnly, OPTS_E_OPEN_FAILED);
}

}  // namespace
