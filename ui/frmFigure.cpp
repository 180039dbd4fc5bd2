#include "ui/frmFigure.h"

#include "ui/assets.h"
#include "ui/font_faces.h"
#include "ui/twips.h"
#include "ui/window_style.h"

#include <QLabel>

namespace ui {

// Sizes and positions in twips, as designed.
struct FigureLayout {
    const char* objectName;
    const char* caption;
    QSize client_tw;
    const char* asset;
    QSize frame_tw; // the picture's own size at 12 twips per pixel
    QString label;
    QRect label_tw;
};

namespace {

const QColor kOlive(128, 128, 0);
constexpr double kLabelPoints = 9.0;

const FigureLayout kFig1{"frmFig1",
                         "Figure 1 -> T-P Phase Diagram",
                         {8064, 7032},
                         "fig1.svg",
                         {7836, 6516},
                         QStringLiteral("T-P diagram for typical Component (not Water)"),
                         {960, 6720, 5892, 252}};

const FigureLayout kFig2{"frmFig2",
                         "Figure 2 ->  V-P Phase Diagram",
                         {7944, 6036},
                         "fig2.svg",
                         {7716, 5496},
                         QStringLiteral("V-P diagram for a pure fluid."),
                         {1200, 5760, 5532, 252}};

// The soft hyphen after "vapor-" is part of the caption as designed; it shows only where the
// line happens to break.
const FigureLayout kFig3{
    "frmFig3",
    "Figure 3 -> T-P Vapor Pressure Curve",
    {6180, 6672},
    "fig3.svg",
    {5976, 5616},
    QStringLiteral("T-P diagram showing the vapor-") + QChar(0x00AD) +
        QStringLiteral("pressure curve for a pure substance and constant-volume lines in the "
                       "single-phase regions."),
    {480, 5880, 5292, 732}};

} // namespace

frmFigure::frmFigure(const FigureLayout& layout) : QWidget(nullptr)
{
    setObjectName(QString::fromLatin1(layout.objectName));
    setWindowTitle(QString::fromLatin1(layout.caption));
    setFixedSize(twipsSize(layout.client_tw.width(), layout.client_tw.height()));
    fillBackground(this, kOlive);

    const QSize frame = twipsSize(layout.frame_tw.width(), layout.frame_tw.height());
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(QRect(QPoint(twipsToPixels(120), twipsToPixels(120)), frame));
    Image1->setPixmap(renderSvgAsset(QString::fromLatin1(layout.asset), frame));

    const QRect& l = layout.label_tw;
    Label1 = new QLabel(layout.label, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(l.x(), l.y(), l.width(), l.height()));
    Label1->setFont(designFont(QStringLiteral("Courier New"), kLabelPoints, QFont::Bold));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setWordWrap(true);
}

frmFig1::frmFig1() : frmFigure(kFig1) {}

frmFig2::frmFig2() : frmFigure(kFig2) {}

frmFig3::frmFig3() : frmFigure(kFig3) {}

} // namespace ui
