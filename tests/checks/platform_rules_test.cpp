#include "checks/platform_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

TEST(PlatformRules, NecPc98KeyboardWindowsVersionFloorAndGroupBuffer)
{
    EXPECT_FALSE(checks::IsNecPc98Keyboard(7, 2));  // an ordinary Japanese keyboard
    EXPECT_FALSE(checks::IsNecPc98Keyboard(7, 0x0D00));
    EXPECT_TRUE(checks::IsNecPc98Keyboard(7, 0x0D01));
    EXPECT_TRUE(checks::IsNecPc98Keyboard(7, -1));  // the subtype is compared unsigned
    EXPECT_FALSE(checks::IsNecPc98Keyboard(4, 0x0D01));
    // Windows 98 (4.10) is the oldest supported: refused below, accepted from it on.
    const unsigned versions[][2] = {{0, 0}, {3, 95}, {4, 0}, {4, 9}, {4, 10}, {4, 90}, {5, 0}, {10, 0}};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(checks::IsWindowsVersionSupported(versions[i][0], versions[i][1]), i >= 4) << i;
    }
    EXPECT_TRUE(checks::TokenGroupsFit(4096));
    EXPECT_FALSE(checks::TokenGroupsFit(4097));
}

// A group list of SIDs, each of revision 1 with the given identifier authority
// and sub-authorities (little-endian), all with the same attributes.
static bool IncludesAdministrators(const std::vector<std::vector<std::uint32_t>>& sids, std::size_t shortBy = 0,
                                   std::uint32_t attributes = 0x7)  // mandatory, enabled by default, enabled
{
    using Byte = std::uint8_t;
    std::vector<std::vector<Byte>> bytes;
    std::vector<checks::TokenGroup> groups;
    for (const auto& sid : sids) {
        bytes.push_back({1, static_cast<Byte>(sid.size() - 1), 0, 0, 0, 0, 0, static_cast<Byte>(sid[0])});
        for (std::size_t i = 1; i < sid.size(); ++i) {
            for (int shift = 0; shift < 32; shift += 8) bytes.back().push_back(static_cast<Byte>(sid[i] >> shift));
        }
    }
    for (const auto& sid : bytes) groups.push_back({sid.data(), sid.size() - shortBy, attributes});
    return checks::GroupsIncludeAdministrators(groups);
}

TEST(AdministratorsMembership, OnlyTheExactBuiltInGroupCounts)
{
    EXPECT_TRUE(IncludesAdministrators({{1, 0}, {5, 32, 545}, {5, 32, 544}}));
    EXPECT_FALSE(IncludesAdministrators({}));
    EXPECT_FALSE(IncludesAdministrators({{1, 0}, {5, 32, 545}, {4, 32, 544}, {5, 32, 544, 1}, {5, 21, 1, 2, 3, 512}}));
    EXPECT_FALSE(IncludesAdministrators({{5, 32, 544}}, 1));  // one byte short
    EXPECT_FALSE(checks::GroupsIncludeAdministrators({{nullptr, 16, 0x7}}));
}

TEST(AdministratorsMembership, OnlyAnEnabledGroupThatIsNotDenyOnlyGrantsRights)
{
    EXPECT_TRUE(IncludesAdministrators({{5, 32, 544}}, 0, 0x4));
    for (std::uint32_t attributes : {0x0u, 0x3u, 0x10u, 0x14u, 0x17u})  // disabled, deny-only (a filtered token)
        EXPECT_FALSE(IncludesAdministrators({{5, 32, 544}}, 0, attributes)) << attributes;
}
