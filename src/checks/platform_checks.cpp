#include "checks/platform_checks.h"

#include <windows.h>

#include <vector>

#include "checks/platform_rules.h"
#include "common/system_library.h"
#include "common/unique_handle.h"

namespace checks {
namespace {

// The token functions are NT's: Windows 98 and Me export them only as stubs,
// so they are bound at run time and asked for on the NT family only.
struct TokenFunctions {
    BOOL(WINAPI* openProcessToken)(HANDLE, DWORD, PHANDLE);
    BOOL(WINAPI* getTokenInformation)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
    DWORD(WINAPI* getLengthSid)(PSID);
    BOOL(WINAPI* isValidSid)(PSID);
    bool Complete() const { return openProcessToken && getTokenInformation && getLengthSid && isValidSid; }
};

TokenFunctions BindTokenFunctions()
{
    TokenFunctions bound;
    bound.openProcessToken = win::LateBoundAs<decltype(bound.openProcessToken)>(win::LateBound::kOpenProcessToken);
    bound.getTokenInformation =
        win::LateBoundAs<decltype(bound.getTokenInformation)>(win::LateBound::kGetTokenInformation);
    bound.getLengthSid = win::LateBoundAs<decltype(bound.getLengthSid)>(win::LateBound::kGetLengthSid);
    bound.isValidSid = win::LateBoundAs<decltype(bound.isValidSid)>(win::LateBound::kIsValidSid);
    return bound;
}

std::vector<TokenGroup> GroupsOf(const TOKEN_GROUPS& groups, const TokenFunctions& token)
{
    std::vector<TokenGroup> list;
    list.reserve(groups.GroupCount);
    for (DWORD i = 0; i < groups.GroupCount; ++i) {
        PSID sid = groups.Groups[i].Sid;
        if (sid == nullptr || !token.isValidSid(sid)) continue;
        list.push_back(
            TokenGroup{static_cast<const std::uint8_t*>(sid), token.getLengthSid(sid), groups.Groups[i].Attributes});
    }
    return list;
}

}  // namespace

void ClassifyPlatform(const OSVERSIONINFOA& version)
{
    if (RecordedPlatform.recorded) return;
    RecordedPlatform.recorded = true;
    RecordedPlatform.isNtFamily = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool UserIsAdministrator()
{
    if (!RecordedPlatform.isNtFamily) return true;  // the 9x family has no rights to check

    const TokenFunctions functions = BindTokenFunctions();
    if (!functions.Complete()) return false;
    win::UniqueHandle token;
    if (!functions.openProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) return false;

    // Groups that need more than the fixed buffer count as no administrator.
    DWORD required = 0;
    functions.getTokenInformation(token.Get(), TokenGroups, nullptr, 0, &required);
    if (!TokenGroupsFit(required)) return false;

    // Aligned for the TOKEN_GROUPS that the call writes here: its SID
    // pointers need eight bytes on 64-bit Windows.
    alignas(TOKEN_GROUPS) BYTE buffer[kTokenGroupsBufferSize];
    DWORD returned = 0;
    if (!functions.getTokenInformation(token.Get(), TokenGroups, buffer, sizeof buffer, &returned)) {
        return false;
    }
    const auto& groups = *reinterpret_cast<const TOKEN_GROUPS*>(buffer);
    return GroupsIncludeAdministrators(GroupsOf(groups, functions));
}

PlatformRefusal CheckPlatformSupported(const OSVERSIONINFOA& version)
{
    if (GetKeyboardType(0) == kJapaneseKeyboardType && IsNecPc98Keyboard(kJapaneseKeyboardType, GetKeyboardType(1))) {
        return PlatformRefusal::kNecPc98;
    }
    // A failed version query leaves zero fields, which are refused.
    return IsWindowsVersionSupported(version.dwMajorVersion, version.dwMinorVersion) ? PlatformRefusal::kNone
                                                                                     : PlatformRefusal::kWindowsTooOld;
}

}  // namespace checks
