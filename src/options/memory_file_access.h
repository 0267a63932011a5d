#pragma once
// A file back end that keeps files in memory: loads straight from a buffer
// (the fuzz target), saves that can be inspected without a disk.

#include <map>
#include <string>
#include <vector>

#include "options/file_access.h"

namespace options {

class MemoryFileAccess final : public FileAccess {
public:
    using Bytes = std::vector<unsigned char>;

    std::map<std::string, Bytes>& Files() { return files_; }

    bool Exists(const char* path) override;
    std::unique_ptr<ReadableFile> OpenForReading(const char* path) override;
    std::unique_ptr<WritableFile> CreateSibling(const char* target) override;
    ReplaceOutcome ReplaceWithSibling(const char* target) override;
    void DiscardSibling(const char* target) override;

private:
    std::map<std::string, Bytes> files_;
};

}  // namespace options
