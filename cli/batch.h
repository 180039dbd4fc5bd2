#pragma once

#include "cli/options.h"
#include "cli/output.h"
#include "cli/properties_output.h"
#include "cli/replay.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace cli {

/// The states of a run, one after the other, in output order.
class JobSource {
public:
    virtual ~JobSource() = default;
    /// The next state; false when there is none.
    virtual bool next(Job& job) = 0;
    /// The share of the work handed out so far, 0 to 1, when it is known.
    virtual std::optional<double> fraction() const { return std::nullopt; }
};

struct RunTotals {
    std::uint64_t states = 0;
    std::uint64_t rejected = 0;
    long firstRejectedLine = 0;
};

/// Solves every state of the source on `jobs` threads and writes the results in source
/// order, a bounded number of chunks in flight, so memory stays flat for any length. The
/// progress shows on err only when showProgress is set and the run lasts over a second.
/// Each chunk written is checked: when out fails, solving stops and WriteFailed is thrown.
/// The additions join each solved state's output.
RunTotals runJobs(JobSource& source, Format format, Layout layout, unsigned jobs, std::ostream& out,
                  std::ostream& err, bool showProgress, const Additions& additions = {});

/// The most states one sweep may solve (the product of its two ranges).
inline constexpr std::uint64_t kMaxGridStates = 1'000'000'000;

/// A START:STOP:STEP range of decimal numbers, computed in scaled integers so that every value
/// is the decimal text a user would type (0.1 steps never drift to 0.30000000000000004).
class Range {
public:
    /// Throws UsageError naming the option when the text is not a range.
    Range(const std::string& text, const std::string& option);
    /// A range of the one value text (a --temp or --press given as it is).
    explicit Range(std::string single) : m_single(std::move(single)), m_count(1) {}
    /// START, START+STEP, ... up to STOP, STOP included when a step lands on it. The step
    /// leads from START towards STOP (any step when they are equal: one value).
    std::uint64_t count() const { return m_count; }
    std::string text(std::uint64_t i) const;

private:
    std::optional<std::string> m_single;
    std::int64_t m_start = 0;
    std::int64_t m_step = 0;
    int m_decimals = 0;
    std::uint64_t m_count = 0;
};

} // namespace cli
