// The error paths of libstdc++ that a static program would otherwise carry.
//
// The default terminate handler prints the name of an uncaught exception to
// the console, which pulls its demangler (tens of KiB) into every static
// program. setup.exe has no console to print to, so its handler only ends the
// process, as the default one does after printing.
//
// The library's strings and containers report failures through
// std::__throw_* functions, all in one member of libstdc++.a that brings in
// every standard exception class and the copy-on-write string their messages
// use (about 55 KiB of setup.exe). The launcher catches std::bad_alloc only,
// around the version probe, so it and bad_array_new_length (a bad_alloc) are
// thrown as before; the others were never caught and ended in the terminate
// handler, which they now call at once.
// Should another of those functions come into use, the library's member comes
// back: an ordinary link fails on the duplicate definitions below, and the
// size bound of the binary check reports the link-time optimised one.
#include <bits/functexcept.h>
#include <cstdlib>
#include <exception>
#include <new>

namespace __gnu_cxx {

void __verbose_terminate_handler()
{
    std::abort();
}

}  // namespace __gnu_cxx

namespace std {

void __throw_bad_alloc()
{
    throw bad_alloc();
}

void __throw_bad_array_new_length()
{
    throw bad_array_new_length();
}

void __throw_length_error(const char*)
{
    terminate();
}

void __throw_logic_error(const char*)
{
    terminate();
}

void __throw_out_of_range_fmt(const char*, ...)
{
    terminate();
}

}  // namespace std
