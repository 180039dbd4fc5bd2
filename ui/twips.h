#pragma once

#include <QRect>
#include <QSize>

#include <cmath>

// Window layouts are given in twips and were designed at 12 twips per pixel.
namespace ui {

inline constexpr double kTwipsPerPixel = 12.0;

/// The height of a one-line label, in twips, in every window laid out here.
inline constexpr int kLabelHeight = 252;

inline int twipsToPixels(int twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

inline QSize twipsSize(int width, int height)
{
    return {twipsToPixels(width), twipsToPixels(height)};
}

} // namespace ui
