#include "core/sheet_export.h"
#include "plots/diagrams.h"
#include "state/number_format.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

namespace plots {
namespace {

/// RFC 4180 quoting for a field that needs it, as every CSV of this program quotes.
std::string field(const std::string& text)
{
    std::string q;
    core::appendCsvField(q, text);
    return q;
}

/// "(bar)" of "P (bar)", with its leading blank.
std::string unitOf(const std::string& axisTitle)
{
    const auto open = axisTitle.find(" (");
    return open == std::string::npos ? std::string() : axisTitle.substr(open);
}

} // namespace

std::string diagramCsv(const Diagram& diagram, const std::array<bool, kModelCount>& shown)
{
    std::vector<const Curve*> curves;
    for (const Curve& c : diagram.curves) {
        // A vertical guide line (the state pressure in Z-P) is no function of x.
        const bool vertical =
            std::adjacent_find(c.x.begin(), c.x.end(), std::not_equal_to<>()) == c.x.end();
        if (!vertical && (!c.model || shown[static_cast<std::size_t>(*c.model)]))
            curves.push_back(&c);
    }
    std::map<double, std::vector<std::optional<double>>> rows;
    for (std::size_t j = 0; j < curves.size(); ++j)
        for (std::size_t i = 0; i < curves[j]->x.size(); ++i) {
            auto& row = rows[curves[j]->x[i]];
            row.resize(curves.size());
            row[j] = curves[j]->y[i];
        }
    std::string csv = field(diagram.x.title);
    const std::string unit = unitOf(diagram.y.title);
    // Appended piece by piece rather than as "," + text: GCC 12 at -O3 warns falsely
    // (-Wrestrict inside char_traits.h) about a literal joined to a temporary string.
    for (const Curve* c : curves) {
        csv += ',';
        csv += field(c->name + unit);
    }
    csv += "\r\n";
    for (auto& [x, ys] : rows) {
        ys.resize(curves.size());
        csv += state::formatShortest(x);
        for (const auto& y : ys) {
            csv += ',';
            if (y)
                csv += state::formatShortest(*y);
        }
        csv += "\r\n";
    }
    return csv;
}

const std::array<std::string, 9>& tableColumns()
{
    static const std::array<std::string, 9> kColumns = {"Model",
                                                        "Roots V (cm3/mol)",
                                                        "ln phi of the roots",
                                                        "Stable V (cm3/mol)",
                                                        "Model Psat (bar)",
                                                        "Sat. liquid V (cm3/mol)",
                                                        "Sat. vapour V (cm3/mol)",
                                                        "Psat vs Antoine (%)",
                                                        "Model critical point (T, P, V)"};
    return kColumns;
}

std::array<std::string, 9> tableCells(const TableRow& row)
{
    return {std::string(state::rowCaption(row.model)),
            row.roots,
            row.lnPhi,
            row.stableRoot,
            row.psat,
            row.vl,
            row.vv,
            row.antoineDev,
            row.critical};
}

std::string tableText(const std::vector<TableRow>& table, char separator)
{
    return tableText(table, separator, tableColumns());
}

std::string tableText(const std::vector<TableRow>& table, char separator,
                      const std::array<std::string, 9>& columns)
{
    const auto line = [separator](const std::array<std::string, 9>& cells) {
        std::string s;
        for (const std::string& c : cells) {
            if (&c != &cells.front())
                s += separator;
            s += separator == ',' ? field(c) : c;
        }
        return s + (separator == ',' ? "\r\n" : "\n");
    };
    std::string text = line(columns);
    for (const TableRow& r : table)
        text += line(tableCells(r));
    return text;
}

} // namespace plots
