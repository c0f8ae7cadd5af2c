// brindlewood-check: the library check from the command line, without the windows.
#include <iostream>

#include "cli/CheckCommandLine.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return bw::cli::RunCheckCommand(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                    std::cerr);
}
