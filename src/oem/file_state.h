#pragma once
// Whether a file exists and may be written, as the options editor checks it
// before it loads the staged file.

namespace oem {

enum class FileState {
    kMissing,   // its attributes cannot be read
    kReadOnly,  // the read-only attribute (natively: no owner write permission)
    kWritable,
};

FileState QueryFileState(const char* path);

}  // namespace oem
