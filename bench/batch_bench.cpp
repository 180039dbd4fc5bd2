// Batch throughput: 10^6 states of the benzene-like reference component over a temperature
// and pressure grid, hypothetical volumes ticked, read from a CSV file and written to a file
// as JSON lines or CSV, in-process as tavrel1-cli runs them. Counters: states per second and
// the process's peak resident memory so far (VmHWM).
#include "cli/cli.h"

#include <benchmark/benchmark.h>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr int kTemps = 1000;   // -50 °C to 449.5 °C in 0.5 K steps
constexpr int kPresses = 1000; // 0.5 bar to 500 bar in 0.5 bar steps

std::filesystem::path tempFile(const char* name)
{
    return std::filesystem::temp_directory_path() / name;
}

const std::string& batchFile()
{
    static const std::string path = [] {
        const auto file = tempFile("tavrel1_bench_batch.csv");
        std::ofstream f(file, std::ios::binary);
        f << "mw,tc,pc,temp,press,hypothetical\n";
        for (int t = 0; t < kTemps; ++t)
            for (int p = 1; p <= kPresses; ++p)
                f << "78.11,562.1,48.9," << (t - 100) / 2.0 << "," << p / 2.0 << ",1\n";
        return file.string();
    }();
    return path;
}

long peakRss_kB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) {
            // "VmHWM:    12345 kB"
            const std::size_t at = line.find_first_not_of(" \t", 6);
            long kB = 0;
            if (at != std::string::npos)
                std::from_chars(line.data() + at, line.data() + line.size(), kB);
            return kB;
        }
    return 0;
}

void runToFile(benchmark::State& st, std::vector<std::string> args)
{
    const auto out_path = tempFile("tavrel1_bench_out");
    for (auto _ : st) {
        std::ofstream out(out_path, std::ios::binary);
        std::istringstream in;
        std::ostringstream err;
        if (cli::run(args, {in, out, err}) != 0)
            st.SkipWithError(err.str().c_str());
    }
    const double states = static_cast<double>(kTemps) * kPresses;
    st.counters["states/s"] = benchmark::Counter(states * static_cast<double>(st.iterations()),
                                                 benchmark::Counter::kIsRate);
    st.counters["peak_MB"] = static_cast<double>(peakRss_kB()) / 1024.0;
    std::filesystem::remove(out_path);
}

void batch(benchmark::State& st, const char* format)
{
    runToFile(st,
              {"--batch", batchFile(), "--format", format, "--jobs", std::to_string(st.range(0))});
}

void sweep(benchmark::State& st, const char* format)
{
    runToFile(st, {"--mw", "78.11", "--tc", "562.1", "--pc", "48.9", "--temp-range",
                   "-50:449.5:0.5", "--press-range", "0.5:500:0.5", "--hypothetical", "--format",
                   format, "--jobs", std::to_string(st.range(0))});
}

BENCHMARK_CAPTURE(batch, json, "json")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK_CAPTURE(batch, csv, "csv")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK_CAPTURE(sweep, json, "json")
    ->Arg(2)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK_CAPTURE(sweep, csv, "csv")
    ->Arg(2)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
