#include <iostream>

#include "cli/cli.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    int status = mt::RunCli(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
