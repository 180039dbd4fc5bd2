#pragma once

#include "cli/options.h"
#include "cli/output.h"
#include "core/calculation.h"

#include <memory>
#include <string>
#include <string_view>

// The reference equation of state on the command line: --reference (the reference at each
// solved state and each model's deviation from it), --scorecard (each model's average
// deviation over the component's saturation curve and a single-phase grid, ranked) and
// --data FILE (every model and the reference scored against the user's points).
namespace state {
class JsonWriter;
}

namespace cli {

struct Job;

/// What the three options add to each solved state; built once a run, shared by the batch
/// threads (the scorecard and the data scores are computed once a component).
class ReferenceExtras {
public:
    /// Reads the --data file (its rejected rows are said on err). Throws InputError when the
    /// file cannot be read or has no usable header.
    ReferenceExtras(const Options& o, std::ostream& err);
    ~ReferenceExtras();
    bool any() const;

    /// The CSV header's added columns (after the existing header, without its line end).
    std::string csvHeader() const;
    /// Pads a rejected row of a CSV (as appendRejected wrote it) to the added columns.
    void padRejected(std::string& text, Format format) const;
    /// Adds to one solved state's text as `format` wrote it (a CSV row, a table block); JSON
    /// takes writeMembers instead.
    void append(std::string& text, Format format, Layout layout, const Job& job,
                const core::Form& form) const;
    /// The members one solved state's JSON object ends with.
    void writeMembers(state::JsonWriter& w, const Job& job, const core::Form& form) const;
    /// The report alone, for --scorecard or --data without a state: the component's name and
    /// constants; `stored` is false for constants typed on the command line.
    std::string report(Format format, const std::string& component, const state::CalcState& s,
                       bool stored) const;

private:
    struct Impl;
    struct AtState;
    AtState compute(const Job& job, const core::Form& form) const;
    std::unique_ptr<Impl> m;
};

} // namespace cli
