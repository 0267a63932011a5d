#pragma once
// The launcher's message boxes.

#include <windows.h>

#include <string>

#include "setup/setup_context.h"

namespace setup {

// Shows `text` in a box of `type` under the launcher's caption and returns
// the button pressed. In quiet mode nobody is there to press one: the text
// goes to the Windows Application event log on the NT family (an error
// event for a box with the error icon, else an information event, from the
// source "<product name> Setup") and to the diagnostic log as one line
// instead, and the box's default is taken (Cancel where it offers one, else OK).
int ShowMessage(const SetupContext& context, const std::string& text, UINT type);

}  // namespace setup
