#pragma once
// Blowfish's initial P-array and S-boxes.

#include <cstdint>

namespace options {

extern const std::uint32_t kInitialP[18];
extern const std::uint32_t kInitialS0[256];
extern const std::uint32_t kInitialS1[256];
extern const std::uint32_t kInitialS2[256];
extern const std::uint32_t kInitialS3[256];

}  // namespace options
