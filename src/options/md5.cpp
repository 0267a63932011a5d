#include "options/md5.h"

#include <cstring>

#include "options/byte_order.h"

namespace options {
namespace {

inline std::uint32_t RotateLeft(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

// One MD5 step: a = b + ((a + f(b, c, d) + word + constant) <<< shift).
#define MD5_STEP(f, a, b, c, d, word, constant, shift) \
    a = b + RotateLeft(a + f(b, c, d) + (word) + (constant), shift)
#define MD5_F(x, y, z) ((z) ^ ((x) & ((y) ^ (z))))
#define MD5_G(x, y, z) ((y) ^ ((z) & ((x) ^ (y))))
#define MD5_H(x, y, z) ((x) ^ (y) ^ (z))
#define MD5_I(x, y, z) ((y) ^ ((x) | ~(z)))

}  // namespace

Md5::Md5() : state_{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476} {}

void Md5::Compress(const unsigned char* block)
{
    std::uint32_t w[16];
    for (int i = 0; i < 16; ++i) w[i] = ReadLittleEndian32(block + 4 * i);
    std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];

    MD5_STEP(MD5_F, a, b, c, d, w[0], 0xD76AA478, 7);
    MD5_STEP(MD5_F, d, a, b, c, w[1], 0xE8C7B756, 12);
    MD5_STEP(MD5_F, c, d, a, b, w[2], 0x242070DB, 17);
    MD5_STEP(MD5_F, b, c, d, a, w[3], 0xC1BDCEEE, 22);
    MD5_STEP(MD5_F, a, b, c, d, w[4], 0xF57C0FAF, 7);
    MD5_STEP(MD5_F, d, a, b, c, w[5], 0x4787C62A, 12);
    MD5_STEP(MD5_F, c, d, a, b, w[6], 0xA8304613, 17);
    MD5_STEP(MD5_F, b, c, d, a, w[7], 0xFD469501, 22);
    MD5_STEP(MD5_F, a, b, c, d, w[8], 0x698098D8, 7);
    MD5_STEP(MD5_F, d, a, b, c, w[9], 0x8B44F7AF, 12);
    MD5_STEP(MD5_F, c, d, a, b, w[10], 0xFFFF5BB1, 17);
    MD5_STEP(MD5_F, b, c, d, a, w[11], 0x895CD7BE, 22);
    MD5_STEP(MD5_F, a, b, c, d, w[12], 0x6B901122, 7);
    MD5_STEP(MD5_F, d, a, b, c, w[13], 0xFD987193, 12);
    MD5_STEP(MD5_F, c, d, a, b, w[14], 0xA679438E, 17);
    MD5_STEP(MD5_F, b, c, d, a, w[15], 0x49B40821, 22);

    MD5_STEP(MD5_G, a, b, c, d, w[1], 0xF61E2562, 5);
    MD5_STEP(MD5_G, d, a, b, c, w[6], 0xC040B340, 9);
    MD5_STEP(MD5_G, c, d, a, b, w[11], 0x265E5A51, 14);
    MD5_STEP(MD5_G, b, c, d, a, w[0], 0xE9B6C7AA, 20);
    MD5_STEP(MD5_G, a, b, c, d, w[5], 0xD62F105D, 5);
    MD5_STEP(MD5_G, d, a, b, c, w[10], 0x02441453, 9);
    MD5_STEP(MD5_G, c, d, a, b, w[15], 0xD8A1E681, 14);
    MD5_STEP(MD5_G, b, c, d, a, w[4], 0xE7D3FBC8, 20);
    MD5_STEP(MD5_G, a, b, c, d, w[9], 0x21E1CDE6, 5);
    MD5_STEP(MD5_G, d, a, b, c, w[14], 0xC33707D6, 9);
    MD5_STEP(MD5_G, c, d, a, b, w[3], 0xF4D50D87, 14);
    MD5_STEP(MD5_G, b, c, d, a, w[8], 0x455A14ED, 20);
    MD5_STEP(MD5_G, a, b, c, d, w[13], 0xA9E3E905, 5);
    MD5_STEP(MD5_G, d, a, b, c, w[2], 0xFCEFA3F8, 9);
    MD5_STEP(MD5_G, c, d, a, b, w[7], 0x676F02D9, 14);
    MD5_STEP(MD5_G, b, c, d, a, w[12], 0x8D2A4C8A, 20);

    MD5_STEP(MD5_H, a, b, c, d, w[5], 0xFFFA3942, 4);
    MD5_STEP(MD5_H, d, a, b, c, w[8], 0x8771F681, 11);
    MD5_STEP(MD5_H, c, d, a, b, w[11], 0x6D9D6122, 16);
    MD5_STEP(MD5_H, b, c, d, a, w[14], 0xFDE5380C, 23);
    MD5_STEP(MD5_H, a, b, c, d, w[1], 0xA4BEEA44, 4);
    MD5_STEP(MD5_H, d, a, b, c, w[4], 0x4BDECFA9, 11);
    MD5_STEP(MD5_H, c, d, a, b, w[7], 0xF6BB4B60, 16);
    MD5_STEP(MD5_H, b, c, d, a, w[10], 0xBEBFBC70, 23);
    MD5_STEP(MD5_H, a, b, c, d, w[13], 0x289B7EC6, 4);
    MD5_STEP(MD5_H, d, a, b, c, w[0], 0xEAA127FA, 11);
    MD5_STEP(MD5_H, c, d, a, b, w[3], 0xD4EF3085, 16);
    MD5_STEP(MD5_H, b, c, d, a, w[6], 0x04881D05, 23);
    MD5_STEP(MD5_H, a, b, c, d, w[9], 0xD9D4D039, 4);
    MD5_STEP(MD5_H, d, a, b, c, w[12], 0xE6DB99E5, 11);
    MD5_STEP(MD5_H, c, d, a, b, w[15], 0x1FA27CF8, 16);
    MD5_STEP(MD5_H, b, c, d, a, w[2], 0xC4AC5665, 23);

    MD5_STEP(MD5_I, a, b, c, d, w[0], 0xF4292244, 6);
    MD5_STEP(MD5_I, d, a, b, c, w[7], 0x432AFF97, 10);
    MD5_STEP(MD5_I, c, d, a, b, w[14], 0xAB9423A7, 15);
    MD5_STEP(MD5_I, b, c, d, a, w[5], 0xFC93A039, 21);
    MD5_STEP(MD5_I, a, b, c, d, w[12], 0x655B59C3, 6);
    MD5_STEP(MD5_I, d, a, b, c, w[3], 0x8F0CCC92, 10);
    MD5_STEP(MD5_I, c, d, a, b, w[10], 0xFFEFF47D, 15);
    MD5_STEP(MD5_I, b, c, d, a, w[1], 0x85845DD1, 21);
    MD5_STEP(MD5_I, a, b, c, d, w[8], 0x6FA87E4F, 6);
    MD5_STEP(MD5_I, d, a, b, c, w[15], 0xFE2CE6E0, 10);
    MD5_STEP(MD5_I, c, d, a, b, w[6], 0xA3014314, 15);
    MD5_STEP(MD5_I, b, c, d, a, w[13], 0x4E0811A1, 21);
    MD5_STEP(MD5_I, a, b, c, d, w[4], 0xF7537E82, 6);
    MD5_STEP(MD5_I, d, a, b, c, w[11], 0xBD3AF235, 10);
    MD5_STEP(MD5_I, c, d, a, b, w[2], 0x2AD7D2BB, 15);
    MD5_STEP(MD5_I, b, c, d, a, w[9], 0xEB86D391, 21);

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
