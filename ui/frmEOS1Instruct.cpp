#include "ui/frmEOS1Instruct.h"

#include "ui/app_identity.h"
#include "ui/rtf_viewer.h"
#include "ui/twips.h"
#include "ui/window_style.h"

#include <QAction>
#include <QMenu>
#include <QPalette>
#include <QTextBrowser>

namespace ui {
namespace {

const QColor kDarkBlue(0, 0, 192);
const QColor kLightGrey(224, 224, 224);

} // namespace

frmEOS1Instruct::frmEOS1Instruct(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmEOS1Instruct"));
    setWindowTitle(appTitle());
    setFixedSize(twipsSize(7932, 7476));
    fillBackground(this, kDarkBlue);

    RichTextBox1 =
        makeRtfViewer(QStringLiteral("instructions.rtf"), twipsRect(120, 120, 7692, 7332), this);
    QPalette viewerPal = RichTextBox1->palette();
    viewerPal.setColor(QPalette::Base, kLightGrey);
    RichTextBox1->setPalette(viewerPal);

    // About lives in the context menus (the border's and the document's, after Copy and
    // Select All), so the fixed layout keeps every control where it is.
    QAction* about = makeAboutAction(this);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    RichTextBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(RichTextBox1, &QWidget::customContextMenuRequested, this, [this, about](QPoint pos) {
        QMenu* menu = RichTextBox1->createStandardContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addSeparator();
        menu->addAction(about);
        menu->popup(RichTextBox1->viewport()->mapToGlobal(pos));
    });
}

} // namespace ui
