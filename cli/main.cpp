#include "cli/CalcCommand.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char *argv[])
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return tormel::cli::RunCalcCommand(arguments, std::cin, std::cout, std::cerr);
}
