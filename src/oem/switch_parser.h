#pragma once
// Finds the computer maker's OEM switches in the raw setup command line,
// decodes their values and cuts them out of that very buffer, so that the
// installer never sees them.
//
// Matching is case-sensitive, finds the first occurrence anywhere in the
// text (quoting is ignored) and, under a double-byte ANSI code page, never
// starts on the trail byte of a double-byte character. Each switch is
// searched once: a found switch keeps its value for the parser's life.

#include <cstddef>
#include <cstdint>

#include "common/narrow_text.h"

namespace oem {

// Capacity of a quoted switch text, terminator included.
constexpr std::size_t kSwitchTextCapacity = 260;

class SwitchParser {
public:
    // `commandLine` is the caller's writable, zero-terminated buffer; it is
    // not copied and must outlive the parser. The Windows side passes
    // win::AnsiCodePage().
    explicit SwitchParser(char* commandLine, text::CodePage codePage = text::SingleByteCodePage());
    virtual ~SwitchParser() = default;
    SwitchParser(const SwitchParser&) = delete;
    SwitchParser& operator=(const SwitchParser&) = delete;

    // Value queries: true and `*value` written when the switch is present;
    // false and nothing written otherwise.
    bool GetEnableVigilux(std::int32_t* value);         // "/vg:"  1 when the number is 1
    bool GetEnableScriptBlocking(std::int32_t* value);  // "/sb:"  1 when the number is 1
    bool GetEnableEmailIn(std::int32_t* value);         // "/emi:" 1 when the number is 1
    bool GetEnableEmailOut(std::int32_t* value);        // "/emo:" 1 when the number is 1
    bool GetNoDesktopIcon(std::int32_t* value);         // "/icon:" 0 when the number is 1
    bool GetNoReboot(std::int32_t* value);              // "/noreboot" always 1
    bool GetRebootCount(std::int32_t* value);           // "/count:" the number itself
    bool GetFirewallLevel(std::int32_t* value);         // "/fw:"  0, 2, or 1 for anything else
    bool GetReseal(std::int32_t* value);                // "/reseal" always 1
    bool GetCto(std::int32_t* value);                   // "/cto"  always 1

    // Quoted-text queries: true when the switch is present, with the text
    // between the quotes copied into `buffer`. A capacity of
    // kSwitchTextCapacity always holds the text whole; a smaller one gets a
    // terminated prefix.
    bool GetKeyExistPath(char* buffer, std::size_t capacity);      // /keyexist:"..."
    bool GetKeyNoExistPath(char* buffer, std::size_t capacity);    // /keynoexist:"..."
    bool GetFileExistPath(char* buffer, std::size_t capacity);     // /fileexist:"..."
    bool GetFileNoExistPath(char* buffer, std::size_t capacity);   // /filenoexist:"..."

private:
    struct ValueSwitch {
        bool found = false;
        std::int32_t value = 0;
    };
    struct TextSwitch {
        bool found = false;
        char text[kSwitchTextCapacity] = {};
    };
    using Decoder = std::int32_t (*)(const char* valueText);

    bool QueryValue(ValueSwitch& entry, const char* switchText, Decoder decode, std::int32_t* value);
    bool QueryText(TextSwitch& entry, const char* switchText, char* buffer, std::size_t capacity);
    char* FindSwitch(const char* switchText) const;
    bool WithinCommandLine(const char* position) const;
    void CutSwitch(char* position);
    void ExtractQuoted(const char* openingQuote, char* buffer, std::size_t capacity);

    ValueSwitch vigilux_;
    ValueSwitch scriptBlocking_;
    ValueSwitch emailIn_;
    ValueSwitch emailOut_;
    ValueSwitch desktopIcon_;
    ValueSwitch noReboot_;
    ValueSwitch rebootCount_;
    TextSwitch keyExist_;
    TextSwitch keyNoExist_;
    TextSwitch fileExist_;
    TextSwitch fileNoExist_;
    ValueSwitch reseal_;
    ValueSwitch firewallLevel_;
    ValueSwitch cto_;
    char* commandLine_;
    text::CodePage codePage_;
};

// The value text read as a decimal number: leading white space, an optional
// sign, then digits up to the first non-digit; 0 without digits. Numbers
// beyond the 32-bit range saturate at INT32_MAX or INT32_MIN.
std::int32_t ParseSwitchNumber(const char* valueText);

}  // namespace oem
