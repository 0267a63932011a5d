#pragma once
// Which install options the OEM switches of one command line write, in the
// order the editor applies them. Plain data, so the launcher's editor and
// the packager's tool apply the very same rules.

#include <cstdint>
#include <string>
#include <vector>

#include "oem/switch_parser.h"

namespace oem {

struct OptionWrite {
    OemSetting setting;
    // The integer option; for a factory pair the "...Exists" option.
    const char* integerName;
    // Integer value; for a factory pair the exists flag (1 or 0).
    std::int32_t value;
    // The text option of a factory pair; null for plain integer writes.
    const char* textName;
    std::string text;
    // What the editor logs when the integer write fails.
    const char* integerFailure;
    // What the editor logs when the text write fails; null when there is none.
    const char* textFailure;

    bool IsFactoryPair() const { return textName != nullptr; }
};

// Asks `parser` for every row of kOemSwitches in order (every one, so every
// recognised switch is cut from the command line) and lists a write for
// each switch present. A firewall level of 1 writes
// nothing, leaving the shipped setting in place.
std::vector<OptionWrite> PlanOemOptions(SwitchParser& parser);

// The arguments as the installer will receive them: `commandLine` with every
// OEM switch cut out, as the launcher cuts them from its own buffer later.
std::string WithoutOemSwitches(const std::string& commandLine, text::CodePage codePage);

}  // namespace oem
