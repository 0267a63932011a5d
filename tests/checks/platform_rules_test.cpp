#include "checks/platform_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using checks::GroupsIncludeAdministrators;
using checks::TokenGroup;

TEST(NecPc98Signature, NeedsTheJapaneseTypeAndAHighSubtype)
{
    EXPECT_FALSE(checks::IsNecPc98Keyboard(7, 2));  // an ordinary Japanese keyboard
    EXPECT_FALSE(checks::IsNecPc98Keyboard(7, 0x0D00));
    EXPECT_TRUE(checks::IsNecPc98Keyboard(7, 0x0D01));
    EXPECT_TRUE(checks::IsNecPc98Keyboard(7, 0x0D05));
    EXPECT_FALSE(checks::IsNecPc98Keyboard(4, 0x0D01));
    // The subtype is compared unsigned: a negative one is very large.
    EXPECT_TRUE(checks::IsNecPc98Keyboard(7, -1));
}

TEST(WindowsVersion, Windows98IsTheOldestSupported)
{
    EXPECT_FALSE(checks::IsWindowsVersionSupported(4, 0));   // Windows 95, NT 4.0
    EXPECT_FALSE(checks::IsWindowsVersionSupported(4, 9));
    EXPECT_TRUE(checks::IsWindowsVersionSupported(4, 10));   // Windows 98
    EXPECT_TRUE(checks::IsWindowsVersionSupported(4, 90));   // Windows Me
    EXPECT_TRUE(checks::IsWindowsVersionSupported(5, 0));    // Windows 2000
    EXPECT_TRUE(checks::IsWindowsVersionSupported(5, 1));    // XP
    EXPECT_TRUE(checks::IsWindowsVersionSupported(10, 0));
    EXPECT_FALSE(checks::IsWindowsVersionSupported(3, 95));
    EXPECT_FALSE(checks::IsWindowsVersionSupported(0, 0));   // GetVersionExA failed
}

// SID bytes: revision 1, sub-authority count, 6 authority bytes, then the
// sub-authorities little-endian.
std::vector<std::uint8_t> Sid(std::uint8_t authority, std::vector<std::uint32_t> subAuthorities)
{
    std::vector<std::uint8_t> sid = {1, static_cast<std::uint8_t>(subAuthorities.size()),
                                     0, 0, 0, 0, 0, authority};
    for (std::uint32_t sub : subAuthorities) {
        for (int i = 0; i < 4; ++i) sid.push_back(static_cast<std::uint8_t>(sub >> (8 * i)));
    }
    return sid;
}

constexpr std::uint32_t kEnabled = 0x4;
constexpr std::uint32_t kDenyOnly = 0x10;

TokenGroup Group(const std::vector<std::uint8_t>& sid, std::uint32_t attributes)
{
    return TokenGroup{sid.data(), sid.size(), attributes};
}

TEST(AdministratorsMembership, FindsTheGroupAnywhereInTheList)
{
    const auto everyone = Sid(1, {0});
    const auto users = Sid(5, {32, 545});
    const auto admins = Sid(5, {32, 544});
    EXPECT_EQ(admins, checks::AdministratorsSid());
    EXPECT_TRUE(GroupsIncludeAdministrators({Group(everyone, kEnabled), Group(users, kEnabled),
                                             Group(admins, kEnabled)}));
    EXPECT_FALSE(GroupsIncludeAdministrators({Group(everyone, kEnabled), Group(users, kEnabled)}));
    EXPECT_FALSE(GroupsIncludeAdministrators({}));
}

TEST(AdministratorsMembership, DenyOnlyMembershipStillCounts)
{
    const auto admins = Sid(5, {32, 544});
    EXPECT_TRUE(GroupsIncludeAdministrators({Group(admins, kDenyOnly)}));
    EXPECT_TRUE(GroupsIncludeAdministrators({Group(admins, 0)}));
}

TEST(AdministratorsMembership, SimilarSidsDoNotCount)
{
    const auto otherAuthority = Sid(4, {32, 544});
    const auto extraSubAuthority = Sid(5, {32, 544, 1});
    const auto domainAdmins = Sid(5, {21, 1, 2, 3, 512});
    auto truncated = Sid(5, {32, 544});
    truncated.pop_back();
    EXPECT_FALSE(GroupsIncludeAdministrators({Group(otherAuthority, kEnabled),
                                              Group(extraSubAuthority, kEnabled),
                                              Group(domainAdmins, kEnabled),
                                              Group(truncated, kEnabled)}));
    EXPECT_FALSE(GroupsIncludeAdministrators({TokenGroup{nullptr, 16, kEnabled}}));
}

// Bytes GetTokenInformation asks for on 32-bit Windows: the count, one
// pointer and attribute word per group, then the SIDs themselves.
std::size_t GroupListBytes(std::size_t groups, std::size_t sidLength)
{
    return 4 + groups * (8 + sidLength);
}

TEST(AdministratorsMembership, AGroupListLargerThanTheBufferIsRefused)
{
    EXPECT_TRUE(checks::TokenGroupsFit(GroupListBytes(20, 28)));
    EXPECT_TRUE(checks::TokenGroupsFit(4096));
    EXPECT_FALSE(checks::TokenGroupsFit(4097));
    EXPECT_FALSE(checks::TokenGroupsFit(GroupListBytes(120, 28)));  // a big domain account
}

}  // namespace
