#include "version/version_block.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A version block header with its key; `size` bytes in all, zero after the key.
Bytes Resource(std::uint16_t length, std::uint16_t valueLength, const std::string& key,
               std::size_t size)
{
    Bytes out = {static_cast<std::uint8_t>(length & 0xFF), static_cast<std::uint8_t>(length >> 8),
                 static_cast<std::uint8_t>(valueLength & 0xFF),
                 static_cast<std::uint8_t>(valueLength >> 8), 0, 0};
    for (char c : key) {
        out.push_back(static_cast<std::uint8_t>(c));
        out.push_back(0);
    }
    out.resize(size, 0);
    return out;
}

bool Accepts(const Bytes& resource)
{
    return version::IsAcceptableVersionBlock(resource.data(), resource.size());
}

TEST(VersionBlockAcceptance, KeyMustBeginWithVersionInfoInExactCase)
{
    EXPECT_TRUE(Accepts(Resource(92, 52, "VS_VERSION_INFO", 92)));
    EXPECT_TRUE(Accepts(Resource(92, 52, "VS_VERSION_INFOX", 92)));
    EXPECT_FALSE(Accepts(Resource(92, 52, "VS_VERSION_info", 92)));
    EXPECT_FALSE(Accepts(Resource(92, 52, "VS_VERSION_INF", 92)));
}

TEST(VersionBlockAcceptance, ValueLengthMayNotExceedLength)
{
    EXPECT_TRUE(Accepts(Resource(92, 92, "VS_VERSION_INFO", 92)));
    EXPECT_FALSE(Accepts(Resource(92, 93, "VS_VERSION_INFO", 92)));
}

// The system writes converted text up to twice the block's wLength past its
// start; only a wLength within the resource keeps that inside the buffer of
// three times the resource's size.
TEST(VersionBlockAcceptance, LengthMayNotExceedTheResource)
{
    EXPECT_TRUE(Accepts(Resource(92, 52, "VS_VERSION_INFO", 92)));
    EXPECT_TRUE(Accepts(Resource(40, 0, "VS_VERSION_INFO", 92)));
    EXPECT_FALSE(Accepts(Resource(93, 52, "VS_VERSION_INFO", 92)));
    EXPECT_FALSE(Accepts(Resource(0xFFFF, 52, "VS_VERSION_INFO", 92)));
}

TEST(VersionBlockAcceptance, ResourceMustHoldTheHeaderAndKey)
{
    EXPECT_TRUE(Accepts(Resource(36, 0, "VS_VERSION_INFO", 36)));
    EXPECT_FALSE(Accepts(Resource(35, 0, "VS_VERSION_INFO", 35)));
    EXPECT_FALSE(Accepts(Resource(0, 0, "", 2)));
    EXPECT_FALSE(version::IsAcceptableVersionBlock(nullptr, 0));
}

}  // namespace
