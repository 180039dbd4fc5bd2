#include "store/component_schema.h"
#include "store/recordset.h"
#include "store_test_support.h"

#include <charconv>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace store {
namespace {

using Row = std::vector<std::string>;

// RFC 4180 as the data file uses it: quotes around a cell that holds a comma, "" for a quote.
Row parseCsvLine(const std::string& line)
{
    Row cells(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            cells.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

std::vector<Row> readCsv(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<Row> rows;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        rows.push_back(parseCsvLine(line));
    }
    return rows;
}

// The CSV cell as the store must hold it: empty is null, names and sources are text, the rest
// numbers read from the same decimal text (so equal to the last bit).
Value expectedValue(const std::string& column, const std::string& cell)
{
    if (cell.empty())
        return std::monostate{};
    if (column == schema::kNameField || column == schema::kSourceField)
        return cell;
    double x = 0;
    const auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), x);
    EXPECT_TRUE(ec == std::errc() && end == cell.data() + cell.size()) << cell;
    return x;
}

std::string show(const Value& v)
{
    if (const double* d = std::get_if<double>(&v))
        return std::to_string(*d);
    if (const std::string* s = std::get_if<std::string>(&v))
        return "'" + *s + "'";
    return "null";
}

TEST(ShippedData, CountsMatchTheExtendedTable)
{
    test::TempDir dir;
    Database db = Database::open(test::makeShipped(dir));
    EXPECT_EQ(db.openRecordset(std::string(schema::kCritView)).recordCount(),
              test::kShippedComponents);
    EXPECT_EQ(db.openRecordset(std::string(schema::kAntoineView)).recordCount(),
              test::kShippedAntoineSets);
}

TEST(ShippedData, EveryValueOfTheTableReadsBackEqual)
{
    const std::vector<Row> csv = readCsv(TAVREL1_COMPONENTS_CSV);
    ASSERT_EQ(csv.size(), std::size_t{test::kShippedComponents} + 1) << "header and rows";
    const Row& header = csv.front();
    ASSERT_EQ(header.front(), schema::kNameField);
    ASSERT_EQ(header.back(), schema::kSourceField);

    // The columns of the table under the same names, one row per component in file order.
    std::string sql = "SELECT ";
    for (std::size_t c = 0; c < header.size(); ++c)
        sql += (c ? ", " : "") + header[c];
    sql += " FROM tblComps LEFT JOIN tblAntoine USING (CompID) ORDER BY CompID";
    test::TempDir dir;
    Database db = Database::open(test::makeShipped(dir));
    Recordset rs = db.openRecordset(sql);
    ASSERT_EQ(rs.recordCount(), test::kShippedComponents);

    int values = 0;
    rs.moveFirst();
    for (std::size_t r = 1; r < csv.size(); ++r, rs.moveNext()) {
        ASSERT_EQ(csv[r].size(), header.size()) << "line " << r + 1;
        for (std::size_t c = 0; c < header.size(); ++c) {
            const Value expected = expectedValue(header[c], csv[r][c]);
            const Value stored = rs.field(header[c]);
            EXPECT_TRUE(stored == expected) << csv[r][0] << ", " << header[c] << ": stored "
                                            << show(stored) << ", table " << show(expected);
            ++values;
        }
    }
    EXPECT_EQ(values, test::kShippedComponents * 15);
}

} // namespace
} // namespace store
