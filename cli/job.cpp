#include "cli/job.h"

namespace cli {

core::Calculation calculateJob(const Job& job)
{
    const auto* stored = std::get_if<0>(&job.chosen);
    const Entries& e = job.entries;
    return core::calculate({stored ? **stored : std::get<1>(job.chosen), e.temp, e.press,
                            e.twoPhase, e.hypothetical, e.spherical});
}

} // namespace cli
