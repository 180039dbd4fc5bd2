#pragma once

#include "rtf/rtf_reader.h"

#include <algorithm>
#include <string_view>

// The control words the reader knows, and what the formatting ones do to the character and
// paragraph formats. Internal to the reader: the destinations, text and tables stay there.
namespace rtf::detail {

// Parameters saturate here while their digits are read, so no run of digits can overflow.
inline constexpr int kParamSaturation = 1'000'000'000;

inline int clampInt(long long v, int lo, int hi)
{
    return static_cast<int>(std::clamp<long long>(v, lo, hi));
}

enum class Kw {
    SkipDest,
    FontTable,
    ColorTable,
    DefaultFont,
    Font,
    FontCharset,
    FontClassNil,
    FontClassRoman,
    FontClassSwiss,
    FontClassModern,
    FontClassScript,
    FontClassDecor,
    FontClassTech,
    FontClassBidi,
    Red,
    Green,
    Blue,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Plain,
    FontSize,
    Super,
    Sub,
    NoSuperSub,
    Up,
    Down,
    ColorFore,
    ColorBack,
    Par,
    Pard,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    Line,
    Tab,
    Char, // a fixed character, held in the table
    Unicode,
    UnicodeSkip,
    Binary,
};

struct KwEntry {
    Kw kw;
    char32_t ch = 0;
};

/// The entry of a control word; nullptr for a word the reader ignores (unknown, or longer
/// than any real one).
const KwEntry* findKeyword(std::string_view word);

/// Applies a character-formatting word (\b, \fs, \cf, \plain...) to `chr`; false, `chr`
/// untouched, for any other word. A bare toggle switches on, a zero parameter off.
bool applyCharFormat(Kw kw, bool hasParam, long long param, RtfCharFormat& chr);

/// Applies a paragraph-formatting word (\pard, \qc, \li, \sb...) to `para`; false, `para`
/// untouched, for any other word.
bool applyParaFormat(Kw kw, long long param, RtfParaFormat& para);

} // namespace rtf::detail
