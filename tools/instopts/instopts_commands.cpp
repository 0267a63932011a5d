#include "instopts_commands.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <ostream>

#include "oem/install_options_editor.h"
#include "oem/oem_option_plan.h"
#include "oem/switch_parser.h"
#include "common/little_endian.h"
#include "options/options_library.h"
#include "options/options_records.h"
#include "record_text.h"

#ifdef _WIN32
#include "common/ansi_code_page.h"
#endif

namespace instopts {
namespace {

constexpr int kUsageExit = 2;

const char kUsage[] =
    "usage: instopts show FILE [--no-verify] [--json]\n"
    "       instopts new FILE\n"
    "       instopts set FILE NAME --int N | --text S\n"
    "       instopts remove FILE NAME\n"
    "       instopts apply FILE -- SETUP-ARGUMENTS...\n";

struct HandleDeleter {
    void operator()(OptionsLibrary* handle) const { OptionsDestroy(handle); }
};
using HandlePtr = std::unique_ptr<OptionsLibrary, HandleDeleter>;

int Usage(std::ostream& err)
{
    err << kUsage;
    return kUsageExit;
}

// What a code 5 or 6 means for this particular file.
bool LooksLikeOptionsFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    unsigned char header[options::kFileHeaderSize];
    return in.read(reinterpret_cast<char*>(header), sizeof header) &&
           common::ReadLittleEndian32(header) == options::kFileMagic;
}

bool TooLargeToVerify(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
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

int Fail(std::ostream& err, const std::string& path, OptionsResult result, const std::string& what)
{
    err << "instopts: " << path << ": " << what << '\n';
    return result;
}

HandlePtr CreateHandle(OptionsResult& result)
{
    OptionsLibrary* handle = nullptr;
    result = OptionsCreateDefault(&handle);
    return HandlePtr(handle);
}

int Show(const std::string& path, bool verify, bool json, std::ostream& out, std::ostream& err)
{
    OptionsResult result = OPTS_OK;
    HandlePtr handle = CreateHandle(result);
    if (result != OPTS_OK) return Fail(err, path, result, "cannot create an options handle");
    result = OptionsLoad(path.c_str(), handle.get(), verify ? 1 : 0);
    if (result != OPTS_OK) return Fail(err, path, result, LoadFailure(result, path));

    // The list holds the records newest first, the reverse of the file.
    std::vector<OptionRecordView> records;
    for (const OptionRecord* r = OptionsFirstRecord(handle.get()); r; r = OptionsNextRecord(r)) {
        records.push_back(OptionsViewRecord(r));
    }
    for (auto r = records.rbegin(); r != records.rend(); ++r) out << (json ? RecordJson(*r) : RecordLine(*r)) << '\n';
    return OPTS_OK;
}

int New(const std::string& path, std::ostream& err)
{
    if (std::ifstream(path)) return Fail(err, path, OPTS_E_OPEN_FAILED, "already exists; remove it first");
    OptionsResult result = OPTS_OK;
    HandlePtr handle = CreateHandle(result);
    if (result != OPTS_OK) return Fail(err, path, result, "cannot create an options handle");
    result = OptionsSave(path.c_str(), handle.get());
    return result == OPTS_OK ? OPTS_OK : Fail(err, path, result, SaveFailure(result));
}

// Load verified, apply one edit with the library's own operation, save.
template <typename Edit>
int EditFile(const std::string& path, Edit edit, std::ostream& err)
{
    OptionsResult result = OPTS_OK;
    HandlePtr handle = CreateHandle(result);
    if (result != OPTS_OK) return Fail(err, path, result, "cannot create an options handle");
    result = OptionsLoad(path.c_str(), handle.get(), 1);
    if (result != OPTS_OK) return Fail(err, path, result, LoadFailure(result, path));
    result = edit(handle.get());
    if (result != OPTS_OK) return Fail(err, path, result, EditFailure(result));
    result = OptionsSave(path.c_str(), handle.get());
    return result == OPTS_OK ? OPTS_OK : Fail(err, path, result, SaveFailure(result));
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

int Set(const std::vector<std::string>& args, std::ostream& err)
{
    if (args.size() != 5) return Usage(err);
    const std::string& path = args[1];
    const std::string& name = args[2];
    if (args[3] == "--int") {
        std::int32_t value = 0;
        if (!ParseInteger(args[4], value)) return Usage(err);
        return EditFile(path, [&](OptionsLibrary* h) { return OptionsSetInteger(h, name.c_str(), value); }, err);
    }
    if (args[3] == "--text") {
        // The library takes zero-terminated text.
        if (args[4].find('\0') != std::string::npos) return Usage(err);
        return EditFile(path, [&](OptionsLibrary* h) { return OptionsSetString(h, name.c_str(), args[4].c_str()); },
                        err);
    }
    return Usage(err);
}

// Where the editor's failure lines go while `apply` runs; the editor takes a
// plain function.
std::ostream* g_applyErrors = nullptr;
const std::string* g_applyPath = nullptr;

void ReportApplyFailure(const char* line)
{
    *g_applyErrors << "instopts: " << *g_applyPath << ": " << line << '\n';
}

text::CodePage SetupCodePage()
{
#ifdef _WIN32
    return win::AnsiCodePage();
#else
    return text::SingleByteCodePage();
#endif
}

// Applies the OEM switches of a setup command line to the file exactly as the
// launcher does with its staged copy, and prints the argument text that
// would reach the installer. The switches are cut even when the file cannot
// be loaded, as in the launcher; then nothing is written.
int Apply(const std::string& path, const std::string& setupArguments, std::ostream& out, std::ostream& err)
{
    g_applyErrors = &err;
    g_applyPath = &path;
    oem::InstallOptionsEditor editor(&ReportApplyFailure);
    const int loaded = editor.Load(path.c_str());

    std::vector<char> commandLine(setupArguments.begin(), setupArguments.end());
    commandLine.push_back('\0');
    oem::SwitchParser parser(commandLine.data(), SetupCodePage());
    const std::vector<oem::OptionWrite> writes = oem::PlanOemOptions(parser);
    out << commandLine.data() << '\n';
    if (loaded != oem::kEditorOk) return loaded;

    int result = oem::ApplyOptionWrites(editor, writes);
    if (editor.Save() != oem::kEditorOk) result = oem::kEditorFailed;
    return result;
}

// The words after "--", joined by single blanks as setup's command line.
std::string JoinSetupArguments(const std::vector<std::string>& args, std::size_t first)
{
    std::string joined;
    for (std::size_t i = first; i < args.size(); ++i) {
        if (i > first) joined += ' ';
        joined += args[i];
    }
    return joined;
}

}  // namespace

int RunInstopts(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() < 2) return Usage(err);
    const std::string& command = args[0];
    if (command == "show") {
        bool verify = true;
        bool json = false;
        for (std::size_t i = 2; i < args.size(); ++i) {
            if (args[i] == "--no-verify") {
                verify = false;
            } else if (args[i] == "--json") {
                json = true;
            } else {
                return Usage(err);
            }
        }
        return Show(args[1], verify, json, out, err);
    }
    if (command == "new" && args.size() == 2) return New(args[1], err);
    if (command == "set") return Set(args, err);
    if (command == "apply" && args.size() >= 3 && args[2] == "--") {
        return Apply(args[1], JoinSetupArguments(args, 3), out, err);
    }
    if (command == "remove" && args.size() == 3) {
        const std::string& name = args[2];
        return EditFile(args[1], [&](OptionsLibrary* h) { return OptionsRemove(h, name.c_str()); }, err);
    }
    return Usage(err);
}

}  // namespace instopts
