#pragma once

#include "cli/options.h"
#include "cli/output.h"
#include "state/calc_state.h"

#include <cstddef>
#include <string>

// The --properties and --explain output of tavrel1-cli: per model the parameters at T, every
// real root with its tag and reason, the stable root's properties, and the step-by-step
// choice of the root. They join each state's output as appendSolved wrote it: a block after
// the table, members at the end of the JSON object, columns at the end of the CSV row.
namespace cli {

class ReferenceExtras;
struct Job;

struct Additions {
    bool properties = false;
    bool explain = false;
    // --reference, --scorecard, --data (cli/reference_output.h): their own output, after these.
    const ReferenceExtras* reference = nullptr;
    bool any() const { return properties || explain || reference != nullptr; }
};
inline Additions additionsOf(const Options& o) { return {o.properties, o.explain}; }

/// Adds the CSV columns of the additions to a header line as outputHeader wrote it.
void extendHeader(std::string& header, Format format, const Additions& a);

/// Adds the additions of one solved state to its table or CSV output, which `out` ends with
/// as appendSolved (and, for one state, the analysis) wrote it. JSON takes them as members of
/// the state's object instead: writeAdditions, through appendSolved's `more`.
void appendAdditions(std::string& out, Format format, Layout layout, const Additions& a,
                     const Job& job, const core::Form& form);
void writeAdditions(state::JsonWriter& w, const Additions& a, const Job& job,
                    const core::Form& form);
/// Pads a rejected CSV row, which `out` ends with, with the additions' empty columns.
void padRejected(std::string& out, Format format, const Additions& a);

/// The number of CSV columns the additions add.
std::size_t additionColumns(const Additions& a);

} // namespace cli
