#pragma once
// The one seam between the options file operations and the system's files.
// The product uses the Win32 back end (CreateFileA and friends) on Windows and
// the POSIX one natively; tests put a fault-injecting back end in between, and
// the fuzz target loads from memory. A back end never throws: objects are
// made with new(std::nothrow) and a failure is a null pointer or false.

#include <cstdint>
#include <memory>

namespace options {

// A file opened for a load: others may read it at the same time.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;
    // Bytes actually read; a failed read counts as 0.
    virtual std::uint32_t Read(void* buffer, std::uint32_t count) = 0;
    virtual bool MoveTo(std::uint32_t offset) = 0;
    virtual std::uint32_t Position() = 0;
    // False when the size cannot be read.
    virtual bool Size(std::uint64_t& size) = 0;
};

// The new content of a save, written beside the target and opened by nobody
// else while it is written.
class WritableFile {
public:
    virtual ~WritableFile() = default;
    // Bytes actually written; a failed write counts as 0.
    virtual std::uint32_t Write(const void* buffer, std::uint32_t count) = 0;
    virtual bool MoveTo(std::uint32_t offset) = 0;
    virtual bool SetEnd() = 0;
    // Flushes the content to the disk and closes the file.
    virtual bool FlushAndClose() = 0;
};

enum class ReplaceOutcome {
    kReplaced,
    kTargetKept,  // nothing changed: the sibling is to be discarded
    kTargetGone,  // deleted before a rename that failed: the sibling is all that is left
};

class FileAccess {
public:
    virtual ~FileAccess() = default;
    virtual bool Exists(const char* path) = 0;
    // Existing file only, shared for reading; null when it cannot be opened.
    virtual std::unique_ptr<ReadableFile> OpenForReading(const char* path) = 0;
    // Claims `target` for a save and creates its sibling as a new file,
    // after deleting whatever was at the sibling's path (a link is removed,
    // never followed). Null when the target exists but cannot be opened for
    // writing, or the sibling cannot be created (something in the way).
    virtual std::unique_ptr<WritableFile> CreateSibling(const char* target) = 0;
    // Puts the completed sibling in the target's place, in one step where the
    // system can. A failed replace leaves the sibling for the caller.
    virtual ReplaceOutcome ReplaceWithSibling(const char* target) = 0;
    // Removes the sibling of a save that failed; the sibling is closed.
    virtual void DiscardSibling(const char* target) = 0;
};

// The back end of the platform the library was built for.
FileAccess& SystemFileAccess();

// The sibling's path: the target's path followed by this suffix.
constexpr const char kSiblingSuffix[] = ".new";

}  // namespace options
