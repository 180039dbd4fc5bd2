#include "rtf/rtf_reader.h"
#include "rtf_fuzz_inputs.h"
#include "ui/rich_text_builder.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<QTextDocument> load(const QByteArray& rtf)
{
    auto doc = std::make_unique<QTextDocument>();
    ui::setRtf(*doc, std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size())));
    return doc;
}

// Paragraphs joined by '|'; line breaks inside a paragraph stay U+2028.
QString blocks(const QTextDocument& doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        out << b.text();
    return out.join(u'|');
}

QString colorName(const QBrush& brush)
{
    return brush.style() == Qt::NoBrush ? QString() : brush.color().name();
}

// One line per character format: face, size, then the flags that are set.
QString describe(const QTextCharFormat& f)
{
    QStringList parts{f.fontFamilies().toStringList().value(0),
                      QString::number(f.fontPointSize()) + u"pt"_s};
    if (f.fontWeight() >= QFont::Bold)
        parts << QStringLiteral("b");
    if (f.fontItalic())
        parts << QStringLiteral("i");
    if (f.fontUnderline())
        parts << QStringLiteral("u");
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        parts << QStringLiteral("super");
    if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        parts << QStringLiteral("sub");
    if (f.hasProperty(QTextFormat::ForegroundBrush))
        parts << u"fg"_s + colorName(f.foreground());
    if (f.hasProperty(QTextFormat::BackgroundBrush))
        parts << u"bg"_s + colorName(f.background());
    return parts.join(u' ');
}

// Alignment, then left, right, first-line indent, space before and after, in document pixels
// (15 twips each), and the first tab stop where there is one.
QString describe(const QTextBlockFormat& f)
{
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    const QString align = a == Qt::AlignHCenter   ? QStringLiteral("center")
                          : a == Qt::AlignRight   ? QStringLiteral("right")
                          : a == Qt::AlignJustify ? QStringLiteral("justify")
                                                  : QStringLiteral("left");
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
               .arg(align)
               .arg(f.leftMargin())
               .arg(f.rightMargin())
               .arg(f.textIndent())
               .arg(f.topMargin())
               .arg(f.bottomMargin()) +
           (f.tabPositions().isEmpty()
                ? QString()
                : QStringLiteral(" tab %1").arg(f.tabPositions().front().position));
}

const QByteArray kHeader =
    R"({\rtf1\ansi\deff0{\fonttbl{\f0\froman Times New Roman;}{\f1\fswiss Arial;})"
    R"({\f2\fmodern Courier New;}{\f3\fnil Bogus Face;}{\f4\fmodern Bogus Mono;}{\f5 Symbol;}})"
    R"({\colortbl ;\red255\green0\blue0;\red0\green0\blue255;})";

} // namespace

class tst_rich_text_builder : public QObject {
    Q_OBJECT
private slots:
    void text_data();
    void text();
    void charFormat_data();
    void charFormat();
    void blockFormat_data();
    void blockFormat();
    void emptyParagraphKeepsItsSize();
    void realisticDocument();
    void malformedDocumentsBuild();
};

