#pragma once
// Builders for options files, a scratch folder and a handle, shared with the
// launcher's end-to-end tests. Files are built from plaintext records with
// the library's cipher and digest (compared with OpenSSL apart).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>

#include "options/blowfish.h"
#include "common/little_endian.h"
#include "options/md5.h"
#include "options/options_library.h"

namespace options_test {

using Bytes = std::vector<unsigned char>;

inline std::uint32_t GetLittleEndian32(const unsigned char* bytes)
{
    return common::ReadLittleEndian32(bytes);
}

// A plaintext record: the name field (zero-padded to 32 bytes), type, L, and
// the value zero-padded or cut to L, or written as given when `rawValue`.
struct PlainRecord {
    std::string nameField;
    std::uint32_t type = OPTION_TYPE_STRING;
    std::uint32_t valueLength = 8;
    Bytes value;
    bool rawValue = false;
};

inline PlainRecord TextRecord(const std::string& name, const std::string& text)
{
    return {name, OPTION_TYPE_STRING, std::uint32_t((text.size() + 1) / 8 * 8 + 8), Bytes(text.begin(), text.end())};
}

inline PlainRecord IntegerRecord(const std::string& name, std::int32_t value)
{
    PlainRecord record{name, OPTION_TYPE_INTEGER, 8, Bytes(4)};
    common::WriteLittleEndian32(record.value.data(), static_cast<std::uint32_t>(value));
    return record;
}

// A file: header (the records' count unless Count gives one), records, trailing bytes.
class OptionsFileBuilder {
public:
    OptionsFileBuilder& Add(const PlainRecord& record)
    {
        records_.push_back(record);
        return *this;
    }
    OptionsFileBuilder& Count(std::uint32_t count)
    {
        count_ = count;
        return *this;
    }
    OptionsFileBuilder& Trailing(const Bytes& bytes)
    {
        trailing_ = bytes;
        return *this;
    }
    Bytes Build() const
    {
        static const unsigned char kBuiltInKey[] = {0x5E, 0x21, 0xC7, 0x93, 0x0D, 0xA4, 0x6B, 0xF8};
        options::BlowfishSchedule key;
        options::BlowfishSetKey(key, kBuiltInKey, sizeof kBuiltInKey);
        Bytes file = {0x4B, 0x45, 0x53, 0xFE, 1, 0, 0, 0, 0, 0, 0, 0};
        common::WriteLittleEndian32(&file[8], count_.value_or(static_cast<std::uint32_t>(records_.size())));
        file.resize(28, 0);
        for (const PlainRecord& r : records_) {
            Bytes bytes(r.nameField.begin(), r.nameField.end());
            bytes.resize(40, 0);
            common::WriteLittleEndian32(&bytes[32], r.type);
            common::WriteLittleEndian32(&bytes[36], r.valueLength);
            bytes.insert(bytes.end(), r.value.begin(), r.value.end());
            if (!r.rawValue) bytes.resize(40 + r.valueLength, 0);
            options::BlowfishEncipherBlocks(key, bytes.data(), bytes.size() / 8);  // a ragged tail stays plain
            file.insert(file.end(), bytes.begin(), bytes.end());
        }
        file.insert(file.end(), trailing_.begin(), trailing_.end());
        options::Md5 md5;
        md5.Update(file.data(), 12);
        md5.Update(file.data() + 28, file.size() - 28);
        md5.Finish(file.data() + 12);
        options::BlowfishEncipherBlocks(key, file.data() + 12, 2);
        return file;
    }

private:
    std::vector<PlainRecord> records_;
    std::optional<std::uint32_t> count_;
    Bytes trailing_;
};

// A new folder, removed afterwards; a random name keeps apart tests run at the same time.
struct ScratchFolder {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("options-" + std::to_string(std::random_device()()) + std::to_string(std::random_device()()));
    ScratchFolder() { std::filesystem::create_directories(folder); }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string PathOf(const std::string& name) const { return (folder / name).string(); }
};

inline void WriteFileBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

inline Bytes ReadFileBytes(const std::string& path)
{
    return Bytes(std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {});
}

// A handle with the built-in key, destroyed with the object.
struct Handle : std::unique_ptr<OptionsLibrary, OptionsResult (*)(OptionsLibrary*)> {
    Handle() : unique_ptr(nullptr, OptionsDestroy)
    {
        OptionsLibrary* handle = nullptr;
        EXPECT_EQ(OptionsCreateDefault(&handle), OPTS_OK);
        reset(handle);
    }
};

// The handle's records in list order (newest first), and their names.
struct RecordSummary {
    std::string name;
    std::int32_t type;
    Bytes value;
};

inline std::vector<RecordSummary> Records(const OptionsLibrary* handle)
{
    std::vector<RecordSummary> records;
    for (const OptionRecord* r = OptionsFirstRecord(handle); r; r = OptionsNextRecord(r)) {
        const OptionRecordView v = OptionsViewRecord(r);
        records.push_back({{v.name, v.nameLength}, v.type, {v.value, v.value + v.valueLength}});
    }
    return records;
}

inline std::vector<std::string> Names(const OptionsLibrary* handle)
{
    std::vector<std::string> names;
    for (const RecordSummary& record : Records(handle)) names.push_back(record.name);
    return names;
}

}  // namespace options_test
