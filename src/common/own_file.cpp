#include "common/own_file.h"

#include "common/ansi_code_page.h"
#include "common/narrow_text.h"
#include "common/system_library.h"

namespace win {
namespace {

// Full control for Administrators and SYSTEM, nothing inherited, no one else.
constexpr char kOwnFileSecurity[] = "D:P(A;;FA;;;BA)(A;;FA;;;SY)";

// The descriptor for `who`, as LocalAlloc gives it, freed when the scope
// ends; empty for what the folder gives, on the 9x family, which has no file
// security, and wherever it cannot be built. Built once for every name tried.
class OwnFileSecurity {
public:
    explicit OwnFileSecurity(OwnFileAccess who)
    {
        if (who != OwnFileAccess::kAdministratorsOnly) return;
        using ConvertFunction = BOOL(WINAPI*)(LPCSTR, DWORD, PSECURITY_DESCRIPTOR*, PULONG);
        const auto convert = LateBoundAs<ConvertFunction>(LateBound::kConvertStringSecurityDescriptorA);
        if (convert && free_ && convert(kOwnFileSecurity, kSddlRevision1, &descriptor_, nullptr)) {
            attributes_ = {sizeof attributes_, descriptor_, FALSE};
        }
    }
    ~OwnFileSecurity()
    {
        if (descriptor_) free_(descriptor_);
    }
    OwnFileSecurity(const OwnFileSecurity&) = delete;
    OwnFileSecurity& operator=(const OwnFileSecurity&) = delete;
    SECURITY_ATTRIBUTES* Attributes() { return descriptor_ ? &attributes_ : nullptr; }

private:
    static constexpr DWORD kSddlRevision1 = 1;  // SDDL_REVISION_1
    using FreeFunction = HLOCAL(WINAPI*)(HLOCAL);
    const FreeFunction free_ = LateBoundAs<FreeFunction>(LateBound::kLocalFree);
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
    SECURITY_ATTRIBUTES attributes_ = {};
};

UniqueFile CreateNewFile(const std::string& path, DWORD access, SECURITY_ATTRIBUTES* attributes)
{
    return UniqueFile(CreateFileA(path.c_str(), access, 0, attributes, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

OwnFile CreateOwnFileNear(const std::string& path, DWORD access, OwnFileAccess who)
{
    OwnFileSecurity security(who);
    for (unsigned number = 0; number <= kOwnFileNumberedNames; ++number) {
        std::string name = number == 0 ? path : text::NumberedPath(path, number, AnsiCodePage());
        UniqueFile file = CreateNewFile(name, access, security.Attributes());
        if (file) return OwnFile{std::move(file), std::move(name)};
    }
    return OwnFile{};
}

}  // namespace win
