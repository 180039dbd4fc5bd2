#include "rtf/rtf_reader.h"

#include "rtf/rtf_encodings.h"
#include "rtf/rtf_keywords.h"

#include <algorithm>

namespace rtf {
namespace {

using detail::clampInt;
using detail::kParamSaturation;
using detail::Kw;
using detail::KwEntry;

// \ucN: a reader skips N fallback characters after each \uN; real writers use 0 to 2.
constexpr int kMaxUnicodeSkip = 16;
// Font names in the table are short; a longer one is hostile and is cut here.
constexpr std::size_t kMaxFontName = 128;
constexpr int kSymbolCharset = 2;
constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kLineSeparator = 0x2028;

enum class Dest { Text, Skip, FontTable, ColorTable };

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

        const KwEntry* const entry = detail::findKeyword(word);
        if (entry == nullptr) {
            consumeSkipped();
            return;
        }
        // \bin's data must be passed over whatever state the reader is in, or its bytes would
        // be read as braces and commands.
        if (entry->kw == Kw::Binary) {
            const auto n = static_cast<std::size_t>(std::max<long long>(param, 0));
            m_pos += std::min(n, m_in.size() - m_pos);
            consumeSkipped();
            return;
        }
        if (overflowing() || consumeSkipped())
            return;
        keyword(*entry, hasParam, param);
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
        if (destinationKeyword(e.kw, param))
            return;
        switch (state().dest) {
        case Dest::FontTable:
            fontTableKeyword(e.kw, param);
            return;
        case Dest::ColorTable:
            colorTableKeyword(e.kw, param);
            return;
        case Dest::Skip:
            return;
        case Dest::Text:
            break;
        }
        textKeyword(e, hasParam, param);
    }

    /// The words that open a destination or steer \uN act in every destination; true when `kw`
    /// was one of them.
    bool destinationKeyword(Kw kw, long long param)
    {
        GroupState& s = state();
        switch (kw) {
        case Kw::SkipDest:
            s.dest = Dest::Skip;
            return true;
        case Kw::FontTable:
            if (s.dest != Dest::Skip) {
                s.dest = Dest::FontTable;
                m_fontNum = -1;
                m_font = {};
            }
            return true;
        case Kw::ColorTable:
            if (s.dest != Dest::Skip) {
                s.dest = Dest::ColorTable;
                m_color = {};
            }
            return true;
        case Kw::Unicode:
            if (s.dest != Dest::Skip)
                unicode(param);
            m_pendingSkip = s.ucSkip;
            return true;
        case Kw::UnicodeSkip:
            s.ucSkip = clampInt(param, 0, kMaxUnicodeSkip);
            return true;
        default:
            return false;
        }
    }

    void textKeyword(const KwEntry& e, bool hasParam, long long param)
    {
        GroupState& s = state();
        if (detail::applyCharFormat(e.kw, hasParam, param, s.chr) ||
            detail::applyParaFormat(e.kw, param, s.para))
            return;
        switch (e.kw) {
        case Kw::DefaultFont:
            m_doc.defaultFont = clampInt(param, 0, kParamSaturation);
            break;
        case Kw::Par:
            endParagraph();
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

    void colorTableKeyword(Kw kw, long long param)
    {
        if (kw != Kw::Red && kw != Kw::Green && kw != Kw::Blue)
            return;
        std::uint8_t& target = kw == Kw::Red     ? m_color.red
                               : kw == Kw::Green ? m_color.green
                                                 : m_color.blue;
        target = colorComponent(param);
        m_color.isAuto = false;
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
} // namespace rtf
