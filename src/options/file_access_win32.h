#pragma once
// Pieces of the Win32 back end that the Windows tests reach directly.

#include "options/file_access.h"

namespace options {

// The replace used where the system has no atomic one (the 9x family): the
// target is deleted, then the sibling renamed; the sibling stays until the
// rename is done.
ReplaceOutcome ReplaceByDeleteThenRename(const char* sibling, const char* target);

}  // namespace options
