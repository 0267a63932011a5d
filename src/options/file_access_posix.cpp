// The native back end, for the packager's tool and the tests on Linux.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <new>

#include "common/unique_resource.h"
#include "options/file_access.h"
#include "options/sibling_path.h"

namespace options {
namespace {

// Keeps errno across a close that is not checked.
class ErrnoKeeper {
public:
    ErrnoKeeper() : error_(errno) {}
    ~ErrnoKeeper() { errno = error_; }
    ErrnoKeeper(const ErrnoKeeper&) = delete;
    ErrnoKeeper& operator=(const ErrnoKeeper&) = delete;

private:
    int error_;
};

struct DescriptorTraits {  // open fails with -1
    using type = int;
    using ErrorKeeper = ErrnoKeeper;
    static int Invalid() { return -1; }
    static bool Close(int fd) { return close(fd) == 0; }
};
using Descriptor = common::Unique<DescriptorTraits>;

// Like ReadFile and WriteFile on a disk file: as many bytes as asked unless
// the end comes first or the call fails.
template <typename Transfer>
std::uint32_t TransferAll(Transfer transfer, std::uint32_t count)
{
    std::uint32_t done = 0;
    while (done < count) {
        const ssize_t step = transfer(done, count - done);
        if (step < 0 && errno == EINTR) continue;
        if (step <= 0) break;
        done += static_cast<std::uint32_t>(step);
    }
    return done;
}

bool MoveDescriptorTo(int fd, std::uint32_t offset)
{
    return lseek(fd, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

class PosixReadableFile final : public ReadableFile {
public:
    explicit PosixReadableFile(int fd) : fd_(fd) {}
    std::uint32_t Read(void* buffer, std::uint32_t count) override
    {
        auto* bytes = static_cast<unsigned char*>(buffer);
        return TransferAll([&](std::uint32_t done, std::uint32_t left) { return read(fd_.Get(), bytes + done, left); },
                           count);
    }
    bool MoveTo(std::uint32_t offset) override { return MoveDescriptorTo(fd_.Get(), offset); }
    std::uint32_t Position() override { return static_cast<std::uint32_t>(lseek(fd_.Get(), 0, SEEK_CUR)); }
    bool Size(std::uint64_t& size) override
    {
        struct stat status;
        if (fstat(fd_.Get(), &status) != 0) return false;
        size = static_cast<std::uint64_t>(status.st_size);
        return true;
    }

private:
    Descriptor fd_;
};

class PosixWritableFile final : public WritableFile {
public:
    explicit PosixWritableFile(int fd) : fd_(fd) {}
    std::uint32_t Write(const void* buffer, std::uint32_t count) override
    {
        const auto* bytes = static_cast<const unsigned char*>(buffer);
        return TransferAll([&](std::uint32_t done, std::uint32_t left) { return write(fd_.Get(), bytes + done, left); },
                           count);
    }
    bool MoveTo(std::uint32_t offset) override { return MoveDescriptorTo(fd_.Get(), offset); }
    bool SetEnd() override
    {
        const off_t end = lseek(fd_.Get(), 0, SEEK_CUR);
        return end >= 0 && ftruncate(fd_.Get(), end) == 0;
    }
    bool FlushAndClose() override
    {
        const bool flushed = fsync(fd_.Get()) == 0;
        return fd_.Close() && flushed;
    }

private:
    Descriptor fd_;
};

class PosixFileAccess final : public FileAccess {
public:
    bool Exists(const char* path) override
    {
        struct stat status;
        return stat(path, &status) == 0;
    }

    std::unique_ptr<ReadableFile> OpenForReading(const char* path) override
    {
        const int fd = open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0) return nullptr;
        struct stat status;
        if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {  // a folder opens here, not on Windows
            close(fd);
            return nullptr;
        }
        std::unique_ptr<ReadableFile> file(new (std::nothrow) PosixReadableFile(fd));
        if (!file) close(fd);
        return file;
    }

    std::unique_ptr<WritableFile> CreateSibling(const char* target) override
    {
        // A target that this user could not open for writing is not replaced
        // either, as a direct write would have failed; the new file keeps the
        // old one's permissions.
        mode_t mode = 0666;
        struct stat status;
        if (stat(target, &status) == 0) {
            Descriptor claim(open(target, O_WRONLY | O_CLOEXEC));
            if (claim.Get() < 0 || !S_ISREG(status.st_mode)) return nullptr;
            mode = status.st_mode & 07777;
        }
        std::unique_ptr<char[]> sibling = SiblingPathOf(target);
        if (!sibling) return nullptr;
        // A leftover sibling may be a link planted to another file: remove
        // the link and create a file of our own, never open what is there.
        unlink(sibling.get());
        const int fd = open(sibling.get(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0) return nullptr;
        std::unique_ptr<WritableFile> file(new (std::nothrow) PosixWritableFile(fd));
        if (!file) {
            close(fd);
            unlink(sibling.get());
        }
        return file;
    }

    ReplaceOutcome ReplaceWithSibling(const char* target) override
    {
        std::unique_ptr<char[]> sibling = SiblingPathOf(target);
        if (sibling && std::rename(sibling.get(), target) == 0) return ReplaceOutcome::kReplaced;
        return ReplaceOutcome::kTargetKept;
    }

    void DiscardSibling(const char* target) override
    {
        if (std::unique_ptr<char[]> sibling = SiblingPathOf(target)) unlink(sibling.get());
    }
};

}  // namespace

FileAccess& SystemFileAccess()
{
    static PosixFileAccess access;
    return access;
}

}  // namespace options
