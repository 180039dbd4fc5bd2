#pragma once

#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>

class QLabel;
class QWidget;

namespace ui {

/// The area of a caption that the background keeps clear: its text with a two-pixel margin,
/// or the whole label when its text wraps (a message whose lines change), in the coordinates
/// of the label's parent.
QRect captionArea(const QLabel* label);

/// The background picture of window: the SVG asset drawn at size, with the caption area of
/// each of the window's own labels painted in the picture's ground colour (its top-left
/// pixel), so that no drawing runs through a caption or a message.
QPixmap backgroundClearOfCaptions(const QWidget* window, const QString& asset, QSize size);

} // namespace ui
