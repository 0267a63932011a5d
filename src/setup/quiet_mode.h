#pragma once
// Quiet mode: the installer options with which nobody answers a dialog. A
// management tool that starts setup with one of them often runs it in a
// session no one sees, where a message box would wait forever.

#include <string_view>

namespace setup {

enum class QuietMode {
    kNone,     // boxes and the progress dialog as usual
    kNoBoxes,  // "/passive", "/qb-", "/qb!-": no box; the progress dialog still shows
    kSilent,   // "/q", "/qn", "/qn+", "/qn-", "/quiet": no box and no progress dialog
};

// The quietest mode any option among the whole words of `arguments` asks
// for. Options are matched case-insensitively, with "-" as well as "/"; a
// word inside double quotes is a value, not an option.
QuietMode FindQuietMode(std::string_view arguments);

// The quieter of two modes.
QuietMode Quieter(QuietMode first, QuietMode second);

}  // namespace setup
