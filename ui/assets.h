#pragma once

#include <QByteArray>
#include <QPixmap>
#include <QSize>
#include <QString>

// The documents and pictures shipped in the ui library's resources (assets.qrc), by file name:
// "info_eos.rtf", "instructions.rtf", "fig1.svg", "fig2.svg", "fig3.svg", "background.svg".
namespace ui {

/// The bytes of an asset; empty when there is no such asset.
QByteArray readAsset(const QString& name);

/// An SVG asset drawn to fill exactly size pixels. A missing or unreadable picture gives a
/// white pixmap of that size, so the layout stays as designed.
QPixmap renderSvgAsset(const QString& name, QSize size);

} // namespace ui
