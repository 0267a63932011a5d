#pragma once
// Small builders for options files and a scratch folder, shared by the
// options tests. Files are built here from plaintext records with the
// library's own cipher and digest units (their vectors are tested apart), so
// each case states its bytes.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "options/file_access.h"
#include "options/options_library.h"

namespace options_test {

using Bytes = std::vector<unsigned char>;

extern const unsigned char kBuiltInKey[8];

void PutLittleEndian32(Bytes& out, std::uint32_t value);
std::uint32_t GetLittleEndian32(const unsigned char* bytes);

// One plaintext record: 32-byte name field, type, L, then the value field.
// `valueLength` is written as L; the value field gets exactly `valueBytes`
// (padded or cut to L unless `rawValue`).
struct PlainRecord {
    std::string nameField;  // written as is, zero-padded to 32 bytes
    std::uint32_t type = OPTION_TYPE_STRING;
    std::uint32_t valueLength = 8;
    Bytes value;
    bool rawValue = false;  // write `value` as given, whatever L says
};

PlainRecord TextRecord(const std::string& name, const std::string& text);
PlainRecord IntegerRecord(const std::string& name, std::int32_t value);

// The plaintext bytes of a record as the library holds it.
Bytes PlainRecordBytes(const PlainRecord& record);

class OptionsFileBuilder {
public:
    OptionsFileBuilder& Add(const PlainRecord& record);
    OptionsFileBuilder& Count(std::uint32_t count);
    OptionsFileBuilder& Trailing(const Bytes& bytes);
    Bytes Build() const;

private:
    std::vector<PlainRecord> records_;
    bool countGiven_ = false;
    std::uint32_t count_ = 0;
    Bytes trailing_;
};

// Enciphers / deciphers whole blocks with the built-in key.
void Encipher(unsigned char* bytes, std::size_t length);
void Decipher(unsigned char* bytes, std::size_t length);

// A fresh folder under the system's temporary folder, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    std::string PathOf(const std::string& fileName) const;
    std::vector<std::string> FileNames() const;

private:
    std::filesystem::path folder_;
};

void WriteFileBytes(const std::string& path, const Bytes& bytes);
Bytes ReadFileBytes(const std::string& path);

// The system's file back end with one step of a save made to fail. With
// kWrite the sibling takes `writableBytes` and then no more, as a full disk.
enum class Fault { kNone, kCreate, kWrite, kSetEnd, kFlush, kReplace };

class FaultyFileAccess final : public options::FileAccess {
public:
    explicit FaultyFileAccess(Fault fault, std::uint32_t writableBytes = 0) : fault_(fault), writableBytes_(writableBytes) {}
    bool Exists(const char* path) override { return inner_.Exists(path); }
    std::unique_ptr<options::ReadableFile> OpenForReading(const char* path) override { return inner_.OpenForReading(path); }
    std::unique_ptr<options::WritableFile> CreateSibling(const char* target) override;
    options::ReplaceOutcome ReplaceWithSibling(const char* target) override;
    void DiscardSibling(const char* target) override { inner_.DiscardSibling(target); }

private:
    options::FileAccess& inner_ = options::SystemFileAccess();
    Fault fault_;
    std::uint32_t writableBytes_;
};

// A handle with the built-in key, destroyed with the object.
class Handle {
public:
    Handle();
    ~Handle();
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    OptionsLibrary* get() const { return handle_; }

private:
    OptionsLibrary* handle_ = nullptr;
};

struct RecordSummary {
    std::string name;
    std::int32_t type;
    std::uint32_t valueLength;
    Bytes value;
};

// The handle's records in list order.
std::vector<RecordSummary> Records(const OptionsLibrary* handle);
std::vector<std::string> Names(const OptionsLibrary* handle);

}  // namespace options_test