void tst_rich_text_builder::text_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    auto row = [](const char* name, const QByteArray& rtf, const QString& expected) {
        QTest::newRow(name) << rtf << expected;
    };
    row("plain text", R"({\rtf1 Hello world})", u"Hello world"_s);
    row("no header at all", "just text", u"just text"_s);
    row("escaped backslash and braces", R"({\rtf1 a\\b\{c\}})", u"a\\b{c}"_s);
    row("space after a control word is its delimiter", R"({\rtf1 \b bold\b0  x})", u"bold x"_s);
    row("cp1252 escapes", R"({\rtf1 caf\'e9 \'93q\'94 \'80\'85})",
        u"caf\u00e9 \u201cq\u201d \u20ac\u2026"_s);
    row("cp1252 hole becomes replacement", R"({\rtf1 \'81})", u"\ufffd"_s);
    row("hex escape cut short", R"({\rtf1 a\'zb})", u"azb"_s);
    row("unicode skips one fallback by default", R"({\rtf1 \u8364?x})", u"\u20acx"_s);
    row("uc0 skips nothing", R"({\rtf1\uc0 \u8364 x})", u"\u20acx"_s);
    row("uc2 skips two", R"({\rtf1\uc2 \u8364 ab c})", u"\u20ac c"_s);
    row("hex escape counts as one fallback", R"({\rtf1 \u233\'e9x})", u"\u00e9x"_s);
    row("uc is restored with the group", R"({\rtf1{\uc0 \u233 }\u233?})", u"\u00e9\u00e9"_s);
    row("a brace ends the skipping", R"({\rtf1\uc3 \u233{x}y})", u"\u00e9xy"_s);
    row("surrogate pair as negative units", R"({\rtf1 \u-10179?\u-8704?})", u"\U0001F600"_s);
    row("lone high surrogate", R"({\rtf1 \u55357?x})", u"\ufffdx"_s);
    row("lone low surrogate", R"({\rtf1 \u56832?x})", u"\ufffdx"_s);
    row("unicode out of range", R"({\rtf1 \u99999999?x})", u"\ufffdx"_s);
    row("unicode control codes dropped", R"({\rtf1 a\u0?\u13?b})", u"ab"_s);
    row("frame marker code points replaced", R"({\rtf1 \u-560?})", u"\ufffd"_s);
    row("nonbreaking space, optional and nonbreaking hyphen", R"({\rtf1 a\~b\-c\_d})",
        u"a\u00a0b\u00adc\u2011d"_s);
    row("named characters", R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})",
        u"\u2014\u2013\u2022\u2018\u2019\u201c\u201d"_s);
    row("tab and line break", R"({\rtf1 a\tab b\line c})", u"a\tb\u2028c"_s);
    row("paragraphs", R"({\rtf1 a\par b\par c})", u"a|b|c"_s);
    row("final paragraph mark adds no block", R"({\rtf1 a\par})", u"a"_s);
    row("empty paragraph kept", R"({\rtf1 a\par\par b})", u"a||b"_s);
    row("backslash before a line end is a paragraph", "{\\rtf1 a\\\nb}", u"a|b"_s);
    row("line ends in the source are not text", "{\\rtf1 a\nb\r\nc}", u"abc"_s);
    row("control bytes are not text", "{\\rtf1 a\x01\x7f\x1b b}", u"a b"_s);
    row("raw high byte read as cp1252", "{\\rtf1 caf\xe9}", u"caf\u00e9"_s);
    row("ignorable destination", R"({\rtf1 {\*\generator Writer 1.0;}x})", u"x"_s);
    row("ignorable destination with nested groups", R"({\rtf1 {\*\unknown {deep {er}} t}x})",
        u"x"_s);
    row("tables and info are not text",
        R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red1\green2\blue3;})"
        R"({\stylesheet{\s1 Heading;}}{\info{\title T}{\author A}}x})",
        u"x"_s);
    row("picture data skipped", R"({\rtf1 {\pict\wmetafile8\picw10 0102abcdef}x})", u"x"_s);
    row("binary data may hold braces", R"({\rtf1 a{\bin3 }{\}b})", u"ab"_s);
    row("field shows its result only",
        R"({\rtf1 {\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt link}}})", u"link"_s);
    row("unknown control words ignored", R"({\rtf1 \foo123 x\bar-5 y})", u"xy"_s);
    row("over-long control word ignored", "{\\rtf1 \\" + QByteArray(40, 'q') + " x}", u"x"_s);
    row("symbol font text becomes Greek",
        R"({\rtf1{\fonttbl{\f3\ftech\fcharset2 Symbol;}}\f3 w\'b1\'a3})", u"\u03c9\u00b1\u2264"_s);
    row("symbol font by name", R"({\rtf1{\fonttbl{\f1 Symbol;}}\f1 a})", u"\u03b1"_s);
    row("symbol private-use unicode", R"({\rtf1{\fonttbl{\f3\fcharset2 Symbol;}}\f3\u-3977?})",
        u"\u03c9"_s);
    row("text after the document ends is ignored", R"({\rtf1 a}b)", u"a"_s);
    row("stray closing brace before the document", R"(}{\rtf1 a})", u"a"_s);
    row("truncated inside a group", R"({\rtf1 {\b a)", u"a"_s);
    row("truncated after a backslash", "{\\rtf1 a\\", u"a"_s);
    row("truncated inside a hex escape", R"({\rtf1 a\'e)", u"a"_s);
    row("text within the depth limit kept",
        "{\\rtf1 " + QByteArray(200, '{') + "x" + QByteArray(200, '}') + "}", u"x"_s);
    row("text past the depth limit dropped, outer text kept",
        "{\\rtf1 a" + QByteArray(300, '{') + "x" + QByteArray(300, '}') + "b}", u"ab"_s);
    row("empty input", "", QString());
}

void tst_rich_text_builder::text()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(blocks(*load(rtf)), expected);
}

