#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// A reader for the subset of RTF our documents use, in plain C++ so that it can be tested and
// fuzzed without a window system. ui/rich_text_builder.h turns its result into a QTextDocument.
//
// Any input is accepted: malformed, truncated or hostile text yields whatever could be read, in
// time linear in the input, with group nesting and every numeric parameter bounded.
namespace rtf {

enum class RtfAlign { Left, Center, Right, Justify };
enum class RtfVertical { Normal, Super, Sub };

/// The font family class of a font table entry (\fnil, \froman, \fswiss, ...), used to pick a
/// stand-in when the named face is not installed.
enum class RtfFontClass { Nil, Roman, Swiss, Modern, Script, Decor, Tech, Bidi };

struct RtfFont {
    std::string name; // UTF-8, without the closing ';'
    RtfFontClass fontClass = RtfFontClass::Nil;
    int charset = 0; // \fcharsetN; 2 is the Symbol character set
};

struct RtfColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool isAuto = true; // an entry without \red, \green or \blue: the viewer's default colour
};

struct RtfCharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    RtfVertical vertical = RtfVertical::Normal;
    int size_halfPt = 24; // \fsN; RTF's default is 12 pt
    int font = -1;        // \fN; -1 means the document's default font (\deffN)
    int color = -1;       // index into RtfDocument::colors, -1 for the default colour
    int background = -1;  // \highlightN or \cbN, -1 for none

    bool operator==(const RtfCharFormat&) const = default;
};

struct RtfParaFormat {
    RtfAlign align = RtfAlign::Left;
    int leftIndent_tw = 0;
    int rightIndent_tw = 0;
    int firstIndent_tw = 0; // relative to the left indent; negative for a hanging indent
    int spaceBefore_tw = 0;
    int spaceAfter_tw = 0;
};

struct RtfRun {
    std::string text; // UTF-8; '\t' for tabs, U+2028 for line breaks inside the paragraph
    RtfCharFormat format;
};

struct RtfParagraph {
    RtfParaFormat format;     // as it stood when the paragraph ended
    RtfCharFormat endFormat;  // character format at the paragraph mark; sizes an empty line
    std::vector<RtfRun> runs; // adjacent runs always differ in format
};

struct RtfDocument {
    std::map<int, RtfFont> fonts; // by font number
    std::vector<RtfColor> colors; // by position in the colour table
    int defaultFont = 0;          // \deffN
    std::vector<RtfParagraph> paragraphs;
};

/// Nesting deeper than this is read as text-free: its content is dropped, its braces counted.
inline constexpr int kRtfMaxGroupDepth = 256;

/// Reads RTF text (7-bit RTF with cp1252 \'hh escapes; raw bytes above 0x7F are read as cp1252).
/// Never throws on malformed input; returns an empty document when nothing could be read.
RtfDocument readRtf(std::string_view rtf);

} // namespace rtf
