#include "instopts_commands.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <ostream>

#include "code_page_text.h"
#include "common/little_endian.h"
#include "oem/install_options_editor.h"
#include "oem/oem_option_plan.h"
#include "oem/switch_parser.h"
#include "options/options_library.h"
#include "platform_text.h"
#include "record_text.h"

namespace instopts {
namespace {

const char kUsage[] =
    "usage: instopts show FILE [--json] [--no-verify] [--codepage N]\n"
    "       instopts new FILE [--from RECIPE|-] [--codepage N]\n"
    "       instopts set FILE NAME --int N | --text S [--codepage N]\n"
    "       instopts remove FILE NAME [--codepage N]\n"
    "       instopts apply FILE [--codepage N] -- SETUP-ARGUMENTS...\n";

struct HandleDeleter {
    void operator()(OptionsLibrary* handle) const { OptionsDestroy(handle); }
};
using HandlePtr = std::unique_ptr<OptionsLibrary, HandleDeleter>;

// A command's words and the options it takes, with a value or without.
struct CommandForm {
    const char* command;
    std::size_t wordCount;
    std::vector<std::string> flags;
    std::vector<std::string> valued;
    bool takesSetupArguments;
};

const CommandForm kCommandForms[] = {
    {"show", 1, {"--json", "--no-verify"}, {"--codepage"}, false},
    {"new", 1, {}, {"--from", "--codepage"}, false},
    {"set", 2, {}, {"--int", "--text", "--codepage"}, false},
    {"remove", 2, {}, {"--codepage"}, false},
    {"apply", 1, {}, {"--codepage"}, true},
};

// A command line taken apart: the words, each option given (a flag with an
// empty value), and for apply the setup arguments after "--".
struct Invocation {
    std::string command;
    std::vector<std::string> words;
    std::map<std::string, std::string> options;
    std::vector<std::string> setupArguments;

