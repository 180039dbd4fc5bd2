#include "state/csv.h"

namespace state {

void appendCsvField(std::string& out, std::string_view text)
{
    appendQuotedField(out, text, ",\"\r\n");
}

void appendQuotedField(std::string& out, std::string_view text, std::string_view specials)
{
    if (text.find_first_of(specials) == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char ch : text) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    out += '"';
}

} // namespace state
