#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// JSON text as this program writes it: one line, ", " between members and elements, ": "
// after a key, numbers in their shortest round-trip form. Every JSON output (the command
// line's states, rows and analysis, the browser page's views) is built with this writer, so
// separators and escapes cannot drift apart between them.
namespace state {

/// Appends a JSON string literal: escapes as JSON needs them; a byte sequence that is not
/// UTF-8 is replaced by U+FFFD, so the output is always valid JSON.
void appendJsonString(std::string& out, std::string_view s);
std::string jsonString(std::string_view s);

/// The two-character backslash escape of a quote, a backslash, LF, CR or tab (as JSON and C
/// write them); empty for any other character.
std::string_view backslashEscape(char ch);

/// Writes JSON into a string, appending. Keys and values are written in order; the writer
/// puts the separators. Nesting is at most 64 deep.
class JsonWriter {
public:
    explicit JsonWriter(std::string& out) : m_out(out) {}

    JsonWriter& beginObject() { return open('{'); }
    JsonWriter& endObject() { return close('}'); }
    JsonWriter& beginArray() { return open('['); }
    JsonWriter& endArray() { return close(']'); }
    /// The key of the next member; its value follows.
    JsonWriter& key(std::string_view k);

    JsonWriter& string(std::string_view s);
    /// The shortest text that reads back as the same double; null for one that is not finite.
    JsonWriter& number(double x);
    JsonWriter& integer(std::int64_t n);
    JsonWriter& boolean(bool b);
    JsonWriter& null();

    template <class Value> JsonWriter& member(std::string_view k, const Value& v)
    {
        key(k);
        return write(v);
    }

private:
    JsonWriter& open(char bracket);
    JsonWriter& close(char bracket);
    void separate();

    JsonWriter& write(std::string_view s) { return string(s); }
    JsonWriter& write(const std::string& s) { return string(s); }
    JsonWriter& write(const char* s) { return string(s); }
    JsonWriter& write(double x) { return number(x); }
    JsonWriter& write(bool b) { return boolean(b); }
    JsonWriter& write(int n) { return integer(n); }
    JsonWriter& write(long n) { return integer(n); }

    std::string& m_out;
    std::uint64_t m_hasItems = 0; // bit d: the container at depth d has an item already
    int m_depth = 0;
    bool m_afterKey = false;
};

} // namespace state
