// Times a verified load plus a save of a 256 KiB install-options file against
// OpenSSL doing the same cipher and digest work over the same bytes: MD5 and
// Blowfish-ECB deciphering for the load, Blowfish-ECB enciphering and MD5 for
// the save. Prints the figures and their ratio (goal: at most 1.5).
//
//   options_bench [FOLDER]   (FOLDER holds the scratch file; default: the current folder)
#define OPENSSL_SUPPRESS_DEPRECATED  // BF_* and MD5 are deprecated low-level interfaces
#include <openssl/blowfish.h>
#include <openssl/md5.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "options/memory_file_access.h"
#include "options/options_file.h"
#include "options/options_library.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<unsigned char>;

constexpr int kRecords = 125;  // 28 + 125 * 2096 = 262,028 bytes, just under 256 KiB
constexpr int kRounds = 15;
constexpr int kPerRound = 20;

const unsigned char kKey[8] = {0x5E, 0x21, 0xC7, 0x93, 0x0D, 0xA4, 0x6B, 0xF8};

// Median over rounds of the mean time of one call, in microseconds.
template <typename Work>
double MedianMicroseconds(Work work)
{
    std::vector<double> rounds;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        for (int i = 0; i < kPerRound; ++i) work();
        rounds.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kPerRound);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[rounds.size() / 2];
}

bool Check(OptionsResult result, const char* what)
{
    if (result != OPTS_OK) std::fprintf(stderr, "options_bench: %s failed with %d\n", what, result);
    return result == OPTS_OK;
}

void OpenSslEcb(const BF_KEY& key, unsigned char* bytes, std::size_t length, int direction)
{
    for (std::size_t at = 0; at < length; at += 8) BF_ecb_encrypt(bytes + at, bytes + at, &key, direction);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : ".";
    const std::string path = folder + "/options-bench.dat";

    OptionsLibrary* handle = nullptr;
    if (!Check(OptionsCreateDefault(&handle), "create")) return 1;
    for (int i = 0; i < kRecords; ++i) {
        std::string text(2047, static_cast<char>('a' + i % 26));
        if (!Check(OptionsSetString(handle, ("INSTOPTS:Value" + std::to_string(i)).c_str(), text.c_str()), "set"))
            return 1;
    }
    if (!Check(OptionsSave(path.c_str(), handle), "first save")) return 1;
    std::ifstream in(path, std::ios::binary);
    const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    bool ok = true;
    const double ours = MedianMicroseconds([&] {
        ok &= Check(OptionsLoad(path.c_str(), handle, 1), "load");
        ok &= Check(OptionsSave(path.c_str(), handle), "save");
    });

    // The same operations through the in-memory back end: the format and
    // crypto work alone, without the system's file calls and the flush.
    options::MemoryFileAccess memory;
    memory.Files()["bench.dat"] = file;
    const double oursInMemory = MedianMicroseconds([&] {
        ok &= Check(options::LoadOptionsFile(memory, "bench.dat", handle, 1), "memory load");
        ok &= Check(options::SaveOptionsFile(memory, "bench.dat", handle), "memory save");
    });

    Bytes work = file;
    unsigned char digest[MD5_DIGEST_LENGTH];
    const double openssl = MedianMicroseconds([&] {
        BF_KEY key;
        // Load: digest over the stored bytes, then decipher the records.
        BF_set_key(&key, sizeof kKey, kKey);
        MD5(work.data(), work.size(), digest);
        OpenSslEcb(key, work.data() + 28, work.size() - 28, BF_DECRYPT);
        // Save: encipher the records, then digest them.
        BF_set_key(&key, sizeof kKey, kKey);
        OpenSslEcb(key, work.data() + 28, work.size() - 28, BF_ENCRYPT);
        MD5(work.data(), work.size(), digest);
    });
    OptionsDestroy(handle);
    std::remove(path.c_str());
    if (!ok) return 1;

    std::printf("file: %zu bytes, %d records, in %s\n", file.size(), kRecords, folder.c_str());
    std::printf("verified load + save (system files): %9.1f us\n", ours);
    std::printf("verified load + save (in memory):    %9.1f us\n", oursInMemory);
    std::printf("OpenSSL MD5 + Blowfish-ECB, both ways: %7.1f us\n", openssl);
    std::printf("ratio (system files / OpenSSL): %.2f  (goal <= 1.5)\n", ours / openssl);
    std::printf("ratio (in memory / OpenSSL):    %.2f\n", oursInMemory / openssl);
    return 0;
}
