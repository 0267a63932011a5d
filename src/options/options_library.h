#pragma once
// The options library: reads, edits and writes the install-options file, a
// set of named, typed options in Blowfish-enciphered records sealed by an MD5
// digest. Plain functions over an opaque handle; every operation returns an
// OptionsResult (0 is success), never throws and never shows or logs
// anything. One thread uses a handle at a time.

#include <cstddef>
#include <cstdint>

struct OptionsLibrary;
struct OptionRecord;

typedef int OptionsResult;

enum : OptionsResult {
    OPTS_OK = 0,
    OPTS_E_INVALID_ARGUMENT = 2,
    OPTS_E_FILE_NOT_FOUND = 3,
    OPTS_E_OPEN_FAILED = 4,
    OPTS_E_BAD_FORMAT = 5,
    OPTS_E_DIGEST_MISMATCH = 6,
    OPTS_E_OUT_OF_MEMORY = 8,
    OPTS_E_WRITE_FAILED = 9,
    OPTS_E_KEY_TOO_LONG = 11,
};

enum OptionType : std::int32_t {
    OPTION_TYPE_STRING = 0,
    OPTION_TYPE_INTEGER = 1,
    OPTION_TYPE_BYTES = 2,
};

namespace options {

// The file's header size, the magic number its first four bytes hold
// (little-endian) and the largest file a verified load accepts; a name's
// longest length without its zero byte, and a record's longest value field.
constexpr std::uint32_t kFileHeaderSize = 28;
constexpr std::uint32_t kFileMagic = 0xFE53454B;
constexpr std::uint32_t kMaxVerifiedFileSize = 0x40000;
constexpr std::uint32_t kMaxNameLength = 31;
constexpr std::uint32_t kMaxValueLength = 2056;

}  // namespace options

// Creates an empty handle holding a copy of `key` (1 to 128 bytes).
OptionsResult OptionsCreate(OptionsLibrary** handleOut, const unsigned char* key, std::int32_t keyLength);
// As OptionsCreate with the product's built-in 8-byte key.
OptionsResult OptionsCreateDefault(OptionsLibrary** handleOut);
// Frees the handle, its records and its key; a null handle is allowed.
OptionsResult OptionsDestroy(OptionsLibrary* handle);

// Replaces the handle's records with those of the file at `path`, the list
// then holding them newest first, that is in reverse file order. A non-zero
// `verifyDigest` checks the file's digest before anything is taken.
OptionsResult OptionsLoad(const char* path, OptionsLibrary* handle, int verifyDigest);
// Writes the handle's records, head of the list first, to `path`. The new
// content is written beside the file and replaces it in one step, so a
// failed save leaves the previous file as it was.
OptionsResult OptionsSave(const char* path, OptionsLibrary* handle);

// Sets a text or integer option, replacing any record of that name (any
// type) and putting the new record at the head of the list. Names are 0 to 31
// bytes, compared byte for byte.
OptionsResult OptionsSetString(OptionsLibrary* handle, const char* name, const char* text);
OptionsResult OptionsSetInteger(OptionsLibrary* handle, const char* name, std::int32_t value);
// Removes the option of that name; an absent name is not an error.
OptionsResult OptionsRemove(OptionsLibrary* handle, const char* name);

// The first record in list order whose name is `name` and whose type is
// `typeFilter` (-1 for any type), or null.
OptionRecord* OptionsFind(const char* name, std::int32_t typeFilter, OptionsLibrary* handle);

// Read-only walk over the records in list order (newest first).
struct OptionRecordView {
    const char* name;            // the 32-byte name field, not necessarily zero-terminated
    std::size_t nameLength;      // the name's: up to the field's first zero byte, at most 32
    std::int32_t type;           // an OptionType, or whatever a file carried
    std::uint32_t valueLength;   // L, the value field's length in bytes
    const unsigned char* value;  // the L bytes of the value field, as held
};

std::uint32_t OptionsRecordCount(const OptionsLibrary* handle);
const OptionRecord* OptionsFirstRecord(const OptionsLibrary* handle);
const OptionRecord* OptionsNextRecord(const OptionRecord* record);
OptionRecordView OptionsViewRecord(const OptionRecord* record);

// Puts a copy of `record` at the head of the list, replacing nothing, so a
// tool can rebuild a file record for record (any type, duplicate names,
// bytes past a name's or a text's end). `name` gives the name field's first
// nameLength bytes (0 to 32, zero bytes included; the rest are zero); the
// value field length is one a file may hold (a multiple of 8 up to 2056).
OptionsResult OptionsPushRecord(OptionsLibrary* handle, const OptionRecordView* record);
