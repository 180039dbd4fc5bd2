#include "cli/batch_file.h"

#include "cli/output.h"
#include "state/number_format.h"

#include <algorithm>
#include <functional>

namespace cli {
namespace {

constexpr std::array<std::string_view, 18> kColumnNames = {
    "mw",        "tc",   "pc",        "vc",        "omega",        "k1",
    "k2",        "k3",   "antoine_a", "antoine_b", "antoine_c",    "name",
    "component", "temp", "press",     "two_phase", "hypothetical", "spherical"};

std::string trimmedLower(std::string_view s)
{
    const std::size_t b = s.find_first_not_of(" \t");
    const std::size_t e = s.find_last_not_of(" \t");
    std::string out(b == std::string_view::npos ? std::string_view() : s.substr(b, e - b + 1));
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

/// A check box column: empty takes the option's value.
std::optional<bool> parseBox(const std::string& text, bool fallback)
{
    const std::string t = trimmedLower(text);
    if (t.empty())
        return fallback;
    if (t == "1" || t == "true" || t == "yes")
        return true;
    if (t == "0" || t == "false" || t == "no")
        return false;
    return std::nullopt;
}

struct Rejected {
    std::string why;
};

std::string fieldCount(std::size_t n)
{
    return std::to_string(n) + (n == 1 ? " field" : " fields");
}

} // namespace

BatchFileSource::BatchFileSource(std::istream& in, std::uint64_t size_bytes,
                                 const Options& defaults,
                                 const std::function<StoredComponents()>& openStore)
    : m_reader(in), m_size_bytes(size_bytes), m_defaults(defaults), m_units(defaults.units)
{
    if (!m_reader.next(m_record))
        return; // an empty file: no header, no rows
    const std::string where = "line " + std::to_string(m_record.line) + ": ";
    if (!m_record.fault.empty())
        throw InputError{where + "the batch header is not usable: " + m_record.fault};
    for (std::size_t i = 0; i < m_record.fields.size(); ++i) {
        HeaderColumn column;
        try {
            column = splitHeaderUnit(m_record.fields[i]);
        } catch (const InputError& e) {
            throw InputError{where + e.what};
        }
        const std::string name = trimmedLower(column.name);
        const auto it = std::find(kColumnNames.begin(), kColumnNames.end(), name);
        if (it == kColumnNames.end())
            throw InputError{where + "unknown column " + quotedExcerpt(m_record.fields[i]) +
                             " in the batch header"};
        auto& slot = m_index[static_cast<std::size_t>(it - kColumnNames.begin())];
        if (slot)
            throw InputError{where + "column \"" + name + "\" given twice"};
        slot = i;
        try {
            joinHeaderUnit(m_units, name == "temp" ? UnitSlot::Temperature : UnitSlot::Pressure,
                           column.unit);
        } catch (const InputError& e) {
            throw InputError{where + e.what};
        }
    }
    m_fieldCount = m_record.fields.size();
    if (!m_index[Temp] || !m_index[Press])
        throw InputError{"the batch header needs the columns temp and press"};
    m_pending = m_reader.next(m_record);
    if (m_pending && m_index[Component])
        m_store.emplace(openStore());
}

const std::string& BatchFileSource::field(Column c) const
{
    static const std::string kEmpty;
    return m_index[c] ? m_record.fields[*m_index[c]] : kEmpty;
}

bool BatchFileSource::next(Job& job)
{
    if (!m_pending && (m_fieldCount == 0 || !m_reader.next(m_record)))
        return false;
    m_pending = false;
    job = Job{};
    job.line = m_record.line;
    try {
        fill(job);
    } catch (const Rejected& r) {
        job.rejected = r.why;
    } catch (const store::StoreException& e) {
        job.rejected = e.what();
    }
    return true;
}

void BatchFileSource::fill(Job& job)
{
    if (!m_record.fault.empty())
        throw Rejected{m_record.fault};
    if (m_record.fields.size() != m_fieldCount)
        throw Rejected{"the row has " + fieldCount(m_record.fields.size()) +
                       " where the header has " + std::to_string(m_fieldCount)};
    Entries& e = job.entries;
    e.temp = field(Temp);
    e.press = field(Press);
    if (m_units.any())
        m_rounding.count(typeInUnits(e, m_units), e);
    e.twoPhase = m_defaults.twoPhase;
    if (const std::string& t = field(TwoPhase); !t.empty()) {
        e.twoPhase = parseTwoPhase(trimmedLower(t));
        if (!e.twoPhase)
            throw Rejected{"two_phase takes temperature, pressure or nothing"};
    }
    const auto box = [&](Column c, bool fallback) {
        const auto v = parseBox(field(c), fallback);
        if (!v)
            throw Rejected{std::string(kColumnNames[c]) + " takes 1 or 0 (true/false, yes/no)"};
        return *v;
    };
    e.hypothetical = box(Hypothetical, m_defaults.hypothetical);
    e.spherical = box(Spherical, m_defaults.spherical);

    const auto given = [&](Column c) { return !field(c).empty(); };
    bool anyConstant = false;
    for (std::size_t c = Mw; c <= Name; ++c)
        anyConstant = anyConstant || given(static_cast<Column>(c));

    if (given(Component)) {
        if (anyConstant)
            throw Rejected{"a row with a component takes its constants from the database; "
                           "leave the constant columns empty"};
        job.component = field(Component);
        auto chosen = m_store->find(job.component);
        if (!chosen)
            throw Rejected{"no component named \"" + job.component + "\" in the database"};
        job.chosen = std::move(chosen);
        return;
    }

    CustomComponent custom;
    custom.name = given(Name) ? field(Name) : "custom";
    const auto number = [&](Column c) {
        const auto x = state::toFloat(field(c));
        if (!x)
            throw Rejected{std::string(kColumnNames[c]) + " takes a number"};
        return *x;
    };
    std::array<std::optional<float>, 8> constants;
    for (std::size_t c = Mw; c <= K3; ++c)
        if (given(static_cast<Column>(c)))
            constants[c] = number(static_cast<Column>(c));
    custom.constants = constantsOrMissing(constants);
    const int antoineGiven = given(AntA) + given(AntB) + given(AntC);
    if (antoineGiven == 3)
        custom.antoine = state::AntoineCoefficients{number(AntA), number(AntB), number(AntC)};
    else if (antoineGiven != 0)
        throw Rejected{"antoine_a, antoine_b and antoine_c go together"};
    job.component = custom.name;
    job.chosen = std::move(custom);
}

std::optional<double> BatchFileSource::fraction() const
{
    if (m_size_bytes == 0)
        return std::nullopt;
    return static_cast<double>(m_reader.bytesRead()) / static_cast<double>(m_size_bytes);
}

} // namespace cli
