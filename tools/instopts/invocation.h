#pragma once
// The tool's command line taken apart: the command word, its words, the
// options given, and for apply the setup arguments after "--".

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace instopts {

struct Invocation {
    std::string command;
    std::vector<std::string> words;
    std::map<std::string, std::string> options;  // a flag with an empty value
    std::vector<std::string> setupArguments;

    bool Has(const char* option) const { return options.count(option) != 0; }
    const std::string& Value(const char* option) const { return options.at(option); }
};

// False for a wrong invocation: an unknown command or option, an option
// given twice or without its value, words missing or left over. Options go
// anywhere after the command word (for apply, before "--").
bool ParseInvocation(const std::vector<std::string>& args, Invocation& invocation);

// A code page's number as given to --codepage; false for one the tool does
// not take.
bool ParseCodePage(const std::string& text, unsigned& number);

// A 32-bit value, given signed or as its unsigned bit pattern.
bool ParseInteger(const std::string& text, std::int32_t& value);

}  // namespace instopts
