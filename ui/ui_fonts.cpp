#include "ui/ui_fonts.h"

#include <cmath>

namespace ui {

QFont designFont(Face face, double points, QFont::Weight weight, bool underline)
{
    QFont font;
    switch (face) {
    case Face::SansSerif:
    case Face::Arial:
        font.setFamilies({"Liberation Sans", "Arimo", "DejaVu Sans"});
        break;
    case Face::ArialBlack:
        font.setFamilies({"DejaVu Sans", "Liberation Sans"});
        break;
    case Face::Serif:
        font.setFamilies({"Liberation Serif", "Tinos", "DejaVu Serif"});
        break;
    case Face::SmallFonts:
        font.setFamilies({"Liberation Sans Narrow", "Liberation Sans", "DejaVu Sans"});
        break;
    case Face::CourierNew:
        font.setFamilies({"Liberation Mono", "Cousine", "DejaVu Sans Mono"});
        break;
    }
    font.setPixelSize(static_cast<int>(std::lround(points * 120.0 / 72.0)));
    font.setWeight(weight);
    font.setUnderline(underline);
    return font;
}

} // namespace ui
