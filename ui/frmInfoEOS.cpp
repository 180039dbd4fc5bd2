#include "ui/frmInfoEOS.h"

#include "ui/frmFigure.h"
#include "ui/guarded.h"
#include "ui/rtf_viewer.h"
#include "ui/twips.h"
#include "ui/window_registry.h"
#include "ui/window_style.h"

#include <QPushButton>
#include <QTextBrowser>

namespace ui {
namespace {

const QColor kGrey(128, 128, 128);

QPushButton* makeButton(const char* name, const QString& caption, const QRect& geometry,
                        QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    return button;
}

} // namespace

frmInfoEOS::frmInfoEOS(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmInfoEOS"));
    setWindowTitle(QStringLiteral("Equations of State"));
    setFixedSize(twipsSize(9036, 6948));
    fillBackground(this, kGrey);

    RichTextBox1 =
        makeRtfViewer(QStringLiteral("info_eos.rtf"), twipsRect(120, 120, 7692, 6732), this);
    cmdFig1 =
        makeButton("cmdFig1", QStringLiteral("Figure 1"), twipsRect(7920, 240, 1092, 492), this);
    cmdFig2 =
        makeButton("cmdFig2", QStringLiteral("Figure 2"), twipsRect(7920, 960, 1092, 492), this);
    cmdFig3 =
        makeButton("cmdFig3", QStringLiteral("Figure 3"), twipsRect(7920, 1680, 1092, 492), this);

    connect(cmdFig1, &QPushButton::clicked, this, &frmInfoEOS::cmdFig1_Click);
    connect(cmdFig2, &QPushButton::clicked, this, &frmInfoEOS::cmdFig2_Click);
    connect(cmdFig3, &QPushButton::clicked, this, &frmInfoEOS::cmdFig3_Click);
}

// The figure windows have no owner: they stay open when this window closes.
void frmInfoEOS::cmdFig1_Click()
{
    guarded(this, [] { showSingle<frmFig1>(); });
}

void frmInfoEOS::cmdFig2_Click()
{
    guarded(this, [] { showSingle<frmFig2>(); });
}

void frmInfoEOS::cmdFig3_Click()
{
    guarded(this, [] { showSingle<frmFig3>(); });
}

} // namespace ui
