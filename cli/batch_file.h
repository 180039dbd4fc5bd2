#pragma once

#include "cli/batch.h"
#include "cli/components.h"
#include "cli/csv_reader.h"

#include <array>
#include <functional>
#include <memory>

namespace cli {

/// The rows of a batch file as states: the header names the columns, each later record is
/// one state; a row that cannot be a state comes out rejected with the reason.
class BatchFileSource final : public JobSource {
public:
    /// Reads the header and the first row. `openStore` is called once, when the header has a
    /// component column and the file has a row. Throws InputError for a header that names no
    /// usable columns.
    BatchFileSource(std::istream& in, std::uint64_t size_bytes, const Options& defaults,
                    const std::function<StoredComponents()>& openStore);

    bool hasHeader() const { return m_fieldCount > 0; }
    /// Whether the file has a row after its header (known before any is taken).
    bool hasRows() const { return m_pending; }
    bool next(Job& job) override;
    /// The units of the options joined to those of the header; null when none is named.
    const RunUnits* units() const { return m_units.any() ? &m_units : nullptr; }
    const RoundingTally& rounding() const { return m_rounding; }
    std::optional<double> fraction() const override;

private:
    enum Column : std::size_t {
        Mw,
        Tc,
        Pc,
        Vc,
        Omega,
        K1,
        K2,
        K3,
        AntA,
        AntB,
        AntC,
        Name,
        Component,
        Temp,
        Press,
        TwoPhase,
        Hypothetical,
        Spherical,
        ColumnCount
    };
    void fill(Job& job);
    const std::string& field(Column c) const;

    CsvReader m_reader;
    CsvReader::Record m_record;
    std::uint64_t m_size_bytes;
    const Options& m_defaults;
    std::array<std::optional<std::size_t>, ColumnCount> m_index{}; // field of each column
    std::size_t m_fieldCount = 0;
    bool m_pending = false; // m_record holds a row not yet handed out
    std::optional<StoredComponents> m_store;
    RunUnits m_units;
    RoundingTally m_rounding;
};

} // namespace cli
