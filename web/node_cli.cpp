// tavrel1-cli under node: the command line's options that take constants or a component of the
// shipped list, one state a run, printing what the native program prints. The list, the
// standard streams and the exit status are the JavaScript wrapper's (tavrel1-cli.mjs).
#include "cli/analysis_output.h"
#include "cli/cli.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/properties_output.h"
#include "cli/replay.h"
#include "web/listed_component.h"

#include <cmath>
#include <cstdlib>
#include <emscripten/emscripten.h>
#include <sstream>
#include <string>
#include <vector>

// clang-format off: the bodies are JavaScript.
// The wrapper's Module.findListed(name) gives the list's row or null; its eleven values go to
// `values` (NaN where missing). Returns -1 for no such component, else whether it has an
// Antoine set.
EM_JS(int, findListedComponent, (const char* name, double* values), {
    const c = Module.findListed(UTF8ToString(name));
    if (!c)
        return -1;
    for (let i = 0; i < 11; ++i)
        HEAPF64[(values >> 3) + i] = c.values[i] == null ? NaN : c.values[i];
    return c.antoine ? 1 : 0;
});

// The names of the list in list order, one a line, in memory the caller frees.
EM_JS(char*, listedNames, (), {
    const s = Module.listedNames();
    const n = lengthBytesUTF8(s) + 1;
    const p = _malloc(n);
    stringToUTF8(s, p, n);
    return p;
});

EM_JS(void, writeStream, (int fd, const char* data, int size),
      { Module.writeStream(fd, HEAPU8.slice(data, data + size)); });

// clang-format on

namespace {

/// What the native program does but this edition cannot: a database, files, threads.
std::optional<std::string> unavailable(const cli::Options& o)
{
    if (o.db || o.mergeShipped)
        return "--db and --merge-shipped need the component database; this edition has the "
               "shipped list only";
    if (o.batch || o.tempRange || o.pressRange || o.jobs != 0)
        return "--batch, --temp-range, --press-range and --jobs are not in this edition";
    return std::nullopt;
}

int solveOne(const cli::Options& o, std::string& out, std::string& err)
{
    cli::Job job;
    job.entries.temp = o.temp.value_or("");
    job.entries.press = o.press.value_or("");
    job.entries.twoPhase = o.twoPhase;
    job.entries.hypothetical = o.hypothetical;
    job.entries.spherical = o.spherical;
    if (o.component) {
        std::array<double, 11> values{};
        const int found = findListedComponent(o.component->c_str(), values.data());
        if (found < 0) {
            err += "tavrel1-cli: no component named \"" + *o.component + "\" in the database\n";
            return cli::kExitUsage;
        }
        web::ListedComponent listed;
        std::copy_n(values.begin(), 8, listed.constants.begin());
        if (found == 1)
            listed.antoine = std::array<double, 3>{values[8], values[9], values[10]};
        auto vm = std::make_shared<core::MainViewModel>();
        web::chooseListed(*vm, *o.component, listed);
        job.component = *o.component;
        job.chosen = std::shared_ptr<const core::MainViewModel>(std::move(vm));
    } else {
        job.component = o.name;
        job.chosen = cli::CustomComponent{o.name, cli::constantsOrMissing(o.constants), o.antoine};
    }
    const cli::Solved solved = cli::solveJob(job);
    if (solved.rejected) {
        err += (solved.rejectedByWindow ? "" : "tavrel1-cli: ") + *solved.rejected + "\n";
        return cli::kExitUsage;
    }
    std::string header = cli::outputHeader(o.format, cli::Layout::Single);
    cli::extendHeader(header, o.format, cli::additionsOf(o));
    out += header;
    cli::appendSolved(out, o.format, cli::Layout::Single, {job.component, &job.entries, 0},
                      solved.vm);
    if (o.analysis && o.format == cli::Format::Json) {
        out.erase(out.size() - 2);
        out += ", " + cli::analysisJson(solved.vm.state()) + "}\n";
    }
    if (o.analysis && o.format == cli::Format::Table) {
        std::ostringstream table;
        cli::printAnalysisTable(solved.vm.state(), table);
        out += table.str();
    }
    cli::appendAdditions(out, o.format, cli::Layout::Single, cli::additionsOf(o),
                         solved.vm.state());
    return cli::kExitOk;
}

int run(const std::vector<std::string>& args, std::string& out, std::string& err)
{
    try {
        const cli::Options o = cli::parseOptions(args);
        if (o.help) {
            out += cli::helpText();
            return cli::kExitOk;
        }
        if (o.version) {
            out += cli::versionText();
            return cli::kExitOk;
        }
        if (const auto why = unavailable(o)) {
            err += "tavrel1-cli: " + *why + "\n";
            return cli::kExitUsage;
        }
        if (o.list) {
            char* names = listedNames();
            for (std::string_view rest(names); !rest.empty();) {
                const std::size_t end = rest.find('\n');
                out += cli::visible(rest.substr(0, end)) + "\n";
                rest = end == std::string_view::npos ? "" : rest.substr(end + 1);
            }
            std::free(names);
            return cli::kExitOk;
        }
        return solveOne(o, out, err);
    } catch (const cli::UsageError& e) {
        err += "tavrel1-cli: " + e.what + "\n" + cli::kUsage;
        return cli::kExitUsage;
    }
}

} // namespace

/// Runs the command line on `size` bytes of arguments, each ended by a NUL; writes the output
/// to the wrapper's streams and returns the exit status.
extern "C" EMSCRIPTEN_KEEPALIVE int t1_cli(const char* args, int size)
{
    std::vector<std::string> list;
    for (std::string_view rest(args, static_cast<std::size_t>(size)); !rest.empty();) {
        const std::size_t end = rest.find('\0');
        list.emplace_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? "" : rest.substr(end + 1);
    }
    std::string out, err;
    const int status = run(list, out, err);
    writeStream(1, out.data(), static_cast<int>(out.size()));
    writeStream(2, err.data(), static_cast<int>(err.size()));
    return status;
}
