#include "ui/rich_text_builder.h"

#include "rtf/rtf_reader.h"
#include "ui/font_faces.h"

#include <QColor>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

namespace ui {

using namespace rtf;

namespace {

// Document lengths are in twips; the viewer lays text out at 96 pixels per inch, the same scale
// at which it turns the document's point sizes into pixels, so indents keep their proportion
// to the text: 1440 / 96 = 15 twips per pixel.
constexpr double kTwipsPerDocPixel = 15.0;
// With no font table the text is shown in RTF's traditional default face.
const char* const kFallbackFace = "Times New Roman";

double docPixels(int twips) { return twips / kTwipsPerDocPixel; }

FaceKind faceKind(RtfFontClass c)
{
    switch (c) {
    case RtfFontClass::Roman:
        return FaceKind::Serif;
    case RtfFontClass::Swiss:
        return FaceKind::Sans;
    case RtfFontClass::Modern:
        return FaceKind::Mono;
    default:
        return FaceKind::Unknown;
    }
}

QString faceOf(const RtfDocument& rtf, int fontNum)
{
    auto it = rtf.fonts.find(fontNum >= 0 ? fontNum : rtf.defaultFont);
    if (it == rtf.fonts.end())
        it = rtf.fonts.find(rtf.defaultFont);
    if (it == rtf.fonts.end() || it->second.name.empty())
        return substituteFace(QString::fromLatin1(kFallbackFace));
    return substituteFace(QString::fromStdString(it->second.name), faceKind(it->second.fontClass));
}

const RtfColor* colorOf(const RtfDocument& rtf, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= rtf.colors.size())
        return nullptr;
    const RtfColor& c = rtf.colors[static_cast<std::size_t>(index)];
    return c.isAuto ? nullptr : &c;
}

QTextCharFormat charFormat(const RtfDocument& rtf, const RtfCharFormat& f)
{
    QTextCharFormat out;
    out.setFontFamilies({faceOf(rtf, f.font)});
    out.setFontPointSize(f.size_halfPt / 2.0);
    out.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
    out.setFontItalic(f.italic);
    out.setFontUnderline(f.underline);
    switch (f.vertical) {
    case RtfVertical::Super:
        out.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        break;
    case RtfVertical::Sub:
        out.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        break;
    case RtfVertical::Normal:
        break;
    }
    if (const RtfColor* c = colorOf(rtf, f.color))
        out.setForeground(QColor(c->red, c->green, c->blue));
    if (const RtfColor* c = colorOf(rtf, f.background))
        out.setBackground(QColor(c->red, c->green, c->blue));
    return out;
}

QTextBlockFormat blockFormat(const RtfParaFormat& p)
{
    QTextBlockFormat out;
    switch (p.align) {
    case RtfAlign::Left:
        out.setAlignment(Qt::AlignLeft);
        break;
    case RtfAlign::Center:
        out.setAlignment(Qt::AlignHCenter);
        break;
    case RtfAlign::Right:
        out.setAlignment(Qt::AlignRight);
        break;
    case RtfAlign::Justify:
        out.setAlignment(Qt::AlignJustify);
        break;
    }
    out.setLeftMargin(docPixels(p.leftIndent_tw));
    out.setRightMargin(docPixels(p.rightIndent_tw));
    out.setTextIndent(docPixels(p.firstIndent_tw));
    // A hanging indent ("1.\tab text"): as in RTF, the first tab of the line goes to the left
    // indent, so the text of a numbered item lines up with its following lines.
    if (p.firstIndent_tw < 0)
        out.setTabPositions({QTextOption::Tab(docPixels(-p.firstIndent_tw), QTextOption::LeftTab)});
    out.setTopMargin(docPixels(p.spaceBefore_tw));
    out.setBottomMargin(docPixels(p.spaceAfter_tw));
    return out;
}

} // namespace

void fillDocument(QTextDocument& doc, const RtfDocument& rtf)
{
    // Nothing is ever edited in the viewers; an undo stack would only double the memory.
    doc.setUndoRedoEnabled(false);
    doc.clear();
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    bool first = true;
    for (const RtfParagraph& para : rtf.paragraphs) {
        const QTextBlockFormat block = blockFormat(para.format);
        const QTextCharFormat mark = charFormat(rtf, para.endFormat);
        if (first) {
            cursor.setBlockFormat(block);
            cursor.setBlockCharFormat(mark);
            first = false;
        } else {
            cursor.insertBlock(block, mark);
        }
        for (const RtfRun& run : para.runs)
            cursor.insertText(QString::fromStdString(run.text), charFormat(rtf, run.format));
    }
    cursor.endEditBlock();
}

void setRtf(QTextDocument& doc, std::string_view rtf) { fillDocument(doc, readRtf(rtf)); }

} // namespace ui
