#include "state/json_writer.h"

#include "state/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace state {
namespace {

/// The length of the UTF-8 sequence starting at s[i], or 0 when it is not a well-formed one
/// (overlong forms, surrogates and values above U+10FFFF included).
std::size_t utf8Length(std::string_view s, std::size_t i)
{
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = at(i);
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xbf; // allowed range of the second byte
    if (b >= 0xc2 && b <= 0xdf) {
        n = 2;
    } else if (b >= 0xe0 && b <= 0xef) {
        n = 3;
        if (b == 0xe0)
            lo = 0xa0;
        if (b == 0xed)
            hi = 0x9f;
    } else if (b >= 0xf0 && b <= 0xf4) {
        n = 4;
        if (b == 0xf0)
            lo = 0x90;
        if (b == 0xf4)
            hi = 0x8f;
    } else {
        return 0;
    }
    if (i + n > s.size() || at(i + 1) < lo || at(i + 1) > hi)
        return 0;
    for (std::size_t k = 2; k < n; ++k)
        if (at(i + k) < 0x80 || at(i + k) > 0xbf)
            return 0;
    return n;
}

/// Printable ASCII other than quote and backslash: copied as it is.
bool isPlainAscii(char ch)
{
    const auto u = static_cast<unsigned char>(ch);
    return u >= 0x20 && u < 0x80 && ch != '"' && ch != '\\';
}

} // namespace

std::string_view backslashEscape(char ch)
{
    switch (ch) {
    case '"':
        return "\\\"";
    case '\\':
        return "\\\\";
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    default:
        return {};
    }
}

void appendJsonString(std::string& out, std::string_view s)
{
    out += '"';
    for (std::size_t i = 0; i < s.size(); ++i) {
        std::size_t plain = i;
        while (plain < s.size() && isPlainAscii(s[plain]))
            ++plain;
        if (plain > i) {
            out.append(s.substr(i, plain - i));
            i = plain;
            if (i == s.size())
                break;
        }
        const char ch = s[i];
        const auto u = static_cast<unsigned char>(ch);
        if (const std::string_view escape = backslashEscape(ch); !escape.empty()) {
            out += escape;
        } else if (u < 0x20) {
            out += "\\u";
            appendHex(out, u, 4);
        } else if (u < 0x80) {
            out += ch;
        } else if (const std::size_t n = utf8Length(s, i); n > 0) {
            out.append(s.substr(i, n));
            i += n - 1;
        } else {
            out += "\\ufffd";
        }
    }
    out += '"';
}

std::string jsonString(std::string_view s)
{
    std::string out;
    appendJsonString(out, s);
    return out;
}

void JsonWriter::separate()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    const std::uint64_t bit = std::uint64_t{1} << m_depth;
    if (m_hasItems & bit)
        m_out += ", ";
    m_hasItems |= bit;
}

JsonWriter& JsonWriter::open(char bracket)
{
    separate();
    m_out += bracket;
    ++m_depth;
    m_hasItems &= ~(std::uint64_t{1} << m_depth);
    return *this;
}

JsonWriter& JsonWriter::close(char bracket)
{
    --m_depth;
    m_out += bracket;
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view k)
{
    separate();
    appendJsonString(m_out, k);
    m_out += ": ";
    m_afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::string(std::string_view s)
{
    separate();
    appendJsonString(m_out, s);
    return *this;
}

JsonWriter& JsonWriter::number(double x)
{
    separate();
    m_out += std::isfinite(x) ? formatShortest(x) : "null";
    return *this;
}

JsonWriter& JsonWriter::integer(std::int64_t n)
{
    separate();
    appendInteger(m_out, n);
    return *this;
}

JsonWriter& JsonWriter::boolean(bool b)
{
    separate();
    m_out += b ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null()
{
    separate();
    m_out += "null";
    return *this;
}

} // namespace state
