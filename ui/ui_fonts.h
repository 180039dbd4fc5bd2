#pragma once

#include <QFont>

namespace ui {

// The layout is drawn at 12 twips per pixel (120 dpi), so a point is 120/72 pixels. The
// design's Windows faces are mapped to faces Debian installs with similar metrics.
enum class Face { SansSerif, Arial, ArialBlack, Serif, SmallFonts, CourierNew };

/// A font of the design: face, size in points at the design scale, weight, underline.
QFont designFont(Face face, double points, QFont::Weight weight = QFont::Normal,
                 bool underline = false);

/// Twips to pixels at the design scale.
constexpr int px(int twips) { return (twips + 6) / 12; }

} // namespace ui
