#pragma once
// Version blocks store their lengths as 16-bit little-endian words.

#include <cstdint>

namespace version {

inline std::uint16_t ReadWord(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace version
