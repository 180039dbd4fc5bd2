#pragma once

#include <QRect>

class QString;
class QTextBrowser;
class QWidget;

namespace ui {

/// A read-only viewer named RichTextBox1 at geometry, showing an RTF asset from its top, with a
/// vertical scroll bar and lines wrapped at the viewer's width.
QTextBrowser* makeRtfViewer(const QString& assetName, const QRect& geometry, QWidget* parent);

} // namespace ui
