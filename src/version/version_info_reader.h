#pragma once
// Reads the version resource of a module file without running the module,
// and answers string queries on it ("ProductVersion").

#include <windows.h>
#include <winver.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "version/version_query.h"
#include "version/version_walk.h"

namespace version {

class VersionInfoReader {
public:
    // Loads the version resource of the module at `modulePath`. A module that
    // is missing, not a PE file or without a usable version resource gives an
    // invalid reader, which finds nothing. `query` stands in for the system's
    // VerQueryValueA (tests count the queries through it).
    explicit VersionInfoReader(const char* modulePath, VersionQuery query = SystemVersionQuery());
    // Reads a version resource already in memory, as the module's constructor
    // does once it has copied the module's resource; the reader keeps a copy.
    VersionInfoReader(const std::uint8_t* resource, std::size_t resourceSize,
                      VersionQuery query = SystemVersionQuery());
    ~VersionInfoReader();
    VersionInfoReader(const VersionInfoReader&) = delete;
    VersionInfoReader& operator=(const VersionInfoReader&) = delete;

    // Copies the value named `name` ("ProductVersion" or "040904b0\ProductVersion",
    // any letter case) into `buffer` as narrow text: 1 when found, 0 otherwise,
    // and then the buffer is not written.
    int GetStringValue(const char* name, char* buffer, std::size_t bufferSize);

private:
    static constexpr DWORD kFixedInfoSignature = 0xFEEF04BD;

    // Walks all string tables into the index, once per reader.
    int BuildIndex();
    int IsPeFile() const;
    bool IsValid() const { return fixedInfo.dwSignature == kFixedInfoSignature; }

    int LoadVersionBlock();
    bool CopyVersionResource(std::size_t* resourceSize);
    bool CopyBlock(const std::uint8_t* resource, std::size_t resourceSize);
    int ReadBlock(std::size_t resourceSize);
    bool Query(const std::string& path, const void** value, UINT* length) const;
    const std::uint8_t* InsideBlock(const void* p, std::size_t bytes) const;
    int LookUp(const std::string& name, char* buffer, std::size_t bufferSize);
    bool LookUpInIndex(const std::string& name, char* buffer, std::size_t bufferSize) const;
    bool QueryString(const std::string& path, const std::string& name, char* buffer, std::size_t bufferSize);

    VS_FIXEDFILEINFO fixedInfo = {};
    char shortPath[MAX_PATH] = {};
    std::unique_ptr<std::uint8_t[]> block;
    std::size_t blockSize = 0;
    const WORD* translations = nullptr;
    UINT translationBytes = 0;
    int indexBuilt = 0;
    StringIndex index;
    VersionQuery query;
};

}  // namespace version
