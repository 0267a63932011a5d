#include "checks/platform_rules.h"

#include <algorithm>

namespace checks {

bool IsNecPc98Keyboard(int keyboardType, int keyboardSubtype)
{
    return keyboardType == kJapaneseKeyboardType && static_cast<unsigned>(keyboardSubtype) >= kFirstNecPc98Subtype;
}

bool IsWindowsVersionSupported(unsigned majorVersion, unsigned minorVersion)
{
    if (majorVersion != kMinimumMajorVersion) return majorVersion > kMinimumMajorVersion;
    return minorVersion >= kMinimumMinorVersion;
}

bool TokenGroupsFit(std::size_t requiredBytes)
{
    return requiredBytes <= kTokenGroupsBufferSize;
}

const std::vector<std::uint8_t>& AdministratorsSid()
{
    // Revision 1, two sub-authorities, NT authority 5, then the built-in
    // domain (32) and the Administrators alias (544), little-endian.
    static const std::vector<std::uint8_t> sid = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 0x02, 0, 0};
    return sid;
}

bool GroupsIncludeAdministrators(const std::vector<TokenGroup>& groups)
{
    const std::vector<std::uint8_t>& admins = AdministratorsSid();
    return std::any_of(groups.begin(), groups.end(), [&](const TokenGroup& group) {
        const bool grantsRights =
            (group.attributes & kGroupEnabled) != 0 && (group.attributes & kGroupUseForDenyOnly) == 0;
        return grantsRights && group.sid != nullptr && group.sidLength == admins.size() &&
               std::equal(admins.begin(), admins.end(), group.sid);
    });
}

}  // namespace checks
