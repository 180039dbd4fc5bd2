#include "cli/cli.h"

#include "cli/analysis_output.h"
#include "cli/batch.h"
#include "cli/batch_file.h"
#include "cli/components.h"
#include "cli/merge_shipped_command.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/output_stream.h"
#include "cli/reference_output.h"
#include "cli/replay.h"
#include "store/component_selection.h"
#include "store/store_errors.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <thread>

namespace cli {
namespace {

unsigned threadsFor(const Options& o)
{
    if (o.jobs > 0)
        return o.jobs;
    return std::max(1u, std::thread::hardware_concurrency());
}

/// The temperature-pressure grid of a sweep, temperature outer.
class GridSource final : public JobSource {
public:
    GridSource(Job first, Range temps, Range presses)
        : m_first(std::move(first)), m_temps(std::move(temps)), m_presses(std::move(presses))
    {
    }
    bool next(Job& job) override
    {
        if (m_next >= m_temps.count() * m_presses.count())
            return false;
        job = m_first;
        job.entries.temp = m_temps.text(m_next / m_presses.count());
        job.entries.press = m_presses.text(m_next % m_presses.count());
        ++m_next;
        return true;
    }
    std::optional<double> fraction() const override
    {
        return static_cast<double>(m_next) /
               static_cast<double>(m_temps.count() * m_presses.count());
    }

private:
    Job m_first;
    Range m_temps, m_presses;
    std::uint64_t m_next = 0;
};

int printList(const Options& o, const Streams& s)
{
    core::MainViewModel vm;
    store::ComponentDatabase db = openDatabase(o.db);
    const store::ListedComponents listed = store::listComponentNames(db, vm);
    for (const std::string& name : listed.names)
        s.out << visible(name) << "\n";
    if (listed.capNotice)
        s.err << *listed.capNotice << "\n";
    return kExitOk;
}

/// The output header, with the columns the reference options add to a CSV.
std::string headerWith(Format format, Layout layout, const ReferenceExtras* extras)
{
    std::string header = outputHeader(format, layout);
    if (extras != nullptr && !header.empty())
        header.insert(header.size() - 1, extras->csvHeader());
    return header;
}

int runBatch(const Options& o, const Streams& s)
{
    std::ifstream file;
    std::istream* in = &s.in;
    std::uint64_t size_bytes = 0;
    if (*o.batch != "-") {
        file.open(*o.batch, std::ios::binary);
        if (!file) {
            s.err << "tavrel1-cli: cannot read the batch file " << visible(*o.batch) << "\n";
            return kExitUsage;
        }
        std::error_code ec;
        size_bytes = std::filesystem::file_size(*o.batch, ec);
        if (ec)
            size_bytes = 0;
        in = &file;
    }
    const ReferenceExtras extras(o, s.err);
    const ReferenceExtras* added = extras.any() ? &extras : nullptr;
    BatchFileSource source(*in, size_bytes, o,
                           [&] { return StoredComponents(openDatabase(o.db)); });
    // No rows is said, but it is no failure: the output keeps its header and the status 0
    // that scripts fed an empty batch rely on.
    if (!source.hasRows())
        s.err << "tavrel1-cli: the batch file has no rows"
              << (source.hasHeader() ? " after its header\n" : " (no header either)\n");
    s.out << headerWith(o.format, Layout::Batch, added);
    const RunTotals t = runJobs(source, o.format, Layout::Batch, threadsFor(o), s.out, s.err,
                                s.errIsTerminal, added);
    if (in->bad()) {
        s.err << "tavrel1-cli: reading the batch file failed after " << t.states << " rows\n";
        return kExitUsage;
    }
    if (t.rejected == 0)
        return kExitOk;
    s.err << "tavrel1-cli: " << t.rejected << " of " << t.states
          << " rows rejected, the first on line " << t.firstRejectedLine << "\n";
    return kExitRejected;
}

int solveStates(const Options& o, const Streams& s)
{
    Job job;
    job.entries = {o.temp.value_or(""), o.press.value_or(""), o.twoPhase, o.hypothetical,
                   o.spherical};
    if (o.component) {
        StoredComponents stored(openDatabase(o.db));
        auto chosen = stored.find(*o.component);
        if (!chosen) {
            s.err << "tavrel1-cli: no component named \"" << visible(*o.component)
                  << "\" in the database\n";
            return kExitUsage;
        }
        job.component = *o.component;
        job.chosen = std::move(chosen);
    } else {
        job.component = o.name;
        job.chosen = CustomComponent{o.name, constantsOrMissing(o.constants), o.antoine};
    }
    const ReferenceExtras extras(o, s.err);
    const ReferenceExtras* added = extras.any() ? &extras : nullptr;
    if (!o.temp && !o.press && !o.tempRange && !o.pressRange) {
        // --scorecard or --data alone: a report on the component, no state.
        core::MainViewModel vm;
        if (const auto* stored = std::get_if<0>(&job.chosen)) {
            vm = **stored;
        } else {
            const CustomComponent& c = std::get<1>(job.chosen);
            vm.componentChosen(c.name, c.constants, c.antoine);
        }
        vm.state().chkSphMol = o.spherical;
        s.out << extras.report(o.format, job.component, vm, job.chosen.index() == 0);
        return kExitOk;
    }

    if (o.tempRange || o.pressRange) {
        Range temps = o.tempRange ? Range(*o.tempRange, "--temp-range") : Range(*o.temp);
        Range presses = o.pressRange ? Range(*o.pressRange, "--press-range") : Range(*o.press);
        if (temps.count() > kMaxGridStates / presses.count())
            throw UsageError{"the grid of --temp-range and --press-range has more than 10^9 "
                             "states"};
        // Generated texts are always numbers, so a refusal (a two-phase click the component
        // cannot take) refuses every state alike: say it once, as a single run does.
        job.entries.temp = temps.text(0);
        job.entries.press = presses.text(0);
        if (const Solved first = solveJob(job); first.rejected) {
            s.err << "tavrel1-cli: " << *first.rejected << "\n";
            return kExitUsage;
        }
        GridSource grid(job, std::move(temps), std::move(presses));
        s.out << headerWith(o.format, Layout::Sweep, added);
        const RunTotals t = runJobs(grid, o.format, Layout::Sweep, threadsFor(o), s.out, s.err,
                                    s.errIsTerminal, added);
        return t.rejected == 0 ? kExitOk : kExitRejected;
    }

    const Solved solved = solveJob(job);
    if (solved.rejected) {
        s.err << (solved.rejectedByWindow ? "" : "tavrel1-cli: ") << *solved.rejected << "\n";
        return kExitUsage;
    }
    std::string text = headerWith(o.format, Layout::Single, added);
    appendSolved(text, o.format, Layout::Single, {job.component, &job.entries, 0}, solved.vm);
    if (o.analysis && o.format == Format::Json) {
        // One JSON object a state: the analysis joins it as its last member.
        text.erase(text.size() - 2);
        text += ", " + analysisJson(solved.vm.state()) + "}\n";
    }
    if (added != nullptr && o.format != Format::Table)
        added->append(text, o.format, Layout::Single, job, solved.vm);
    s.out << text;
    if (o.analysis && o.format == Format::Table)
        printAnalysisTable(solved.vm.state(), s.out);
    if (added != nullptr && o.format == Format::Table) {
        std::string blocks;
        added->append(blocks, o.format, Layout::Single, job, solved.vm);
        s.out << blocks;
    }
    return kExitOk;
}

int dispatch(const Options& o, const Streams& s)
{
    if (o.help) {
        s.out << helpText();
        return kExitOk;
    }
    if (o.version) {
        s.out << versionText();
        return kExitOk;
    }
    if (o.mergeShipped)
        return runMergeShipped(o.db, s.out, s.err);
    if (o.list)
        return printList(o, s);
    if (o.batch)
        return runBatch(o, s);
    return solveStates(o, s);
}

} // namespace

int run(const std::vector<std::string>& args, const Streams& s)
{
    try {
        const int status = dispatch(parseOptions(args), s);
        // Written, not only computed: a full disk or a closed pipe found at the last flush is
        // a failure like any other.
        flushChecked(s.out);
        return status;
    } catch (const UsageError& e) {
        s.err << "tavrel1-cli: " << e.what << "\n" << kUsage;
        return kExitUsage;
    } catch (const InputError& e) {
        s.err << "tavrel1-cli: " << e.what << "\n";
        return kExitUsage;
    } catch (const WriteFailed& e) {
        s.err << "tavrel1-cli: writing output: " << e.reason << "\n";
        return kExitWrite;
    } catch (const store::StoreException& e) {
        s.err << "tavrel1-cli: " << visible(e.what()) << "\n";
        return kExitStore;
    }
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return run(args, Streams{std::cin, out, err});
}

} // namespace cli
