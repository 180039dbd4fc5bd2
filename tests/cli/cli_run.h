#pragma once
// Running tavrel1-cli in the test's process, and reading what it wrote, for the command line's
// suites.
#include "cli/cli.h"
#include "cli/csv_reader.h"

#include <sstream>
#include <string>
#include <vector>

namespace cli_test {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

/// The command line on the arguments, with `input` as its standard input.
inline CliRun runCli(const std::vector<std::string>& args, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = cli::run(args, cli::Streams{in, out, err});
    return {status, out.str(), err.str()};
}

inline std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

/// Every record of a CSV text, fields unquoted.
inline std::vector<std::vector<std::string>> readCsv(const std::string& text)
{
    std::istringstream in(text);
    cli::CsvReader reader(in);
    cli::CsvReader::Record r;
    std::vector<std::vector<std::string>> rows;
    while (reader.next(r))
        rows.push_back(r.fields);
    return rows;
}

} // namespace cli_test
