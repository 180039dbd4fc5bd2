#include "ui/rtf_viewer.h"

#include "ui/assets.h"
#include "ui/rich_text_builder.h"

#include <QScrollBar>
#include <QTextBrowser>

namespace ui {

QTextBrowser* makeRtfViewer(const QString& assetName, const QRect& geometry, QWidget* parent)
{
    auto* viewer = new QTextBrowser(parent);
    viewer->setObjectName(QStringLiteral("RichTextBox1"));
    viewer->setGeometry(geometry);
    viewer->setOpenLinks(false);
    viewer->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewer->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewer->setLineWrapMode(QTextEdit::WidgetWidth);
    const QByteArray rtf = readAsset(assetName);
    setRtf(*viewer->document(),
           std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size())));
    viewer->moveCursor(QTextCursor::Start);
    viewer->verticalScrollBar()->setValue(0);
    return viewer;
}

} // namespace ui
