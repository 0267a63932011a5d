// Fuzz target for loading install-options files: the input is the file, read
// through the in-memory back end by the very load the product runs. A load
// that succeeds must save, and the saved file must load back verified with
// the same records in reverse order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "options/memory_file_access.h"
#include "options/options_file.h"

namespace {

struct Summary {
    std::vector<unsigned char> header;  // the 40-byte record header
    std::vector<unsigned char> value;
};

std::vector<Summary> Records(const OptionsLibrary* handle)
{
    std::vector<Summary> records;
    for (const OptionRecord* r = OptionsFirstRecord(handle); r; r = OptionsNextRecord(r)) {
        const OptionRecordView view = OptionsViewRecord(r);
        Summary s;
        const auto* header = reinterpret_cast<const unsigned char*>(view.name);  // the record's first byte
        s.header.assign(header, header + 40);
        s.value.assign(view.value, view.value + view.valueLength);
        records.push_back(s);
    }
    return records;
}

void Require(bool condition)
{
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    options::MemoryFileAccess files;
    files.Files()["in.dat"].assign(data, data + size);

    for (int verify = 1; verify >= 0; --verify) {
        OptionsLibrary* handle = nullptr;
        Require(OptionsCreateDefault(&handle) == OPTS_OK);
        const OptionsResult result = options::LoadOptionsFile(files, "in.dat", handle, verify);
        const std::vector<Summary> loaded = Records(handle);
        Require(OptionsRecordCount(handle) == loaded.size());

        if (result == OPTS_OK) {
            Require(options::SaveOptionsFile(files, "out.dat", handle) == OPTS_OK);
            OptionsLibrary* reloaded = nullptr;
            Require(OptionsCreateDefault(&reloaded) == OPTS_OK);
            Require(options::LoadOptionsFile(files, "out.dat", reloaded, 1) == OPTS_OK);
            std::vector<Summary> again = Records(reloaded);
            Require(again.size() == loaded.size());
            for (std::size_t i = 0; i < loaded.size(); ++i) {
                const Summary& a = loaded[i];
                const Summary& b = again[again.size() - 1 - i];
                Require(a.header == b.header && a.value == b.value);
            }
            OptionsDestroy(reloaded);

            // Editing a loaded handle keeps the count equal to the records.
            if (!loaded.empty()) {
                char name[33] = {};
                std::memcpy(name, loaded.front().header.data(), 32);
                OptionsSetInteger(handle, name, 1);
                OptionsRemove(handle, name);
                Require(OptionsRecordCount(handle) == Records(handle).size());
            }
        }
        OptionsDestroy(handle);
    }
    return 0;
}
