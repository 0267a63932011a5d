#include "record_text.h"

#include <nlohmann/json.hpp>

#include <cstring>

#include "common/little_endian.h"

namespace instopts {
namespace {

using common::ReadLittleEndian32;

std::string Hex(const unsigned char* bytes, std::size_t length)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < length; ++i) {
        hex += digits[bytes[i] >> 4];
        hex += digits[bytes[i] & 15];
    }
    return hex;
}

bool HasInteger(const OptionRecordView& r) { return r.type == OPTION_TYPE_INTEGER && r.valueLength >= 4; }

std::string Text(const OptionRecordView& r)
{
    const void* zero = std::memchr(r.value, 0, r.valueLength);
    const std::size_t length = zero ? static_cast<const unsigned char*>(zero) - r.value : r.valueLength;
    return std::string(reinterpret_cast<const char*>(r.value), length);
}

}  // namespace

std::string TypeName(const OptionRecordView& r)
{
    switch (r.type) {
    case OPTION_TYPE_STRING: return "string";
    case OPTION_TYPE_INTEGER: return "integer";
    case OPTION_TYPE_BYTES: return "bytes";
    default: return "type " + std::to_string(r.type);
    }
}

std::string ValueText(const OptionRecordView& r)
{
    if (r.type == OPTION_TYPE_STRING) return Text(r);
    if (HasInteger(r)) return std::to_string(static_cast<std::int32_t>(ReadLittleEndian32(r.value)));
    // A byte block starts with its byte count; one that does not fit is shown whole.
    if (r.type == OPTION_TYPE_BYTES && r.valueLength >= 4 && ReadLittleEndian32(r.value) <= r.valueLength - 4) {
        return Hex(r.value + 4, ReadLittleEndian32(r.value));
    }
    return Hex(r.value, r.valueLength);
}

std::string RecordLine(const OptionRecordView& r)
{
    return std::string(r.name, r.nameLength) + " = " + ValueText(r) + "  [" + TypeName(r) +
           ", L=" + std::to_string(r.valueLength) + "]";
}

std::string RecordJson(const OptionRecordView& r)
{
    nlohmann::json object;
    object["name"] = std::string(r.name, r.nameLength);
    object["type"] = r.type == OPTION_TYPE_STRING || r.type == OPTION_TYPE_INTEGER || r.type == OPTION_TYPE_BYTES
                         ? nlohmann::json(TypeName(r))
                         : nlohmann::json(r.type);
    if (HasInteger(r)) {
        object["value"] = static_cast<std::int32_t>(ReadLittleEndian32(r.value));
    } else {
        object["value"] = ValueText(r);
    }
    object["length"] = r.valueLength;
    // Texts are the system's narrow code page, not UTF-8: bytes JSON cannot
    // carry are shown as U+FFFD.
    return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace instopts
