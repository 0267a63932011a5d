#pragma once
// Whether a file exists and may be written, as the options editor checks it
// before it loads the staged file.

namespace oem {

enum class FileState {
    Missing,   // its attributes cannot be read
    ReadOnly,  // the read-only attribute (natively: no owner write permission)
    Writable,
};

FileState QueryFileState(const char* path);

}  // namespace oem
