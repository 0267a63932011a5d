#pragma once
// Finds the computer maker's OEM switches (the rows of kOemSwitches) in the
// raw setup command line, decodes their values and cuts them out of that
// very buffer, so that the installer never sees them.
//
// Matching is case-sensitive, finds the first occurrence anywhere in the
// text (quoting is ignored) and, under a double-byte ANSI code page, never
// starts on the trail byte of a double-byte character. Each switch is
// searched once: a found switch keeps its value for the parser's life.

#include <cstddef>
#include <cstdint>

#include "common/narrow_text.h"
#include "oem/oem_switches.h"

namespace oem {

// Capacity of a quoted switch text, terminator included.
constexpr std::size_t kSwitchTextCapacity = 260;

class SwitchParser {
public:
    // `commandLine` is the caller's writable, zero-terminated buffer; it is
    // not copied and must outlive the parser. The Windows side passes
    // win::AnsiCodePage().
    explicit SwitchParser(char* commandLine, text::CodePage codePage = text::SingleByteCodePage());
    SwitchParser(const SwitchParser&) = delete;
    SwitchParser& operator=(const SwitchParser&) = delete;

    // Switch `row` of kOemSwitches: until it is found, each call looks for
    // it; the call that finds it decodes it and cuts it out of the command
    // line. True when it was found, with its value in `*value`: the decoded
    // number, or for a quoted-text switch its exists flag.
    bool CutValue(std::size_t row, std::int32_t* value);
    // The same for a quoted-text switch, with the text between its quotes
    // copied into `buffer`. A capacity of kSwitchTextCapacity always holds
    // the text whole; a smaller one gets a terminated prefix.
    bool CutText(std::size_t row, char* buffer, std::size_t capacity);

private:
    struct FoundSwitch {
        bool found = false;
        std::int32_t value = 0;
        char text[kSwitchTextCapacity] = {};
    };

    FoundSwitch& Search(std::size_t row);
    char* FindSwitch(const char* switchText) const;
    bool WithinCommandLine(const char* position) const;
    void CutSwitch(char* position);
    void ExtractQuoted(const char* openingQuote, char* buffer, std::size_t capacity);

    FoundSwitch switches_[kOemSwitchCount];
    char* commandLine_;
    text::CodePage codePage_;
};

// The value text read as a decimal number: leading white space, an optional
// sign, then digits up to the first non-digit; 0 without digits. Numbers
// beyond the 32-bit range saturate at INT32_MAX or INT32_MIN.
std::int32_t ParseSwitchNumber(const char* valueText);

}  // namespace oem
