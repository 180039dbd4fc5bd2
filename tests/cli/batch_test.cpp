#include "cli/cli.h"
#include "cli/csv_reader.h"
#include "cli/output.h"
#include "state/json_writer.h"
#include "tests/cli/cli_run.h"
#include "tests/store/store_test_support.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <streambuf>

namespace {

using cli_test::CliRun;
using cli_test::lines;
using cli_test::readCsv;
using cli_test::runCli;

CliRun runBatch(const std::string& csv, std::vector<std::string> extra = {})
{
    extra.insert(extra.begin(), {"--batch", "-"});
    return runCli(extra, csv);
}

std::string csvField(const std::string& s)
{
    if (s.find_first_of(",\"\n\r") == std::string::npos)
        return s;
    std::string q = "\"";
    for (char c : s)
        q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

// One random row of a batch file and the same state as command-line arguments.
struct RandomRow {
    std::vector<std::string> fields; // in the order of kRandomHeader
    std::vector<std::string> args;
};

const std::vector<std::string> kRandomHeader = {
    "component", "mw",   "tc",   "pc",    "omega",     "antoine_a",    "antoine_b",
    "antoine_c", "name", "temp", "press", "two_phase", "hypothetical", "spherical"};

RandomRow randomRow(std::mt19937& rng, const std::string& db)
{
    const auto pick = [&](std::initializer_list<const char*> v) {
        return std::string(
            *(v.begin() + std::uniform_int_distribution<std::size_t>(0, v.size() - 1)(rng)));
    };
    const auto number = [&](double lo, double hi, int decimals) {
        const double x = std::uniform_real_distribution<double>(lo, hi)(rng);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
        return std::string(buf);
    };
    const auto chance = [&](double p) { return std::bernoulli_distribution(p)(rng); };
    RandomRow r;
    r.fields.assign(kRandomHeader.size(), "");
    const auto set = [&](std::size_t column, const std::string& flag, const std::string& v) {
        r.fields[column] = v;
        if (!v.empty())
            r.args.insert(r.args.end(), {flag, v});
    };
    if (chance(0.1)) {
        set(0, "--component",
            pick({"Benzene", "Propane", "Water", "R-1234yf (2,3,3,3-tetrafluoropropene)", "Nope"}));
        r.args.insert(r.args.end(), {"--db", db});
    } else {
        if (chance(0.7))
            set(1, "--mw", number(20, 200, 2));
        if (chance(0.9))
            set(2, "--tc", number(150, 700, 1));
        if (chance(0.9))
            set(3, "--pc", number(10, 100, 2));
        if (chance(0.6))
            set(4, "--omega", number(0, 0.5, 3));
        if (chance(0.5)) {
            r.fields[5] = "13.7815";
            r.fields[6] = "2726.813";
            r.fields[7] = number(200, 240, 3);
            r.args.insert(r.args.end(),
                          {"--antoine", r.fields[5] + "," + r.fields[6] + "," + r.fields[7]});
        }
        set(8, "--name", pick({"", "", "Odd, name", "say \"hi\"", "line\nbreak"}));
    }
    set(9, "--temp", chance(0.05) ? pick({"abc", "1e99"}) : number(-250, 700, 2));
    set(10, "--press", chance(0.05) ? pick({"xyz", "0"}) : number(0.01, 300, 3));
    if (r.fields[10].empty() || r.fields[9].empty())
        ADD_FAILURE() << "generated an empty entry";
    if (chance(0.3))
        set(11, "--two-phase", pick({"temperature", "pressure"}));
    for (std::size_t c : {12u, 13u}) {
        const bool ticked = chance(0.5);
        r.fields[c] = ticked ? "1" : "0";
        if (ticked)
            r.args.push_back(c == 12 ? "--hypothetical" : "--spherical");
    }
    return r;
}

std::string withoutPrefix(const std::string& err)
{
    const std::string prefix = "tavrel1-cli: ";
    std::string e = err.starts_with(prefix) ? err.substr(prefix.size()) : err;
    if (!e.empty() && e.back() == '\n')
        e.pop_back();
    return e;
}

class Batch : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new store::test::TempDir;
        s_db = store::test::makeShipped(*s_dir);
    }
    static void TearDownTestSuite() { delete s_dir; }
    static store::test::TempDir* s_dir;
    static std::string s_db;
};
store::test::TempDir* Batch::s_dir = nullptr;
std::string Batch::s_db;

