#include "instopts/tool_messages.h"

#include <fstream>
#include <ostream>

#include "common/little_endian.h"
#include "instopts/platform_text.h"

namespace instopts {
namespace {

const char kUsage[] =
    "usage: instopts show FILE [--json] [--no-verify] [--codepage N]\n"
    "       instopts new FILE [--from RECIPE|-] [--codepage N]\n"
    "       instopts set FILE NAME --int N | --text S [--codepage N]\n"
    "       instopts remove FILE NAME [--codepage N]\n"
    "       instopts apply FILE [--codepage N] -- SETUP-ARGUMENTS...\n";

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

}  // namespace

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
    case OPTS_E_OPEN_FAILED:
        return "cannot write the file: it could not be created or replaced (read-only, in use, or no such folder?)";
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

}  // namespace instopts
