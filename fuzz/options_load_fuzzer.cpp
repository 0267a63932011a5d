// Fuzz target for loading options files: the input is the file, loaded from
// memory with and without the digest check. Whatever a load takes, the count
// equals the records held. A file that loads saves, and loads back verified
// with the same records in reverse order; one that loads verified refuses
// every truncation and every flipped bit, which leave the handle as it was.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "options/memory_file_access.h"
#include "options/options_file.h"

namespace {

// Each record's bytes (the 40-byte header and the value field) in list order.
std::vector<std::vector<unsigned char>> Records(const OptionsLibrary* handle)
{
    std::vector<std::vector<unsigned char>> records;
    for (const OptionRecord* r = OptionsFirstRecord(handle); r; r = OptionsNextRecord(r)) {
        const OptionRecordView view = OptionsViewRecord(r);
        records.emplace_back(reinterpret_cast<const unsigned char*>(view.name), view.value + view.valueLength);
    }
    if (records.size() != OptionsRecordCount(handle)) std::abort();
    return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    options::MemoryFileAccess files;
    std::vector<unsigned char>& file = files.Files()["in.dat"];
    for (int verify = 0; verify <= 1; ++verify) {
        OptionsLibrary *handle = nullptr, *reloaded = nullptr;
        if (OptionsCreateDefault(&handle) != OPTS_OK || OptionsCreateDefault(&reloaded) != OPTS_OK) std::abort();
        file.assign(data, data + size);
        const bool loaded = options::LoadOptionsFile(files, "in.dat", handle, verify) == OPTS_OK;
        const auto records = Records(handle);
        const bool reloads = loaded && options::SaveOptionsFile(files, "out.dat", handle) == OPTS_OK &&
                             options::LoadOptionsFile(files, "out.dat", reloaded, 1) == OPTS_OK;
        auto reversed = Records(reloaded);
        std::reverse(reversed.begin(), reversed.end());
        for (std::size_t cut = 0; loaded && verify && cut < 9 * size; ++cut) {  // each length short of the whole,
            file.assign(data, data + std::min(cut, size));                      // then each bit flipped
            if (cut >= size) file[(cut - size) / 8] ^= static_cast<unsigned char>(1u << (cut - size) % 8);
            if (options::LoadOptionsFile(files, "in.dat", handle, 1) == OPTS_OK) std::abort();
        }
        if (reloads != loaded || (loaded && reversed != records) || Records(handle) != records) std::abort();
        OptionsDestroy(handle);
        OptionsDestroy(reloaded);
    }
    return 0;
}