// The central promise: a batch row prints exactly what a single run with the same options
// prints, rejected rows included, in input order.
TEST_F(Batch, RandomRowsEqualSingleRuns)
{
    constexpr int kRows = 1000;
    std::mt19937 rng(20261209);
    std::vector<RandomRow> rows;
    std::string file;
    for (std::size_t i = 0; i < kRandomHeader.size(); ++i)
        file += (i ? "," : "") + kRandomHeader[i];
    file += "\n";
    for (int i = 0; i < kRows; ++i) {
        rows.push_back(randomRow(rng, s_db));
        for (std::size_t c = 0; c < rows.back().fields.size(); ++c)
            file += (c ? "," : "") + csvField(rows.back().fields[c]);
        file += "\n";
    }
    const CliRun json = runBatch(file, {"--db", s_db, "--json", "--jobs", "2"});
    const CliRun csv = runBatch(file, {"--db", s_db, "--format", "csv", "--jobs", "2"});
    const std::vector<std::string> jsonLines = lines(json.out);
    const auto csvRows = readCsv(csv.out);
    ASSERT_EQ(jsonLines.size(), static_cast<std::size_t>(kRows));
    ASSERT_EQ(csvRows.size(), static_cast<std::size_t>(kRows) + 1);

    // Physical lines of the file: a name with a line break takes two.
    long line = 2;
    int rejected = 0;
    for (int i = 0; i < kRows; ++i) {
        const RandomRow& row = rows[static_cast<std::size_t>(i)];
        SCOPED_TRACE("row " + std::to_string(i) + " on line " + std::to_string(line));
        const std::string lineText = std::to_string(line);
        const auto singleRun = [&](const std::vector<std::string>& format) {
            std::vector<std::string> a = row.args;
            a.insert(a.end(), format.begin(), format.end());
            return runCli(a);
        };
        const CliRun single = singleRun({"--json"});
        // Stored components open the database in every single run: their CSV rows are
        // compared on every fourth row only, to keep the sanitizer build quick.
        const bool stored = !row.fields[0].empty();
        const CliRun singleCsv =
            !stored || i % 4 == 0 ? singleRun({"--format", "csv"}) : CliRun{-1, "", ""};
        const std::string& got = jsonLines[static_cast<std::size_t>(i)];
        const auto& gotCsv = csvRows[static_cast<std::size_t>(i) + 1];
        ASSERT_GE(gotCsv.size(), 2u);
        EXPECT_EQ(gotCsv[0], lineText);
        if (single.status == 0) {
            EXPECT_EQ(got, "{\"line\": " + lineText + ", " +
                               single.out.substr(1, single.out.size() - 2));
            EXPECT_EQ(gotCsv[1], "");
            if (singleCsv.status == 0) {
                const auto expected = readCsv(singleCsv.out);
                ASSERT_EQ(expected.size(), 2u);
                EXPECT_EQ(std::vector<std::string>(gotCsv.begin() + 2, gotCsv.end()), expected[1]);
            }
        } else {
            ++rejected;
            EXPECT_EQ(single.status, 2) << single.err;
            EXPECT_EQ(got, "{\"line\": " + lineText + ", \"error\": " +
                               state::jsonString(withoutPrefix(single.err)) + "}");
            EXPECT_EQ(gotCsv[1], withoutPrefix(single.err));
            EXPECT_EQ(gotCsv.size(), csvRows[0].size());
        }
        line += 1 + static_cast<long>(std::count(row.fields[8].begin(), row.fields[8].end(), '\n'));
    }
    EXPECT_GT(rejected, 20); // the generator does make rejected rows
    EXPECT_EQ(json.status, rejected ? 3 : 0);
    EXPECT_NE(json.err.find(std::to_string(rejected) + " of 1000 rows rejected"),
              std::string::npos);

    // A few rows as real processes: the program prints what the in-process call prints.
    for (int i = 0; i < 4; ++i) {
        std::string command = TAVREL1_CLI;
        for (const std::string& a : rows[static_cast<std::size_t>(i)].args) {
            std::string quoted = "'";
            for (char c : a)
                quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
            command += " " + quoted + "'";
        }
        FILE* p = popen((command + " --json 2>/dev/null").c_str(), "r");
        ASSERT_NE(p, nullptr);
        std::string out;
        char buf[4096];
        for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
            out.append(buf, n);
        pclose(p);
        std::vector<std::string> a = rows[static_cast<std::size_t>(i)].args;
        a.push_back("--json");
        EXPECT_EQ(out, runCli(a).out) << command;
    }
}

