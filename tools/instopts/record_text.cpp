#include "instopts/record_text.h"

#include <cstring>

#include "common/little_endian.h"
#include "instopts/hex_text.h"

namespace instopts {

using common::ReadLittleEndian32;

std::string TypeName(const OptionRecordView& r)
{
    switch (r.type) {
    case OPTION_TYPE_STRING: return "string";
    case OPTION_TYPE_INTEGER: return "integer";
    case OPTION_TYPE_BYTES: return "bytes";
    default: return "type " + std::to_string(static_cast<std::uint32_t>(r.type));
    }
}

std::string TextBytes(const OptionRecordView& r)
{
    const void* zero = std::memchr(r.value, 0, r.valueLength);
    const std::size_t length = zero ? static_cast<const unsigned char*>(zero) - r.value : r.valueLength;
    return std::string(reinterpret_cast<const char*>(r.value), length);
}

std::string NonTextValue(const OptionRecordView& r)
{
    if (r.type == OPTION_TYPE_INTEGER && r.valueLength >= 4) {
        return std::to_string(static_cast<std::int32_t>(ReadLittleEndian32(r.value)));
    }
    // A byte block starts with its byte count; one that does not fit is shown whole.
    if (r.type == OPTION_TYPE_BYTES && r.valueLength >= 4 && ReadLittleEndian32(r.value) <= r.valueLength - 4) {
        return Hex(r.value + 4, ReadLittleEndian32(r.value));
    }
    return Hex(r.value, r.valueLength);
}

std::string EscapeControls(const std::string& text)
{
    std::string escaped;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // C1 controls (U+0080 to U+009F) are C2 80 to C2 9F in UTF-8.
        const bool c1 = c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\t') {
            escaped += "\\t";
        } else if (c < 0x20 || c == 0x7F || c1) {
            const unsigned char code = c1 ? static_cast<unsigned char>(text[++i]) : c;
            escaped += "\\x" + Hex(&code, 1);
        } else {
            escaped += text[i];
        }
    }
    return escaped;
}

std::string RecordLine(const OptionRecordView& r, const CodePageText& codePage)
{
    const std::string value = r.type == OPTION_TYPE_STRING ? codePage.Decode(TextBytes(r)) : NonTextValue(r);
    return EscapeControls(codePage.Decode(std::string(r.name, r.nameLength))) + " = " + EscapeControls(value) + "  [" +
           TypeName(r) + ", L=" + std::to_string(r.valueLength) + "]";
}

}  // namespace instopts
