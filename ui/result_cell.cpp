#include "ui/result_cell.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cmath>

namespace ui {
namespace {

// QLineEdit keeps this many pixels free on either side of its text.
constexpr int kLineEditHorizontalMargin = 2;

bool fits(const QFont& font, const QString& text, int width)
{
    return QFontMetricsF(font).horizontalAdvance(text) <= width;
}

} // namespace

FittedText fitText(const QFont& font, const QString& text, int width, int minPixelSize)
{
    if (fits(font, text, width))
        return {font, text, false};
    QFont smaller = font;
    // One-pixel steps: the faces are hinted per pixel size, so no finer step draws differently.
    for (int px = font.pixelSize() - 1; px >= minPixelSize; --px) {
        smaller.setPixelSize(px);
        if (fits(smaller, text, width))
            return {smaller, text, false};
    }
    smaller.setPixelSize(minPixelSize);
    return {smaller, QFontMetrics(smaller).elidedText(text, Qt::ElideRight, width), true};
}

ResultCell::ResultCell(const QFont& baseFont, QWidget* parent)
    : QLineEdit(parent), m_baseFont(baseFont)
{
    setReadOnly(true);
    setFont(baseFont);
    setTextMargins(0, 0, 0, 0);
    connect(this, &QLineEdit::textChanged, this, &ResultCell::refit);
}

QRect ResultCell::textArea() const
{
    QStyleOptionFrame opt;
    initStyleOption(&opt);
    const QMargins m = textMargins();
    return style()
        ->subElementRect(QStyle::SE_LineEditContents, &opt, this)
        .adjusted(m.left() + kLineEditHorizontalMargin, m.top(),
                  -m.right() - kLineEditHorizontalMargin, -m.bottom());
}

FittedText ResultCell::fitted() const
{
    const int minPx = static_cast<int>(std::lround(m_baseFont.pixelSize() * kMinScale));
    return fitText(m_baseFont, text(), textArea().width(), minPx);
}

void ResultCell::refit()
{
    const FittedText f = fitted();
    if (font() != f.font)
        setFont(f.font);
    // The tooltip is for the case where the box cannot show the whole value.
    const QString tip = f.elided ? text() : QString();
    if (toolTip() != tip)
        setToolTip(tip);
    update();
}

void ResultCell::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    refit();
}

void ResultCell::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &p, this);

    const FittedText f = fitted();
    const QRect area = textArea();
    p.setClipRect(area);
    p.setFont(f.font);
    const QRect ink = p.boundingRect(area, Qt::AlignLeft | Qt::AlignVCenter, f.text);
    // Selected (Tab into the cell, or Ctrl+A): drawn as QLineEdit draws a selection.
    if (hasSelectedText() && hasFocus()) {
        p.fillRect(ink, palette().brush(QPalette::Highlight));
        p.setPen(palette().color(QPalette::HighlightedText));
    } else {
        p.setPen(palette().color(QPalette::Text));
    }
    p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, f.text);
}

// The text never moves: the box shows its start whatever was clicked. A click only takes the
// focus; the right button still reaches the context menu.
void ResultCell::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QLineEdit::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    event->accept();
}

void ResultCell::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

void ResultCell::mouseDoubleClickEvent(QMouseEvent* event)
{
    selectAll();
    event->accept();
}

} // namespace ui
