#include <iostream>

#include "instopts/instopts_commands.h"
#include "instopts/platform_text.h"

int main(int argc, char** argv)
{
    return instopts::RunInstopts(instopts::CommandArguments(argc, argv), std::cin, instopts::TerminalOutput(),
                                 instopts::TerminalErrors());
}
