#pragma once

#include <QFont>
#include <QString>

// The windows and documents were designed with Windows faces that a Linux desktop lacks. These
// helpers name the metric-compatible Liberation faces (or DejaVu where no Liberation face fits)
// and size fonts at the scale the layout was drawn at.
namespace ui {

/// What a face looks like, when its name alone is unknown.
enum class FaceKind { Unknown, Serif, Sans, Mono };

/// The installed face to use for a face name of the design. Unknown names are kept as they are
/// (the font matcher then falls back) unless a kind is given.
QString substituteFace(const QString& face, FaceKind kind = FaceKind::Unknown);

/// Pixels for a size in points at the design scale: the layout is drawn at 12 twips per pixel,
/// that is 120 pixels per inch, so 1 pt = 120/72 px.
int designPixels(double points);

/// A font of the design: substituted face, size in points at the design scale, weight.
QFont designFont(const QString& face, double points, QFont::Weight weight = QFont::Normal);

} // namespace ui
