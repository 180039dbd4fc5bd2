#include "cli/batch.h"

#include "cli/output_stream.h"
#include "cli/properties_output.h"
#include "state/json_writer.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <limits>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

namespace cli {
namespace {

// Rows a worker takes at a time, and chunks in flight a thread: enough to keep the threads
// busy while the output is written, few enough that memory does not depend on the length.
constexpr std::size_t kChunkRows = 512;
constexpr std::size_t kChunksPerThread = 4;
// A chunk also ends once its rows hold this much text, so long rows cannot multiply the
// memory in flight.
constexpr std::size_t kChunkTextBytes = std::size_t{1} << 20;

std::size_t textBytes(const Job& job)
{
    return job.component.size() + job.rejected.size() + job.entries.temp.size() +
           job.entries.press.size();
}

struct Chunk {
    std::vector<Job> jobs;
    std::string out;
    RunTotals totals;
    bool done = false;
};

void solveChunk(Chunk& c, Format format, Layout layout, const Additions& additions)
{
    for (const Job& job : c.jobs) {
        ++c.totals.states;
        std::optional<std::string> rejected;
        if (!job.rejected.empty()) {
            rejected = job.rejected;
        } else {
            const core::Calculation s = calculateJob(job);
            if (!s.refusal) {
                JsonMembers more;
                if (additions.any())
                    more = [&](state::JsonWriter& w) { writeAdditions(w, additions, job, s.form); };
                appendSolved(c.out, format, layout, {job.component, &job.entries, job.line}, s.form,
                             more);
                appendAdditions(c.out, format, layout, additions, job, s.form);
            }
            rejected = s.refusal;
        }
        if (rejected) {
            appendRejected(c.out, format, job.line, *rejected);
            padRejected(c.out, format, additions);
            if (c.totals.rejected++ == 0)
                c.totals.firstRejectedLine = job.line;
        }
    }
    c.jobs.clear();
}

/// A progress line on standard error: a bar when the share is known, the count, the rate
/// and the time left. Drawn from one second on, four times a second at most.
class Progress {
public:
    Progress(std::ostream& err, bool enabled) : m_err(err), m_enabled(enabled) {}
    ~Progress() { finish(); }

    void update(std::uint64_t states, std::optional<double> share)
    {
        if (!m_enabled)
            return;
        using namespace std::chrono;
        const auto now = steady_clock::now();
        const double elapsed_s = duration<double>(now - m_start).count();
        if (elapsed_s < 1.0 || now - m_lastDraw < milliseconds(250))
            return;
        m_lastDraw = now;
        const auto rate = static_cast<std::uint64_t>(static_cast<double>(states) / elapsed_s);
        std::string line = "\r";
        if (share && *share > 0) {
            constexpr int kBarWidth = 30;
            const double f = std::min(*share, 1.0);
            const auto filled = static_cast<std::size_t>(f * kBarWidth);
            const auto left_s = static_cast<std::uint64_t>(elapsed_s * (1 - f) / f);
            // Appended piece by piece rather than as "[" + string: GCC 12 at -O3 warns falsely
            // (-Wrestrict inside char_traits.h) about a literal joined to a temporary string.
            line += '[';
            line.append(filled, '#').append(kBarWidth - filled, ' ') += "] ";
            const std::string percent = std::to_string(static_cast<std::uint64_t>(f * 100));
            line +=
                std::string(3 - std::min<std::size_t>(percent.size(), 3), ' ') + percent + "%  ";
            line += std::to_string(states) + " states  " + std::to_string(rate) + "/s  " +
                    std::to_string(left_s / 60) + ":" + (left_s % 60 < 10 ? "0" : "") +
                    std::to_string(left_s % 60) + " left ";
        } else {
            line += std::to_string(states) + " states  " + std::to_string(rate) + "/s ";
        }
        m_err << line << std::flush;
        m_drawn = true;
    }

    void finish()
    {
        if (m_drawn)
            m_err << "\r\033[K" << std::flush;
        m_drawn = false;
    }

private:
    std::ostream& m_err;
    bool m_enabled;
    bool m_drawn = false;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point m_lastDraw{};
};

/// Chunks in source order; workers take the next unsolved one, the caller writes the solved
/// ones from the front.
class Pipeline {
public:
    Pipeline(Format format, Layout layout, const Additions& additions, unsigned threads)
        : m_format(format), m_layout(layout), m_additions(additions)
    {
        for (unsigned i = 0; i < threads; ++i)
            m_workers.emplace_back([this] { work(); });
    }
    ~Pipeline()
    {
        {
            std::lock_guard lock(m_mutex);
            m_closing = true;
        }
        m_work.notify_all();
        for (std::thread& t : m_workers)
            t.join();
    }

    void push(std::unique_ptr<Chunk> chunk)
    {
        {
            std::lock_guard lock(m_mutex);
            m_queue.push_back(std::move(chunk));
        }
        m_work.notify_one();
    }
    std::size_t inFlight()
    {
        std::lock_guard lock(m_mutex);
        return m_queue.size();
    }
    /// The front chunk once solved (waiting when `wait`), else null.
    std::unique_ptr<Chunk> popSolved(bool wait)
    {
        std::unique_lock lock(m_mutex);
        if (wait)
            m_solved.wait(lock, [&] { return m_queue.empty() || m_queue.front()->done; });
        if (m_queue.empty() || !m_queue.front()->done)
            return nullptr;
        auto c = std::move(m_queue.front());
        m_queue.pop_front();
        --m_taken;
        return c;
    }

private:
    void work()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_work.wait(lock, [&] { return m_taken < m_queue.size() || m_closing; });
            // Closing before the queue is drained means the output failed: nothing more is
            // solved for it.
            if (m_closing || m_taken >= m_queue.size())
                return;
            Chunk& c = *m_queue[m_taken++];
            lock.unlock();
            solveChunk(c, m_format, m_layout, m_additions);
            lock.lock();
            c.done = true;
            m_solved.notify_all();
        }
    }

