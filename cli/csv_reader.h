#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

/// Reads CSV records one at a time from a stream, so a file of any length takes the memory
/// of one record: fields separated by commas, a field in double quotes may hold commas,
/// doubled quotes and line ends; LF or CRLF line ends; a UTF-8 byte order mark before the
/// first record is skipped; blank lines are skipped.
///
/// A record is bounded: one longer than kMaxRecordBytes or of more than kMaxFields fields, and
/// one with a quote inside an unquoted field, comes out with a fault, and the next record
/// starts after the next line end. So a damaged line costs that line, never the memory of the
/// line nor the rows after it.
class CsvReader {
public:
    static constexpr std::size_t kMaxRecordBytes = 65536;
    static constexpr std::size_t kMaxFields = 256;

    explicit CsvReader(std::istream& in) : m_in(in) {}

    struct Record {
        std::vector<std::string> fields;
        long line = 0;     // the physical line the record starts on, 1 for the first
        std::string fault; // not empty when the record is malformed; the fields are then partial
    };

    /// The next record; false at the end of the input.
    bool next(Record& record);
    /// Bytes consumed so far, for progress.
    std::uint64_t bytesRead() const { return m_bytes; }

private:
    /// The next physical line into m_text, its line end dropped; at most limit bytes are kept
    /// (m_overlong tells that more were skipped). False at the end of the input.
    bool readLine(std::size_t limit);
    void parse(Record& record);

    std::istream& m_in;
    std::string m_text;
    bool m_hadCr = false;
    bool m_overlong = false;
    bool m_anyRecord = false;
    long m_line = 0;
    std::uint64_t m_bytes = 0;
};

} // namespace cli
