#include "options/options_library.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "common/little_endian.h"
#include "options/options_records.h"

namespace options {

using common::ReadLittleEndian32;
using common::WriteLittleEndian32;

const unsigned char kBuiltInKey[kBuiltInKeyLength] = {0x5E, 0x21, 0xC7, 0x93, 0x0D, 0xA4, 0x6B, 0xF8};

namespace {

// A name given by a caller: zero-terminated, at most 31 bytes.
bool IsAcceptableName(const char* name)
{
    return std::memchr(name, 0, kNameFieldSize) != nullptr;
}

// The field holds the name whole when it has a zero byte; a field from a file
// without one is taken as a 32-byte name, so nothing past it is compared.
bool NameFieldEquals(const OptionRecord* record, const char* name)
{
    const char* field = reinterpret_cast<const char*>(RecordBytes(record));
    return std::strncmp(field, name, kNameFieldSize) == 0 &&
           (std::memchr(field, 0, kNameFieldSize) != nullptr || name[kNameFieldSize] == 0);
}

std::int32_t RecordType(const OptionRecord* record)
{
    return static_cast<std::int32_t>(ReadLittleEndian32(RecordBytes(record) + kTypeOffset));
}

// Builds one record and puts it at the head of the list; the count is the
// caller's business.
OptionsResult OptionsAddRecord(const char* name, std::int32_t type, const void* content, std::uint32_t length,
                               OptionsLibrary* handle)
{
    std::uint64_t contentSize = 0;
    switch (type) {
    case OPTION_TYPE_STRING: contentSize = std::strlen(static_cast<const char*>(content)) + 1; break;
    case OPTION_TYPE_INTEGER: contentSize = 4; break;
    case OPTION_TYPE_BYTES: contentSize = std::uint64_t(length) + 4; break;
    default: return OPTS_E_INVALID_ARGUMENT;
    }
    if (type != OPTION_TYPE_INTEGER && contentSize > kMaxContentSize) return OPTS_E_INVALID_ARGUMENT;
    // Always 1 to 8 zero bytes after the content, ending on a block boundary.
    const auto valueLength = static_cast<std::uint32_t>(contentSize - contentSize % 8 + 8);

    OptionRecord* record = AllocateRecord(valueLength);
    if (!record) return OPTS_E_OUT_OF_MEMORY;
    PushRecord(handle, record);

    unsigned char* bytes = RecordBytes(record);
    std::strncpy(reinterpret_cast<char*>(bytes), name, kNameFieldSize);
    WriteLittleEndian32(bytes + kTypeOffset, static_cast<std::uint32_t>(type));
    WriteLittleEndian32(bytes + kValueLengthOffset, valueLength);
    unsigned char* value = bytes + kRecordHeaderSize;
    if (type == OPTION_TYPE_BYTES) {
        WriteLittleEndian32(value, length);
        if (length > 0) std::memcpy(value + 4, content, length);
    } else {
        std::memcpy(value, content, static_cast<std::size_t>(contentSize));
    }
    return OPTS_OK;
}

// Takes one record out of the list, wherever it stands, and frees it.
void OptionsUnlinkRecord(OptionRecord* record, OptionsLibrary* handle)
{
    for (OptionRecord** link = &handle->firstRecord; *link; link = &(*link)->next) {
        if (*link == record) {
            *link = record->next;
            std::free(record);
            return;
        }
    }
}

// Steps 2 to 4 shared by both set operations: drop the old record of the
// name, add the new one, and keep the count equal to the records held.
OptionsResult ReplaceOption(OptionsLibrary* handle, const char* name, std::int32_t type, const void* content)
{
    OptionRecord* existing = OptionsFind(name, -1, handle);
    if (existing) OptionsUnlinkRecord(existing, handle);
    const OptionsResult result = OptionsAddRecord(name, type, content, 0, handle);
    if (result == OPTS_OK && !existing) ++handle->recordCount;
    if (result != OPTS_OK && existing) --handle->recordCount;
    return result;
}

}  // namespace

std::uint32_t RecordValueLength(const OptionRecord* record)
{
    return ReadLittleEndian32(RecordBytes(record) + kValueLengthOffset);
}

OptionRecord* AllocateRecord(std::uint32_t valueLength)
{
    return static_cast<OptionRecord*>(std::calloc(1, sizeof(OptionRecord) + kRecordHeaderSize + valueLength));
}

void PushRecord(OptionsLibrary* handle, OptionRecord* record)
{
    record->next = handle->firstRecord;
    handle->firstRecord = record;
}

void OptionsClear(OptionsLibrary* handle)
{
    while (OptionRecord* record = handle->firstRecord) {
        handle->firstRecord = record->next;
        std::free(record);
    }
}

}  // namespace options

using namespace options;

