// libFuzzer target of the version string-table walk: any bytes, taken as the
// version block, must be walked without reading outside them and must end.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "version/version_walk.h"

namespace {

version::WideText Latin1ToWide(const char* text, std::size_t length)
{
    version::WideText wide;
    for (std::size_t i = 0; i < length; ++i) wide.push_back(static_cast<unsigned char>(text[i]));
    return wide;
}

constexpr std::size_t kFixedInfoAt = 40;  // after "VS_VERSION_INFO" and its padding

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A copy of exactly `size` bytes, so that every read past it is caught.
    const std::vector<std::uint8_t> block(data, data + size);
    version::StringIndex index;
    version::StringTableWalk walk;
    walk.block = block.data();
    walk.blockSize = block.size();
    walk.index = &index;
    walk.defaultLanguage = size % 2 ? 0x0411 : 0x0409;
    walk.ansiToWide = &Latin1ToWide;

    version::WalkStringTables(walk, kFixedInfoAt);
    std::uint16_t taken = 0;
    version::ParseStringFileInfo(walk, 0, &taken);
    return 0;
}
