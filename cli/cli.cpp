#include "cli/cli.h"

#include "cli/analysis_output.h"
#include "cli/batch.h"
#include "cli/batch_file.h"
#include "cli/components.h"
#include "cli/job.h"
#include "cli/merge_shipped_command.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/output_stream.h"
#include "cli/properties_output.h"
#include "cli/reference_output.h"
#include "core/component_messages.h"
#include "state/json_writer.h"
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

/// Says, after a run of many states, how many took a rounded temperature or pressure.
void reportRounding(const RoundingTally& tally, std::uint64_t states, std::ostream& err)
{
    if (tally.rounded > 0)
        err << "tavrel1-cli: note: " << tally.rounded << " of " << states
            << " states took a rounded temperature or pressure; the first: " << tally.first << "\n";
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
        if (job.entries.units != nullptr)
            m_rounding.count(typeInUnits(job.entries, *job.entries.units), job.entries);
        ++m_next;
        return true;
    }
    const RoundingTally& rounding() const { return m_rounding; }
    std::optional<double> fraction() const override
    {
        return static_cast<double>(m_next) /
               static_cast<double>(m_temps.count() * m_presses.count());
    }

private:
    Job m_first;
    Range m_temps, m_presses;
    std::uint64_t m_next = 0;
    RoundingTally m_rounding;
};

int printList(const Options& o, const Streams& s)
{
    store::ComponentDatabase db = openDatabase(o.db);
    const store::ListedComponents listed = store::listComponentNames(db);
    for (const std::string& name : listed.names)
        s.out << visible(name) << "\n";
    if (listed.capped) {
        // The window's message, its lines as lines.
        std::string notice;
        for (const std::string& line : core::listCappedMessage(listed.held, store::kMaxListEntries))
            notice += line + "\n";
        notice.erase(notice.find_last_not_of('\n') + 1);
        s.err << notice << "\n";
    }
    return kExitOk;
}

/// The additions of the options, the reference ones among them when any is given.
Additions withReference(const Options& o, const ReferenceExtras& extras)
{
    Additions a = additionsOf(o);
    a.reference = extras.any() ? &extras : nullptr;
    return a;
}

/// The CSV header with every addition's columns.
void extendHeaderWith(std::string& header, Format format, const Additions& a)
{
    extendHeader(header, format, a);
    if (a.reference != nullptr && format == Format::Csv && !header.empty())
        header.insert(header.size() - 1, a.reference->csvHeader());
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
    const Additions additions = withReference(o, extras);
    BatchFileSource source(*in, size_bytes, o,
                           [&] { return StoredComponents(openDatabase(o.db)); });
    // No rows is said, but it is no failure: the output keeps its header and the status 0
    // that scripts fed an empty batch rely on.
    if (!source.hasRows())
        s.err << "tavrel1-cli: the batch file has no rows"
              << (source.hasHeader() ? " after its header\n" : " (no header either)\n");
    std::string header = outputHeader(o.format, Layout::Batch, source.units());
    extendHeaderWith(header, o.format, additions);
    s.out << header;
    const RunTotals t = runJobs(source, o.format, Layout::Batch, threadsFor(o), s.out, s.err,
                                s.errIsTerminal, additions);
    reportRounding(source.rounding(), t.states, s.err);
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

/// The grid of --temp-range and --press-range, each state a job of its own.
int runSweep(const Options& o, const Streams& s, const Job& job, const Additions& additions)
{
    const RunUnits* units = job.entries.units;
    Range temps = o.tempRange ? Range(*o.tempRange, "--temp-range") : Range(*o.temp);
    Range presses = o.pressRange ? Range(*o.pressRange, "--press-range") : Range(*o.press);
    if (temps.count() > kMaxGridStates / presses.count())
        throw UsageError{"the grid of --temp-range and --press-range has more than 10^9 "
                         "states"};
    // Generated texts are always numbers, so a refusal (a two-phase click the component
    // cannot take) refuses every state alike: say it once, as a single run does.
    Job first = job;
    first.entries.temp = temps.text(0);
    first.entries.press = presses.text(0);
    if (units != nullptr)
        typeInUnits(first.entries, *units);
    if (const core::Calculation calc = calculateJob(first); calc.refusal) {
        s.err << "tavrel1-cli: " << *calc.refusal << "\n";
        return kExitUsage;
    }
    GridSource grid(job, std::move(temps), std::move(presses));
    std::string header = outputHeader(o.format, Layout::Sweep, units);
    extendHeaderWith(header, o.format, additions);
    s.out << header;
    const RunTotals t = runJobs(grid, o.format, Layout::Sweep, threadsFor(o), s.out, s.err,
                                s.errIsTerminal, additions);
    reportRounding(grid.rounding(), t.states, s.err);
    return t.rejected == 0 ? kExitOk : kExitRejected;
}

/// One state, with the analysis and the additions after it.
int solveOne(const Options& o, const Streams& s, Job& job, const Additions& additions)
{
    const RunUnits* units = job.entries.units;
    if (units != nullptr && typeInUnits(job.entries, *units))
        s.err << "tavrel1-cli: note: " << job.entries.rounding << "\n";
    const core::Calculation calc = calculateJob(job);
    if (calc.refusal) {
        s.err << (calc.refusalIsMessageBox ? "" : "tavrel1-cli: ") << *calc.refusal << "\n";
        return kExitUsage;
    }
    std::string text = outputHeader(o.format, Layout::Single, units);
    extendHeaderWith(text, o.format, additions);
    // One JSON object a state: the analysis and the additions are its last members.
    appendSolved(text, o.format, Layout::Single, {job.component, &job.entries, 0}, calc.form,
                 [&](state::JsonWriter& w) {
                     if (o.analysis)
                         writeAnalysis(w, calc.form.state, units);
                     writeAdditions(w, additions, job, calc.form);
                 });
    if (o.format == Format::Csv)
        appendAdditions(text, o.format, Layout::Single, additions, job, calc.form);
    s.out << text;
    if (o.analysis && o.format == Format::Table)
        printAnalysisTable(calc.form.state, s.out, units);
    if (o.format == Format::Table) {
        // After the analysis block, when there is one.
        std::string more;
        appendAdditions(more, o.format, Layout::Single, additions, job, calc.form);
        s.out << more;
    }
    return kExitOk;
}

int solveStates(const Options& o, const Streams& s)
{
    Job job;
    job.entries.temp = o.temp.value_or("");
    job.entries.press = o.press.value_or("");
    job.entries.twoPhase = o.twoPhase;
    job.entries.hypothetical = o.hypothetical;
    job.entries.spherical = o.spherical;
    const RunUnits* units = o.units.any() ? &o.units : nullptr;
    job.entries.units = units;
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
        job.chosen = state::Component{o.name, state::constantsOrMissing(o.constants), o.antoine};
    }
    const ReferenceExtras extras(o, s.err);
    const Additions additions = withReference(o, extras);
    if (!o.temp && !o.press && !o.tempRange && !o.pressRange) {
        // --scorecard or --data alone: a report on the component, no state.
        core::Form form;
        const auto* stored = std::get_if<0>(&job.chosen);
        core::chooseComponent(form, stored ? **stored : std::get<1>(job.chosen));
        form.state.chkSphMol = o.spherical;
        s.out << extras.report(o.format, job.component, form.state, stored != nullptr);
        return kExitOk;
    }

    if (o.tempRange || o.pressRange)
        return runSweep(o, s, job, additions);
    return solveOne(o, s, job, additions);
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
