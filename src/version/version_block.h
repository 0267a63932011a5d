#pragma once
// Acceptance of a copied version resource before any query runs on it.

#include <cstddef>
#include <cstdint>

namespace version {

// The copy of the resource sits at the start of a zero-filled buffer three
// times the resource's size: the system's VerQueryValueA writes the ANSI
// form of the text it returns past the end of the block, at an offset that
// it takes from the block's own wLength. So a block is only accepted when
//   - the resource holds the header and the 15 characters of the key,
//   - its wLength is not smaller than its wValueLength,
//   - its key begins with "VS_VERSION_INFO" (16-bit characters, exact case),
//   - its wLength is not larger than the resource, which keeps that write
//     inside the buffer.
bool IsAcceptableVersionBlock(const std::uint8_t* resource, std::size_t resourceSize);

// Bytes of the buffer a resource of `resourceSize` bytes is copied into.
constexpr std::size_t kBlockSizeFactor = 3;

}  // namespace version
