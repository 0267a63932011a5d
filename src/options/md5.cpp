#include "options/md5.h"

#include <cstring>

#include "common/little_endian.h"

namespace options {

using common::ReadLittleEndian32;
using common::WriteLittleEndian32;

namespace {

inline std::uint32_t RotateLeft(std::uint32_t x, int n)
{
    return (x << n) | (x >> (32 - n));
}

// The 64 step constants: the integer part of 2^32 * |sin(i + 1)|.
constexpr std::uint32_t kStepConstants[64] = {
    0xD76AA478, 0xE8C7B756, 0x242070DB, 0xC1BDCEEE, 0xF57C0FAF, 0x4787C62A, 0xA8304613, 0xFD469501,
    0x698098D8, 0x8B44F7AF, 0xFFFF5BB1, 0x895CD7BE, 0x6B901122, 0xFD987193, 0xA679438E, 0x49B40821,
    0xF61E2562, 0xC040B340, 0x265E5A51, 0xE9B6C7AA, 0xD62F105D, 0x02441453, 0xD8A1E681, 0xE7D3FBC8,
    0x21E1CDE6, 0xC33707D6, 0xF4D50D87, 0x455A14ED, 0xA9E3E905, 0xFCEFA3F8, 0x676F02D9, 0x8D2A4C8A,
    0xFFFA3942, 0x8771F681, 0x6D9D6122, 0xFDE5380C, 0xA4BEEA44, 0x4BDECFA9, 0xF6BB4B60, 0xBEBFBC70,
    0x289B7EC6, 0xEAA127FA, 0xD4EF3085, 0x04881D05, 0xD9D4D039, 0xE6DB99E5, 0x1FA27CF8, 0xC4AC5665,
    0xF4292244, 0x432AFF97, 0xAB9423A7, 0xFC93A039, 0x655B59C3, 0x8F0CCC92, 0xFFEFF47D, 0x85845DD1,
    0x6FA87E4F, 0xFE2CE6E0, 0xA3014314, 0x4E0811A1, 0xF7537E82, 0xBD3AF235, 0x2AD7D2BB, 0xEB86D391,
};

// Each round's four rotation amounts, used in turn.
constexpr int kShifts[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

// Round r's mixing function of b, c and d, and the message word its step i
// takes. A template, so each round's loop is compiled with its own function.
template <int Round>
std::uint32_t Mix(std::uint32_t b, std::uint32_t c, std::uint32_t d)
{
    if (Round == 0) return d ^ (b & (c ^ d));
    if (Round == 1) return c ^ (d & (b ^ c));
    if (Round == 2) return b ^ c ^ d;
    return c ^ (b | ~d);
}

template <int Round>
void MixRound(const std::uint32_t (&w)[16], std::uint32_t& a, std::uint32_t& b, std::uint32_t& c, std::uint32_t& d)
{
    constexpr int kStart[4] = {0, 1, 5, 0}, kStride[4] = {1, 5, 3, 7};
    for (int i = 0; i < 16; ++i) {
        const std::uint32_t word = w[(kStart[Round] + kStride[Round] * i) % 16];
        const std::uint32_t mixed = a + Mix<Round>(b, c, d) + word + kStepConstants[16 * Round + i];
        // The four words rotate: a takes d's place, the new value b's.
        a = d;
        d = c;
        c = b;
        b = b + RotateLeft(mixed, kShifts[Round][i % 4]);
    }
}

}  // namespace

Md5::Md5() : state_{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476} {}

void Md5::Compress(const unsigned char* block)
{
    std::uint32_t w[16];
    for (int i = 0; i < 16; ++i) w[i] = ReadLittleEndian32(block + 4 * i);
    std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    MixRound<0>(w, a, b, c, d);
    MixRound<1>(w, a, b, c, d);
    MixRound<2>(w, a, b, c, d);
    MixRound<3>(w, a, b, c, d);
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

void Md5::Update(const unsigned char* bytes, std::size_t length)
{
    totalLength_ += length;
    if (pendingLength_ > 0) {
        const std::size_t take = length < 64 - pendingLength_ ? length : 64 - pendingLength_;
        std::memcpy(pending_ + pendingLength_, bytes, take);
        pendingLength_ += take;
        bytes += take;
        length -= take;
        if (pendingLength_ < 64) return;
        Compress(pending_);
        pendingLength_ = 0;
    }
    for (; length >= 64; bytes += 64, length -= 64) Compress(bytes);
    if (length > 0) std::memcpy(pending_, bytes, length);
    pendingLength_ = length;
}

void Md5::Finish(unsigned char digest[16])
{
    const std::uint64_t bitLength = totalLength_ * 8;
    static const unsigned char kPadding[64] = {0x80};
    const std::size_t padLength = pendingLength_ < 56 ? 56 - pendingLength_ : 120 - pendingLength_;
    Update(kPadding, padLength);
    unsigned char lengthBytes[8];
    WriteLittleEndian32(lengthBytes, static_cast<std::uint32_t>(bitLength));
    WriteLittleEndian32(lengthBytes + 4, static_cast<std::uint32_t>(bitLength >> 32));
    Update(lengthBytes, 8);
    for (int i = 0; i < 4; ++i) WriteLittleEndian32(digest + 4 * i, state_[i]);
}

}  // namespace options
