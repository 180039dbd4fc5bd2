#pragma once

#include <QByteArray>
#include <QColor>
#include <QPixmap>
#include <QSize>
#include <QString>

// The documents and pictures shipped in the ui library's resources (assets.qrc), by file name:
// "info_eos.rtf", "instructions.rtf", "fig1.svg", "fig2.svg", "fig3.svg", "background.svg".
namespace ui {

/// The bytes of an asset; empty when there is no such asset.
QByteArray readAsset(const QString& name);

/// An SVG asset drawn to fill exactly size pixels over background. A missing or unreadable
/// picture gives a pixmap of that size in the background colour, so the layout stays as designed.
QPixmap renderSvgAsset(const QString& name, QSize size, const QColor& background = Qt::white);

} // namespace ui