    Format m_format;
    Layout m_layout;
    Additions m_additions;
    std::mutex m_mutex;
    std::condition_variable m_work, m_solved;
    std::deque<std::unique_ptr<Chunk>> m_queue;
    std::size_t m_taken = 0; // chunks from the front a worker has taken
    bool m_closing = false;
    std::vector<std::thread> m_workers;
};

/// A decimal text ("-12.50") as an integer in units of 10^-decimals; false when it is not a
/// plain decimal or does not fit.
bool parseScaled(std::string_view text, int decimals, std::int64_t& value)
{
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view frac =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if ((whole.empty() && frac.empty()) || static_cast<int>(frac.size()) > decimals)
        return false;
    constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 100;
    std::int64_t v = 0;
    for (int i = 0; i < static_cast<int>(whole.size()) + decimals; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        const char ch = k < whole.size()                 ? whole[k]
                        : k - whole.size() < frac.size() ? frac[k - whole.size()]
                                                         : '0';
        if (ch < '0' || ch > '9' || v > kLimit)
            return false;
        v = v * 10 + (ch - '0');
    }
    value = negative ? -v : v;
    return true;
}

int decimalsOf(std::string_view text)
{
    const std::size_t point = text.find('.');
    return point == std::string_view::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

} // namespace

Range::Range(const std::string& text, const std::string& option)
{
    const UsageError fault{option + " takes START:STOP:STEP, three decimal numbers with a "
                                    "step that leads from START to STOP"};
    const std::size_t a = text.find(':');
    const std::size_t b = a == std::string::npos ? a : text.find(':', a + 1);
    if (b == std::string::npos || text.find(':', b + 1) != std::string::npos)
        throw fault;
    const std::string_view parts[] = {std::string_view(text).substr(0, a),
                                      std::string_view(text).substr(a + 1, b - a - 1),
                                      std::string_view(text).substr(b + 1)};
    constexpr int kMaxDecimals = 9;
    m_decimals = 0;
    for (std::string_view p : parts)
        m_decimals = std::max(m_decimals, decimalsOf(p));
    std::int64_t stop = 0;
    if (m_decimals > kMaxDecimals || !parseScaled(parts[0], m_decimals, m_start) ||
        !parseScaled(parts[1], m_decimals, stop) || !parseScaled(parts[2], m_decimals, m_step) ||
        m_step == 0 || (stop != m_start && (stop > m_start) != (m_step > 0)))
        throw fault;
    m_count = static_cast<std::uint64_t>((stop - m_start) / m_step) + 1;
    if (m_count > kMaxGridStates)
        throw UsageError{option + " has more than 10^9 values"};
}

std::string Range::text(std::uint64_t i) const
{
    if (m_single)
        return *m_single;
    const std::int64_t v = m_start + static_cast<std::int64_t>(i) * m_step;
    const std::uint64_t magnitude =
        v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    // Digits from the last: the decimals (trailing zeros dropped), the point, the whole part.
    char buf[48];
    char* p = buf + sizeof buf;
    std::uint64_t rest = magnitude;
    bool significant = false;
    for (int k = 0; k < m_decimals; ++k, rest /= 10) {
        const auto digit = static_cast<char>('0' + rest % 10);
        significant = significant || digit != '0';
        if (significant)
            *--p = digit;
    }
    if (significant)
        *--p = '.';
    do {
        *--p = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest > 0);
    if (v < 0)
        *--p = '-';
    return std::string(p, buf + sizeof buf);
}

RunTotals runJobs(JobSource& source, Format format, Layout layout, unsigned jobs, std::ostream& out,
                  std::ostream& err, bool showProgress, const Additions& additions)
{
    RunTotals totals;
    Progress progress(err, showProgress);
    // Written chunks are used again, so their buffers are allocated once, not once a chunk.
    std::vector<std::unique_ptr<Chunk>> spare;
    const auto write = [&](std::unique_ptr<Chunk> c) {
        out.write(c->out.data(), static_cast<std::streamsize>(c->out.size()));
        checkWritten(out);
        totals.states += c->totals.states;
        if (totals.rejected == 0)
            totals.firstRejectedLine = c->totals.firstRejectedLine;
        totals.rejected += c->totals.rejected;
        progress.update(totals.states, source.fraction());
        c->out.clear();
        c->totals = {};
        c->done = false;
        spare.push_back(std::move(c));
    };
    Pipeline pipeline(format, layout, additions, jobs);
    bool more = true;
    while (more) {
        std::unique_ptr<Chunk> chunk;
        if (spare.empty()) {
            chunk = std::make_unique<Chunk>();
        } else {
            chunk = std::move(spare.back());
            spare.pop_back();
        }
        chunk->jobs.resize(kChunkRows);
        std::size_t n = 0;
        std::size_t bytes = 0;
        while (n < kChunkRows && bytes < kChunkTextBytes && (more = source.next(chunk->jobs[n])))
            bytes += textBytes(chunk->jobs[n++]);
        chunk->jobs.resize(n);
        if (n > 0)
            pipeline.push(std::move(chunk));
        while (auto solved = pipeline.popSolved(pipeline.inFlight() >= jobs * kChunksPerThread))
            write(std::move(solved));
    }
    while (auto solved = pipeline.popSolved(true))
        write(std::move(solved));
    progress.finish();
    return totals;
}

} // namespace cli
