#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

/// Reads CSV records one at a time from a stream, so a file of any length takes the memory
/// of one record: fields separated by commas, a field in double quotes may hold commas,
/// doubled quotes and line ends; LF or CRLF line ends; a UTF-8 byte order mark at the start
/// is skipped; blank lines are skipped.
class CsvReader {
public:
    explicit CsvReader(std::istream& in) : m_in(in) {}

    struct Record {
        std::vector<std::string> fields;
        long line = 0;     // the physical line the record starts on, 1 for the first
        std::string fault; // not empty when the record is malformed (an unclosed quote)
    };

    /// The next record; false at the end of the input.
    bool next(Record& record);
    /// Bytes consumed so far, for progress.
    std::uint64_t bytesRead() const { return m_bytes; }

private:
    bool readLine();

    std::istream& m_in;
    std::string m_text;
    bool m_hadCr = false;
    long m_line = 0;
    std::uint64_t m_bytes = 0;
};

} // namespace cli
