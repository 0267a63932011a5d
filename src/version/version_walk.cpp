#include "version/version_walk.h"

#include "version/version_text.h"
#include "common/little_endian.h"

namespace version {
namespace {

enum class CharWidth { kWide, kNarrow };  // 16-bit or 8-bit characters

// Next 32-bit boundary, counted from the start of the buffer.
constexpr std::size_t AlignToDword(std::size_t offset)
{
    return (offset + 3) & ~std::size_t{3};
}

constexpr std::size_t kHeaderSize = 6;  // wLength, wValueLength, wType
constexpr std::size_t kFixedInfoSize = 52;

std::size_t CharBytes(CharWidth width)
{
    return width == CharWidth::kWide ? 2 : 1;
}

// The block at `at` declares `length` bytes (its wLength); false when not
// even that word, or not all of the declared bytes, lie inside the buffer.
bool DeclaredLength(const StringTableWalk& walk, std::size_t at, std::size_t* length)
{
    if (at > walk.blockSize || walk.blockSize - at < 2) return false;
    *length = common::ReadLittleEndian16(walk.block + at);
    return walk.blockSize - at >= *length;
}

// Reads a NUL-terminated string of the block at `at` whose declared length is
// `length`, starting `taken` bytes in. Characters are read while they lie
// inside the declared length; at most capacity - 1 of them are kept. Returns
// the new `taken`, past the terminator.
std::size_t ReadString(const StringTableWalk& walk, std::size_t at, std::size_t length, std::size_t taken,
                       CharWidth width, std::size_t capacity, std::basic_string<std::uint16_t>* out)
{
    const std::size_t step = CharBytes(width);
    while (taken + step <= length) {
        const std::uint8_t* p = walk.block + at + taken;
        // Of a 16-bit character only its low byte is kept; a character whose
        // low byte is zero ends the string, as a NUL does.
        const std::uint16_t c = p[0];
        if (c == 0) break;
        if (out->size() < capacity - 1) out->push_back(c);
        taken += step;
    }
    return taken + step;
}

WideText ToWide(const StringTableWalk& walk, const std::basic_string<std::uint16_t>& chars, CharWidth width)
{
    if (width == CharWidth::kWide) return WideText(chars.begin(), chars.end());
    const std::string narrow(chars.begin(), chars.end());
    return walk.ansiToWide ? walk.ansiToWide(narrow.data(), narrow.size()) : WideText();
}

// The string table named after the system's default language with code
// page 1200, "%04x04B0": language 0x0409 gives 040904B0. Table keys are
// compared uppercased.
WideText DefaultLanguageTableKey(std::uint16_t language)
{
    const std::string digits = text::HexDigits(language, 4);
    return UppercaseAscii(WideText(digits.begin(), digits.end()) + u"04B0");
}

std::uint16_t Clamp16(std::size_t value)
{
    return static_cast<std::uint16_t>(value > 0xFFFF ? 0xFFFF : value);
}

// Each level gets the offset of its block inside the buffer, returns 1 on
// success and 0 on failure, and reports through `taken` the bytes it took.
int ParseStringEntry(const StringTableWalk& walk, std::size_t at, const WideText& tableKey, CharWidth width,
                     std::uint16_t* taken)
{
    *taken = 0;
    std::size_t length = 0;
    if (!DeclaredLength(walk, at, &length)) return 0;
    // The header is only partly inside a block shorter than 4 bytes.
    const std::size_t valueLength = length >= 4 ? common::ReadLittleEndian16(walk.block + at + 2) : length;
    if (valueLength >= length) {
        *taken = Clamp16(length);
        return 0;
    }

    std::basic_string<std::uint16_t> keyChars;
    std::size_t read = ReadString(walk, at, length, kHeaderSize, width, kKeyCapacity, &keyChars);
    std::basic_string<std::uint16_t> valueChars;
    if (valueLength > 0) {
        read = AlignToDword(at + read) - at;
        ReadString(walk, at, length, read, width, kValueCapacity, &valueChars);
        // wValueLength counts the terminator.
        if (valueLength - 1 < valueChars.size()) valueChars.resize(valueLength - 1);
    }

    const WideText key = UppercaseAscii(ToWide(walk, keyChars, width));
    const WideText value = ToWide(walk, valueChars, width);
    *taken = Clamp16(length);
    if (key.empty()) return 0;

    // The table of the system's default language wins the plain key; any
    // other table adds it only when no table had it before.
    StringIndex& index = *walk.index;
    if (tableKey == DefaultLanguageTableKey(walk.defaultLanguage)) {
        index[key] = value;
    } else {
        index.emplace(key, value);
    }
    index[tableKey + u"\\" + key] = value;
    return 1;
}

int ParseStringTable(const StringTableWalk& walk, std::size_t at, CharWidth width, std::uint16_t* taken)
{
    *taken = 0;
    std::size_t length = 0;
    if (!DeclaredLength(walk, at, &length)) return 0;

    std::basic_string<std::uint16_t> keyChars;
    std::size_t position = ReadString(walk, at, length, kHeaderSize, width, kKeyCapacity, &keyChars);
    const WideText tableKey = UppercaseAscii(ToWide(walk, keyChars, width));

    int result = 1;
    while (position < length) {
        position = AlignToDword(at + position) - at;
        std::uint16_t entryTaken = 0;
        if (!ParseStringEntry(walk, at + position, tableKey, width, &entryTaken)) result = 0;
        position += entryTaken;
        if (result == 0) break;
    }
    *taken = Clamp16(length);
    return result;
}

int ParseStringFileInfo(const StringTableWalk& walk, std::size_t at, std::uint16_t* taken)
{
    *taken = 0;
    std::size_t length = 0;
    if (!DeclaredLength(walk, at, &length)) return 0;

    // The high byte of the key's first character tells 16-bit keys ("S", 0)
    // from 8-bit ones; the character width holds for the whole walk.
    const bool highByteZero = length < 8 || walk.block[at + 7] == 0;
    const CharWidth width = highByteZero ? CharWidth::kWide : CharWidth::kNarrow;

    std::basic_string<std::uint16_t> ignoredKey;
    std::size_t position = ReadString(walk, at, length, kHeaderSize, width, kKeyCapacity, &ignoredKey);
    // `counted` is what this level reports as taken: its key, the padding
    // before each table, and 4 bytes for each table walked, not the table's
    // length. That is the figure the walk has always reported; nothing steps
    // by it (WalkStringTables ignores it), while `position` moves the walk.
    std::size_t counted = position;
    while (position < length) {
        const std::size_t aligned = AlignToDword(at + position) - at;
        counted += aligned - position;
        position = aligned;
        std::uint16_t tableTaken = 0;
        if (!ParseStringTable(walk, at + position, width, &tableTaken) || tableTaken == 0) break;
        counted += 4;
        position += tableTaken;
    }
    *taken = Clamp16(counted);
    return 1;
}

}  // namespace

int WalkStringTables(const StringTableWalk& walk, std::size_t fixedInfoAt)
{
    std::uint16_t taken = 0;
    return ParseStringFileInfo(walk, AlignToDword(fixedInfoAt + kFixedInfoSize), &taken);
}

}  // namespace version
