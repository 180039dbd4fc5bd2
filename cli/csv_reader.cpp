#include "cli/csv_reader.h"

#include <istream>
#include <string_view>

namespace cli {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

} // namespace

bool CsvReader::readLine(std::size_t limit)
{
    m_text.clear();
    m_overlong = false;
    bool any = false;
    char buf[8192];
    for (;;) {
        m_in.getline(buf, sizeof buf);
        const auto got = static_cast<std::size_t>(m_in.gcount());
        m_bytes += got;
        any = any || got > 0;
        const bool atEnd = m_in.eof();
        const bool bufferFull = m_in.fail() && !atEnd;
        // gcount counts the line end when getline took it; it is not stored.
        const std::size_t stored = !atEnd && !bufferFull ? got - 1 : got;
        if (m_overlong || m_text.size() + stored > limit) {
            m_overlong = true;
            m_text.clear();
        } else {
            m_text.append(buf, stored);
        }
        if (!bufferFull)
            break;
        m_in.clear();
    }
    if (!any)
        return false;
    ++m_line;
    if (!m_anyRecord && std::string_view(m_text).starts_with(kByteOrderMark))
        m_text.erase(0, kByteOrderMark.size());
    m_hadCr = !m_text.empty() && m_text.back() == '\r';
    if (m_hadCr)
        m_text.pop_back();
    return true;
}

bool CsvReader::next(Record& record)
{
    do {
        if (!readLine(kMaxRecordBytes))
            return false;
    } while (m_text.empty() && !m_overlong);
    m_anyRecord = true;
    record.fields.clear();
    record.fault.clear();
    record.line = m_line;
    parse(record);
    return true;
}

void CsvReader::parse(Record& record)
{
    const std::string tooLong =
        "the row is longer than " + std::to_string(kMaxRecordBytes) + " bytes";
    if (m_overlong) {
        record.fault = tooLong;
        return;
    }
    std::size_t used = m_text.size();
    std::string field;
    bool quoted = false;
    bool atFieldStart = true;
    for (;;) {
        for (std::size_t i = 0; i < m_text.size(); ++i) {
            const char ch = m_text[i];
            if (quoted) {
                if (ch != '"')
                    field += ch;
                else if (i + 1 < m_text.size() && m_text[i + 1] == '"')
                    field += m_text[++i];
                else
                    quoted = false;
            } else if (ch == '"') {
                // Only a quote that opens a field starts a quoted field; one inside a field
                // would swallow the lines after it up to the next quote.
                if (!atFieldStart) {
                    record.fault = "a quote inside an unquoted field (quote the whole field "
                                   "and double the quote)";
                    return;
                }
                quoted = true;
                atFieldStart = false;
            } else if (ch == ',') {
                record.fields.push_back(std::move(field));
                field.clear();
                atFieldStart = true;
                if (record.fields.size() == kMaxFields) {
                    record.fault =
                        "the row has more than " + std::to_string(kMaxFields) + " fields";
                    return;
                }
            } else {
                field += ch;
                atFieldStart = false;
            }
        }
        if (!quoted)
            break;
        // The quoted field goes on in the next line, with the line end it holds.
        field += m_hadCr ? "\r\n" : "\n";
        if (!readLine(kMaxRecordBytes - std::min(used, kMaxRecordBytes))) {
            record.fault = "a quoted field is not closed before the end of the file";
            break;
        }
        if (m_overlong) {
            record.fault = tooLong;
            return;
        }
        used += m_text.size() + 1;
    }
    record.fields.push_back(std::move(field));
}

} // namespace cli
