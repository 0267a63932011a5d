#include "setup/resume_shortcut.h"

namespace setup {

void RemoveResumeShortcut()
{
    // No run plants a resume shortcut yet, so there is nothing to remove.
}

}  // namespace setup
