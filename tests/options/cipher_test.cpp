// Blowfish against the published ECB and variable-key-length vectors, the
// options file's little-endian halves, and MD5 against RFC 1321.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "options/blowfish.h"
#include "options/md5.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes FromHex(const std::string& hex)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(static_cast<unsigned char>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::string ToHex(const unsigned char* bytes, std::size_t length)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (std::size_t i = 0; i < length; ++i) {
        hex += digits[bytes[i] >> 4];
        hex += digits[bytes[i] & 15];
    }
    return hex;
}

std::uint32_t BigEndianWord(const Bytes& bytes, std::size_t at)
{
    return (std::uint32_t(bytes[at]) << 24) | (std::uint32_t(bytes[at + 1]) << 16) | (std::uint32_t(bytes[at + 2]) << 8) |
           bytes[at + 3];
}

// The published vectors read each half big-endian.
std::string EncipherPublished(const std::string& keyHex, const std::string& plainHex)
{
    const Bytes key = FromHex(keyHex);
    const Bytes plain = FromHex(plainHex);
    options::BlowfishSchedule schedule;
    options::BlowfishSetKey(schedule, key.data(), key.size());
    std::uint32_t left = BigEndianWord(plain, 0);
    std::uint32_t right = BigEndianWord(plain, 4);
    options::BlowfishEncipherWords(schedule, left, right);
    char hex[17];
    std::snprintf(hex, sizeof hex, "%08X%08X", static_cast<unsigned>(left), static_cast<unsigned>(right));
    std::uint32_t backLeft = left;
    std::uint32_t backRight = right;
    options::BlowfishDecipherWords(schedule, backLeft, backRight);
    EXPECT_EQ(backLeft, BigEndianWord(plain, 0));
    EXPECT_EQ(backRight, BigEndianWord(plain, 4));
    return hex;
}

struct Vector {
    const char* key;
    const char* plain;
    const char* cipher;
};

TEST(Blowfish, MatchesThePublishedEcbTable)
{
    static const Vector kTable[] = {
        {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
        {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
        {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
        {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
        {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
        {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
        {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
        {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
        {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
        {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
        {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
        {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
        {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
        {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
        {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
        {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
        {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
        {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
        {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
        {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
        {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
        {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
        {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
        {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
        {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
        {"0101010101010101", "0123456789ABCDEF", "FA34EC4847B268B2"},
        {"1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE"},
        {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
        {"0000000000000000", "FFFFFFFFFFFFFFFF", "014933E0CDAFF6E4"},
        {"FFFFFFFFFFFFFFFF", "0000000000000000", "F21E9A77B71C49BC"},
        {"0123456789ABCDEF", "0000000000000000", "245946885754369A"},
        {"FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A"},
    };
    for (const Vector& v : kTable) EXPECT_EQ(EncipherPublished(v.key, v.plain), v.cipher) << "key " << v.key;
}

TEST(Blowfish, MatchesThePublishedVariableKeyLengthSet)
{
    const std::string fullKey = "F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677";
    static const char* const kCiphers[] = {
        "F9AD597C49DB005E", "E91D21C1D961A6D6", "E9C2B70A1BC65CF3", "BE1E639408640F05", "B39E44481BDB1E6E",
        "9457AA83B1928C0D", "8BB77032F960629D", "E87A244E2CC85E82", "15750E7A4F4EC577", "122BA70B3AB64AE0",
        "3A833C9AFFC537F6", "9409DA87A90F6BF2", "884F80625060B8B4", "1F85031C19E11968", "79D9373A714CA34F",
        "93142887EE3BE15C", "03429E838CE2D14B", "A4299E27469FF67B", "AFD5AED1C1BC96A8", "10851C0E3858DA9F",
        "E6F51ED79B9DB21F", "64A6E14AFD36B46F", "80C7D7D45A5479AD", "05044B62FA52D080",
    };
    for (std::size_t length = 1; length <= 24; ++length) {
        EXPECT_EQ(EncipherPublished(fullKey.substr(0, 2 * length), "FEDCBA9876543210"), kCiphers[length - 1])
            << "key length " << length;
    }
}

// The options file reads each half of a block little-endian: the published
// vector (key FEDCBA9876543210, 0123456789ABCDEF -> 0ACEAB0FC6A0A28D) appears
// with the four bytes of each half reversed, before and after.
TEST(Blowfish, BlocksReadTheirHalvesLittleEndian)
{
    const Bytes key = FromHex("FEDCBA9876543210");
    options::BlowfishSchedule schedule;
    options::BlowfishSetKey(schedule, key.data(), key.size());

    Bytes blocks = FromHex("67452301EFCDAB89" "67452301EFCDAB89");
    options::BlowfishEncipherBlocks(schedule, blocks.data(), 2);
    EXPECT_EQ(ToHex(blocks.data(), blocks.size()), "0FABCE0A8DA2A0C6" "0FABCE0A8DA2A0C6");  // no chaining
    options::BlowfishDecipherBlocks(schedule, blocks.data(), 2);
    EXPECT_EQ(ToHex(blocks.data(), blocks.size()), "67452301EFCDAB89" "67452301EFCDAB89");
}

std::string Md5Hex(const std::string& text, bool byteByByte)
{
    options::Md5 md5;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    if (byteByByte) {
        for (std::size_t i = 0; i < text.size(); ++i) md5.Update(bytes + i, 1);
    } else {
        md5.Update(bytes, text.size());
    }
    unsigned char digest[16];
    md5.Finish(digest);
    return ToHex(digest, 16);
}

TEST(Md5, MatchesTheRfc1321TestSuiteWholeAndByteByByte)
{
    static const std::pair<const char*, const char*> kSuite[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    for (const auto& [text, digest] : kSuite) {
        EXPECT_EQ(Md5Hex(text, false), digest) << '"' << text << '"';
        EXPECT_EQ(Md5Hex(text, true), digest) << '"' << text << "\" byte by byte";
    }
}

}  // namespace
