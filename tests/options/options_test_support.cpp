#include "options_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

#include "options/blowfish.h"
#include "options/md5.h"

namespace options_test {

const unsigned char kBuiltInKey[8] = {0x5E, 0x21, 0xC7, 0x93, 0x0D, 0xA4, 0x6B, 0xF8};

void PutLittleEndian32(Bytes& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

std::uint32_t GetLittleEndian32(const unsigned char* b)
{
    return b[0] | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[3]) << 24);
}

PlainRecord TextRecord(const std::string& name, const std::string& text)
{
    PlainRecord record;
    record.nameField = name;
    record.type = OPTION_TYPE_STRING;
    const std::size_t size = text.size() + 1;
    record.valueLength = static_cast<std::uint32_t>(size - size % 8 + 8);
    record.value.assign(text.begin(), text.end());
    return record;
}

PlainRecord IntegerRecord(const std::string& name, std::int32_t value)
{
    PlainRecord record;
    record.nameField = name;
    record.type = OPTION_TYPE_INTEGER;
    record.valueLength = 8;
    PutLittleEndian32(record.value, static_cast<std::uint32_t>(value));
    return record;
}

Bytes PlainRecordBytes(const PlainRecord& record)
{
    Bytes bytes(record.nameField.begin(), record.nameField.end());
    bytes.resize(32, 0);
    PutLittleEndian32(bytes, record.type);
    PutLittleEndian32(bytes, record.valueLength);
    Bytes value = record.value;
    if (!record.rawValue) value.resize(record.valueLength, 0);
    bytes.insert(bytes.end(), value.begin(), value.end());
    return bytes;
}

namespace {

const options::BlowfishSchedule& BuiltInSchedule()
{
    static const options::BlowfishSchedule schedule = [] {
        options::BlowfishSchedule s;
        options::BlowfishSetKey(s, kBuiltInKey, sizeof kBuiltInKey);
        return s;
    }();
    return schedule;
}

}  // namespace

void Encipher(unsigned char* bytes, std::size_t length)
{
    options::BlowfishEncipherBlocks(BuiltInSchedule(), bytes, length / 8);
}

void Decipher(unsigned char* bytes, std::size_t length)
{
    options::BlowfishDecipherBlocks(BuiltInSchedule(), bytes, length / 8);
}

OptionsFileBuilder& OptionsFileBuilder::Add(const PlainRecord& record)
{
    records_.push_back(record);
    return *this;
}

OptionsFileBuilder& OptionsFileBuilder::Count(std::uint32_t count)
{
    countGiven_ = true;
    count_ = count;
    return *this;
}

OptionsFileBuilder& OptionsFileBuilder::Trailing(const Bytes& bytes)
{
    trailing_ = bytes;
    return *this;
}

Bytes OptionsFileBuilder::Build() const
{
    Bytes file = {0x4B, 0x45, 0x53, 0xFE};
    PutLittleEndian32(file, 1);
    PutLittleEndian32(file, countGiven_ ? count_ : static_cast<std::uint32_t>(records_.size()));
    file.resize(28, 0);
    for (const PlainRecord& record : records_) {
        Bytes bytes = PlainRecordBytes(record);
        Encipher(bytes.data(), bytes.size());  // whole blocks only; a ragged tail stays plain
        file.insert(file.end(), bytes.begin(), bytes.end());
    }
    file.insert(file.end(), trailing_.begin(), trailing_.end());

    options::Md5 md5;
    md5.Update(file.data(), 12);
    md5.Update(file.data() + 28, file.size() - 28);
    md5.Finish(file.data() + 12);
    Encipher(file.data() + 12, 16);
    return file;
}

ScratchFolder::ScratchFolder()
{
    // Test cases run as parallel processes: a random part keeps them apart.
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::random_device random;
    const std::string name = std::string("options-") + (test ? test->name() : "test") + "-" +
                             std::to_string(random()) + std::to_string(random());
    folder_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string ScratchFolder::PathOf(const std::string& fileName) const { return (folder_ / fileName).string(); }

std::vector<std::string> ScratchFolder::FileNames() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) names.push_back(entry.path().filename().string());
    return names;
}

void WriteFileBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace {

class FaultyWritableFile final : public options::WritableFile {
public:
    FaultyWritableFile(std::unique_ptr<options::WritableFile> inner, Fault fault, std::uint32_t writableBytes)
        : inner_(std::move(inner)), fault_(fault), left_(writableBytes)
    {
    }
    std::uint32_t Write(const void* buffer, std::uint32_t count) override
    {
        if (fault_ != Fault::kWrite) return inner_->Write(buffer, count);
        const std::uint32_t allowed = std::min(count, left_);
        left_ -= allowed;
        return allowed > 0 ? inner_->Write(buffer, allowed) : 0;
    }
    bool MoveTo(std::uint32_t offset) override { return inner_->MoveTo(offset); }
    bool SetEnd() override { return fault_ != Fault::kSetEnd && inner_->SetEnd(); }
    bool FlushAndClose() override { return inner_->FlushAndClose() && fault_ != Fault::kFlush; }

private:
    std::unique_ptr<options::WritableFile> inner_;
    Fault fault_;
    std::uint32_t left_;
};

}  // namespace

std::unique_ptr<options::WritableFile> FaultyFileAccess::CreateSibling(const char* target)
{
    if (fault_ == Fault::kCreate) return nullptr;
    auto file = inner_.CreateSibling(target);
    if (!file) return nullptr;
    return std::make_unique<FaultyWritableFile>(std::move(file), fault_, writableBytes_);
}

options::ReplaceOutcome FaultyFileAccess::ReplaceWithSibling(const char* target)
{
    if (fault_ == Fault::kReplace) return options::ReplaceOutcome::kTargetKept;
    return inner_.ReplaceWithSibling(target);
}

Handle::Handle() { EXPECT_EQ(OptionsCreateDefault(&handle_), OPTS_OK); }
Handle::~Handle() { OptionsDestroy(handle_); }

std::vector<RecordSummary> Records(const OptionsLibrary* handle)
{
    std::vector<RecordSummary> records;
    for (const OptionRecord* r = OptionsFirstRecord(handle); r; r = OptionsNextRecord(r)) {
        const OptionRecordView view = OptionsViewRecord(r);
        records.push_back({std::string(view.name, view.nameLength), view.type, view.valueLength,
                           Bytes(view.value, view.value + view.valueLength)});
    }
    return records;
}

std::vector<std::string> Names(const OptionsLibrary* handle)
{
    std::vector<std::string> names;
    for (const RecordSummary& record : Records(handle)) names.push_back(record.name);
    return names;
}

}  // namespace options_test