    bool Has(const char* option) const { return options.count(option) != 0; }
    const std::string& Value(const char* option) const { return options.at(option); }
};

bool Contains(const std::vector<std::string>& list, const std::string& item)
{
    for (const std::string& entry : list) {
        if (entry == item) return true;
    }
    return false;
}

// False for a wrong invocation: an unknown command or option, an option
// given twice or without its value, words missing or left over.
bool ParseInvocation(const std::vector<std::string>& args, Invocation& invocation)
{
    const CommandForm* form = nullptr;
    for (const CommandForm& candidate : kCommandForms) {
        if (!args.empty() && args[0] == candidate.command) form = &candidate;
    }
    if (!form) return false;
    invocation.command = args[0];
    bool setupArgumentsGiven = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (form->takesSetupArguments && arg == "--") {
            invocation.setupArguments.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            setupArgumentsGiven = true;
            break;
        }
        if (Contains(form->flags, arg)) {
            if (!invocation.options.emplace(arg, "").second) return false;
        } else if (Contains(form->valued, arg)) {
            if (i + 1 == args.size() || !invocation.options.emplace(arg, args[i + 1]).second) return false;
            ++i;
        } else if (arg.compare(0, 2, "--") == 0) {
            return false;
        } else {
            invocation.words.push_back(arg);
        }
    }
    return invocation.words.size() == form->wordCount && setupArgumentsGiven == form->takesSetupArguments;
}

int Usage(std::ostream& err)
{
    err << kUsage;
    return kExitRefused;
}

int Fail(std::ostream& err, const std::string& where, int code, const std::string& what)
{
    err << "instopts: " << where << ": " << what << '\n';
    return code;
}

int ExitCodeOf(OptionsResult result)
{
    switch (result) {
    case OPTS_OK: return kExitOk;
    case OPTS_E_INVALID_ARGUMENT: return kExitRefused;
    case OPTS_E_FILE_NOT_FOUND: return kExitNotFound;
    case OPTS_E_OPEN_FAILED: return kExitCannotOpen;
    case OPTS_E_BAD_FORMAT: return kExitDamaged;
    case OPTS_E_DIGEST_MISMATCH: return kExitDigestMismatch;
    case OPTS_E_OUT_OF_MEMORY: return kExitOutOfMemory;
    case OPTS_E_WRITE_FAILED: return kExitWriteFailed;
    default: return kExitFailed;
    }
}

// What a code 5 or 6 means for this particular file.
bool LooksLikeOptionsFile(const std::string& path)
{
    std::ifstream in(SystemPath(path), std::ios::binary);
    unsigned char header[options::kFileHeaderSize];
    return in.read(reinterpret_cast<char*>(header), sizeof header) &&
           common::ReadLittleEndian32(header) == options::kFileMagic;
}

bool TooLargeToVerify(const std::string& path)
{
    std::ifstream in(SystemPath(path), std::ios::binary | std::ios::ate);
    return in && static_cast<std::uint64_t>(in.tellg()) > options::kMaxVerifiedFileSize;
}

std::string LoadFailure(OptionsResult result, const std::string& path)
{
    switch (result) {
    case OPTS_E_FILE_NOT_FOUND: return "file not found";
    case OPTS_E_OPEN_FAILED: return "cannot open the file for reading";
    case OPTS_E_BAD_FORMAT:
        return LooksLikeOptionsFile(path) ? "damaged: a record is cut short or has an impossible length"
                                          : "not an options file";
    case OPTS_E_DIGEST_MISMATCH:
        return TooLargeToVerify(path) ? "too large to verify (over 262,144 bytes); show --no-verify reads it"
                                      : "digest mismatch: the file was changed or damaged";
    case OPTS_E_OUT_OF_MEMORY: return "out of memory";
    default: return "load failed with code " + std::to_string(result);
    }
}

std::string SaveFailure(OptionsResult result)
{
    switch (result) {
    case OPTS_E_OPEN_FAILED: return "cannot write the file: it could not be created or replaced (read-only, in use, or no such folder?)";
    case OPTS_E_WRITE_FAILED: return "write failed (disk full?); the previous file is unchanged";
    case OPTS_E_OUT_OF_MEMORY: return "out of memory";
    default: return "save failed with code " + std::to_string(result);
    }
}

std::string EditFailure(OptionsResult result)
{
    if (result == OPTS_E_INVALID_ARGUMENT) return "invalid option: a name takes at most 31 bytes, a text at most 2047";
    if (result == OPTS_E_OUT_OF_MEMORY) return "out of memory";
    return "edit failed with code " + std::to_string(result);
}

// Loads the file into a new handle; on a failure says why.
int LoadFile(const std::string& path, bool verify, HandlePtr& handle, std::ostream& err)
{
    OptionsLibrary* created = nullptr;
    OptionsResult result = OptionsCreateDefault(&created);
    handle.reset(created);
    if (result == OPTS_OK) result = OptionsLoad(SystemPath(path).c_str(), handle.get(), verify ? 1 : 0);
    return result == OPTS_OK ? kExitOk : Fail(err, path, ExitCodeOf(result), LoadFailure(result, path));
}

int SaveFile(const std::string& path, OptionsLibrary* handle, std::ostream& err)
{
    const OptionsResult result = OptionsSave(SystemPath(path).c_str(), handle);
    return result == OPTS_OK ? kExitOk : Fail(err, path, ExitCodeOf(result), SaveFailure(result));
}

// UTF-8 text from the command line in the code page's bytes; false after
// saying why it cannot be stored.
bool EncodeArgument(const CodePageText& codePage, const std::string& text, std::string& bytes, const std::string& path,
                    std::ostream& err)
{
    std::string refusal;
    if (!codePage.Encode(text, bytes, refusal)) {
        Fail(err, path, kExitRefused, refusal);
        return false;
    }
    if (bytes.find('\0') != std::string::npos) {
        Fail(err, path, kExitRefused, "a name or text cannot hold a zero character");
        return false;
    }
    return true;
}

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

// A 32-bit value, given signed or as its unsigned bit pattern.
bool ParseInteger(const std::string& text, std::int32_t& value)
{
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != 0 || parsed < -2147483648LL || parsed > 4294967295LL) return false;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(parsed));
    return true;
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
        return EditFile(path, [&](OptionsLibrary* h) { return OptionsSetInteger(h, name.c_str(), value); }, err);
    }
    std::string text;
    if (!EncodeArgument(codePage, invocation.Value("--text"), text, path, err)) return kExitRefused;
    return EditFile(path, [&](OptionsLibrary* h) { return OptionsSetString(h, name.c_str(), text.c_str()); }, err);
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
    return EditFile(path, [&](OptionsLibrary* h) { return OptionsRemove(h, name.c_str()); }, err);
}