TEST_F(Batch, RejectedRowsKeepTheirLineNumbersAndTheRunGoesOn)
{
    const std::string file = "component,temp,press,two_phase,hypothetical\n"
                             "Benzene,25,1,,\n"         // line 2
                             "\n"                       // blank: skipped
                             "Benzene,hot,1,,\n"        // line 4: entry rejected
                             "Unknown,25,1,,\n"         // line 5: not in the database
                             "Benzene,25,1,sideways,\n" // line 6: bad two_phase
                             "Benzene,25,1,,maybe\n"    // line 7: bad check box
                             "Benzene,25\n"             // line 8: too few fields
                             "\"R-1234yf (2,3,3,3-tetrafluoropropene)\",25,1,pressure,\n" // 9
                             "\"Benzene\",25,1,,yes\n";                                   // line 10
    const CliRun r = runBatch(file, {"--db", s_db, "--json"});
    EXPECT_EQ(r.status, 3);
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 8u);
    const std::pair<const char*, const char*> expected[] = {
        {"{\"line\": 2, \"message\"", ""},
        {"{\"line\": 4, \"error\": \"Invalid or Incorrect Temperature\"}", ""},
        {"{\"line\": 5, \"error\": \"no component named \\\"Unknown\\\" in the database\"}", ""},
        {"{\"line\": 6, \"error\": \"two_phase takes", ""},
        {"{\"line\": 7, \"error\": \"hypothetical takes 1 or 0", ""},
        {"{\"line\": 8, \"error\": \"the row has 2 fields where the header has 5\"}", ""},
        {"{\"line\": 9, \"error\": \"two-phase conditions need the Antoine", ""},
        {"{\"line\": 10, \"message\"", ""},
    };
    for (std::size_t i = 0; i < out.size(); ++i)
        EXPECT_TRUE(out[i].starts_with(expected[i].first)) << out[i];
    EXPECT_NE(r.err.find("6 of 8 rows rejected, the first on line 4"), std::string::npos) << r.err;
}