void tst_rich_text_builder::charFormat_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    // The marked word is X; the rest of each row sets up the state it is read in.
    auto row = [](const char* name, const QByteArray& body, const QString& expected) {
        QTest::newRow(name) << kHeader + body + "}" << expected;
    };
    row("default", "X", u"Liberation Serif 12pt"_s);
    row("bold", R"(\b X)", u"Liberation Serif 12pt b"_s);
    row("bold off", R"(\b\b0 X)", u"Liberation Serif 12pt"_s);
    row("italic", R"(\i X)", u"Liberation Serif 12pt i"_s);
    row("underline", R"(\ul X)", u"Liberation Serif 12pt u"_s);
    row("ulnone", R"(\ul\ulnone X)", u"Liberation Serif 12pt"_s);
    row("ul0", R"(\ul\ul0 X)", u"Liberation Serif 12pt"_s);
    row("group restores the format", R"({\b\i\fs40 a}X)", u"Liberation Serif 12pt"_s);
    row("format set inside a group", R"({\b\i X})", u"Liberation Serif 12pt b i"_s);
    row("plain resets everything", R"(\b\i\ul\fs40\cf1\highlight2\f1\super\plain X)",
        u"Liberation Serif 12pt"_s);
    row("size in half points", R"(\fs20 X)", u"Liberation Serif 10pt"_s);
    row("odd half point", R"(\fs21 X)", u"Liberation Serif 10.5pt"_s);
    row("huge size clamped", R"(\fs99999999999999999999 X)", u"Liberation Serif 200pt"_s);
    row("zero size falls back", R"(\fs0 X)", u"Liberation Serif 12pt"_s);
    row("superscript", R"(\super X)", u"Liberation Serif 12pt super"_s);
    row("subscript", R"(\sub X)", u"Liberation Serif 12pt sub"_s);
    row("nosupersub", R"(\super\nosupersub X)", u"Liberation Serif 12pt"_s);
    row("up raises", R"(\up6 X)", u"Liberation Serif 12pt super"_s);
    row("dn lowers", R"(\dn6 X)", u"Liberation Serif 12pt sub"_s);
    row("up0 ends the raise", R"(\up6\up0 X)", u"Liberation Serif 12pt"_s);
    row("colour", R"(\cf1 X)", u"Liberation Serif 12pt fg#ff0000"_s);
    row("cf0 is the automatic colour", R"(\cf1\cf0 X)", u"Liberation Serif 12pt"_s);
    row("colour index past the table", R"(\cf9 X)", u"Liberation Serif 12pt"_s);
    row("highlight", R"(\highlight2 X)", u"Liberation Serif 12pt bg#0000ff"_s);
    row("cb background", R"(\cb1 X)", u"Liberation Serif 12pt bg#ff0000"_s);
    row("highlight0 is none", R"(\highlight2\highlight0 X)", u"Liberation Serif 12pt"_s);
    row("Arial maps to Liberation Sans", R"(\f1 X)", u"Liberation Sans 12pt"_s);
    row("Courier New maps to Liberation Mono", R"(\f2 X)", u"Liberation Mono 12pt"_s);
    row("unknown face kept", R"(\f3 X)", u"Bogus Face 12pt"_s);
    row("unknown modern face gets a monospace", R"(\f4 X)", u"Liberation Mono 12pt"_s);
    row("Symbol maps to DejaVu Sans", R"(\f5\u88?)", u"DejaVu Sans 12pt"_s);
    row("undefined font number uses the default", R"(\f9 X)", u"Liberation Serif 12pt"_s);
    row("combined", R"(\f1\fs18\b\i\ul\sub\cf2 X)", u"Liberation Sans 9pt b i u sub fg#0000ff"_s);
    QTest::newRow("flat font table")
        << QByteArray(R"({\rtf1{\fonttbl\f0\fswiss Arial;\f1\fmodern Courier New;}\f1 X})")
        << u"Liberation Mono 12pt"_s;
    QTest::newRow("font entry with panose and alternative")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fswiss{\*\panose 020b0604}Arial{\*\falt Helv};}}X})")
        << u"Liberation Sans 12pt"_s;
    QTest::newRow("font entry closed without semicolon")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fswiss Arial}}X})") << u"Liberation Sans 12pt"_s;
    QTest::newRow("deff picks the default font")
        << QByteArray(R"({\rtf1\deff1{\fonttbl{\f0\froman Times New Roman;}{\f1 Arial;}}X})")
        << u"Liberation Sans 12pt"_s;
    QTest::newRow("no font table") << QByteArray(R"({\rtf1 X})") << u"Liberation Serif 12pt"_s;
}

void tst_rich_text_builder::charFormat()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    const auto doc = load(rtf);
    const QTextCursor found = doc->find(QStringLiteral("X"), 0, QTextDocument::FindCaseSensitively);
    QVERIFY2(!found.isNull(), qPrintable(blocks(*doc)));
    QCOMPARE(describe(found.charFormat()), expected);
}

