#include "options/options_file.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "options/blowfish.h"
#include "common/little_endian.h"
#include "options/md5.h"
#include "options/options_records.h"

namespace options {

using common::ReadLittleEndian32;
using common::WriteLittleEndian32;

namespace {

constexpr std::uint32_t kPlainHeaderSize = 12;
constexpr std::uint32_t kDigestOffset = 12;
constexpr std::uint32_t kDigestSize = 16;

struct FreeDeleter {
    void operator()(void* memory) const { std::free(memory); }
};
using Buffer = std::unique_ptr<unsigned char, FreeDeleter>;

Buffer AllocateBuffer(std::uint32_t size)
{
    // malloc(0) may legitimately answer null; an empty buffer is still a buffer.
    return Buffer(static_cast<unsigned char*>(std::malloc(size > 0 ? size : 1)));
}

// A key schedule costs 521 encipherments, more than a whole options file
// takes, so the built-in key's schedule, the only key the product uses, is
// built once per process and then only read. Any other key gets a schedule
// of its own for the pass.
class KeySchedule {
public:
    explicit KeySchedule(const OptionsLibrary* handle)
    {
        if (HoldsBuiltInKey(handle)) {
            schedule_ = &BuiltInKeySchedule();
            return;
        }
        owned_.reset(new (std::nothrow) BlowfishSchedule);
        if (owned_) BlowfishSetKey(*owned_, handle->key, static_cast<std::size_t>(handle->keyLength));
        schedule_ = owned_.get();
    }
    explicit operator bool() const { return schedule_ != nullptr; }
    const BlowfishSchedule& operator*() const { return *schedule_; }

private:
    static bool HoldsBuiltInKey(const OptionsLibrary* handle)
    {
        return handle->keyLength == kBuiltInKeyLength && std::memcmp(handle->key, kBuiltInKey, kBuiltInKeyLength) == 0;
    }
    static const BlowfishSchedule& BuiltInKeySchedule()
    {
        static const BlowfishSchedule schedule = [] {
            BlowfishSchedule built;
            BlowfishSetKey(built, kBuiltInKey, kBuiltInKeyLength);
            return built;
        }();
        return schedule;
    }

