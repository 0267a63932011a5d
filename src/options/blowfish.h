#pragma once
// Blowfish (16 rounds, the designer's key schedule) in electronic codebook
// mode. The options file reads each half of a block little-endian; the
// word-level functions work on halves as numbers, so callers choose the
// byte order.

#include <cstddef>
#include <cstdint>

namespace options {

struct BlowfishSchedule {
    std::uint32_t p[18];
    std::uint32_t s[4][256];
};

// Builds the schedule for a key of 1 to 72 significant bytes (longer keys are
// taken cyclically like any other, as the designer's schedule does).
void BlowfishSetKey(BlowfishSchedule& schedule, const unsigned char* key, std::size_t keyLength);

void BlowfishEncipherWords(const BlowfishSchedule& schedule, std::uint32_t& left, std::uint32_t& right);
void BlowfishDecipherWords(const BlowfishSchedule& schedule, std::uint32_t& left, std::uint32_t& right);

// In place over `blockCount` 8-byte blocks, halves read and written
// little-endian.
void BlowfishEncipherBlocks(const BlowfishSchedule& schedule, unsigned char* bytes, std::size_t blockCount);
void BlowfishDecipherBlocks(const BlowfishSchedule& schedule, unsigned char* bytes, std::size_t blockCount);

}  // namespace options
