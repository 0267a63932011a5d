#include "oem/file_state.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace oem {

#ifdef _WIN32
FileState QueryFileState(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return FileState::Missing;
    return (attributes & FILE_ATTRIBUTE_READONLY) ? FileState::ReadOnly : FileState::Writable;
}
#else
FileState QueryFileState(const char* path)
{
    struct stat status;
    if (stat(path, &status) != 0) return FileState::Missing;
    return (status.st_mode & S_IWUSR) ? FileState::Writable : FileState::ReadOnly;
}
#endif

}  // namespace oem
