// Blowfish and MD5 against OpenSSL's libcrypto on random keys and data, and
// one published vector each.
#define OPENSSL_SUPPRESS_DEPRECATED  // BF_* and MD5_* are deprecated low-level interfaces
#include <openssl/blowfish.h>
#include <openssl/md5.h>

#include <algorithm>

#include "options_test_support.h"

namespace {

using options_test::Bytes;

Bytes RandomBytes(std::size_t length)
{
    static std::mt19937 generator(20240611);
    Bytes bytes(length);
    for (unsigned char& b : bytes) b = static_cast<unsigned char>(generator());
    return bytes;
}

// Every key length up to 128 bytes. OpenSSL reads the halves of a block
// big-endian, the options file little-endian.
TEST(Blowfish, MatchesOpenSslForEveryKeyLength)
{
    options::BlowfishSchedule schedule;
    std::uint32_t left = 0, right = 0;  // the published all-zero key and block
    options::BlowfishSetKey(schedule, Bytes(8).data(), 8);
    options::BlowfishEncipherWords(schedule, left, right);
    EXPECT_EQ(std::make_pair(left, right), std::make_pair(0x4EF99745u, 0x6198DD78u));
    for (std::size_t keyLength = 1; keyLength <= 128; ++keyLength) {
        const Bytes key = RandomBytes(keyLength);
        Bytes ours = RandomBytes(8 * (1 + keyLength % 32)), theirs = ours;
        BF_KEY openSsl;
        BF_set_key(&openSsl, static_cast<int>(keyLength), key.data());
        for (std::size_t i = 0; i < theirs.size(); i += 4) std::reverse(&theirs[i], &theirs[i] + 4);
        for (std::size_t i = 0; i < theirs.size(); i += 8) BF_ecb_encrypt(&theirs[i], &theirs[i], &openSsl, BF_ENCRYPT);
        for (std::size_t i = 0; i < theirs.size(); i += 4) std::reverse(&theirs[i], &theirs[i] + 4);
        options::BlowfishSetKey(schedule, key.data(), keyLength);
        options::BlowfishEncipherBlocks(schedule, ours.data(), ours.size() / 8);
        ASSERT_EQ(ours, theirs) << "key length " << keyLength;
    }
}

// Every length up to five blocks, so each padding case around the 56- and
// 64-byte bounds, then longer ones; all fed in random pieces.
TEST(Md5, MatchesOpenSslForRandomDataInRandomPieces)
{
    const auto digest = [](const Bytes& data) {
        options::Md5 md5;
        for (std::size_t at = 0, piece = 0; at < data.size(); at += piece) {
            piece = std::min<std::size_t>(data.size() - at, RandomBytes(1)[0]);
            md5.Update(data.data() + at, piece);
        }
        Bytes result(16);
        md5.Finish(result.data());
        return result;
    };
    EXPECT_EQ(digest({'a', 'b', 'c'}),
              (Bytes{0x90, 0x01, 0x50, 0x98, 0x3C, 0xD2, 0x4F, 0xB0, 0xD6, 0x96, 0x3F, 0x7D, 0x28, 0xE1, 0x7F, 0x72}));
    for (std::size_t length = 0; length < 420; ++length) {
        const Bytes data = RandomBytes(length < 320 ? length : 17 * length);
        Bytes theirs(MD5_DIGEST_LENGTH);
        MD5(data.data(), data.size(), theirs.data());
        ASSERT_EQ(digest(data), theirs) << data.size() << " bytes";
    }
}

}  // namespace
