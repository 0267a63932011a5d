#pragma once
// The rules of the platform checks, as plain functions of plain values.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace checks {

// GetKeyboardType(0) of a Japanese keyboard, and the first GetKeyboardType(1)
// subtype that marks a NEC PC-98 machine.
constexpr int kJapaneseKeyboardType = 7;
constexpr unsigned kFirstNecPc98Subtype = 0x0D01;

bool IsNecPc98Keyboard(int keyboardType, int keyboardSubtype);

// Windows 98 (4.10) is the oldest supported version; the platform id plays no
// part, so NT 4.0 is refused like Windows 95.
constexpr unsigned kMinimumMajorVersion = 4;
constexpr unsigned kMinimumMinorVersion = 10;

bool IsWindowsVersionSupported(unsigned majorVersion, unsigned minorVersion);

// The token's groups are read into a fixed buffer of this size; a list that
// needs more counts as no administrator.
constexpr std::size_t kTokenGroupsBufferSize = 4096;

// True when a group list of `requiredBytes` (as GetTokenInformation reports
// it) fits the buffer.
bool TokenGroupsFit(std::size_t requiredBytes);

// One SID of the token's group list, as bytes, and the group's attributes.
struct TokenGroup {
    const std::uint8_t* sid;
    std::size_t sidLength;
    std::uint32_t attributes;
};

// The bytes of S-1-5-32-544, the built-in Administrators group.
const std::vector<std::uint8_t>& AdministratorsSid();

// The group attributes that matter (SE_GROUP_ENABLED, SE_GROUP_USE_FOR_DENY_ONLY).
constexpr std::uint32_t kGroupEnabled = 0x00000004;
constexpr std::uint32_t kGroupUseForDenyOnly = 0x00000010;

// True when a group of the list is the Administrators group and grants its
// rights: enabled, not deny-only. A filtered token (an administrator started
// without elevation on Vista and later) holds the group as deny-only, and its
// writes to HKEY_LOCAL_MACHINE would go to the user's VirtualStore.
bool GroupsIncludeAdministrators(const std::vector<TokenGroup>& groups);

}  // namespace checks
