#include "oem/file_state.h"

#include <windows.h>

namespace oem {

FileState QueryFileState(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return FileState::kMissing;
    return (attributes & FILE_ATTRIBUTE_READONLY) ? FileState::kReadOnly : FileState::kWritable;
}

}  // namespace oem