TEST_F(Batch, FileShapes)
{
    const std::string header = "tc,pc,name,temp,press\n";
    const std::string csvHeader = "line,error,component,temp_C";
    struct Case {
        const char* name;
        std::string file;
        int status;
        std::size_t outputRows; // CSV rows after the header
    };
    const Case cases[] = {
        {"empty file", "", 0, 0},
        {"header only", header, 0, 0},
        {"header without a line end", "tc,pc,name,temp,press", 0, 0},
        {"only a byte order mark", "\xEF\xBB\xBF", 0, 0},
        {"only blank lines", "\n\r\n\n", 0, 0},
        {"byte order mark", "\xEF\xBB\xBF" + header + "500,40,,25,1\n", 0, 1},
        {"CRLF line ends", "tc,pc,name,temp,press\r\n500,40,,25,1\r\n500,40,,30,1\r\n", 0, 2},
        {"last row without a line end", header + "500,40,,25,1", 0, 1},
        {"quoted name with commas and quotes", header + "500,40,\"A, \"\"B\"\", C\",25,1\n", 0, 1},
        {"quoted name over two lines", header + "500,40,\"two\nlines\",25,1\n", 0, 1},
        {"unclosed quote at the end", header + "500,40,\"open,25,1\n", 3, 1},
        {"unknown column", "tc,pc,temperature,press\n", 2, 0},
        {"no temp column", "tc,pc,press\n", 2, 0},
        {"column twice", "temp,press,temp\n", 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun r = runBatch(c.file, {"--format", "csv"});
        EXPECT_EQ(r.status, c.status) << r.err;
        if (c.status == 2) {
            EXPECT_EQ(r.out, "");
            continue;
        }
        // Without rows the run says so, and nothing else is said otherwise.
        EXPECT_EQ(r.err.find("has no rows") != std::string::npos, c.outputRows == 0) << r.err;
        const auto rows = readCsv(r.out);
        ASSERT_EQ(rows.size(), c.outputRows + 1);
        EXPECT_TRUE(r.out.starts_with(csvHeader));
        for (const auto& row : rows)
            EXPECT_EQ(row.size(), rows[0].size());
    }
    // CRLF and LF files give the same bytes; the quoted name comes back as it was.
    EXPECT_EQ(runBatch("temp,press\r\n25,1\r\n").out, runBatch("temp,press\n25,1\n").out);
    const auto quoted =
        readCsv(runBatch(header + "500,40,\"A, \"\"B\"\", C\",25,1\n", {"--format", "csv"}).out);
    EXPECT_EQ(quoted[1][2], "A, \"B\", C");
    const auto twoLines =
        readCsv(runBatch(header + "500,40,\"two\r\nlines\",25,1\r\n", {"--format", "csv"}).out);
    EXPECT_EQ(twoLines[1][2], "two\r\nlines");
}

// A malformed record is one rejected row with its line number, never the rest of the file,
// and its memory is bounded.
TEST_F(Batch, MalformedRecordsAreOneRejectedRow)
{
    const std::string header = "tc,pc,name,temp,press\n";
    struct Case {
        const char* name;
        std::string line2;
        const char* error;
    };
    const Case cases[] = {
        {"quote inside an unquoted field", "500,40,Ben\"zene,25,1\n", "a quote inside"},
        {"longer than a record may be", std::string(200'000, ',') + "\n", "longer than"},
        {"more fields than a record may have", std::string(300, ',') + "\n", "fields"},
        {"one field", "500\n", "the row has 1 field where the header has 5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun r = runBatch(header + c.line2 + "500,40,,30,1\n", {"--format", "csv"});
        EXPECT_EQ(r.status, 3);
        const auto rows = readCsv(r.out);
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(rows[1][0], "2");
        EXPECT_NE(rows[1][1].find(c.error), std::string::npos) << rows[1][1];
        EXPECT_EQ(rows[2][0], "3");
        EXPECT_EQ(rows[2][1], "") << "the next line is solved";
    }
    // A bad header is told escaped and short, without the usage.
    const std::pair<std::string, const char*> headers[] = {
        {"temp,\x1b[31mpress\n", "\"\\x1b[31mpress\""},
        {"temp,\"press\n" + std::string(100'000, 'x') + "\n", "not usable"},
    };
    for (const auto& [bad, said] : headers) {
        const CliRun r = runBatch(bad);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(said), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
        EXPECT_EQ(r.err.find("usage:"), std::string::npos);
        EXPECT_LT(r.err.size(), 400u);
    }
}

TEST_F(Batch, GridCountAndOrder)
{
    const CliRun r = runCli({"--tc", "562.1", "--pc", "48.9", "--temp-range", "0:1:0.25",
                             "--press-range", "3:1:-1", "--format", "csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = readCsv(r.out);
    ASSERT_EQ(rows.size(), 1u + 5 * 3);
    const char* temps[] = {"0", "0.25", "0.5", "0.75", "1"};
    const char* presses[] = {"3", "2", "1"};
    for (std::size_t i = 0; i < 15; ++i) {
        EXPECT_EQ(rows[i + 1][1], temps[i / 3]) << i;
        EXPECT_EQ(rows[i + 1][2], presses[i % 3]) << i;
    }

    struct Case {
        const char* range;
        std::vector<std::string> texts; // empty: refused
    };
    const Case cases[] = {
        {"0:0.3:0.1", {"0", "0.1", "0.2", "0.3"}},
        {"-1:1:0.5", {"-1", "-0.5", "0", "0.5", "1"}},
        {"10:25:10", {"10", "20"}},
        {"7:7:1", {"7"}},
        {"1.05:1.1:.05", {"1.05", "1.1"}},
        {"0:1:0", {}},
        {"1:0:1", {}},
        {"0:1", {}},
        {"a:b:c", {}},
        {"0:1e3:1", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.range);
        const CliRun s = runCli({"--temp-range", c.range, "--press", "1", "--format", "csv"});
        if (c.texts.empty()) {
            EXPECT_EQ(s.status, 2);
            EXPECT_NE(s.err.find("--temp-range takes START:STOP:STEP"), std::string::npos);
            continue;
        }
        const auto got = readCsv(s.out);
        ASSERT_EQ(got.size(), c.texts.size() + 1);
        for (std::size_t i = 0; i < c.texts.size(); ++i)
            EXPECT_EQ(got[i + 1][1], c.texts[i]);
    }
    EXPECT_EQ(runCli({"--temp", "1", "--temp-range", "0:1:1", "--press", "1"}).status, 2);
}

TEST_F(Batch, ThreadsDoNotChangeTheBytes)
{
    const std::vector<std::string> sweep = {
        "--tc",       "562.1",         "--pc",      "48.9",           "--temp-range",
        "-50:400:10", "--press-range", "0.5:100:5", "--hypothetical", "--json"};
    const auto with = [](std::vector<std::string> a, const char* jobs) {
        a.insert(a.end(), {"--jobs", jobs});
        return runCli(a).out;
    };
    const std::string one = with(sweep, "1");
    EXPECT_EQ(std::count(one.begin(), one.end(), '\n'), 46 * 20);
    EXPECT_EQ(with(sweep, "2"), one);
    EXPECT_EQ(with(sweep, "3"), one);

    std::string file = "component,tc,temp,press\n";
    for (int i = 0; i < 1500; ++i)
        file += (i % 7 == 0 ? "Propane,," : ",5" + std::to_string(i % 10) + "0,") +
                std::to_string(i % 300 - 50) + "," + (i % 13 == 0 ? "x" : "1") + "\n";
    EXPECT_EQ(runBatch(file, {"--db", s_db, "--format", "csv", "--jobs", "1"}).out,
              runBatch(file, {"--db", s_db, "--format", "csv", "--jobs", "2"}).out);
    EXPECT_EQ(runCli({"--temp", "1", "--press", "1", "--jobs", "0"}).status, 2);
}

// Rows made on demand and output thrown away, so only the program's own memory counts.
class RowStream : public std::streambuf {
public:
    /// rows rows; with badBytes > 0, row badRow is a line of that many commas instead.
    explicit RowStream(long rows, long badRow = 0, std::size_t badBytes = 0)
        : m_rows(rows), m_badRow(badRow), m_badBytes(badBytes)
    {
    }

protected:
    int_type underflow() override
    {
        if (m_made > m_rows)
            return traits_type::eof();
        if (m_made == m_badRow && m_badBytes > 0) {
            // The bad line is served 64 KiB at a time, so only the program can hold it whole.
            const std::size_t n = std::min<std::size_t>(m_badBytes - m_badServed, 65536);
            m_line.assign(n, ',');
            m_badServed += n;
            if (m_badServed == m_badBytes) {
                m_line += '\n';
                ++m_made;
            }
        } else {
            m_line = m_made == 0 ? std::string("tc,pc,temp,press\n")
                                 : "562.1,48.9," + std::to_string(m_made % 500) + "," +
                                       std::to_string(1 + m_made % 97) + "\n";
            ++m_made;
        }
        setg(m_line.data(), m_line.data(), m_line.data() + m_line.size());
        return traits_type::to_int_type(m_line[0]);
    }

private:
    long m_rows;
    long m_badRow;
    std::size_t m_badBytes;
    std::size_t m_badServed = 0;
    long m_made = 0; // lines made, the header first
    std::string m_line;
};

class CountingSink : public std::streambuf {
public:
    long lines = 0;

protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        lines += std::count(s, s + n, '\n');
        return n;
    }
    int_type overflow(int_type c) override
    {
        if (c == '\n')
            ++lines;
        return c;
    }
};

long peakRss_kB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmHWM:"))
            return std::stol(line.substr(6));
    return 0;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

TEST_F(Batch, MemoryStaysFlat)
{
    const auto stream = [](long rows, std::size_t badBytes = 0) {
        RowStream source(rows, rows / 2, badBytes);
        std::istream in(&source);
        CountingSink sink;
        std::ostream out(&sink);
        std::ostringstream err;
        EXPECT_EQ(cli::run({"--batch", "-", "--json", "--jobs", "2"}, {in, out, err}),
                  badBytes > 0 ? 3 : 0);
        // The bad row is rejected with its line number (the header is line 1); every other
        // row is solved.
        if (badBytes > 0) {
            EXPECT_NE(err.str().find("1 of " + std::to_string(rows) +
                                     " rows rejected, the first on line " +
                                     std::to_string(rows / 2 + 1)),
                      std::string::npos)
                << err.str();
        }
        return sink.lines;
    };
    const long small = kSanitized ? 1'000 : 10'000;
    EXPECT_EQ(stream(small), small);
    const long before = peakRss_kB();
    EXPECT_EQ(stream(10 * small), 10 * small);
    // A line of 20 MB of commas in the middle is read past, not held.
    EXPECT_EQ(stream(10 * small, 20'000'000), 10 * small);
    // About 2 KB of JSON a state: ten times the rows held at once would add 400 MB. The
    // bound allows for allocator slack; the sanitizer's quarantine keeps freed memory, so
    // there only the count is checked.
    if (!kSanitized) {
        EXPECT_LT(peakRss_kB() - before, 16 * 1024);
    }
}

} // namespace
