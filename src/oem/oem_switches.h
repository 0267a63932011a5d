#pragma once
// The computer maker's OEM switches, one row each: the switch as typed, how
// its value is read, and the option it writes. The parser, the option plan
// and the editor all go by this table, in its order: the order in which the
// switches are looked for, cut from the command line and written.

#include <cstddef>
#include <cstdint>

namespace oem {

// The editor operation a planned write belongs to.
enum class OemSetting {
    kEnableVigilux,
    kEnableScriptBlocking,
    kEnableEmailIn,
    kEnableEmailOut,
    kNoDesktopIcon,
    kNoReboot,
    kRebootCount,
    kFirewallSecurityLevel,
    kFactoryRegKey,
    kFactoryFile,
    kReseal,
    kCto,
};

// How the text after a switch becomes the value it writes.
enum class SwitchValue {
    kOneIsOn,        // a number: 1 when it is 1, else 0
    kOneIsOff,       // a number: 0 when it is 1, else 1
    kPresent,        // nothing is read: 1
    kNumber,         // the number itself
    kFirewallLevel,  // 0 and 2 as given, 1 for anything else; 1 writes nothing
    kQuotedText,     // the text up to the closing quote; the integer is the row's exists flag
};

struct OemSwitch {
    const char* text;  // as typed: matched case-sensitively, anywhere in the command line
    SwitchValue value;
    OemSetting setting;
    const char* integerOption;   // the option the value, or the exists flag, goes to
    std::int32_t existsFlag;     // quoted-text switches only
    const char* textOption;      // quoted-text switches only: the option the text goes to
    const char* integerFailure;  // what the editor logs when the integer write fails
    const char* textFailure;     // likewise for the text write; null when there is none
};

constexpr std::size_t kOemSwitchCount = 14;
extern const OemSwitch kOemSwitches[kOemSwitchCount];

}  // namespace oem
