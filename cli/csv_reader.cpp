#include "cli/csv_reader.h"

#include <istream>
#include <string_view>

namespace cli {

bool CsvReader::readLine()
{
    if (!std::getline(m_in, m_text))
        return false;
    m_bytes += m_text.size() + 1;
    if (++m_line == 1 && m_text.starts_with("\xEF\xBB\xBF"))
        m_text.erase(0, 3);
    m_hadCr = !m_text.empty() && m_text.back() == '\r';
    if (m_hadCr)
        m_text.pop_back();
    return true;
}

bool CsvReader::next(Record& record)
{
    do {
        if (!readLine())
            return false;
    } while (m_text.empty());

    record.fields.clear();
    record.fault.clear();
    record.line = m_line;
    std::string field;
    bool quoted = false;
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
                quoted = true;
            } else if (ch == ',') {
                record.fields.push_back(std::move(field));
                field.clear();
            } else {
                field += ch;
            }
        }
        if (!quoted)
            break;
        // The quoted field goes on in the next line, with the line end it holds.
        field += m_hadCr ? "\r\n" : "\n";
        if (!readLine()) {
            record.fault = "a quoted field is not closed before the end of the file";
            break;
        }
    }
    record.fields.push_back(std::move(field));
    return true;
}

} // namespace cli
