#include "options/sibling_path.h"

#include <cstring>
#include <new>

#include "options/file_access.h"

namespace options {

std::unique_ptr<char[]> SiblingPathOf(const char* target)
{
    const std::size_t targetLength = std::strlen(target);
    std::unique_ptr<char[]> path(new (std::nothrow) char[targetLength + sizeof kSiblingSuffix]);
    if (path) {
        std::memcpy(path.get(), target, targetLength);
        std::memcpy(path.get() + targetLength, kSiblingSuffix, sizeof kSiblingSuffix);
    }
    return path;
}

}  // namespace options
