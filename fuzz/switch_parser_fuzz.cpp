// Feeds arbitrary command lines to the OEM switch parser and its option plan.
// The first byte picks the code page; the rest is the command line.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "oem/oem_option_plan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const text::CodePage codePage = (data[0] & 1) ? text::ShiftJisCodePage() : text::SingleByteCodePage();
    std::vector<char> commandLine(data + 1, data + size);
    commandLine.push_back('\0');
    const std::size_t before = std::strlen(commandLine.data());

    oem::SwitchParser parser(commandLine.data(), codePage);
    const std::vector<oem::OptionWrite> writes = oem::PlanOemOptions(parser);

    // Cutting only ever shortens the line, and every text fits its buffer.
    if (std::strlen(commandLine.data()) > before) std::abort();
    if (writes.size() > 14) std::abort();
    for (const oem::OptionWrite& write : writes) {
        if (write.text.size() >= oem::kSwitchTextCapacity) std::abort();
    }
    return 0;
}