OptionsResult OptionsCreate(OptionsLibrary** handleOut, const unsigned char* key, std::int32_t keyLength)
{
    if (!handleOut) return OPTS_E_INVALID_ARGUMENT;
    if (keyLength > 128) return OPTS_E_KEY_TOO_LONG;
    *handleOut = nullptr;
    // Blowfish takes the key's bytes cyclically, so an empty key has no
    // schedule at all.
    if (!key || keyLength < 1) return OPTS_E_INVALID_ARGUMENT;

    auto* handle = static_cast<OptionsLibrary*>(std::malloc(sizeof(OptionsLibrary)));
    if (!handle) return OPTS_E_OUT_OF_MEMORY;
    auto* keyCopy = static_cast<unsigned char*>(std::malloc(static_cast<std::size_t>(keyLength)));
    if (!keyCopy) {
        std::free(handle);
        return OPTS_E_OUT_OF_MEMORY;
    }
    std::memcpy(keyCopy, key, static_cast<std::size_t>(keyLength));
    handle->recordCount = 0;
    handle->firstRecord = nullptr;
    handle->key = keyCopy;
    handle->keyLength = keyLength;
    *handleOut = handle;
    return OPTS_OK;
}

OptionsResult OptionsCreateDefault(OptionsLibrary** handleOut)
{
    return OptionsCreate(handleOut, kBuiltInKey, sizeof kBuiltInKey);
}

OptionsResult OptionsDestroy(OptionsLibrary* handle)
{
    if (handle) {
        OptionsClear(handle);
        std::free(handle->key);
        std::free(handle);
    }
    return OPTS_OK;
}

OptionRecord* OptionsFind(const char* name, std::int32_t typeFilter, OptionsLibrary* handle)
{
    if (!name || !handle) return nullptr;
    for (OptionRecord* record = handle->firstRecord; record; record = record->next) {
        if ((typeFilter == -1 || typeFilter == RecordType(record)) && NameFieldEquals(record, name)) return record;
    }
    return nullptr;
}

OptionsResult OptionsSetString(OptionsLibrary* handle, const char* name, const char* text)
{
    if (!handle || !name || !text || !IsAcceptableName(name)) return OPTS_E_INVALID_ARGUMENT;
    return ReplaceOption(handle, name, OPTION_TYPE_STRING, text);
}

OptionsResult OptionsSetInteger(OptionsLibrary* handle, const char* name, std::int32_t value)
{
    if (!handle || !name || !IsAcceptableName(name)) return OPTS_E_INVALID_ARGUMENT;
    unsigned char valueBytes[4];
    WriteLittleEndian32(valueBytes, static_cast<std::uint32_t>(value));
    return ReplaceOption(handle, name, OPTION_TYPE_INTEGER, valueBytes);
}

OptionsResult OptionsRemove(OptionsLibrary* handle, const char* name)
{
    if (!handle || !name) return OPTS_E_INVALID_ARGUMENT;
    if (OptionRecord* existing = OptionsFind(name, -1, handle)) {
        OptionsUnlinkRecord(existing, handle);
        --handle->recordCount;
    }
    return OPTS_OK;
}

std::uint32_t OptionsRecordCount(const OptionsLibrary* handle)
{
    return handle ? handle->recordCount : 0;
}

const OptionRecord* OptionsFirstRecord(const OptionsLibrary* handle)
{
    return handle ? handle->firstRecord : nullptr;
}

const OptionRecord* OptionsNextRecord(const OptionRecord* record)
{
    return record ? record->next : nullptr;
}

OptionRecordView OptionsViewRecord(const OptionRecord* record)
{
    const unsigned char* bytes = RecordBytes(record);
    const auto* name = reinterpret_cast<const char*>(bytes);
    const void* zero = std::memchr(name, 0, kNameFieldSize);
    OptionRecordView view;
    view.name = name;
    view.nameLength = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - name) : kNameFieldSize;
    view.type = RecordType(record);
    view.valueLength = RecordValueLength(record);
    view.value = bytes + kRecordHeaderSize;
    return view;
}

OptionsResult OptionsPushRecord(OptionsLibrary* handle, const OptionRecordView* record)
{
    if (!handle || !record || record->nameLength > kNameFieldSize || (record->nameLength > 0 && !record->name) ||
        !IsAcceptableValueLength(record->valueLength) || (record->valueLength > 0 && !record->value)) {
        return OPTS_E_INVALID_ARGUMENT;
    }
    OptionRecord* added = AllocateRecord(record->valueLength);
    if (!added) return OPTS_E_OUT_OF_MEMORY;
    unsigned char* bytes = RecordBytes(added);
    if (record->nameLength > 0) std::memcpy(bytes, record->name, record->nameLength);
    WriteLittleEndian32(bytes + kTypeOffset, static_cast<std::uint32_t>(record->type));
    WriteLittleEndian32(bytes + kValueLengthOffset, record->valueLength);
    if (record->valueLength > 0) std::memcpy(bytes + kRecordHeaderSize, record->value, record->valueLength);
    PushRecord(handle, added);
    ++handle->recordCount;
    return OPTS_OK;
}
