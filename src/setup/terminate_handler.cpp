// libstdc++'s default terminate handler prints the name of an uncaught
// exception to the console, which pulls its demangler (tens of KiB) into every
// static program. setup.exe has no console to print to, so its handler only
// ends the process, as the default one does after printing.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler()
{
    std::abort();
}

}  // namespace __gnu_cxx
