#include "cli/cli.h"

#include <exception>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
{
    // The output is written in large blocks; C stdio is not used alongside.
    std::ios::sync_with_stdio(false);
    try {
        return cli::run(std::vector<std::string>(argv + 1, argv + argc),
                        {std::cin, std::cout, std::cerr, isatty(STDERR_FILENO) == 1});
    } catch (const std::exception& e) {
        std::cerr << "tavrel1-cli: " << e.what() << '\n';
        return 1;
    }
}
