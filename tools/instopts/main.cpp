#include <iostream>

#include "instopts_commands.h"

int main(int argc, char** argv)
{
    return instopts::RunInstopts(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
