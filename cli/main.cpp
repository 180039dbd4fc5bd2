#include "cli/cli.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    try {
        return cli::run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "tavrel1-cli: " << e.what() << '\n';
        return 1;
    }
}
