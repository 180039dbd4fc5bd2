#include "rtf/rtf_reader.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace rtf {
namespace {

// RTF control words are at most 32 letters; longer runs of letters are consumed and ignored.
constexpr std::size_t kMaxWordLength = 32;
// Parameters saturate here while their digits are read, so no run of digits can overflow.
constexpr int kParamSaturation = 1'000'000'000;
// Half-points: 1 pt to 200 pt. Beyond that a hostile \fs only makes layout slow and useless.
constexpr int kMinSize_halfPt = 2;
constexpr int kMaxSize_halfPt = 400;
// 22 inches, the widest page the common word processors accept; indents and spacing beyond it
// cannot mean anything on a screen.
constexpr int kMaxLength_tw = 31680;
// \ucN: a reader skips N fallback characters after each \uN; real writers use 0 to 2.
constexpr int kMaxUnicodeSkip = 16;
// Font names in the table are short; a longer one is hostile and is cut here.
constexpr std::size_t kMaxFontName = 128;
constexpr int kSymbolCharset = 2;
constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kLineSeparator = 0x2028;

enum class Dest { Text, Skip, FontTable, ColorTable };

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

const std::unordered_map<std::string_view, KwEntry>& keywords()
{
    static const std::unordered_map<std::string_view, KwEntry> table = {
        // Destinations whose content is never shown.
        {"stylesheet", {Kw::SkipDest}},
        {"info", {Kw::SkipDest}},
        {"pict", {Kw::SkipDest}},
        {"object", {Kw::SkipDest}},
        {"objdata", {Kw::SkipDest}},
        {"header", {Kw::SkipDest}},
        {"headerl", {Kw::SkipDest}},
        {"headerr", {Kw::SkipDest}},
        {"headerf", {Kw::SkipDest}},
        {"footer", {Kw::SkipDest}},
        {"footerl", {Kw::SkipDest}},
        {"footerr", {Kw::SkipDest}},
        {"footerf", {Kw::SkipDest}},
        {"footnote", {Kw::SkipDest}},
        {"annotation", {Kw::SkipDest}},
        {"listtable", {Kw::SkipDest}},
        {"listoverridetable", {Kw::SkipDest}},
        {"rsidtbl", {Kw::SkipDest}},
        {"revtbl", {Kw::SkipDest}},
        {"filetbl", {Kw::SkipDest}},
        {"generator", {Kw::SkipDest}},
        {"xmlnstbl", {Kw::SkipDest}},
        {"themedata", {Kw::SkipDest}},
        {"colorschememapping", {Kw::SkipDest}},
        {"latentstyles", {Kw::SkipDest}},
        {"datastore", {Kw::SkipDest}},
        {"pn", {Kw::SkipDest}},
        {"fldinst", {Kw::SkipDest}},
        {"nonshppict", {Kw::SkipDest}},
        {"shp", {Kw::SkipDest}},
        {"shpinst", {Kw::SkipDest}},
        {"bkmkstart", {Kw::SkipDest}},
        {"bkmkend", {Kw::SkipDest}},
        {"tc", {Kw::SkipDest}},
        {"xe", {Kw::SkipDest}},
        {"author", {Kw::SkipDest}},
        {"title", {Kw::SkipDest}},
        {"subject", {Kw::SkipDest}},
        {"keywords", {Kw::SkipDest}},
        {"comment", {Kw::SkipDest}},
        {"operator", {Kw::SkipDest}},
        {"company", {Kw::SkipDest}},
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
    return table;
}

int clampInt(long long v, int lo, int hi)
{
    return static_cast<int>(std::clamp<long long>(v, lo, hi));
}

std::uint8_t colorComponent(long long v)
{
    return static_cast<std::uint8_t>(std::clamp<long long>(v, 0, 255));
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

struct GroupState {
    RtfCharFormat chr;
    RtfParaFormat para;
    Dest dest = Dest::Text;
    int ucSkip = 1; // RTF's default: one fallback character follows each \uN
};

class Reader {
public:
    explicit Reader(std::string_view in) : m_in(in) { m_stack.reserve(kRtfMaxGroupDepth + 1); }

    RtfDocument read()
    {
        m_stack.emplace_back();
        while (m_pos < m_in.size()) {
            const char c = m_in[m_pos++];
            if (c == '{') {
                openGroup();
            } else if (c == '}') {
                if (closeGroup())
                    break;
            } else if (c == '\\') {
                control();
            } else if (c == '\r' || c == '\n') {
                // Line ends in RTF source are layout of the file, not of the text.
            } else if (!consumeSkipped()) {
                textByte(static_cast<unsigned char>(c));
            }
        }
        flushSurrogate();
        if (!m_para.runs.empty())
            endParagraph();
        return std::move(m_doc);
    }

private:
    GroupState& state() { return m_stack.back(); }
    bool overflowing() const { return m_overflow > 0; }

    void openGroup()
    {
        m_pendingSkip = 0;
        if (overflowing() || static_cast<int>(m_stack.size()) > kRtfMaxGroupDepth) {
            ++m_overflow;
            return;
        }
        m_stack.push_back(m_stack.back());
    }

    /// Returns true when the outermost group has closed: the document ends there.
    bool closeGroup()
    {
        m_pendingSkip = 0;
        if (overflowing()) {
            --m_overflow;
            return false;
        }
        if (m_stack.size() == 1)
            return false; // a stray '}' before any group: ignored
        if (state().dest == Dest::FontTable)
            commitFont();
        m_stack.pop_back();
        return m_stack.size() == 1;
    }

    /// A text character, \'hh or control word read while fallback characters of \uN are still
    /// owed is dropped; braces end the skipping (they reset m_pendingSkip).
    bool consumeSkipped()
    {
        if (m_pendingSkip == 0)
            return false;
        --m_pendingSkip;
        return true;
    }

    void control()
    {
        if (m_pos >= m_in.size())
            return;
        const char c = m_in[m_pos];
        if (!isLetter(c)) {
            ++m_pos;
            controlSymbol(c);
            return;
        }
        const std::size_t start = m_pos;
        while (m_pos < m_in.size() && isLetter(m_in[m_pos]))
            ++m_pos;
        const std::string_view word = m_in.substr(start, m_pos - start);

        bool hasParam = false;
        long long param = 0;
        bool negative = false;
        if (m_pos + 1 < m_in.size() && m_in[m_pos] == '-' && isDigit(m_in[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_in.size() && isDigit(m_in[m_pos])) {
            hasParam = true;
            param = std::min<long long>(param * 10 + (m_in[m_pos] - '0'), kParamSaturation);
            ++m_pos;
        }
        if (negative)
            param = -param;
        if (m_pos < m_in.size() && m_in[m_pos] == ' ')
            ++m_pos;

        const auto& table = keywords();
        const auto it = word.size() > kMaxWordLength ? table.end() : table.find(word);
        if (it == table.end()) {
            consumeSkipped();
            return;
        }
        // \bin's data must be passed over whatever state the reader is in, or its bytes would
        // be read as braces and commands.
        if (it->second.kw == Kw::Binary) {
            const auto n = static_cast<std::size_t>(std::max<long long>(param, 0));
            m_pos += std::min(n, m_in.size() - m_pos);
            consumeSkipped();
            return;
        }
        if (overflowing() || consumeSkipped())
            return;
        keyword(it->second, hasParam, param);
    }

    void controlSymbol(char c)
    {
        if (c == '\'') {
            int value = 0;
            int digits = 0;
            while (digits < 2 && m_pos < m_in.size() && hexValue(m_in[m_pos]) >= 0) {
                value = value * 16 + hexValue(m_in[m_pos++]);
                ++digits;
            }
            if (digits > 0 && !consumeSkipped())
                textByte(static_cast<unsigned char>(value));
            return;
        }
        if (c == '\\' || c == '{' || c == '}') {
            if (!consumeSkipped())
                textByte(static_cast<unsigned char>(c));
            return;
        }
        if (overflowing() || consumeSkipped())
            return;
        switch (c) {
        case '*':
            // {\*\dest ...}: a destination a reader may ignore, and we read none of them.
            state().dest = Dest::Skip;
            break;
        case '~':
            textChar(0x00A0);
            break;
        case '-':
            textChar(0x00AD);
            break;
        case '_':
            textChar(0x2011);
            break;
        case '\r':
        case '\n':
            if (state().dest == Dest::Text)
                endParagraph();
            break;
        default:
            break;
        }
    }

    void keyword(const KwEntry& e, bool hasParam, long long param)
    {
        GroupState& s = state();
        // A bare toggle (\b) switches on; \b0 switches off.
        const bool on = !hasParam || param != 0;
        switch (e.kw) {
        case Kw::SkipDest:
            s.dest = Dest::Skip;
            return;
        case Kw::FontTable:
            if (s.dest != Dest::Skip) {
                s.dest = Dest::FontTable;
                m_fontNum = -1;
                m_font = {};
            }
            return;
        case Kw::ColorTable:
            if (s.dest != Dest::Skip) {
                s.dest = Dest::ColorTable;
                m_color = {};
            }
            return;
        case Kw::Unicode:
            if (s.dest != Dest::Skip)
                unicode(param);
            m_pendingSkip = s.ucSkip;
            return;
        case Kw::UnicodeSkip:
            s.ucSkip = clampInt(param, 0, kMaxUnicodeSkip);
            return;
        default:
            break;
        }
        if (s.dest == Dest::FontTable) {
            fontTableKeyword(e.kw, param);
            return;
        }
        if (s.dest == Dest::ColorTable) {
            if (e.kw == Kw::Red || e.kw == Kw::Green || e.kw == Kw::Blue) {
                std::uint8_t& target = e.kw == Kw::Red     ? m_color.red
                                       : e.kw == Kw::Green ? m_color.green
                                                           : m_color.blue;
                target = colorComponent(param);
                m_color.isAuto = false;
            }
            return;
        }
        if (s.dest != Dest::Text)
            return;

        switch (e.kw) {
        case Kw::DefaultFont:
            m_doc.defaultFont = clampInt(param, 0, kParamSaturation);
            break;
        case Kw::Font:
            s.chr.font = clampInt(param, 0, kParamSaturation);
            break;
        case Kw::Bold:
            s.chr.bold = on;
            break;
        case Kw::Italic:
            s.chr.italic = on;
            break;
        case Kw::Underline:
            s.chr.underline = on;
            break;
        case Kw::UnderlineNone:
            s.chr.underline = false;
            break;
        case Kw::Plain:
            s.chr = RtfCharFormat{};
            break;
        case Kw::FontSize:
            // \fs0 or a bare \fs is meaningless; fall back to the default size.
            s.chr.size_halfPt = param > 0 ? clampInt(param, kMinSize_halfPt, kMaxSize_halfPt)
                                          : RtfCharFormat{}.size_halfPt;
            break;
        case Kw::Super:
            s.chr.vertical = RtfVertical::Super;
            break;
        case Kw::Sub:
            s.chr.vertical = RtfVertical::Sub;
            break;
        case Kw::NoSuperSub:
            s.chr.vertical = RtfVertical::Normal;
            break;
        case Kw::Up:
            // \upN raises by N half-points; a viewer can only show raised or lowered text.
            s.chr.vertical = on ? RtfVertical::Super : RtfVertical::Normal;
            break;
        case Kw::Down:
            s.chr.vertical = on ? RtfVertical::Sub : RtfVertical::Normal;
            break;
        case Kw::ColorFore:
            s.chr.color = hasParam ? clampInt(param, -1, kParamSaturation) : -1;
            break;
        case Kw::ColorBack:
            // Index 0 is "no highlight" for \highlight and "auto" for \cb.
            s.chr.background = param > 0 ? clampInt(param, 0, kParamSaturation) : -1;
            break;
        case Kw::Par:
            endParagraph();
            break;
        case Kw::Pard:
            s.para = RtfParaFormat{};
            break;
        case Kw::AlignLeft:
            s.para.align = RtfAlign::Left;
            break;
        case Kw::AlignCenter:
            s.para.align = RtfAlign::Center;
            break;
        case Kw::AlignRight:
            s.para.align = RtfAlign::Right;
            break;
        case Kw::AlignJustify:
            s.para.align = RtfAlign::Justify;
            break;
        case Kw::LeftIndent:
            s.para.leftIndent_tw = clampInt(param, -kMaxLength_tw, kMaxLength_tw);
            break;
        case Kw::RightIndent:
            s.para.rightIndent_tw = clampInt(param, -kMaxLength_tw, kMaxLength_tw);
            break;
        case Kw::FirstIndent:
            s.para.firstIndent_tw = clampInt(param, -kMaxLength_tw, kMaxLength_tw);
            break;
        case Kw::SpaceBefore:
            s.para.spaceBefore_tw = clampInt(param, 0, kMaxLength_tw);
            break;
        case Kw::SpaceAfter:
            s.para.spaceAfter_tw = clampInt(param, 0, kMaxLength_tw);
            break;
        case Kw::Line:
            textChar(kLineSeparator);
            break;
        case Kw::Tab:
            textChar('\t');
            break;
        case Kw::Char:
            textChar(e.ch);
            break;
        default:
            break;
        }
    }

    void fontTableKeyword(Kw kw, long long param)
    {
        switch (kw) {
        case Kw::Font:
            commitFont();
            m_fontNum = clampInt(param, 0, kParamSaturation);
            break;
        case Kw::FontCharset:
            m_font.charset = clampInt(param, 0, 255);
            break;
        case Kw::FontClassNil:
            m_font.fontClass = RtfFontClass::Nil;
            break;
        case Kw::FontClassRoman:
            m_font.fontClass = RtfFontClass::Roman;
            break;
        case Kw::FontClassSwiss:
            m_font.fontClass = RtfFontClass::Swiss;
            break;
        case Kw::FontClassModern:
            m_font.fontClass = RtfFontClass::Modern;
            break;
        case Kw::FontClassScript:
            m_font.fontClass = RtfFontClass::Script;
            break;
        case Kw::FontClassDecor:
            m_font.fontClass = RtfFontClass::Decor;
            break;
        case Kw::FontClassTech:
            m_font.fontClass = RtfFontClass::Tech;
            break;
        case Kw::FontClassBidi:
            m_font.fontClass = RtfFontClass::Bidi;
            break;
        default:
            break;
        }
    }

    /// Ends the font table entry being read, if it has a number. Writers end entries with ';',
    /// but some end them with the entry's closing brace only.
    void commitFont()
    {
        if (m_fontNum >= 0) {
            while (!m_font.name.empty() && m_font.name.back() == ' ')
                m_font.name.pop_back();
            m_doc.fonts[m_fontNum] = std::move(m_font);
        }
        m_fontNum = -1;
        m_font = {};
    }

    void unicode(long long param)
    {
        // RTF writes code units above 32767 as negative 16-bit numbers.
        if (param < 0)
            param += 65536;
        if (param < 0 || param > 0xFFFF) {
            textChar(kReplacement);
            return;
        }
        const auto unit = static_cast<char32_t>(param);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            flushSurrogate();
            m_highSurrogate = unit;
            return;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            if (m_highSurrogate == 0) {
                textChar(kReplacement);
                return;
            }
            const char32_t cp = 0x10000 + ((m_highSurrogate - 0xD800) << 10) + (unit - 0xDC00);
            m_highSurrogate = 0;
            textChar(cp);
            return;
        }
        // Symbol-font characters written as \uN land in the private-use block U+F020..U+F0FF.
        if (unit >= 0xF020 && unit <= 0xF0FF && currentFontIsSymbol()) {
            textChar(symbolToUnicode(static_cast<unsigned char>(unit & 0xFF)));
            return;
        }
        textChar(unit);
    }

    void flushSurrogate()
    {
        if (m_highSurrogate != 0) {
            m_highSurrogate = 0;
            textChar(kReplacement);
        }
    }

    bool currentFontIsSymbol() const
    {
        const int num = m_stack.back().chr.font >= 0 ? m_stack.back().chr.font : m_doc.defaultFont;
        const auto it = m_doc.fonts.find(num);
        return it != m_doc.fonts.end() && (it->second.charset == kSymbolCharset ||
                                           equalsIgnoringCase(it->second.name, "Symbol"));
    }

    /// A byte of text: ASCII, a \'hh escape or a raw byte of the 8-bit code page.
    void textByte(unsigned char byte)
    {
        if (overflowing())
            return;
        GroupState& s = state();
        switch (s.dest) {
        case Dest::Skip:
            return;
        case Dest::FontTable:
            if (byte == ';')
                commitFont();
            else if (m_font.name.size() < kMaxFontName && byte >= 0x20)
                appendUtf8(m_font.name, cp1252ToUnicode(byte));
            return;
        case Dest::ColorTable:
            if (byte == ';') {
                m_doc.colors.push_back(m_color);
                m_color = {};
            }
            return;
        case Dest::Text:
            break;
        }
        if (byte == '\t') {
            textChar('\t');
            return;
        }
        if (byte < 0x20 || byte == 0x7F)
            return; // control bytes carry no text in RTF
        textChar(currentFontIsSymbol() ? symbolToUnicode(byte) : cp1252ToUnicode(byte));
    }

    void textChar(char32_t cp)
    {
        if (overflowing() || state().dest != Dest::Text)
            return;
        // Control codes other than the tab are not text; U+FDD0..U+FDEF are non-characters
        // that rich-text engines use internally as frame markers.
        if ((cp < 0x20 && cp != '\t') || cp == 0x7F)
            return;
        if (cp >= 0xFDD0 && cp <= 0xFDEF)
            cp = kReplacement;
        if (m_highSurrogate != 0) {
            m_highSurrogate = 0;
            textChar(kReplacement);
        }
        const RtfCharFormat& f = state().chr;
        if (m_para.runs.empty() || !(m_para.runs.back().format == f))
            m_para.runs.push_back(RtfRun{{}, f});
        appendUtf8(m_para.runs.back().text, cp);
    }

    void endParagraph()
    {
        flushSurrogate();
        m_para.format = state().para;
        m_para.endFormat = state().chr;
        m_doc.paragraphs.push_back(std::move(m_para));
        m_para = {};
    }

    std::string_view m_in;
    std::size_t m_pos = 0;
    std::vector<GroupState> m_stack; // back() is the innermost open group
    int m_overflow = 0;              // groups opened past the depth limit and not yet closed
    int m_pendingSkip = 0;           // fallback characters still owed after a \uN
    char32_t m_highSurrogate = 0;    // first half of a \uN surrogate pair, awaiting its second
    int m_fontNum = -1;              // font table entry being read
    RtfFont m_font;
    RtfColor m_color; // colour table entry being read
    RtfDocument m_doc;
    RtfParagraph m_para;
};

} // namespace

RtfDocument readRtf(std::string_view rtf) { return Reader(rtf).read(); }

char32_t cp1252ToUnicode(unsigned char byte)
{
    // 0x80..0x9F are the code page's own; the rest of the upper half is Latin-1.
    static constexpr std::array<char32_t, 32> kHigh = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    if (byte >= 0x80 && byte <= 0x9F)
        return kHigh[byte - 0x80];
    return byte;
}

char32_t symbolToUnicode(unsigned char byte)
{
    // Upper case A..Z and lower case a..z of the Symbol font, in its order (C is chi, Q theta,
    // V final sigma, J and j the variant theta and phi).
    static constexpr std::array<char32_t, 26> kUpper = {
        0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399,
        0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F, 0x03A0, 0x0398, 0x03A1,
        0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396};
    static constexpr std::array<char32_t, 26> kLower = {
        0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9,
        0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF, 0x03C0, 0x03B8, 0x03C1,
        0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6};
    if (byte >= 'A' && byte <= 'Z')
        return kUpper[byte - 'A'];
    if (byte >= 'a' && byte <= 'z')
        return kLower[byte - 'a'];
    // Signs on the other code points: for all, exists, minus, prime, less/greater or equal,
    // infinity, degree, plus-minus, partial derivative, almost equal, square root, sum, integral.
    struct Sign {
        unsigned char byte;
        char32_t cp;
    };
    static constexpr Sign kSigns[] = {
        {0x22, 0x2200}, {0x24, 0x2203}, {0x27, 0x220B}, {0x2A, 0x2217}, {0x2D, 0x2212},
        {0x40, 0x2245}, {0x5C, 0x2234}, {0x5E, 0x22A5}, {0xA2, 0x2032}, {0xA3, 0x2264},
        {0xA5, 0x221E}, {0xA6, 0x0192}, {0xAB, 0x2194}, {0xAC, 0x2190}, {0xAD, 0x2191},
        {0xAE, 0x2192}, {0xAF, 0x2193}, {0xB0, 0x00B0}, {0xB1, 0x00B1}, {0xB2, 0x2033},
        {0xB3, 0x2265}, {0xB4, 0x00D7}, {0xB5, 0x221D}, {0xB6, 0x2202}, {0xB7, 0x2022},
        {0xB8, 0x00F7}, {0xB9, 0x2260}, {0xBA, 0x2261}, {0xBB, 0x2248}, {0xBC, 0x2026},
        {0xC6, 0x2205}, {0xC7, 0x2229}, {0xC8, 0x222A}, {0xCE, 0x2208}, {0xD1, 0x2207},
        {0xD5, 0x220F}, {0xD6, 0x221A}, {0xD7, 0x22C5}, {0xD8, 0x00AC}, {0xD9, 0x2227},
        {0xDA, 0x2228}, {0xDB, 0x21D4}, {0xDC, 0x21D0}, {0xDE, 0x21D2}, {0xE5, 0x2211},
        {0xF2, 0x222B}};
    for (const Sign& s : kSigns)
        if (s.byte == byte)
            return s.cp;
    return cp1252ToUnicode(byte);
}

} // namespace rtf
