// Feeds arbitrary command lines to the OEM switch parser and its option plan
// and compares what they write and cut with the unit test's reference model.
// The first byte picks the code page; the rest, to its first zero byte, is
// the command line.
#include <cstdint>
#include <cstdlib>

#include "../tests/oem/switch_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const text::CodePage codePage = (data[0] & 1) ? text::ShiftJisCodePage() : text::SingleByteCodePage();
    const std::string line = std::string(reinterpret_cast<const char*>(data) + 1, size - 1).c_str();
    if (oem_model::ParserPlan(line, codePage) != oem_model::ModelPlan(line, codePage)) std::abort();
    return 0;
}
