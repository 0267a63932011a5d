#pragma once

namespace setup {

// Restricts DLL loading to the system folder before anything else loads, so a
// library planted beside setup.exe in a download folder is never picked up.
// False, with nothing loaded, when DLL redirection is asked for beside the
// program: setup must not run then.
bool HardenProcess();

}  // namespace setup