    std::unique_ptr<BlowfishSchedule> owned_;
    const BlowfishSchedule* schedule_ = nullptr;
};

// The digest covers the 12 plain header bytes and everything after the
// header, as stored. The whole file is read at once, so its size is bounded.
bool DigestMatches(ReadableFile& file, const unsigned char* header)
{
    std::uint64_t size = 0;
    if (!file.Size(size) || size > kMaxVerifiedFileSize || size < kFileHeaderSize) return false;
    const auto restSize = static_cast<std::uint32_t>(size - kFileHeaderSize);
    Buffer rest = AllocateBuffer(restSize);
    if (!rest) return false;

    const std::uint32_t position = file.Position();
    bool matches = false;
    if (file.Read(rest.get(), restSize) == restSize) {
        Md5 md5;
        md5.Update(header, kPlainHeaderSize);
        md5.Update(rest.get(), restSize);
        unsigned char digest[kDigestSize];
        md5.Finish(digest);
        matches = std::memcmp(digest, header + kDigestOffset, kDigestSize) == 0;
    }
    file.MoveTo(position);
    return matches;
}

// Reads `expectedCount` records, each put at the head of the list. The count
// always ends equal to the records held, also when a record stops the pass.
OptionsResult ReadRecords(ReadableFile& file, const BlowfishSchedule& schedule, OptionsLibrary* handle,
                          std::uint32_t expectedCount)
{
    if (!file.MoveTo(kFileHeaderSize)) return OPTS_E_BAD_FORMAT;

    OptionsResult result = OPTS_OK;
    std::uint32_t recordsRead = 0;
    while (recordsRead < expectedCount) {
        unsigned char recordHeader[kRecordHeaderSize];
        if (file.Read(recordHeader, kRecordHeaderSize) != kRecordHeaderSize) {
            result = OPTS_E_BAD_FORMAT;
            break;
        }
        BlowfishDecipherBlocks(schedule, recordHeader, kRecordHeaderSize / 8);
        const std::uint32_t valueLength = ReadLittleEndian32(recordHeader + kValueLengthOffset);
        if (!IsAcceptableValueLength(valueLength)) {
            result = OPTS_E_BAD_FORMAT;
            break;
        }
        OptionRecord* record = AllocateRecord(valueLength);
        if (!record) {
            result = OPTS_E_OUT_OF_MEMORY;
            break;
        }
        PushRecord(handle, record);
        ++recordsRead;
        unsigned char* bytes = RecordBytes(record);
        std::memcpy(bytes, recordHeader, kRecordHeaderSize);
        if (file.Read(bytes + kRecordHeaderSize, valueLength) != valueLength) {
            result = OPTS_E_BAD_FORMAT;
            break;
        }
        BlowfishDecipherBlocks(schedule, bytes + kRecordHeaderSize, valueLength / 8);
    }
    handle->recordCount = recordsRead;
    return result;
}

// Writes the records, then the header, so an unfinished file never carries
// a valid header.
OptionsResult WriteContent(WritableFile& file, const OptionsLibrary* handle)
{
    unsigned char header[kFileHeaderSize] = {};
    WriteLittleEndian32(header, kFileMagic);
    WriteLittleEndian32(header + 4, 1);
    WriteLittleEndian32(header + 8, handle->recordCount);

    const KeySchedule schedule(handle);
    if (!schedule) return OPTS_E_OUT_OF_MEMORY;
    if (!file.MoveTo(kFileHeaderSize)) return OPTS_E_WRITE_FAILED;
    Md5 md5;
    md5.Update(header, kPlainHeaderSize);

    Buffer recordBuffer = AllocateBuffer(kMaxRecordSize);
    if (!recordBuffer) return OPTS_E_OUT_OF_MEMORY;
    for (const OptionRecord* record = handle->firstRecord; record; record = record->next) {
        const std::uint32_t valueLength = RecordValueLength(record);
        if (!IsAcceptableValueLength(valueLength)) return OPTS_E_BAD_FORMAT;  // never held: a load refuses it
        const std::uint32_t recordSize = kRecordHeaderSize + valueLength;
        std::memcpy(recordBuffer.get(), RecordBytes(record), recordSize);
        BlowfishEncipherBlocks(*schedule, recordBuffer.get(), recordSize / 8);
        if (file.Write(recordBuffer.get(), recordSize) != recordSize) return OPTS_E_WRITE_FAILED;
        md5.Update(recordBuffer.get(), recordSize);
    }

    md5.Finish(header + kDigestOffset);
    BlowfishEncipherBlocks(*schedule, header + kDigestOffset, kDigestSize / 8);
    if (!file.SetEnd()) return OPTS_E_WRITE_FAILED;
    if (!file.MoveTo(0) || file.Write(header, kFileHeaderSize) != kFileHeaderSize) return OPTS_E_WRITE_FAILED;
    return OPTS_OK;
}

}  // namespace

OptionsResult LoadOptionsFile(FileAccess& files, const char* path, OptionsLibrary* handle, int verifyDigest)
{
    if (!path || !handle) return OPTS_E_INVALID_ARGUMENT;
    if (!files.Exists(path)) return OPTS_E_FILE_NOT_FOUND;
    std::unique_ptr<ReadableFile> file = files.OpenForReading(path);
    if (!file) return OPTS_E_OPEN_FAILED;

    unsigned char header[kFileHeaderSize];
    if (file->Read(header, kFileHeaderSize) != kFileHeaderSize) return OPTS_E_BAD_FORMAT;
    if (ReadLittleEndian32(header) != kFileMagic) return OPTS_E_BAD_FORMAT;
    const KeySchedule schedule(handle);
    if (!schedule) return OPTS_E_OUT_OF_MEMORY;
    BlowfishDecipherBlocks(*schedule, header + kDigestOffset, kDigestSize / 8);
    if (verifyDigest && !DigestMatches(*file, header)) return OPTS_E_DIGEST_MISMATCH;

    OptionsClear(handle);
    handle->recordCount = 0;
    return ReadRecords(*file, *schedule, handle, ReadLittleEndian32(header + 8));
}

OptionsResult SaveOptionsFile(FileAccess& files, const char* path, OptionsLibrary* handle)
{
    if (!path || !handle) return OPTS_E_INVALID_ARGUMENT;
    std::unique_ptr<WritableFile> file = files.CreateSibling(path);
    if (!file) return OPTS_E_OPEN_FAILED;

    OptionsResult result = WriteContent(*file, handle);
    if (result == OPTS_OK && !file->FlushAndClose()) result = OPTS_E_WRITE_FAILED;
    file.reset();
    if (result != OPTS_OK) {
        files.DiscardSibling(path);
        return result;
    }
    switch (files.ReplaceWithSibling(path)) {
    case ReplaceOutcome::kReplaced: return OPTS_OK;
    case ReplaceOutcome::kTargetKept: files.DiscardSibling(path); break;
    case ReplaceOutcome::kTargetGone: break;
    }
    return OPTS_E_OPEN_FAILED;
}

}  // namespace options

OptionsResult OptionsLoad(const char* path, OptionsLibrary* handle, int verifyDigest)
{
    return options::LoadOptionsFile(options::SystemFileAccess(), path, handle, verifyDigest);
}

OptionsResult OptionsSave(const char* path, OptionsLibrary* handle)
{
    return options::SaveOptionsFile(options::SystemFileAccess(), path, handle);
}
