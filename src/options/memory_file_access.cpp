#include "options/memory_file_access.h"

#include <algorithm>
#include <cstring>

namespace options {
namespace {

using Bytes = MemoryFileAccess::Bytes;

class MemoryReadableFile final : public ReadableFile {
public:
    explicit MemoryReadableFile(const Bytes& bytes) : bytes_(bytes) {}
    std::uint32_t Read(void* buffer, std::uint32_t count) override
    {
        const std::size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
        const auto taken = static_cast<std::uint32_t>(std::min<std::size_t>(count, available));
        if (taken > 0) std::memcpy(buffer, bytes_.data() + position_, taken);
        position_ += taken;
        return taken;
    }
    bool MoveTo(std::uint32_t offset) override
    {
        position_ = offset;
        return true;
    }
    std::uint32_t Position() override { return static_cast<std::uint32_t>(position_); }
    bool Size(std::uint64_t& size) override
    {
        size = bytes_.size();
        return true;
    }

private:
    const Bytes& bytes_;
    std::size_t position_ = 0;
};

class MemoryWritableFile final : public WritableFile {
public:
    explicit MemoryWritableFile(Bytes& bytes) : bytes_(bytes) {}
    std::uint32_t Write(const void* buffer, std::uint32_t count) override
    {
        if (bytes_.size() < position_ + count) bytes_.resize(position_ + count);
        std::memcpy(bytes_.data() + position_, buffer, count);
        position_ += count;
        return count;
    }
    bool MoveTo(std::uint32_t offset) override
    {
        position_ = offset;
        return true;
    }
    bool SetEnd() override
    {
        bytes_.resize(position_);
        return true;
    }
    bool FlushAndClose() override { return true; }

private:
    Bytes& bytes_;
    std::size_t position_ = 0;
};

std::string SiblingOf(const char* target)
{
    return std::string(target) + kSiblingSuffix;
}

}  // namespace

bool MemoryFileAccess::Exists(const char* path)
{
    return files_.count(path) != 0;
}

std::unique_ptr<ReadableFile> MemoryFileAccess::OpenForReading(const char* path)
{
    auto found = files_.find(path);
    if (found == files_.end()) return nullptr;
    return std::make_unique<MemoryReadableFile>(found->second);
}

std::unique_ptr<WritableFile> MemoryFileAccess::CreateSibling(const char* target)
{
    Bytes& sibling = files_[SiblingOf(target)];
    sibling.clear();
    return std::make_unique<MemoryWritableFile>(sibling);
}

ReplaceOutcome MemoryFileAccess::ReplaceWithSibling(const char* target)
{
    auto sibling = files_.find(SiblingOf(target));
    if (sibling == files_.end()) return ReplaceOutcome::kTargetKept;
    files_[target] = std::move(sibling->second);
    files_.erase(sibling);
    return ReplaceOutcome::kReplaced;
}

void MemoryFileAccess::DiscardSibling(const char* target)
{
    files_.erase(SiblingOf(target));
}

}  // namespace options