void tst_rich_text_builder::blockFormat_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("block");
    QTest::addColumn<QString>("expected");

    QTest::newRow("default") << QByteArray(R"({\rtf1 a\par})") << 0 << u"left 0 0 0 0 0"_s;
    QTest::newRow("centred") << QByteArray(R"({\rtf1\qc a\par})") << 0 << u"center 0 0 0 0 0"_s;
    QTest::newRow("right") << QByteArray(R"({\rtf1\qr a\par})") << 0 << u"right 0 0 0 0 0"_s;
    QTest::newRow("justified") << QByteArray(R"({\rtf1\qj a\par})") << 0 << u"justify 0 0 0 0 0"_s;
    QTest::newRow("ql after qc") << QByteArray(R"({\rtf1\qc\ql a\par})") << 0
                                 << u"left 0 0 0 0 0"_s;
    // 720 twips = 48 px at 15 twips per pixel, and so on.
    QTest::newRow("indents and spacing")
        << QByteArray(R"({\rtf1\li720\ri360\fi-240\sb120\sa240 a\par})") << 0
        << u"left 48 24 -16 8 16 tab 16"_s; // a hanging indent's tab goes to the left indent
    QTest::newRow("pard resets the paragraph")
        << QByteArray(R"({\rtf1\qc\li720 a\par\pard b\par})") << 1 << u"left 0 0 0 0 0"_s;
    QTest::newRow("properties carry over without pard")
        << QByteArray(R"({\rtf1\qc\li720 a\par b\par})") << 1 << u"center 48 0 0 0 0"_s;
    QTest::newRow("properties in force at the paragraph mark apply")
        << QByteArray(R"({\rtf1 a\qr\par})") << 0 << u"right 0 0 0 0 0"_s;
    QTest::newRow("group restores paragraph properties")
        << QByteArray(R"({\rtf1{\qc a\par}b\par})") << 1 << u"left 0 0 0 0 0"_s;
    QTest::newRow("huge indent clamped to 22 inches")
        << QByteArray(R"({\rtf1\li99999999999\sb-50 a\par})") << 0 << u"left 2112 0 0 0 0"_s;
}

void tst_rich_text_builder::blockFormat()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, block);
    QFETCH(QString, expected);
    const auto doc = load(rtf);
    const QTextBlock b = doc->findBlockByNumber(block);
    QVERIFY(b.isValid());
    QCOMPARE(describe(b.blockFormat()), expected);
}

// An empty line takes its height from the format at its paragraph mark.
void tst_rich_text_builder::emptyParagraphKeepsItsSize()
{
    const auto doc = load(R"({\rtf1 a\par\fs48\par b})");
    QCOMPARE(doc->blockCount(), 3);
    QCOMPARE(doc->findBlockByNumber(1).charFormat().fontPointSize(), 24.0);
}

// The shape a word processor writes: header tables, styles, mixed runs in one paragraph.
void tst_rich_text_builder::realisticDocument()
{
    const QByteArray rtf =
        kHeader +
        R"({\*\generator Msftedit 5.41;}\viewkind4\uc1\pard\qc\sa200\f1\fs28\b Equations )"
        R"(of State\b0\par)"
        "\r\n"
        R"(\pard\qj\fi360\f0\fs24 The critical point P\sub c\nosupersub , T\sub c)"
        R"(\nosupersub ; volume in cm\super 3\nosupersub /mol; \f5 w\f0  is the )"
        R"(acentric factor.\par})";
    const auto doc = load(rtf);
    QCOMPARE(blocks(*doc), u"Equations of State|The critical point Pc, Tc; volume in cm3/mol; "
                           u"\u03c9 is the acentric factor."_s);
    QCOMPARE(describe(doc->begin().blockFormat()), u"center 0 0 0 0 13.3333"_s);
    QTextCursor c = doc->find(QStringLiteral("cm3"));
    QCOMPARE(describe(c.charFormat()), u"Liberation Serif 12pt super"_s);
    c = doc->find(QStringLiteral("Equations"));
    QCOMPARE(describe(c.charFormat()), u"Liberation Sans 14pt b"_s);
}

// Malformed input reaches the builder as whatever the reader made of it; every 25th of the
// reader's fuzz inputs is built into a document, which must neither crash nor hang.
void tst_rich_text_builder::malformedDocumentsBuild()
{
    std::mt19937 rng(20240611);
    constexpr int kInputs = 100'000;
    constexpr int kBuildEvery = 25;
    for (int n = 0; n < kInputs; ++n) {
        const std::string input = rtf::test::malformedInput(n, rng);
        if (n % kBuildEvery == 0) {
            QTextDocument text;
            ui::fillDocument(text, rtf::readRtf(input));
        }
    }
}

QTEST_MAIN(tst_rich_text_builder)
#include "tst_rich_text_builder.moc"
