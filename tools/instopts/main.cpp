#include <iostream>

#include "instopts_commands.h"
#include "platform_text.h"

int main(int argc, char** argv)
{
    return instopts::RunInstopts(instopts::CommandArguments(argc, argv), std::cin, instopts::TerminalOutput(),
                                 instopts::TerminalErrors());
}
