#pragma once
// MD5 message digest (RFC 1321), fed in pieces of any size.

#include <cstddef>
#include <cstdint>

namespace options {

class Md5 {
public:
    Md5();
    void Update(const unsigned char* bytes, std::size_t length);
    // Writes the 16 digest bytes in MD5's standard output order. The object
    // must not be updated afterwards.
    void Finish(unsigned char digest[16]);

private:
    void Compress(const unsigned char* block);

    std::uint32_t state_[4];
    std::uint64_t totalLength_ = 0;
    unsigned char pending_[64];
    std::size_t pendingLength_ = 0;
};

}  // namespace options
