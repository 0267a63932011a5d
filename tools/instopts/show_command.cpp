#include "instopts/show_command.h"

#include <ostream>
#include <vector>

#include "instopts/options_handle.h"
#include "instopts/record_text.h"
#include "instopts/tool_messages.h"

namespace instopts {

int Show(const Invocation& invocation, const CodePageText& codePage, std::ostream& out, std::ostream& err)
{
    HandlePtr handle;
    const int loaded = LoadFile(invocation.words[0], !invocation.Has("--no-verify"), handle, err);
    if (loaded != kExitOk) return loaded;
    // The list holds the records newest first, the reverse of the file.
    std::vector<OptionRecordView> records;
    for (const OptionRecord* r = OptionsFirstRecord(handle.get()); r; r = OptionsNextRecord(r)) {
        records.push_back(OptionsViewRecord(r));
    }
    const bool json = invocation.Has("--json");
    for (auto r = records.rbegin(); r != records.rend(); ++r) {
        out << (json ? RecordJson(*r, codePage) : RecordLine(*r, codePage)) << '\n';
    }
    return kExitOk;
}

}  // namespace instopts
