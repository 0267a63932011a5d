#pragma once
// The path a save writes before it replaces the target: the target's own
// path with kSiblingSuffix, so it lies in the same folder and the replace
// never crosses a volume.

#include <memory>

namespace options {

// Null when memory runs out.
std::unique_ptr<char[]> SiblingPathOf(const char* target);

}  // namespace options
