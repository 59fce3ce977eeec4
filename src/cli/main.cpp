#include <cstdio>
#include <iostream>

#include "cli/cli.h"

#if defined(_WIN32)
#include <io.h>
#define MT_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define MT_ISATTY(fd) ::isatty(fd)
#endif

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool errIsTerminal = MT_ISATTY(2) != 0;
    int status = mt::RunCli(args, std::cout, std::cerr, errIsTerminal);
    std::cout.flush();
    return status;
}
