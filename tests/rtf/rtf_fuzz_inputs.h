#pragma once

#include "rtf/rtf_reader.h"

#include <algorithm>
#include <iterator>
#include <random>
#include <string>

// Malformed RTF for the reader's fuzz test and the document builder's: a seed document with
// every construct the reader knows, mutations of it and soups of tokens.
namespace rtf::test {

// A document with every construct the reader knows, as the seed the mutations start from.
inline const std::string kSeed =
    R"({\rtf1\ansi\ansicpg1252\deff0\uc1{\fonttbl{\f0\froman\fcharset0 Times New Roman;})"
    R"({\f1\fswiss{\*\panose 020b0604}Arial{\*\falt Helv};}{\f2\ftech\fcharset2 Symbol;}})"
    R"({\colortbl ;\red192\green0\blue0;\red0\green0\blue160;})"
    R"({\stylesheet{\s1 heading 1;}}{\info{\title T}{\author A}}{\*\generator G;})"
    R"(\pard\qc\sb120\sa120\f1\fs32\b\cf2 Heading\cf0\b0\par)"
    "\r\n"
    R"(\pard\qj\li240\ri240\fi-120 P\sub c\nosupersub , cm\super 3\nosupersub , x\up4 2\up0 , )"
    R"(y\dn4 i\dn0 ; \f2 w\'b1\f0  caf\'e9 \u8364?\uc2\u233 xx\uc1 \u-10179?\u-8704? )"
    R"({\i it}{\ul ul\ulnone}{\highlight1 hi}{\cb2 cb}\plain\~\-\_\tab\line )"
    R"(\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\\\{\}\par)"
    R"({\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}{\pict\wmetafile8 0102ff}{\bin4 }{}})"
    R"(\sect\page\cell\row\pard\qr\sa60 end\par})";

inline const char* const kTokens[] = {
    "{",
    "}",
    "\\",
    "\\'",
    "\\'9",
    "\\u",
    "\\u-",
    "\\u-1",
    "\\u55357",
    "\\u56832",
    "\\uc",
    "\\uc9999",
    "\\bin",
    "\\bin99999999",
    "\\par",
    "\\pard",
    "\\*",
    "\\fonttbl",
    "\\colortbl",
    "\\f",
    "\\fs",
    "\\fs-5",
    "\\cf",
    "\\highlight",
    "\\red256",
    "\\li-99999999",
    "\\fi",
    "\\sb",
    "\\up",
    "\\dn",
    "\\super",
    "\\plain",
    "\\pict",
    ";",
    "99999999999999999999",
    "-",
    " ",
    "\r\n",
    "\\line",
    "\\tab",
    "\\~",
    "\\-",
};

inline void mutate(std::string& s, std::mt19937& rng)
{
    auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n)(rng);
    };
    const int steps = 1 + static_cast<int>(pick(7));
    for (int k = 0; k < steps; ++k) {
        const std::size_t at = pick(s.size());
        switch (pick(7)) {
        case 0: // truncate
            s.resize(at);
            break;
        case 1: // random byte, binary included
            s.insert(at, 1, static_cast<char>(pick(255)));
            break;
        case 2: // overwrite a byte
            if (!s.empty())
                s[std::min(at, s.size() - 1)] = static_cast<char>(pick(255));
            break;
        case 3: // a token of the language
            s.insert(at, kTokens[pick(std::size(kTokens) - 1)]);
            break;
        case 4: // delete a slice
            s.erase(at, pick(32));
            break;
        case 5: // duplicate a slice
            s.insert(at, s.substr(pick(s.size()), pick(64)));
            break;
        case 6: // deep or unbalanced nesting
            s.insert(at, std::string(pick(600), pick(1) ? '{' : '}'));
            break;
        default: // a run of digits after whatever precedes
            s.insert(at, std::string(1 + pick(30), '9'));
            break;
        }
    }
}

// Well-formed UTF-8 of scalar values (no surrogates, nothing above U+10FFFF, shortest form).
inline std::string soup(std::mt19937& rng)
{
    auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n)(rng);
    };
    std::string s = pick(3) ? "{\\rtf1 " : "";
    const std::size_t parts = pick(40);
    for (std::size_t k = 0; k < parts; ++k) {
        if (pick(3) == 0)
            s += static_cast<char>(pick(255));
        else
            s += kTokens[pick(std::size(kTokens) - 1)];
    }
    return s;
}

inline bool validUtf8(const std::string& s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const int extra = b < 0x80                ? 0
                          : b >= 0xC2 && b < 0xE0 ? 1
                          : b >= 0xE0 && b < 0xF0 ? 2
                          : b >= 0xF0 && b < 0xF5 ? 3
                                                  : -1;
        if (extra < 0 || s.size() - i <= static_cast<std::size_t>(extra))
            return false;
        char32_t cp = extra == 0 ? char32_t{b} : static_cast<char32_t>(b & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | static_cast<char32_t>(c & 0x3F);
        }
        const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

// The n-th input of a fixed-seed series: odd ones the seed mutated, even ones a short soup of
// tokens and bytes that reaches states no mutation of a sane document does.
inline std::string malformedInput(int n, std::mt19937& rng)
{
    std::string input = n % 2 ? kSeed : soup(rng);
    mutate(input, rng);
    return input;
}

} // namespace rtf::test
