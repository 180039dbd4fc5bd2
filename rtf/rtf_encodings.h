#pragma once

#include <string>

// The character encodings the reader meets: the 8-bit code page of \'hh escapes and raw bytes,
// the Symbol font's own code points, and UTF-8 for what it hands on.
namespace rtf {

/// The Unicode code point of a cp1252 byte; bytes undefined in cp1252 map to U+FFFD.
char32_t cp1252ToUnicode(unsigned char byte);

/// The Unicode code point of a byte in the Symbol font's own encoding (Greek letters and
/// mathematical signs on the Latin code points); bytes it does not define pass through cp1252.
char32_t symbolToUnicode(unsigned char byte);

/// Appends a code point (at most U+10FFFF) as UTF-8.
void appendUtf8(std::string& out, char32_t cp);

} // namespace rtf
