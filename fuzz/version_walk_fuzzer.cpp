// libFuzzer target of the version string-table walk: any bytes, taken as the
// version block, must be walked without reading outside them and must end.
#include <vector>

#include "version/version_walk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::uint8_t> block(data, data + size);  // exactly `size` bytes: reads past are caught
    version::StringIndex index;
    const version::StringTableWalk walk{
        block.data(), size, &index, std::uint16_t(size % 2 ? 0x0411 : 0x0409),
        [](const char* text, std::size_t n) { return version::WideText(text, text + n); }};
    version::WalkStringTables(walk, 40);  // the fixed information after "VS_VERSION_INFO" and its padding
    return 0;
}
