#include "options/blowfish.h"

#include <cstring>

#include "options/blowfish_tables.h"
#include "common/little_endian.h"

namespace options {

using common::ReadLittleEndian32;
using common::WriteLittleEndian32;

namespace {

inline std::uint32_t Mix(const BlowfishSchedule& k, std::uint32_t x)
{
    return ((k.s[0][x >> 24] + k.s[1][(x >> 16) & 0xFF]) ^ k.s[2][(x >> 8) & 0xFF]) + k.s[3][x & 0xFF];
}

}  // namespace

void BlowfishEncipherWords(const BlowfishSchedule& k, std::uint32_t& left, std::uint32_t& right)
{
    std::uint32_t l = left;
    std::uint32_t r = right;
    for (int round = 0; round < 16; round += 2) {
        l ^= k.p[round];
        r ^= Mix(k, l);
        r ^= k.p[round + 1];
        l ^= Mix(k, r);
    }
    l ^= k.p[16];
    r ^= k.p[17];
    left = r;
    right = l;
}

void BlowfishDecipherWords(const BlowfishSchedule& k, std::uint32_t& left, std::uint32_t& right)
{
    std::uint32_t l = left;
    std::uint32_t r = right;
    for (int round = 17; round > 1; round -= 2) {
        l ^= k.p[round];
        r ^= Mix(k, l);
        r ^= k.p[round - 1];
        l ^= Mix(k, r);
    }
    l ^= k.p[1];
    r ^= k.p[0];
    left = r;
    right = l;
}

void BlowfishSetKey(BlowfishSchedule& k, const unsigned char* key, std::size_t keyLength)
{
    std::memcpy(k.p, kInitialP, sizeof k.p);
    std::memcpy(k.s[0], kInitialS0, sizeof k.s[0]);
    std::memcpy(k.s[1], kInitialS1, sizeof k.s[1]);
    std::memcpy(k.s[2], kInitialS2, sizeof k.s[2]);
    std::memcpy(k.s[3], kInitialS3, sizeof k.s[3]);

    std::size_t next = 0;
    for (std::uint32_t& word : k.p) {
        std::uint32_t keyWord = 0;
        for (int i = 0; i < 4; ++i) {
            keyWord = (keyWord << 8) | key[next];
            next = (next + 1) % keyLength;
        }
        word ^= keyWord;
    }

    std::uint32_t left = 0;
    std::uint32_t right = 0;
    for (int i = 0; i < 18; i += 2) {
        BlowfishEncipherWords(k, left, right);
        k.p[i] = left;
        k.p[i + 1] = right;
    }
    for (auto& box : k.s) {
        for (int i = 0; i < 256; i += 2) {
            BlowfishEncipherWords(k, left, right);
            box[i] = left;
            box[i + 1] = right;
        }
    }
}

void BlowfishEncipherBlocks(const BlowfishSchedule& schedule, unsigned char* bytes, std::size_t blockCount)
{
    for (std::size_t i = 0; i < blockCount; ++i, bytes += 8) {
        std::uint32_t left = ReadLittleEndian32(bytes);
        std::uint32_t right = ReadLittleEndian32(bytes + 4);
        BlowfishEncipherWords(schedule, left, right);
        WriteLittleEndian32(bytes, left);
        WriteLittleEndian32(bytes + 4, right);
    }
}

void BlowfishDecipherBlocks(const BlowfishSchedule& schedule, unsigned char* bytes, std::size_t blockCount)
{
    for (std::size_t i = 0; i < blockCount; ++i, bytes += 8) {
        std::uint32_t left = ReadLittleEndian32(bytes);
        std::uint32_t right = ReadLittleEndian32(bytes + 4);
        BlowfishDecipherWords(schedule, left, right);
        WriteLittleEndian32(bytes, left);
        WriteLittleEndian32(bytes + 4, right);
    }
}

}  // namespace options
