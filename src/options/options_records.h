#pragma once
// The handle's fields and the in-memory record layout, shared by the file
// operations and the editing operations.

#include <cstdint>

#include "options/options_library.h"

// A record is one allocation: the link, then exactly the plaintext bytes of
// the file record, the 40-byte record header followed by the L-byte value
// field.
struct OptionRecord {
    OptionRecord* next;
};

struct OptionsLibrary {
    std::uint32_t recordCount;
    OptionRecord* firstRecord;
    unsigned char* key;
    std::int32_t keyLength;
};

namespace options {

constexpr std::uint32_t kRecordHeaderSize = 40;
constexpr std::uint32_t kNameFieldSize = kMaxNameLength + 1;
constexpr std::uint32_t kTypeOffset = 32;
constexpr std::uint32_t kValueLengthOffset = 36;
// The largest text or byte block with its zero bytes: a whole block less
// than the longest value field.
constexpr std::uint32_t kMaxContentSize = kMaxValueLength - 8;
constexpr std::uint32_t kMaxRecordSize = kRecordHeaderSize + kMaxValueLength;

// Every handle the product creates holds this key.
constexpr std::int32_t kBuiltInKeyLength = 8;
extern const unsigned char kBuiltInKey[kBuiltInKeyLength];

inline unsigned char* RecordBytes(OptionRecord* record)
{
    return reinterpret_cast<unsigned char*>(record + 1);
}
inline const unsigned char* RecordBytes(const OptionRecord* record)
{
    return reinterpret_cast<const unsigned char*>(record + 1);
}

// L as held in the record header.
std::uint32_t RecordValueLength(const OptionRecord* record);

// A value field length this library can hold: a whole number of cipher
// blocks, 8 to 2056 bytes. (A zero length never comes from the writer either,
// but carries no risk, so files may hold it.)
inline bool IsAcceptableValueLength(std::uint32_t valueLength)
{
    return valueLength % 8 == 0 && valueLength <= kMaxValueLength;
}

// A zero-filled record of 40 + L bytes, not yet linked; null when memory
// runs out.
OptionRecord* AllocateRecord(std::uint32_t valueLength);
void PushRecord(OptionsLibrary* handle, OptionRecord* record);
// Frees every record; leaves the count alone.
void OptionsClear(OptionsLibrary* handle);

}  // namespace options
