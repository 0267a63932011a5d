#include "oem/file_state.h"

#include <sys/stat.h>

namespace oem {

FileState QueryFileState(const char* path)
{
    struct stat status;
    if (stat(path, &status) != 0) return FileState::kMissing;
    return (status.st_mode & S_IWUSR) ? FileState::kWritable : FileState::kReadOnly;
}

}  // namespace oem
