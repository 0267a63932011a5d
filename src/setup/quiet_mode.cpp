#include "setup/quiet_mode.h"

#include <string>

namespace setup {
namespace {

struct QuietOption {
    const char* spelling;  // lower case, with "/"
    QuietMode mode;
};

// "/qb-!" is the installer's other spelling of "/qb!-".
constexpr QuietOption kQuietOptions[] = {
    {"/q", QuietMode::kSilent},         {"/qn", QuietMode::kSilent},    {"/qn+", QuietMode::kSilent},
    {"/qn-", QuietMode::kSilent},       {"/quiet", QuietMode::kSilent}, {"/passive", QuietMode::kNoBoxes},
    {"/qb-", QuietMode::kNoBoxes},      {"/qb!-", QuietMode::kNoBoxes}, {"/qb-!", QuietMode::kNoBoxes},
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The word as an option is compared: lower case, a leading "-" read as "/".
std::string OptionSpelling(std::string_view word)
{
    std::string spelling(word);
    for (char& c : spelling) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (!spelling.empty() && spelling[0] == '-') spelling[0] = '/';
    return spelling;
}

QuietMode ModeOfWord(std::string_view word)
{
    const std::string spelling = OptionSpelling(word);
    for (const QuietOption& option : kQuietOptions) {
        if (spelling == option.spelling) return option.mode;
    }
    return QuietMode::kNone;
}

}  // namespace

QuietMode Quieter(QuietMode first, QuietMode second) { return first > second ? first : second; }

QuietMode FindQuietMode(std::string_view arguments)
{
    // Blanks inside quotes do not end a word, and a word holding a quote
    // matches no option: "C:\a /qn" stays part of its value.
    QuietMode mode = QuietMode::kNone;
    bool quoted = false;
    std::size_t wordStart = 0;
    for (std::size_t i = 0; i <= arguments.size(); ++i) {
        const bool atEnd = i == arguments.size();
        if (!atEnd && arguments[i] == '"') quoted = !quoted;
        if (atEnd || (!quoted && IsBlank(arguments[i]))) {
            mode = Quieter(mode, ModeOfWord(arguments.substr(wordStart, i - wordStart)));
            wordStart = i + 1;
        }
    }
    return mode;
}

}  // namespace setup
