#pragma once

#include <QFont>
#include <QLineEdit>
#include <QString>

namespace ui {

/// How a text is drawn in a box of fixed width.
struct FittedText {
    QFont font;
    QString text; // the whole text, or its start and "…" when even the smallest face is too wide
    bool elided = false;
};

/// Fits text into width pixels: in font when it fits, else in the largest face down to
/// minPixelSize that fits, else in that smallest face cut at the right. Cutting at the right
/// keeps the leading digits, the ones that carry the magnitude.
FittedText fitText(const QFont& font, const QString& text, int width, int minPixelSize);

/// A cell of the result sheet: read-only, and its whole text always readable in its fixed box.
/// A value wider than the box is drawn in a smaller face (font() is the face in use), down to a
/// legible minimum; beyond that it is cut at the right with the whole value as the tooltip.
/// The cell is for reading: a click gives it the focus (so Ctrl+C copies) but never scrolls it.
class ResultCell : public QLineEdit {
    Q_OBJECT
public:
    /// The smallest face, as a fraction of the design face: about 6.75 pt at 96 dpi for the
    /// 12-pixel face of the cells, still clear on screen.
    static constexpr double kMinScale = 0.75;

    /// A cell drawn in baseFont (the design face of the sheet).
    ResultCell(const QFont& baseFont, QWidget* parent);

    /// Where the text is drawn: the line-edit contents less its text margins, as QLineEdit
    /// itself lays out its text.
    QRect textArea() const;
    /// What the cell draws now.
    FittedText fitted() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void refit();

    QFont m_baseFont;
};

} // namespace ui
