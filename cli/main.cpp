#include "cli/cli.h"
#include "cli/output_stream.h"

#include <exception>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
{
    // The output is written in large blocks; C stdio is not used alongside.
    std::ios::sync_with_stdio(false);
    // Standard output through a buffer that keeps the reason of a failed write (a full disk,
    // a closed pipe), which std::cout does not tell.
    cli::FdStreamBuf outBuffer(STDOUT_FILENO);
    std::ostream out(&outBuffer);
    try {
        return cli::run(std::vector<std::string>(argv + 1, argv + argc),
                        {std::cin, out, std::cerr, isatty(STDERR_FILENO) == 1});
    } catch (const std::exception& e) {
        std::cerr << "tavrel1-cli: " << e.what() << '\n';
        return 1;
    }
}
