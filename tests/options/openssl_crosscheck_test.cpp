// The cipher and digest against OpenSSL's libcrypto, natively: random keys
// and data must give the same bytes.
#define OPENSSL_SUPPRESS_DEPRECATED  // BF_* and MD5_* are deprecated low-level interfaces
#include <openssl/blowfish.h>
#include <openssl/md5.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "options/blowfish.h"
#include "options/md5.h"
#include "options_test_support.h"

namespace {

using options_test::Bytes;

Bytes RandomBytes(std::mt19937& random, std::size_t length)
{
    Bytes bytes(length);
    for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
    return bytes;
}

void ReverseHalves(Bytes& bytes)
{
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) std::reverse(bytes.begin() + i, bytes.begin() + i + 4);
}

// OpenSSL reads the halves big-endian; the file reads them little-endian.
Bytes OpenSslEcb(const Bytes& key, Bytes data, int direction)
{
    BF_KEY schedule;
    BF_set_key(&schedule, static_cast<int>(key.size()), key.data());
    ReverseHalves(data);
    for (std::size_t i = 0; i < data.size(); i += 8) BF_ecb_encrypt(data.data() + i, data.data() + i, &schedule, direction);
    ReverseHalves(data);
    return data;
}

TEST(OpenSslCrossCheck, BlowfishGivesTheSameBytesForRandomKeysAndData)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 200; ++round) {
        const Bytes key = RandomBytes(random, 1 + random() % 128);
        const Bytes plain = RandomBytes(random, 8 * (1 + random() % 64));
        options::BlowfishSchedule schedule;
        options::BlowfishSetKey(schedule, key.data(), key.size());

        Bytes ours = plain;
        options::BlowfishEncipherBlocks(schedule, ours.data(), ours.size() / 8);
        ASSERT_EQ(ours, OpenSslEcb(key, plain, BF_ENCRYPT)) << "key length " << key.size();
        options::BlowfishDecipherBlocks(schedule, ours.data(), ours.size() / 8);
        ASSERT_EQ(ours, plain);
    }
}

TEST(OpenSslCrossCheck, Md5GivesTheSameDigestForRandomDataInRandomPieces)
{
    std::mt19937 random(1321);
    for (int round = 0; round < 200; ++round) {
        const Bytes data = RandomBytes(random, random() % 5000);
        options::Md5 md5;
        for (std::size_t at = 0; at < data.size();) {
            const std::size_t piece = std::min<std::size_t>(data.size() - at, random() % 200);
            md5.Update(data.data() + at, piece);
            at += piece;
        }
        unsigned char ours[16];
        md5.Finish(ours);
        unsigned char theirs[MD5_DIGEST_LENGTH];
        MD5(data.data(), data.size(), theirs);
        ASSERT_EQ(Bytes(ours, ours + 16), Bytes(theirs, theirs + 16)) << data.size() << " bytes";
    }
}

// A file written by the library, taken apart with OpenSSL alone.
TEST(OpenSslCrossCheck, ASavedFileOpensWithOpenSsl)
{
    options_test::ScratchFolder folder;
    const std::string path = folder.PathOf("InstOpts.dat");
    options_test::Handle handle;
    ASSERT_EQ(OptionsSetInteger(handle.get(), "CTO", 1), OPTS_OK);
    ASSERT_EQ(OptionsSave(path.c_str(), handle.get()), OPTS_OK);
    const Bytes file = options_test::ReadFileBytes(path);
    ASSERT_EQ(file.size(), 28u + 48u);

    const Bytes key(options_test::kBuiltInKey, options_test::kBuiltInKey + 8);
    const Bytes digest = OpenSslEcb(key, Bytes(file.begin() + 12, file.begin() + 28), BF_DECRYPT);
    Bytes digested(file.begin(), file.begin() + 12);
    digested.insert(digested.end(), file.begin() + 28, file.end());
    unsigned char expected[MD5_DIGEST_LENGTH];
    MD5(digested.data(), digested.size(), expected);
    EXPECT_EQ(digest, Bytes(expected, expected + 16));

    const Bytes record = OpenSslEcb(key, Bytes(file.begin() + 28, file.end()), BF_DECRYPT);
    Bytes plain(32, 0);
    plain[0] = 'C', plain[1] = 'T', plain[2] = 'O';
    options_test::PutLittleEndian32(plain, OPTION_TYPE_INTEGER);
    options_test::PutLittleEndian32(plain, 8);
    options_test::PutLittleEndian32(plain, 1);
    options_test::PutLittleEndian32(plain, 0);
    EXPECT_EQ(record, plain);
}

}  // namespace
