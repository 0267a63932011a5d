#include "version/version_info_reader.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "common/ansi_code_page.h"
#include "common/little_endian.h"
#include "common/unique_handle.h"
#include "version/version_block.h"
#include "version/version_text.h"

namespace version {
namespace {

// Language 0x0409 with code page 1252, then with code page 1200: the table
// used for a module that lists no translations.
const WORD kDefaultTranslations[] = {0x0409, 0x04E4, 0x0409, 0x04B0};

constexpr UINT kSilentErrorMode = SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX;
constexpr long kPeOffsetAt = 0x3C;
constexpr std::uint32_t kPeSignature = 0x00004550;  // "PE\0\0"

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueStdFile = std::unique_ptr<std::FILE, FileCloser>;

bool ReadDword(std::FILE* file, long at, std::uint32_t* value)
{
    unsigned char bytes[4];
    if (std::fseek(file, at, SEEK_SET) != 0 || std::fread(bytes, 1, 4, file) != 4) return false;
    *value = common::ReadLittleEndian32(bytes);
    return true;
}

// The module at `path` mapped as data only, so none of its code runs, under
// an error mode that keeps the system from showing any box; the caller's mode
// is back when it returns.
win::UniqueModule MapAsDataQuietly(const char* path)
{
    const UINT previousMode = SetErrorMode(kSilentErrorMode);
    win::UniqueCall restoreMode([previousMode] { SetErrorMode(previousMode); });
    return win::UniqueModule(LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

WideText AnsiToWideText(const std::string& text)
{
    return win::AnsiToUtf16(text.data(), text.size());
}

bool WideTextToAnsi(const WideText& wide, std::string* narrow)
{
    narrow->clear();
    if (wide.empty()) return true;
    const wchar_t* chars = reinterpret_cast<const wchar_t*>(wide.data());
    const int length = static_cast<int>(wide.size());
    const int count = WideCharToMultiByte(CP_ACP, 0, chars, length, nullptr, 0, nullptr, nullptr);
    if (count <= 0) return false;
    narrow->resize(static_cast<std::size_t>(count));
    return WideCharToMultiByte(CP_ACP, 0, chars, length, &(*narrow)[0], count, nullptr, nullptr) == count;
}

}  // namespace

VersionInfoReader::VersionInfoReader(const char* modulePath, VersionQuery query) : query(query)
{
    const DWORD length = modulePath ? GetShortPathNameA(modulePath, shortPath, MAX_PATH) : 0;
    if (length == 0 || length >= MAX_PATH) shortPath[0] = '\0';
    try {
        LoadVersionBlock();
    } catch (const std::bad_alloc&) {
        fixedInfo = {};  // out of memory while loading: the reader is invalid
    }
}

VersionInfoReader::VersionInfoReader(const std::uint8_t* resource, std::size_t resourceSize, VersionQuery query)
    : query(query)
{
    try {
        if (CopyBlock(resource, resourceSize)) ReadBlock(resourceSize);
    } catch (const std::bad_alloc&) {
        fixedInfo = {};
    }
}

VersionInfoReader::~VersionInfoReader() = default;

int VersionInfoReader::IsPeFile() const
{
    UniqueStdFile file(std::fopen(shortPath, "rb"));
    if (!file) return 0;
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return 0;
    const long size = std::ftell(file.get());
    if (size == -1) return 0;
    std::uint32_t peOffset = 0;
    if (!ReadDword(file.get(), kPeOffsetAt, &peOffset)) return 0;
    if (peOffset >= static_cast<unsigned long>(size)) return 0;
    std::uint32_t signature = 0;
    if (!ReadDword(file.get(), static_cast<long>(peOffset), &signature)) return 0;
    return signature == kPeSignature ? 1 : 0;
}

// Copies the module's RT_VERSION resource 1.
bool VersionInfoReader::CopyVersionResource(std::size_t* resourceSize)
{
    const win::UniqueModule module = MapAsDataQuietly(shortPath);
    if (!module) return false;

    HRSRC resource = FindResourceA(module.Get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));
    if (resource == nullptr) return false;
    const DWORD size = SizeofResource(module.Get(), resource);
    HGLOBAL loaded = LoadResource(module.Get(), resource);
    if (size == 0 || loaded == nullptr) return false;
    const void* bytes = LockResource(loaded);
    FreeResource(loaded);
    if (bytes == nullptr) return false;
    if (!CopyBlock(static_cast<const std::uint8_t*>(bytes), size)) return false;
    *resourceSize = size;
    return true;
}

// Copies the resource into a zero-filled buffer three times its size.
bool VersionInfoReader::CopyBlock(const std::uint8_t* resource, std::size_t resourceSize)
{
    if (resource == nullptr || resourceSize > static_cast<DWORD>(-1) / kBlockSizeFactor) return false;
    block.reset(new (std::nothrow) std::uint8_t[resourceSize * kBlockSizeFactor]());
    if (!block) return false;
    blockSize = resourceSize * kBlockSizeFactor;
    std::memcpy(block.get(), resource, resourceSize);
    return true;
}

int VersionInfoReader::LoadVersionBlock()
{
    fixedInfo = {};
    if (!IsPeFile()) return 0;
    std::size_t resourceSize = 0;
    if (!CopyVersionResource(&resourceSize)) return 0;
    return ReadBlock(resourceSize);
}

// Accepts the copied block and reads its fixed information and translations.
int VersionInfoReader::ReadBlock(std::size_t resourceSize)
{
    if (!IsAcceptableVersionBlock(block.get(), resourceSize)) return 0;

    const void* root = nullptr;
    UINT rootLength = 0;
    if (!Query("\\", &root, &rootLength)) return 0;
    // The length the query reports is not trusted; the 52 bytes must be ours.
    const std::uint8_t* fixed = InsideBlock(root, sizeof fixedInfo);
    if (fixed == nullptr) return 0;
    std::memcpy(&fixedInfo, fixed, sizeof fixedInfo);

    const void* pairs = nullptr;
    UINT pairBytes = 0;
    const std::uint8_t* table = nullptr;
    if (Query("\\VarFileInfo\\Translation", &pairs, &pairBytes)) table = InsideBlock(pairs, 0);
    if (table != nullptr) {
        const std::size_t available = blockSize - static_cast<std::size_t>(table - block.get());
        translations = reinterpret_cast<const WORD*>(table);
        translationBytes = pairBytes < available ? pairBytes : static_cast<UINT>(available);
    } else {
        translations = kDefaultTranslations;
        translationBytes = sizeof kDefaultTranslations;
    }
    return IsValid() ? 1 : 0;
}

bool VersionInfoReader::Query(const std::string& path, const void** value, UINT* length) const
{
    if (!block || query == nullptr) return false;
    void* found = nullptr;
    UINT foundLength = 0;
    if (!query(block.get(), path.c_str(), &found, &foundLength)) return false;
    *value = found;
    *length = foundLength;
    return true;
}

// `p` as a position in the block when it and the `bytes` after it lie inside.
const std::uint8_t* VersionInfoReader::InsideBlock(const void* p, std::size_t bytes) const
{
    const auto* at = static_cast<const std::uint8_t*>(p);
    const std::uint8_t* start = block.get();
    if (at == nullptr || start == nullptr || at < start || at > start + blockSize) return nullptr;
    return static_cast<std::size_t>(start + blockSize - at) >= bytes ? at : nullptr;
}

int VersionInfoReader::GetStringValue(const char* name, char* buffer, std::size_t bufferSize)
{
    if (!IsValid()) return 0;
    if (name == nullptr || buffer == nullptr || bufferSize == 0) return 0;
    // Running out of memory while building a key or a value ends the lookup
    // with nothing found; the launcher goes on.
    try {
        return LookUp(UppercaseAscii(name, win::AnsiCodePage()), buffer, bufferSize);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

// `name` is uppercased already.
int VersionInfoReader::LookUp(const std::string& name, char* buffer, std::size_t bufferSize)
{
    if (LookUpInIndex(name, buffer, bufferSize)) return 1;

    if (text::FindLastChar(name.c_str(), '\\', win::AnsiCodePage()) != std::string::npos) {
        if (QueryString(QualifiedQueryPath(name), name, buffer, bufferSize)) return 1;
    } else {
        const auto* pairs = reinterpret_cast<const std::uint8_t*>(translations);
        for (UINT i = 0; i < translationBytes / 4; ++i) {
            WORD pair[2];
            std::memcpy(pair, pairs + 4 * i, sizeof pair);
            if (QueryString(TranslatedQueryPath(pair[0], pair[1], name), name, buffer, bufferSize)) {
                return 1;
            }
        }
    }

    // No translation names a table that holds the value: walk every table
    // once and answer from the index.
    if (!indexBuilt && BuildIndex()) return LookUp(name, buffer, bufferSize);
    return 0;
}

bool VersionInfoReader::LookUpInIndex(const std::string& name, char* buffer, std::size_t bufferSize) const
{
    const auto found = index.find(AnsiToWideText(name));
    if (found == index.end()) return false;
    std::string value;
    if (!WideTextToAnsi(found->second, &value)) return false;
    CopyNarrowValue(value, buffer, bufferSize, win::AnsiCodePage());
    return true;
}

bool VersionInfoReader::QueryString(const std::string& path, const std::string& name, char* buffer,
                                    std::size_t bufferSize)
{
    if (path.empty()) return false;  // the name is too long for a query path
    const void* found = nullptr;
    UINT length = 0;
    if (!Query(path, &found, &length)) return false;

    // The text ends at its NUL, at the length the query reported, and at the
    // end of the block, whichever comes first.
    std::size_t limit = length;
    if (const std::uint8_t* inside = InsideBlock(found, 0)) {
        const std::size_t available = blockSize - static_cast<std::size_t>(inside - block.get());
        if (available < limit) limit = available;
    }
    const char* chars = static_cast<const char*>(found);
    std::size_t textLength = 0;
    while (chars != nullptr && textLength < limit && chars[textLength] != '\0') ++textLength;
    const std::string value(chars ? chars : "", textLength);

    index[AnsiToWideText(name)] = AnsiToWideText(value);
    CopyNarrowValue(value, buffer, bufferSize, win::AnsiCodePage());
    return true;
}

int VersionInfoReader::BuildIndex()
{
    indexBuilt = 1;
    const void* root = nullptr;
    UINT rootLength = 0;
    if (!Query("\\", &root, &rootLength)) return 0;
    const std::uint8_t* fixed = InsideBlock(root, 0);
    if (fixed == nullptr) return 0;

    StringTableWalk walk;
    walk.block = block.get();
    walk.blockSize = blockSize;
    walk.index = &index;
    walk.defaultLanguage = GetSystemDefaultLangID();
    walk.ansiToWide = &win::AnsiToUtf16;
    return WalkStringTables(walk, static_cast<std::size_t>(fixed - block.get()));
}

}  // namespace version
