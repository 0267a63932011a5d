#include "version/version_block.h"

#include "common/little_endian.h"

namespace version {
namespace {

constexpr char kVersionInfoKey[] = "VS_VERSION_INFO";
constexpr std::size_t kKeyChars = sizeof kVersionInfoKey - 1;
constexpr std::size_t kKeyAt = 6;

bool KeyIsVersionInfo(const std::uint8_t* resource)
{
    for (std::size_t i = 0; i < kKeyChars; ++i) {
        if (common::ReadLittleEndian16(resource + kKeyAt + 2 * i) != static_cast<unsigned char>(kVersionInfoKey[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool IsAcceptableVersionBlock(const std::uint8_t* resource, std::size_t resourceSize)
{
    if (resource == nullptr || resourceSize < kKeyAt + 2 * kKeyChars) return false;
    const std::uint16_t length = common::ReadLittleEndian16(resource);
    const std::uint16_t valueLength = common::ReadLittleEndian16(resource + 2);
    if (length < valueLength) return false;
    if (!KeyIsVersionInfo(resource)) return false;
    return length <= resourceSize;
}

}  // namespace version