// Where the editor's failure lines go while `apply` runs; the editor takes a
// plain function.
std::ostream* g_applyErrors = nullptr;
const std::string* g_applyPath = nullptr;

void ReportApplyFailure(const char* line)
{
    *g_applyErrors << "instopts: " << *g_applyPath << ": " << line << '\n';
}

// The exit code for a file the editor would not load; its own line has said
// so, and a quiet load of the tool's tells which fault it was.
int ApplyLoadExitCode(oem::EditorResult loaded, const std::string& path)
{
    if (loaded == oem::kFileNotFound) return kExitNotFound;
    if (loaded == oem::kFileReadOnly) return kExitCannotOpen;
    HandlePtr handle;
    std::ostream quiet(nullptr);
    const int code = LoadFile(path, true, handle, quiet);
    return code == kExitOk ? kExitFailed : code;
}

// The words after "--", joined by single blanks as setup's command line.
std::string JoinSetupArguments(const std::vector<std::string>& words)
{
    std::string joined;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) joined += ' ';
        joined += words[i];
    }
    return joined;
}

// Applies the OEM switches of a setup command line to the file exactly as the
// launcher does with its staged copy, and prints the argument text that
// would reach the installer. The switches are cut even when the file cannot
// be loaded, as in the launcher; then nothing is written.
int Apply(const Invocation& invocation, const CodePageText& codePage, std::ostream& out, std::ostream& err)
{
    const std::string& path = invocation.words[0];
    std::string setupArguments;
    if (!EncodeArgument(codePage, JoinSetupArguments(invocation.setupArguments), setupArguments, path, err)) {
        return kExitRefused;
    }
    g_applyErrors = &err;
    g_applyPath = &path;
    oem::InstallOptionsEditor editor(&ReportApplyFailure);
    const oem::EditorResult loaded = editor.Load(SystemPath(path).c_str());

    std::vector<char> commandLine(setupArguments.begin(), setupArguments.end());
    commandLine.push_back('\0');
    oem::SwitchParser parser(commandLine.data(), codePage.LeadBytes());
    const std::vector<oem::OptionWrite> writes = oem::PlanOemOptions(parser);
    out << codePage.Decode(commandLine.data()) << '\n';
    if (loaded != oem::kEditorOk) return ApplyLoadExitCode(loaded, path);

    bool failed = oem::ApplyOptionWrites(editor, writes) != oem::kEditorOk;
    if (editor.Save() != oem::kEditorOk) failed = true;
    return failed ? kExitFailed : kExitOk;
}

bool ParseCodePage(const std::string& text, unsigned& number)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    number = static_cast<unsigned>(std::stoul(text));
    return IsSupportedCodePage(number);
}

}  // namespace

int RunInstopts(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    Invocation invocation;
    if (!ParseInvocation(args, invocation)) return Usage(err);
    unsigned number = kDefaultCodePage;
    if (invocation.Has("--codepage") && !ParseCodePage(invocation.Value("--codepage"), number)) {
        return Fail(err, "--codepage " + invocation.Value("--codepage"), kExitRefused,
                    "not one of the code pages 874, 932, 936, 949, 950 and 1250 to 1258");
    }
    const CodePageText codePage(number);
    if (!codePage.IsUsable()) {
        return Fail(err, "--codepage " + std::to_string(number), kExitRefused, "this system cannot convert it");
    }
    const std::string& command = invocation.command;
    if (command == "show") return Show(invocation, codePage, out, err);
    if (command == "new") return New(invocation, codePage, in, err);
    if (command == "set") return Set(invocation, codePage, err);
    if (command == "remove") return Remove(invocation, codePage, err);
    return Apply(invocation, codePage, out, err);
}

}  // namespace instopts
