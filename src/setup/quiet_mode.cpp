#include "setup/quiet_mode.h"

#include <cstddef>

namespace setup {
namespace {

struct QuietOption {
    const char* spelling;  // lower case, with "/"
    QuietMode mode;
};

// "/qb-!" is the installer's other spelling of "/qb!-".
constexpr QuietOption kQuietOptions[] = {
    {"/q", QuietMode::kSilent},    {"/qn", QuietMode::kSilent},    {"/qn+", QuietMode::kSilent},
    {"/qn-", QuietMode::kSilent},  {"/quiet", QuietMode::kSilent}, {"/passive", QuietMode::kNoBoxes},
    {"/qb-", QuietMode::kNoBoxes}, {"/qb!-", QuietMode::kNoBoxes}, {"/qb-!", QuietMode::kNoBoxes},
};

struct Installer20Spelling {
    const char* option;    // lower case, with "/"
    const char* spelling;  // empty: left out
};

constexpr Installer20Spelling kInstaller20Spellings[] = {
    {"/quiet", "/qn"},
    {"/passive", "/qb!-"},
    {"/norestart", "REBOOT=ReallySuppress"},
    {"/forcerestart", "REBOOT=Force"},
    {"/promptrestart", ""},
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The word as an option is compared: lower case, a leading "-" read as "/".
// A word holding a quote matches no option: "C:\a /qn" stays part of its value.
std::string OptionSpelling(std::string_view word)
{
    if (word.find('"') != std::string_view::npos) return {};
    std::string spelling(word);
    for (char& c : spelling) c = Lower(c);
    if (!spelling.empty() && spelling[0] == '-') spelling[0] = '/';
    return spelling;
}

// Calls `visit(start, length)` for each word; blanks inside quotes do not end one.
template <typename Visit>
void ForEachWord(std::string_view arguments, Visit visit)
{
    bool quoted = false;
    std::size_t wordStart = 0;
    for (std::size_t i = 0; i <= arguments.size(); ++i) {
        const bool atEnd = i == arguments.size();
        if (!atEnd && arguments[i] == '"') quoted = !quoted;
        if (atEnd || (!quoted && IsBlank(arguments[i]))) {
            if (i > wordStart) visit(wordStart, i - wordStart);
            wordStart = i + 1;
        }
    }
}

QuietMode ModeOfWord(std::string_view word)
{
    const std::string spelling = OptionSpelling(word);
    for (const QuietOption& option : kQuietOptions) {
        if (spelling == option.spelling) return option.mode;
    }
    return QuietMode::kNone;
}

// REBOOT=Force, or REBOOT="force": the property name as the installer
// matches it, exactly; its value in any case.
bool IsForcedRebootProperty(std::string_view word)
{
    constexpr std::string_view kProperty = "REBOOT=";
    if (word.substr(0, kProperty.size()) != kProperty) return false;
    std::string value;
    for (char c : word.substr(kProperty.size())) {
        if (c != '"') value += Lower(c);
    }
    return value == "force";
}

const Installer20Spelling* Installer20SpellingOf(std::string_view word)
{
    const std::string spelling = OptionSpelling(word);
    for (const Installer20Spelling& entry : kInstaller20Spellings) {
        if (spelling == entry.option) return &entry;
    }
    return nullptr;
}

}  // namespace

QuietMode Quieter(QuietMode first, QuietMode second)
{
    return first > second ? first : second;
}

QuietMode FindQuietMode(std::string_view arguments)
{
    QuietMode mode = QuietMode::kNone;
    ForEachWord(arguments, [&](std::size_t start, std::size_t length) {
        mode = Quieter(mode, ModeOfWord(arguments.substr(start, length)));
    });
    return mode;
}

bool RestartRequested(std::string_view arguments)
{
    bool requested = false;
    ForEachWord(arguments, [&](std::size_t start, std::size_t length) {
        const std::string_view word = arguments.substr(start, length);
        if (OptionSpelling(word) == "/forcerestart" || IsForcedRebootProperty(word)) requested = true;
    });
    return requested;
}

bool KnowsInstaller30Options(std::string_view installedVersion)
{
    // The major version: the digits before the first ".".
    unsigned major = 0;
    std::size_t digits = 0;
    for (; digits < installedVersion.size() && installedVersion[digits] >= '0' && installedVersion[digits] <= '9';
         ++digits) {
        if (major < 1000) major = major * 10 + static_cast<unsigned>(installedVersion[digits] - '0');
    }
    return digits > 0 && major >= 3;
}

Installer20Arguments InInstaller20Dialect(std::string_view arguments)
{
    Installer20Arguments result;
    std::size_t copied = 0;
    ForEachWord(arguments, [&](std::size_t start, std::size_t length) {
        const std::string_view word = arguments.substr(start, length);
        const Installer20Spelling* entry = Installer20SpellingOf(word);
        if (!entry) return;
        result.arguments.append(arguments.substr(copied, start - copied));
        result.arguments.append(entry->spelling);
        copied = start + length;
        const std::string quotedWord = "\"" + std::string(word) + "\"";
        result.rewrites.push_back(*entry->spelling ? quotedWord + " passed as \"" + entry->spelling + "\""
                                                   : quotedWord + " left out, as Windows Installer 2.0 prompts anyway");
    });
    result.arguments.append(arguments.substr(copied));
    return result;
}

}  // namespace setup
