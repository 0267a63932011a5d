#pragma once

namespace setup {

// Restricts DLL loading to the system folder before anything else loads, so a
// library planted beside setup.exe in a download folder is never picked up.
void HardenProcess();

}  // namespace setup
