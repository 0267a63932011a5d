// The product's back end: the Win32 file functions, available from Windows 98.
#include "options/file_access_win32.h"

#include <windows.h>

#include <new>
#include <string>

#include "common/own_file.h"
#include "common/system_library.h"
#include "common/unique_handle.h"
#include "options/file_access.h"
#include "options/sibling_path.h"

namespace options {
namespace {

std::uint32_t ReadFrom(HANDLE file, void* buffer, std::uint32_t count)
{
    DWORD transferred = 0;
    return ReadFile(file, buffer, count, &transferred, nullptr) ? transferred : 0;
}

std::uint32_t WriteTo(HANDLE file, const void* buffer, std::uint32_t count)
{
    DWORD transferred = 0;
    return WriteFile(file, buffer, count, &transferred, nullptr) ? transferred : 0;
}

bool MoveFileTo(HANDLE file, std::uint32_t offset)
{
    LONG high = 0;  // given, so that an offset of 0xFFFFFFFF is not taken for a failure
    SetLastError(NO_ERROR);
    return SetFilePointer(file, static_cast<LONG>(offset), &high, FILE_BEGIN) != INVALID_SET_FILE_POINTER ||
           GetLastError() == NO_ERROR;
}

bool Exists(const char* path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

class Win32ReadableFile final : public ReadableFile {
public:
    explicit Win32ReadableFile(win::UniqueFile file) : file_(std::move(file)) {}
    std::uint32_t Read(void* buffer, std::uint32_t count) override { return ReadFrom(file_.Get(), buffer, count); }
    bool MoveTo(std::uint32_t offset) override { return MoveFileTo(file_.Get(), offset); }
    std::uint32_t Position() override { return SetFilePointer(file_.Get(), 0, nullptr, FILE_CURRENT); }
    bool Size(std::uint64_t& size) override
    {
        DWORD high = 0;
        SetLastError(NO_ERROR);
        const DWORD low = GetFileSize(file_.Get(), &high);
        if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
        size = (std::uint64_t(high) << 32) | low;
        return true;
    }

private:
    win::UniqueFile file_;
};

// Holds the target open for writing, shared with nobody, while the sibling
// is written: the save stays exclusive, and a read-only or busy target fails
// before any work. Both close before the replace.
class Win32WritableFile final : public WritableFile {
public:
    Win32WritableFile(win::UniqueFile sibling, win::UniqueFile targetClaim)
        : sibling_(std::move(sibling)), targetClaim_(std::move(targetClaim))
    {
    }
    std::uint32_t Write(const void* buffer, std::uint32_t count) override
    {
        return WriteTo(sibling_.Get(), buffer, count);
    }
    bool MoveTo(std::uint32_t offset) override { return MoveFileTo(sibling_.Get(), offset); }
    bool SetEnd() override { return SetEndOfFile(sibling_.Get()) != FALSE; }
    bool FlushAndClose() override
    {
        const bool flushed = FlushFileBuffers(sibling_.Get()) != FALSE;
        const bool closed = sibling_.Close();
        targetClaim_.Reset();
        return flushed && closed;
    }

private:
    win::UniqueFile sibling_;
    win::UniqueFile targetClaim_;
};

class Win32FileAccess final : public FileAccess {
public:
    bool Exists(const char* path) override { return options::Exists(path); }

    std::unique_ptr<ReadableFile> OpenForReading(const char* path) override
    {
        win::UniqueFile file(
            CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return nullptr;
        return std::unique_ptr<ReadableFile>(new (std::nothrow) Win32ReadableFile(std::move(file)));
    }

    std::unique_ptr<WritableFile> CreateSibling(const char* target) override
    {
        win::UniqueFile claim;
        const DWORD attributes = GetFileAttributesA(target);
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            // Read-only means the file must not be replaced. The attribute
            // is looked at itself rather than left to the open below, which
            // a caller with backup rights, or a file system that ignores the
            // attribute, would pass.
            if (attributes & FILE_ATTRIBUTE_READONLY) return nullptr;
            claim.Reset(CreateFileA(target, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!claim) return nullptr;
        }
        std::unique_ptr<char[]> siblingPath = SiblingPathOf(target);
        if (!siblingPath) return nullptr;
        // A leftover sibling may be a link planted to another file: delete
        // the link and create a file of our own, never open what is there.
        // A folder or a read-only file that stays in the way must not fail
        // the save: the sibling then takes a numbered name beside it.
        DeleteFileA(siblingPath.get());
        // It gets what the folder gives, as the target it replaces had: the
        // packager's tool saves through here too.
        win::OwnFile sibling =
            win::CreateOwnFileNear(siblingPath.get(), GENERIC_WRITE, win::OwnFileAccess::kAsTheFolderGives);
        if (!sibling.file) return nullptr;
        sibling_ = {target, sibling.path};
        std::unique_ptr<WritableFile> file(new (std::nothrow)
                                               Win32WritableFile(std::move(sibling.file), std::move(claim)));
        if (!file) {  // nothing was moved: close the sibling before deleting it
            sibling.file.Reset();
            DeleteFileA(sibling.path.c_str());
        }
        return file;
    }

    ReplaceOutcome ReplaceWithSibling(const char* target) override
    {
        const std::string sibling = SiblingOf(target);
        if (sibling.empty()) return ReplaceOutcome::kTargetKept;
        // The 9x family exports MoveFileExA but answers every call with
        // ERROR_CALL_NOT_IMPLEMENTED; there the lookup gives none, and a
        // stub that answers so all the same takes the fallback too.
        using MoveFileExFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
        const auto moveFileEx = win::LateBoundAs<MoveFileExFunction>(win::LateBound::kMoveFileExA);
        if (moveFileEx) {
            if (moveFileEx(sibling.c_str(), target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
                return ReplaceOutcome::kReplaced;
            }
            if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return ReplaceOutcome::kTargetKept;
        }
        return ReplaceByDeleteThenRename(sibling.c_str(), target);
    }

    void DiscardSibling(const char* target) override
    {
        const std::string sibling = SiblingOf(target);
        if (!sibling.empty()) DeleteFileA(sibling.c_str());
    }

private:
    // The name the last sibling of `target` was created under.
    std::string SiblingOf(const char* target) const
    {
        if (sibling_.target == target) return sibling_.path;
        std::unique_ptr<char[]> path = SiblingPathOf(target);
        return path ? path.get() : "";
    }

    struct Sibling {
        std::string target, path;
    } sibling_;
};

}  // namespace

ReplaceOutcome ReplaceByDeleteThenRename(const char* sibling, const char* target)
{
    if (Exists(target) && !DeleteFileA(target)) return ReplaceOutcome::kTargetKept;
    return MoveFileA(sibling, target) ? ReplaceOutcome::kReplaced : ReplaceOutcome::kTargetGone;
}

FileAccess& SystemFileAccess()
{
    static Win32FileAccess access;
    return access;
}

}  // namespace options
