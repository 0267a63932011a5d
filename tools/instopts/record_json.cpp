#include <nlohmann/json.hpp>

#include <algorithm>

#include "common/little_endian.h"
#include "instopts/hex_text.h"
#include "instopts/record_text.h"

namespace instopts {
namespace {

using Json = nlohmann::ordered_json;
using common::ReadLittleEndian32;
using common::WriteLittleEndian32;

using options::kMaxValueLength;
// A recipe may use a file's name field to the full, without a zero byte.
constexpr std::size_t kMaxNameBytes = options::kMaxNameLength + 1;

const char* const kTypeNames[] = {"string", "integer", "bytes"};

bool Refuse(std::string& error, const std::string& why)
{
    error = why;
    return false;
}

bool ReadType(const Json& type, std::uint32_t& number)
{
    for (std::uint32_t i = 0; i < 3; ++i) {
        if (type == kTypeNames[i]) {
            number = i;
            return true;
        }
    }
    if (!type.is_number_unsigned() || type.get<std::uint64_t>() > 0xFFFFFFFF) return false;
    number = static_cast<std::uint32_t>(type.get<std::uint64_t>());
    return true;
}

std::string LittleEndian32(std::uint32_t value)
{
    unsigned char bytes[4];
    WriteLittleEndian32(bytes, value);
    return std::string(reinterpret_cast<const char*>(bytes), 4);
}

bool ReadInteger(const Json& value, std::uint32_t& bits)
{
    if (value.is_number_unsigned() && value.get<std::uint64_t>() <= 0xFFFFFFFF) {
        bits = static_cast<std::uint32_t>(value.get<std::uint64_t>());
        return true;
    }
    if (!value.is_number_integer() || value.is_number_unsigned() || value.get<std::int64_t>() < -2147483648LL) {
        return false;
    }
    bits = static_cast<std::uint32_t>(value.get<std::int64_t>());
    return true;
}

// What a value puts at the start of the value field: a text and its zero
// byte, an integer's four bytes, a byte block's count and bytes, or (any
// other type) the field's bytes as given.
bool ReadContent(const Json& value, std::uint32_t type, const CodePageText& codePage, std::string& content,
                 std::string& error)
{
    if (type == OPTION_TYPE_STRING) {
        if (!value.is_string()) return Refuse(error, "a string's \"value\" is a text");
        if (!codePage.Encode(value.get<std::string>(), content, error)) return false;
        if (content.find('\0') != std::string::npos) return Refuse(error, "a text cannot hold a zero character");
        content += '\0';
        return true;
    }
    if (type == OPTION_TYPE_INTEGER) {
        std::uint32_t bits = 0;
        if (!ReadInteger(value, bits)) return Refuse(error, "an integer's \"value\" is from -2147483648 to 4294967295");
        content = LittleEndian32(bits);
        return true;
    }
    if (!value.is_string() || !ParseHex(value.get<std::string>(), content)) {
        return Refuse(error, "\"value\" of this type is hexadecimal digits");
    }
    if (type == OPTION_TYPE_BYTES) content.insert(0, LittleEndian32(static_cast<std::uint32_t>(content.size())));
    return true;
}

// The value field's length a file writer gives the content: one to eight
// zero bytes after a text, integer or byte block (as the options library
// does), the next block boundary for anything else.
std::uint32_t ValueLengthFor(std::uint32_t type, std::size_t contentSize)
{
    const std::size_t length =
        type <= OPTION_TYPE_BYTES ? contentSize - contentSize % 8 + 8 : (contentSize + 7) / 8 * 8;
    return static_cast<std::uint32_t>(std::min<std::size_t>(length, kMaxValueLength));
}

bool IsValueLength(const Json& length)
{
    return length.is_number_unsigned() && length.get<std::uint64_t>() <= kMaxValueLength &&
           length.get<std::uint64_t>() % 8 == 0;
}

bool ReadValueField(const Json& object, std::uint32_t type, const CodePageText& codePage, std::string& field,
                    std::string& error)
{
    const auto length = object.find("length");
    if (length != object.end() && !IsValueLength(*length)) {
        return Refuse(error, "\"length\" is a multiple of 8 from 0 to 2056");
    }
    const auto given = object.find("valueField");
    if (given != object.end()) {
        if (!given->is_string() || !ParseHex(given->get<std::string>(), field) || field.size() % 8 != 0 ||
            field.size() > kMaxValueLength) {
            return Refuse(error, "\"valueField\" is hexadecimal digits for a multiple of 8 bytes up to 2056");
        }
        if (length != object.end() && *length != field.size()) {
            return Refuse(error, "\"valueField\" is not \"length\" bytes");
        }
        return true;
    }
    const auto value = object.find("value");
    if (value == object.end()) return Refuse(error, "no \"value\"");
    if (!ReadContent(*value, type, codePage, field, error)) return false;
    const std::size_t valueLength =
        length != object.end() ? length->get<std::size_t>() : ValueLengthFor(type, field.size());
    if (field.size() > valueLength) {
        return Refuse(error, "the value takes " + std::to_string(field.size()) +
                                 " bytes, more than the value field's " + std::to_string(valueLength));
    }
    field.resize(valueLength, '\0');
    return true;
}

bool ReadRecord(const Json& object, const CodePageText& codePage, RecipeRecord& record, std::string& error)
{
    if (!object.is_object()) return Refuse(error, "not a JSON object");
    for (const auto& item : object.items()) {
        const std::string& key = item.key();
        if (key != "name" && key != "type" && key != "value" && key != "length" && key != "nameField" &&
            key != "valueField") {
            return Refuse(error, "unknown key \"" + key + "\"");
        }
    }
    const auto name = object.find("name");
    const auto nameField = object.find("nameField");
    // The name field's bytes may go on after the name's zero byte.
    if (nameField != object.end()) {
        if (!nameField->is_string() || !ParseHex(nameField->get<std::string>(), record.name) ||
            record.name.size() > kMaxNameBytes) {
            return Refuse(error, "\"nameField\" is hexadecimal digits for up to 32 bytes");
        }
    } else if (name == object.end() || !name->is_string()) {
        return Refuse(error, "no \"name\" text");
    } else if (!codePage.Encode(name->get<std::string>(), record.name, error)) {
        return false;
    } else if (record.name.size() > kMaxNameBytes || record.name.find('\0') != std::string::npos) {
        return Refuse(error, "a name takes at most 32 bytes, none of them zero");
    }
    const auto type = object.find("type");
    if (type == object.end() || !ReadType(*type, record.type)) {
        return Refuse(error, "\"type\" is \"string\", \"integer\", \"bytes\" or a number up to 4294967295");
    }
    return ReadValueField(object, record.type, codePage, record.valueField, error);
}

}  // namespace

std::string RecordJson(const OptionRecordView& r, const CodePageText& codePage)
{
    Json object;
    const std::string name(r.name, r.nameLength);
    object["name"] = codePage.Decode(name);
    const auto type = static_cast<std::uint32_t>(r.type);
    object["type"] = type <= OPTION_TYPE_BYTES ? Json(kTypeNames[type]) : Json(type);
    if (r.type == OPTION_TYPE_STRING) {
        object["value"] = codePage.Decode(TextBytes(r));
    } else if (r.type == OPTION_TYPE_INTEGER && r.valueLength >= 4) {
        object["value"] = static_cast<std::int32_t>(ReadLittleEndian32(r.value));
    } else {
        object["value"] = NonTextValue(r);
    }
    object["length"] = r.valueLength;
    // Decoded text need not encode to the same bytes (a character 932 holds
    // twice encodes to its usual pair; an invalid pair's lead byte may decode
    // to a character held as a pair); the fields keep such bytes exact.
    // The name field up to its last non-zero byte holds more than the name
    // when bytes follow the name's zero byte.
    std::string nameField(r.name, kMaxNameBytes);
    nameField.erase(nameField.find_last_not_of('\0') + 1);
    std::string again;
    std::string ignored;
    if (!codePage.Encode(object["name"].get<std::string>(), again, ignored) || again != nameField) {
        object["nameField"] = Hex(reinterpret_cast<const unsigned char*>(nameField.data()), nameField.size());
    }
    RecipeRecord rebuilt;
    const std::string field(reinterpret_cast<const char*>(r.value), r.valueLength);
    if (!ReadRecord(object, codePage, rebuilt, ignored) || rebuilt.valueField != field) {
        object["valueField"] = Hex(r.value, r.valueLength);
    }
    return object.dump();
}

bool ParseRecipeLine(const std::string& line, const CodePageText& codePage, RecipeRecord& record, std::string& error)
{
    const Json object = Json::parse(line, nullptr, false);
    if (object.is_discarded()) return Refuse(error, "not JSON");
    return ReadRecord(object, codePage, record, error);
}

}  // namespace instopts
