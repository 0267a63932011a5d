#include "instopts/edit_commands.h"

#include <fstream>
#include <vector>

#include "instopts/options_handle.h"
#include "instopts/platform_text.h"
#include "instopts/record_text.h"
#include "instopts/tool_messages.h"

namespace instopts {
namespace {

bool IsBlankOrComment(const std::string& line)
{
    const std::size_t first = line.find_first_not_of(" \t");
    return first == std::string::npos || line[first] == '#';
}

// Reads every line of the recipe before anything is added, so a malformed
// line leaves nothing behind.
int ReadRecipe(const std::string& source, const CodePageText& codePage, std::istream& standardInput,
               std::vector<RecipeRecord>& records, std::ostream& err)
{
    const std::string label = source == "-" ? "standard input" : source;
    std::ifstream file;
    if (source != "-") {
        file.open(SystemPath(source), std::ios::binary);
        if (!file) return Fail(err, label, kExitNotFound, "cannot read the recipe");
    }
    std::istream& recipe = source == "-" ? standardInput : file;
    std::string line;
    for (int number = 1; std::getline(recipe, line); ++number) {
        if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);  // a Windows editor's mark
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (IsBlankOrComment(line)) continue;
        RecipeRecord record;
        std::string error;
        if (!ParseRecipeLine(line, codePage, record, error)) {
            return Fail(err, label + ":" + std::to_string(number), kExitRefused, error);
        }
        records.push_back(std::move(record));
    }
    return kExitOk;
}

// Load verified, apply one edit with the library's own operation, save.
template <typename Edit>
int EditFile(const std::string& path, Edit edit, std::ostream& err)
{
    HandlePtr handle;
    const int loaded = LoadFile(path, true, handle, err);
    if (loaded != kExitOk) return loaded;
    const OptionsResult result = edit(handle.get());
    if (result != OPTS_OK) return Fail(err, path, ExitCodeOf(result), EditFailure(result));
    return SaveFile(path, handle.get(), err);
}

}  // namespace

int New(const Invocation& invocation, const CodePageText& codePage, std::istream& in, std::ostream& err)
{
    const std::string& path = invocation.words[0];
    if (std::ifstream(SystemPath(path))) return Fail(err, path, kExitCannotOpen, "already exists; remove it first");
    std::vector<RecipeRecord> records;
    if (invocation.Has("--from")) {
        const int read = ReadRecipe(invocation.Value("--from"), codePage, in, records, err);
        if (read != kExitOk) return read;
    }
    OptionsLibrary* created = nullptr;
    OptionsResult result = OptionsCreateDefault(&created);
    HandlePtr handle(created);
    // The head of the list is saved first, so the recipe's first record goes on last.
    for (auto r = records.rbegin(); result == OPTS_OK && r != records.rend(); ++r) {
        const OptionRecordView view{r->name.data(), r->name.size(), static_cast<std::int32_t>(r->type),
                                    static_cast<std::uint32_t>(r->valueField.size()),
                                    reinterpret_cast<const unsigned char*>(r->valueField.data())};
        result = OptionsPushRecord(handle.get(), &view);
    }
    if (result != OPTS_OK) return Fail(err, path, ExitCodeOf(result), EditFailure(result));
    return SaveFile(path, handle.get(), err);
}

int Set(const Invocation& invocation, const CodePageText& codePage, std::ostream& err)
{
    if (invocation.Has("--int") == invocation.Has("--text")) return Usage(err);
    const std::string& path = invocation.words[0];
    std::string name;
    if (!EncodeArgument(codePage, invocation.words[1], name, path, err)) return kExitRefused;
    if (invocation.Has("--int")) {
        std::int32_t value = 0;
        if (!ParseInteger(invocation.Value("--int"), value)) return Usage(err);
        return EditFile(
            path, [&](OptionsLibrary* h) { return OptionsSetInteger(h, name.c_str(), value); }, err);
    }
    std::string text;
    if (!EncodeArgument(codePage, invocation.Value("--text"), text, path, err)) return kExitRefused;
    return EditFile(
        path, [&](OptionsLibrary* h) { return OptionsSetString(h, name.c_str(), text.c_str()); }, err);
}

int Remove(const Invocation& invocation, const CodePageText& codePage, std::ostream& err)
{
    const std::string& path = invocation.words[0];
    std::string name;
    if (!EncodeArgument(codePage, invocation.words[1], name, path, err)) return kExitRefused;
    // The library compares a longer name by its first 32 bytes; refuse it as set does.
    if (name.size() > options::kMaxNameLength) {
        return Fail(err, path, kExitRefused, EditFailure(OPTS_E_INVALID_ARGUMENT));
    }
    return EditFile(
        path, [&](OptionsLibrary* h) { return OptionsRemove(h, name.c_str()); }, err);
}

}  // namespace instopts
