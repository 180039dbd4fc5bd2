#include "rtf/rtf_keywords.h"

#include <unordered_map>

namespace rtf::detail {
namespace {

// RTF control words are at most 32 letters; longer runs of letters are consumed and ignored.
constexpr std::size_t kMaxWordLength = 32;
// Half-points: 1 pt to 200 pt. Beyond that a hostile \fs only makes layout slow and useless.
constexpr int kMinSize_halfPt = 2;
constexpr int kMaxSize_halfPt = 400;
// 22 inches, the widest page the common word processors accept; indents and spacing beyond it
// cannot mean anything on a screen.
constexpr int kMaxLength_tw = 31680;

// Destinations whose content is never shown.
constexpr std::string_view kSkippedDestinations[] = {"stylesheet",
                                                     "info",
                                                     "pict",
                                                     "object",
                                                     "objdata",
                                                     "header",
                                                     "headerl",
                                                     "headerr",
                                                     "headerf",
                                                     "footer",
                                                     "footerl",
                                                     "footerr",
                                                     "footerf",
                                                     "footnote",
                                                     "annotation",
                                                     "listtable",
                                                     "listoverridetable",
                                                     "rsidtbl",
                                                     "revtbl",
                                                     "filetbl",
                                                     "generator",
                                                     "xmlnstbl",
                                                     "themedata",
                                                     "colorschememapping",
                                                     "latentstyles",
                                                     "datastore",
                                                     "pn",
                                                     "fldinst",
                                                     "nonshppict",
                                                     "shp",
                                                     "shpinst",
                                                     "bkmkstart",
                                                     "bkmkend",
                                                     "tc",
                                                     "xe",
                                                     "author",
                                                     "title",
                                                     "subject",
                                                     "keywords",
                                                     "comment",
                                                     "operator",
                                                     "company"};

struct NamedKeyword {
    std::string_view word;
    KwEntry entry;
};

// Every other word the reader acts on; a word can share its entry with its synonyms.
constexpr NamedKeyword kKeywords[] = {
    {"fonttbl", {Kw::FontTable}},
    {"colortbl", {Kw::ColorTable}},
    {"deff", {Kw::DefaultFont}},
    {"f", {Kw::Font}},
    {"fcharset", {Kw::FontCharset}},
    {"fnil", {Kw::FontClassNil}},
    {"froman", {Kw::FontClassRoman}},
    {"fswiss", {Kw::FontClassSwiss}},
    {"fmodern", {Kw::FontClassModern}},
    {"fscript", {Kw::FontClassScript}},
    {"fdecor", {Kw::FontClassDecor}},
    {"ftech", {Kw::FontClassTech}},
    {"fbidi", {Kw::FontClassBidi}},
    {"red", {Kw::Red}},
    {"green", {Kw::Green}},
    {"blue", {Kw::Blue}},
    {"b", {Kw::Bold}},
    {"i", {Kw::Italic}},
    {"ul", {Kw::Underline}},
    {"uld", {Kw::Underline}},
    {"uldb", {Kw::Underline}},
    {"uldash", {Kw::Underline}},
    {"ulth", {Kw::Underline}},
    {"ulw", {Kw::Underline}},
    {"ulwave", {Kw::Underline}},
    {"ulnone", {Kw::UnderlineNone}},
    {"plain", {Kw::Plain}},
    {"fs", {Kw::FontSize}},
    {"super", {Kw::Super}},
    {"sub", {Kw::Sub}},
    {"nosupersub", {Kw::NoSuperSub}},
    {"up", {Kw::Up}},
    {"dn", {Kw::Down}},
    {"cf", {Kw::ColorFore}},
    {"highlight", {Kw::ColorBack}},
    {"cb", {Kw::ColorBack}},
    {"par", {Kw::Par}},
    {"sect", {Kw::Par}},
    {"page", {Kw::Par}},
    {"row", {Kw::Par}},
    {"pard", {Kw::Pard}},
    {"ql", {Kw::AlignLeft}},
    {"qc", {Kw::AlignCenter}},
    {"qr", {Kw::AlignRight}},
    {"qj", {Kw::AlignJustify}},
    {"li", {Kw::LeftIndent}},
    {"lin", {Kw::LeftIndent}},
    {"ri", {Kw::RightIndent}},
    {"rin", {Kw::RightIndent}},
    {"fi", {Kw::FirstIndent}},
    {"sb", {Kw::SpaceBefore}},
    {"sa", {Kw::SpaceAfter}},
    {"line", {Kw::Line}},
    {"softline", {Kw::Line}},
    {"tab", {Kw::Tab}},
    {"cell", {Kw::Tab}},
    {"emdash", {Kw::Char, 0x2014}},
    {"endash", {Kw::Char, 0x2013}},
    {"bullet", {Kw::Char, 0x2022}},
    {"lquote", {Kw::Char, 0x2018}},
    {"rquote", {Kw::Char, 0x2019}},
    {"ldblquote", {Kw::Char, 0x201C}},
    {"rdblquote", {Kw::Char, 0x201D}},
    {"emspace", {Kw::Char, 0x2003}},
    {"enspace", {Kw::Char, 0x2002}},
    {"qmspace", {Kw::Char, 0x2005}},
    {"u", {Kw::Unicode}},
    {"uc", {Kw::UnicodeSkip}},
    {"bin", {Kw::Binary}},
};

const std::unordered_map<std::string_view, KwEntry>& keywords()
{
    static const auto table = [] {
        std::unordered_map<std::string_view, KwEntry> t;
        for (const std::string_view word : kSkippedDestinations)
            t.emplace(word, KwEntry{Kw::SkipDest});
        for (const NamedKeyword& k : kKeywords)
            t.emplace(k.word, k.entry);
        return t;
    }();
    return table;
}

/// \upN and \dnN move by N half-points; a viewer can only show raised or lowered text.
bool applyVertical(Kw kw, bool on, RtfCharFormat& chr)
{
    switch (kw) {
    case Kw::Super:
        chr.vertical = RtfVertical::Super;
        return true;
    case Kw::Sub:
        chr.vertical = RtfVertical::Sub;
        return true;
    case Kw::NoSuperSub:
        chr.vertical = RtfVertical::Normal;
        return true;
    case Kw::Up:
        chr.vertical = on ? RtfVertical::Super : RtfVertical::Normal;
        return true;
    case Kw::Down:
        chr.vertical = on ? RtfVertical::Sub : RtfVertical::Normal;
        return true;
    default:
        return false;
    }
}

} // namespace

const KwEntry* findKeyword(std::string_view word)
{
    if (word.size() > kMaxWordLength)
        return nullptr;
    const auto& table = keywords();
    const auto it = table.find(word);
    return it == table.end() ? nullptr : &it->second;
}

bool applyCharFormat(Kw kw, bool hasParam, long long param, RtfCharFormat& chr)
{
    const bool on = !hasParam || param != 0;
    switch (kw) {
    case Kw::Font:
        chr.font = clampInt(param, 0, kParamSaturation);
        return true;
    case Kw::Bold:
        chr.bold = on;
        return true;
    case Kw::Italic:
        chr.italic = on;
        return true;
    case Kw::Underline:
        chr.underline = on;
        return true;
    case Kw::UnderlineNone:
        chr.underline = false;
        return true;
    case Kw::Plain:
        chr = RtfCharFormat{};
        return true;
    case Kw::FontSize:
        // \fs0 or a bare \fs is meaningless; fall back to the default size.
        chr.size_halfPt = param > 0 ? clampInt(param, kMinSize_halfPt, kMaxSize_halfPt)
                                    : RtfCharFormat{}.size_halfPt;
        return true;
    case Kw::ColorFore:
        chr.color = hasParam ? clampInt(param, -1, kParamSaturation) : -1;
        return true;
    case Kw::ColorBack:
        // Index 0 is "no highlight" for \highlight and "auto" for \cb.
        chr.background = param > 0 ? clampInt(param, 0, kParamSaturation) : -1;
        return true;
    default:
        return applyVertical(kw, on, chr);
    }
}

bool applyParaFormat(Kw kw, long long param, RtfParaFormat& para)
{
    switch (kw) {
    case Kw::Pard:
        para = RtfParaFormat{};
        return true;
    case Kw::AlignLeft:
        para.align = RtfAlign::Left;
        return true;
    case Kw::AlignCenter:
        para.align = RtfAlign::Center;
        return true;
    case Kw::AlignRight:
        para.align = RtfAlign::Right;
        return true;
    case Kw::AlignJustify:
        para.align = RtfAlign::Justify;
        return true;
    case Kw::LeftIndent:
        para.leftIndent_tw = clampInt(param, -kMaxLength_tw, kMaxLength_tw);
        return true;
    case Kw::RightIndent:
        para.rightIndent_tw = clampInt(param, -kMaxLength_tw, kMaxLength_tw);
        return true;
    case Kw::FirstIndent:
        para.firstIndent_tw = clampInt(param, -kMaxLength_tw, kMaxLength_tw);
        return true;
    case Kw::SpaceBefore:
        para.spaceBefore_tw = clampInt(param, 0, kMaxLength_tw);
        return true;
    case Kw::SpaceAfter:
        para.spaceAfter_tw = clampInt(param, 0, kMaxLength_tw);
        return true;
    default:
        return false;
    }
}

} // namespace rtf::detail
